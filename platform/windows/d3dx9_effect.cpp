// D3DXCreateEffectFromFileW: reads our effect text format and builds the
// effect for the device it is given (the system's Direct3D 9 device, or a
// recording device); a malformed file fails with "file:line: reason" in the
// error buffer.
#include <string>

#include <d3dx9.h>
#include "platform/shared/effect_errors.h"
#include "platform/windows/d3d9_effect.h"
#include "platform/windows/recording_link.h"
#include "platform/windows/wide_path.h"

HRESULT D3DXCreateEffectFromFileW(IDirect3DDevice9* device, LPCWSTR srcFile, const D3DXMACRO*, ID3DXInclude*, DWORD,
                                  ID3DXEffectPool*, ID3DXEffect** effect, ID3DXBuffer** errors) {
    if (errors) *errors = nullptr;
    if (effect == nullptr) return D3DERR_INVALIDCALL;
    *effect = nullptr;
    if (device == nullptr || srcFile == nullptr) return FailEffect(D3DERR_INVALIDCALL, "bad effect path", errors);
    const std::string path = NarrowPath(srcFile);
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(srcFile, kEffectFileLimit, &bytes)) return FailEffect(E_FAIL, path + ": cannot read the file", errors);
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EffectFileDescription description;
    EffectParseError error;
    if (!ParseEffectFile(text, &description, &error)) return FailEffect(D3DXERR_INVALIDDATA, AtLine(path, error), errors);
    if (RecordingDevice* recording = AsRecordingDevice(device)) {
        *effect = CreateRecordingEffect(recording, description);
        return *effect ? D3D_OK : FailEffect(E_FAIL, path + ": too many parameters or techniques", errors);
    }
    auto* built = new D3D9Effect(device);
    if (!built->Build(description, &error)) {
        built->Release();
        return FailEffect(E_FAIL, AtLine(path, error), errors);
    }
    *effect = built;
    return D3D_OK;
}
