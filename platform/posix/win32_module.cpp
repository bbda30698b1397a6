// Module handles: the program itself is the only module, named by a fixed token.
#include <windows.h>

namespace {
char programModule;
}

// Other modules are never loaded, so only the program's own handle exists.
HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    return moduleName ? nullptr : reinterpret_cast<HMODULE>(&programModule);
}
