#include "platform/posix/file_prefix.h"

#include <algorithm>
#include <cstdio>

bool ReadFilePrefix(const std::string& path, size_t maxBytes, std::string* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bytes->clear();
    // Grows with what the file holds, not with the limit.
    char chunk[1 << 16];
    while (bytes->size() < maxBytes) {
        const size_t want = std::min(sizeof chunk, maxBytes - bytes->size());
        const size_t got = std::fread(chunk, 1, want, file);
        bytes->append(chunk, got);
        if (got < want) break;
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}
