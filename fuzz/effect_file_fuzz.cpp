// Feeds arbitrary bytes to the effect text parser; it must reject or accept
// them without reading out of bounds, and every error must name a line
// inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/shared/effect_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    EffectFileDescription description;
    EffectParseError error;
    if (ParseEffectFile(text, &description, &error)) {
        if (description.techniques.empty()) std::abort();
        for (const EffectTechniqueDecl& t : description.techniques)
            if (t.vertex.firstLine <= 0 || t.fragment.firstLine <= 0) std::abort();
        return 0;
    }
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (error.reason.empty() || error.line < 0 || static_cast<size_t>(error.line) > lines) std::abort();
    return 0;
}
