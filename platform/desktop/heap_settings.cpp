#include "platform/desktop/heap_settings.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
bool PlayerSetTheHeap() {
    for (const char* name : {"MALLOC_TRIM_THRESHOLD_", "MALLOC_TOP_PAD_", "MALLOC_MMAP_THRESHOLD_"})
        if (std::getenv(name) != nullptr) return true;
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return tunables != nullptr && std::strstr(tunables, "glibc.malloc.") != nullptr;
}
}  // namespace

void KeepHeapForDriver() {
#if defined(__GLIBC__)
    static bool done = false;
    if (done || PlayerSetTheHeap()) return;
    done = true;
    // A few megabytes are enough: with glibc's defaults the real game took
    // some 580 minor faults a frame at 320x180, with these about one.
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, 4 << 20);
#endif
}
