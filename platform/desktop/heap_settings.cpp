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
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_TOP_PAD, 64 << 20);
#endif
}
