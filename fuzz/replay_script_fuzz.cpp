// Replay scripts are user files: any text must parse to events or a clear
// error, never a crash, and every accepted event must be in range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/replay_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReplayScript script;
    const ReplayParseResult result = ParseReplayScript(std::string(reinterpret_cast<const char*>(data), size), script);
    if (!result.ok && result.error.empty()) std::abort();
    int64_t last = 0;
    for (const ReplayEvent& e : script.events) {
        if (e.frame < last || e.frame < 1 || e.frame > kMaxReplayFrame) std::abort();
        last = e.frame;
    }
    return 0;
}
