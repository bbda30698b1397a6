// Resource look-up: a Linux executable carries no resources, so nothing is found.
#include <windows.h>

HRSRC FindResourceW(HMODULE, LPCWSTR, LPCWSTR) { return nullptr; }

HGLOBAL LoadResource(HMODULE, HRSRC) { return nullptr; }

DWORD SizeofResource(HMODULE, HRSRC) { return 0; }

LPVOID LockResource(HGLOBAL resourceData) { return resourceData; }
