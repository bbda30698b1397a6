#include "platform/windows/shader_assembler.h"

#include <d3dcompiler.h>

#include <cstdlib>
#include <cstring>

namespace {
// Exported by d3dcompiler_47.dll but not declared in MinGW-w64's d3dcompiler.h.
using AssembleFunction = HRESULT(WINAPI*)(const void* data, SIZE_T size, const char* fileName,
                                          const D3D_SHADER_MACRO* defines, ID3DInclude* include, UINT flags,
                                          ID3DBlob** shader, ID3DBlob** errors);

AssembleFunction Assembler() {
    static AssembleFunction function = [] {
        HMODULE module = LoadLibraryW(L"d3dcompiler_47.dll");
        return module ? reinterpret_cast<AssembleFunction>(reinterpret_cast<void*>(GetProcAddress(module, "D3DAssemble")))
                      : nullptr;
    }();
    return function;
}

// Windows writes "program(LINE,COLUMN): error X...: reason", Wine "Line LINE: reason".
void DescribeFailure(const std::string& log, AssembledShader* out) {
    std::string first = log.substr(0, log.find_first_of("\r\n"));
    const char* number = nullptr;
    size_t rest = std::string::npos;
    if (first.rfind("program(", 0) == 0) {
        number = first.c_str() + 8;
        rest = first.find("): ");
        if (rest != std::string::npos) rest += 3;
    } else if (first.rfind("Line ", 0) == 0) {
        number = first.c_str() + 5;
        rest = first.find(": ");
        if (rest != std::string::npos) rest += 2;
    }
    if (number != nullptr) {
        long line = std::strtol(number, nullptr, 10);
        if (line > 0 && line < 1000000) out->errorLine = static_cast<int>(line);
        if (rest != std::string::npos) first = first.substr(rest);
    }
    out->error = first.empty() ? "does not assemble" : first;
}
}  // namespace

AssembledShader AssembleShader(const std::string& source) {
    AssembledShader result;
    AssembleFunction assemble = Assembler();
    if (assemble == nullptr) {
        result.error = "d3dcompiler_47.dll or its D3DAssemble is missing";
        return result;
    }
    ID3DBlob* shader = nullptr;
    ID3DBlob* errors = nullptr;
    HRESULT status = assemble(source.data(), source.size(), "program", nullptr, nullptr, 0, &shader, &errors);
    if (SUCCEEDED(status) && shader != nullptr) {
        const size_t words = shader->GetBufferSize() / sizeof(DWORD);
        result.tokens.resize(words);
        std::memcpy(result.tokens.data(), shader->GetBufferPointer(), words * sizeof(DWORD));
    } else {
        std::string log;
        if (errors != nullptr) {
            const char* text = static_cast<const char*>(errors->GetBufferPointer());
            log.assign(text, strnlen(text, errors->GetBufferSize()));
        }
        DescribeFailure(log, &result);
    }
    if (shader) shader->Release();
    if (errors) errors->Release();
    return result;
}
