// Feeds arbitrary bytes to the effect text parser; it must reject or accept
// them without reading out of bounds, and every error must name a line
// inside the text. An accepted effect is built on the recording device, as
// the replay tool and the tests do: it must refuse it as too large or find
// every parameter and technique by the name the file gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/shared/d3d9_recording_device.h"
#include "platform/shared/effect_file.h"

namespace {
void BuildOnRecordingDevice(const EffectFileDescription& description) {
    static RecordingDevice* device = new RecordingDevice(64, 64);
    RecordingEffect* effect = CreateRecordingEffect(device, description);
    if (effect == nullptr) return;
    for (const EffectParameterDecl& p : description.parameters)
        if (effect->GetParameterByName(nullptr, p.name.c_str()) == nullptr) std::abort();
    for (const EffectTechniqueDecl& t : description.techniques)
        if (effect->GetTechniqueByName(t.name.c_str()) == nullptr) std::abort();
    effect->Release();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    EffectFileDescription description;
    EffectParseError error;
    if (ParseEffectFile(text, &description, &error)) {
        if (description.techniques.empty()) std::abort();
        for (const EffectTechniqueDecl& t : description.techniques)
            if (t.vertex.firstLine <= 0 || t.fragment.firstLine <= 0) std::abort();
        BuildOnRecordingDevice(description);
        return 0;
    }
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (error.reason.empty() || error.line < 0 || static_cast<size_t>(error.line) > lines) std::abort();
    return 0;
}
