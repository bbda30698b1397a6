// Direct3D 9 shader assembly (vs_2_0, ps_2_0, ...) turned into shader tokens by
// D3DAssemble from d3dcompiler_47.dll, which every Windows 10 and 11 has. The
// DLL is opened on first use and kept for the process's life.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct AssembledShader {
    std::vector<DWORD> tokens;  // empty on failure
    int errorLine = 0;          // line within the source, 0 when unknown
    std::string error;          // the assembler's first message
};

AssembledShader AssembleShader(const std::string& source);
