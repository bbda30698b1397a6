#include "platform/gl/gl_fixed_function.h"

#include <d3dx9.h>
#include "platform/gl/gl_shader.h"

namespace {
const char* const kVertexSource = R"(#version 330 core
uniform mat4 worldViewProjection;
in vec3 inPosition;
in vec4 inColour;
in vec2 inTexCoord;
out vec4 colour;
out vec2 texCoord;
void main() {
    vec4 p = worldViewProjection * vec4(inPosition, 1.0);
    // Direct3D clips depth to 0..w, GL to -w..w.
    gl_Position = vec4(p.x, p.y, 2.0 * p.z - p.w, p.w);
    colour = inColour;
    texCoord = inTexCoord;
}
)";

// Operations: 1 disable, 2 select arg1, 3 select arg2, 4 modulate.
// Arguments: 0 diffuse, 1 current (the diffuse colour on stage 0), 2 texture.
const char* const kFragmentSource = R"(#version 330 core
uniform ivec3 colourOps;
uniform ivec3 alphaOps;
uniform bool hasTexture;
uniform sampler2D stageTexture;
in vec4 colour;
in vec2 texCoord;
out vec4 fragment;
vec4 Argument(int which, vec4 texel) { return (which & 15) == 2 ? texel : colour; }
vec4 Combine(ivec3 ops, vec4 texel) {
    vec4 a = Argument(ops.y, texel), b = Argument(ops.z, texel);
    if (ops.x == 2) return a;
    if (ops.x == 3) return b;
    if (ops.x == 4) return a * b;
    return colour;
}
void main() {
    // A stage without a texture passes the vertex colour on unchanged.
    if (!hasTexture) {
        fragment = colour;
        return;
    }
    vec4 texel = texture(stageTexture, texCoord);
    fragment = vec4(Combine(colourOps, texel).rgb, Combine(alphaOps, texel).a);
}
)";
}  // namespace

bool GlFixedFunction::Create() {
    GlShaderResult built = BuildProgram(kVertexSource, kFragmentSource);
    program = built.program;
    if (program == 0) return false;
    worldViewProjection = glGetUniformLocation(program, "worldViewProjection");
    colourOps = glGetUniformLocation(program, "colourOps");
    alphaOps = glGetUniformLocation(program, "alphaOps");
    hasTexture = glGetUniformLocation(program, "hasTexture");
    sampler = glGetUniformLocation(program, "stageTexture");
    return true;
}

void GlFixedFunction::Destroy() {
    if (program != 0) glDeleteProgram(program);
    program = 0;
}

void GlFixedFunction::Bind(const GlFixedFunctionState& state) {
    D3DXMATRIX world, view, projection, worldView, full;
    static_cast<D3DMATRIX&>(world) = state.world;
    static_cast<D3DMATRIX&>(view) = state.view;
    static_cast<D3DMATRIX&>(projection) = state.projection;
    D3DXMatrixMultiply(&worldView, &world, &view);
    D3DXMatrixMultiply(&full, &worldView, &projection);
    glUseProgram(program);
    // Direct3D's row-major rows are GL's columns, so no transpose.
    glUniformMatrix4fv(worldViewProjection, 1, GL_FALSE, &full.m[0][0]);
    glUniform3i(colourOps, static_cast<GLint>(state.colourOp), static_cast<GLint>(state.colourArg1),
                static_cast<GLint>(state.colourArg2));
    glUniform3i(alphaOps, static_cast<GLint>(state.alphaOp), static_cast<GLint>(state.alphaArg1),
                static_cast<GLint>(state.alphaArg2));
    glUniform1i(hasTexture, state.hasTexture ? 1 : 0);
    glUniform1i(sampler, 0);
}
