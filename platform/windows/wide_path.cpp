#include "platform/windows/wide_path.h"

#include <cstdio>
#include <memory>

bool ReadWholeFile(LPCWSTR path, size_t limit, std::vector<unsigned char>* bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path, L"rb"), std::fclose);
    if (!file || _fseeki64(file.get(), 0, SEEK_END) != 0) return false;
    const long long size = _ftelli64(file.get());
    if (size < 0 || _fseeki64(file.get(), 0, SEEK_SET) != 0) return false;
    // Only the first byte past the limit is read: enough to refuse the file.
    bytes->resize(static_cast<unsigned long long>(size) > limit ? limit + 1 : static_cast<size_t>(size));
    size_t got = std::fread(bytes->data(), 1, bytes->size(), file.get());
    bytes->resize(got);
    return std::ferror(file.get()) == 0;
}

std::string NarrowPath(LPCWSTR path) {
    int size = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path, -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(size - 1));
    return narrow;
}
