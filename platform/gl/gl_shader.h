// Internal to the OpenGL layer: compiling and linking GLSL 330 programs (or,
// rewritten, GLSL ES 3.00 ones) with
// the fixed attribute slots of the layer's vertex layout.
#pragma once

#include <string>

#include "platform/gl/gl_object.h"

enum GlAttribute : GLuint { kAttribPosition = 0, kAttribNormal = 1, kAttribColour = 2, kAttribTexCoord = 3 };

struct GlShaderResult {
    GLuint program = 0;       // 0 on failure
    enum Stage { kNone, kVertex, kFragment, kLink } failed = kNone;
    std::string log;          // the compiler's or linker's message
};

// Vertex shaders read inPosition, inNormal, inColour and inTexCoord. On WebGL 2
// the GLSL 330 text is first rewritten as GLSL ES 3.00.
GlShaderResult BuildProgram(const char* vertexSource, const char* fragmentSource);

// On WebGL 2 the colour attribute's name in the rewritten vertex programs.
inline constexpr char kGlBgraColourInput[] = "qfColourBgra";
