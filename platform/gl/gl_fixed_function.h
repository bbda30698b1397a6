// Internal to the OpenGL layer: the fixed-function pipeline the game uses
// without the effect: world × view × projection, no lighting, and texture
// stage 0 with the colour and alpha operations disable, select and modulate.
// Left out: lighting, fog, stages past 0, texture transforms.
#pragma once

#include <d3d9.h>
#include "platform/gl/gl_object.h"

struct GlFixedFunctionState {
    D3DMATRIX world, view, projection;
    DWORD colourOp, colourArg1, colourArg2;
    DWORD alphaOp, alphaArg1, alphaArg2;
    bool hasTexture;
};

class GlFixedFunction {
public:
    bool Create();  // false when the program does not build
    void Destroy();
    // Installs the program with its uniforms; the texture is on unit 0.
    void Bind(const GlFixedFunctionState& state);

private:
    GLuint program = 0;
    GLint worldViewProjection = -1, colourOps = -1, alphaOps = -1, hasTexture = -1, sampler = -1;
};
