// Internal to the OpenGL layer: the GL entry points, and the one switch for a
// back end whose context is WebGL 2 (OpenGL ES 3.0) rather than 3.3 core.
// With QF_GL_WEBGL2 the layer reads vertex colours as RGBA bytes and swizzles
// them in the vertex program (no BGRA attributes), draws strip pieces one call
// each (no glMultiDrawArrays) and hands the programs over as GLSL ES 3.00.
#pragma once

#if defined(QF_GL_WEBGL2)
#include <GLES3/gl3.h>
inline constexpr bool kGlWebGl2 = true;
#else
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
inline constexpr bool kGlWebGl2 = false;
#endif
