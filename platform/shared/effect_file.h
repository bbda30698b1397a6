// Parser of our effect text format (assets/myshader.fx): parameter
// declarations and techniques, each one pass with the render states it sets,
// a GLSL 330 vertex and fragment program and, optionally, the same pair in
// Direct3D 9 shader assembly (vs_2_0 / ps_2_0). Pure text work, no GL; the
// programs are compiled by the effect. Errors name the line and the reason.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <d3d9.h>

enum class EffectParameterKind { Texture, Float, Vector, Matrix };

struct EffectParameterDecl {
    std::string name;
    EffectParameterKind kind;
    bool unused;  // accepted from the program, read by no shader
    int line;
};

struct EffectStateDecl {
    D3DRENDERSTATETYPE state;
    DWORD value;
    int line;
};

struct EffectProgramText {
    std::string source;
    int firstLine = 0;  // file line of the source's first line
};

struct EffectTechniqueDecl {
    std::string name;
    int line;
    std::vector<EffectStateDecl> states;
    EffectProgramText vertex, fragment;
    EffectProgramText vertexAssembly, fragmentAssembly;  // firstLine 0 when absent
};

struct EffectFileDescription {
    std::vector<EffectParameterDecl> parameters;
    std::vector<EffectTechniqueDecl> techniques;
};

struct EffectParseError {
    int line = 0;
    std::string reason;
};

inline constexpr size_t kEffectFileLimit = 1 << 20;
inline constexpr size_t kEffectNameLimit = 63;

bool ParseEffectFile(std::string_view text, EffectFileDescription* out, EffectParseError* error);
