// Arbitrary names, formats and capacities through the bounded string helpers,
// the full-path function and the media search: nothing may be written past
// the capacity, and every answer must be terminated inside it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/media_search.h"

namespace {

constexpr size_t kMaxCount = 700;
constexpr size_t kGuardChars = 16;
constexpr WCHAR kSentinel = 0x2B1B;

// Bytes become characters: ASCII as is, the rest spread over non-ASCII ones.
std::wstring Widen(const uint8_t* data, size_t size) {
    std::wstring s;
    for (size_t i = 0; i < size; ++i) s += data[i] < 0x80 ? WCHAR(data[i]) : WCHAR(0x100 + data[i] * 7);
    return s;
}

// Keeps "%%" and at most four "%s", so the fixed argument list always
// satisfies the format; any other '%' stays one time in eight, to be refused.
std::wstring StringOnlyFormat(const std::wstring& raw) {
    std::wstring out;
    int strings = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != L'%') {
            out += raw[i];
            continue;
        }
        const WCHAR next = i + 1 < raw.size() ? raw[i + 1] : L'\0';
        if (next == L'%' || (next == L's' && strings < 4)) {
            strings += next == L's';
            out += raw.substr(i, 2);
            ++i;
        } else {
            out += i % 8 == 0 && next != L's' ? L'%' : L'#';
        }
    }
    return out;
}

struct Destination {
    WCHAR text[kMaxCount + kGuardChars];
    size_t count;
    explicit Destination(size_t c) : count(c) {
        for (WCHAR& ch : text) ch = kSentinel;
    }
    void CheckGuard() const {
        for (size_t i = count; i < count + kGuardChars; ++i)
            if (text[i] != kSentinel) abort();
    }
    void CheckTerminated() const {
        for (size_t i = 0; i < count; ++i)
            if (text[i] == L'\0') return;
        abort();
    }
};

void Run(uint8_t mode, size_t count, const std::wstring& a, const std::wstring& b) {
    Destination d(count);
    HRESULT hr = S_OK;
    switch (mode % 5) {
        case 0: hr = CopyBounded(d.text, count, a.c_str()); break;
        case 1: hr = FormatBounded(d.text, count, StringOnlyFormat(a).c_str(), b.c_str(), a.c_str(), b.c_str(), a.c_str()); break;
        case 2: hr = FindMediaFile(d.text, count, a.c_str()); break;
        case 3: hr = ProbeParentDirectories(d.text, count, a.c_str(), b.c_str()) ? S_OK : E_FAIL; break;
        default: {
            WCHAR* part = nullptr;
            DWORD n = GetFullPathNameW(a.c_str(), DWORD(count), d.text, &part);
            if (n != 0 && n < count && part && (part < d.text || part > d.text + n)) abort();
            hr = n != 0 && n < count ? S_OK : E_FAIL;
        }
    }
    d.CheckGuard();
    if (count > 0 && hr != E_INVALIDARG && hr != E_FAIL) d.CheckTerminated();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    size_t count = (size_t(data[1]) | size_t(data[2]) << 8) % (kMaxCount + 1);
    std::wstring text = Widen(data + 3, size - 3);
    size_t split = text.find(L'\x01');
    std::wstring a = text.substr(0, split), b = split == std::wstring::npos ? L"" : text.substr(split + 1);
    Run(data[0], count, a, b);
    return 0;
}
