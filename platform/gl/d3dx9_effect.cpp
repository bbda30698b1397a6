// D3DXCreateEffectFromFileW: reads our effect text format and builds the
// effect for the device it is given (OpenGL or recording); a malformed file
// fails with "file:line: reason" in the error buffer.
#include <string>

#include "platform/shared/d3d9_recording_device.h"
#include <d3dx9.h>
#include "platform/shared/effect_errors.h"
#include "platform/posix/file_path.h"
#include "platform/posix/file_prefix.h"
#include "platform/gl/gl_effect.h"

HRESULT D3DXCreateEffectFromFileW(IDirect3DDevice9* device, LPCWSTR srcFile, const D3DXMACRO*, ID3DXInclude*, DWORD,
                                  ID3DXEffectPool*, ID3DXEffect** effect, ID3DXBuffer** errors) {
    if (errors) *errors = nullptr;
    if (effect == nullptr) return D3DERR_INVALIDCALL;
    *effect = nullptr;
    auto* glDevice = dynamic_cast<GlDevice*>(device);
    auto* recordingDevice = dynamic_cast<RecordingDevice*>(device);
    std::string path, text;
    if ((glDevice == nullptr && recordingDevice == nullptr) || !WidePathToPosix(srcFile, path))
        return FailEffect(D3DERR_INVALIDCALL, "bad effect path", errors);
    if (!ReadFilePrefix(path, kEffectFileLimit + 1, &text)) return FailEffect(E_FAIL, path + ": cannot read the file", errors);
    EffectFileDescription description;
    EffectParseError error;
    if (!ParseEffectFile(text, &description, &error)) return FailEffect(D3DXERR_INVALIDDATA, AtLine(path, error), errors);
    if (recordingDevice != nullptr) {
        *effect = CreateRecordingEffect(recordingDevice, description);
        return *effect ? D3D_OK : FailEffect(E_FAIL, path + ": too many parameters or techniques", errors);
    }
    auto* built = new GlEffect(glDevice);
    if (!built->Build(description, &error)) {
        built->Release();
        return FailEffect(E_FAIL, AtLine(path, error), errors);
    }
    *effect = built;
    return D3D_OK;
}
