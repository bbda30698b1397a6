// Internal to the platform layer: how D3DXCreateEffectFromFileW reports a
// failure on every back end: the status, and "file:line: reason" (or
// "file: reason") in an error buffer when the caller asks for one.
#pragma once

#include <string>

#include <d3dx9.h>
#include "platform/shared/effect_file.h"

HRESULT FailEffect(HRESULT status, const std::string& message, ID3DXBuffer** errors);
std::string AtLine(const std::string& path, const EffectParseError& error);
