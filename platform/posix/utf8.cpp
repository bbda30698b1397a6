#include "platform/posix/utf8.h"

int EncodeUtf8(uint32_t codePoint, char* out) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    static constexpr unsigned char kLead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    const int length = codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    out[0] = static_cast<char>(kLead[length] | (codePoint >> (6 * (length - 1))));
    for (int i = 1; i < length; ++i) out[i] = static_cast<char>(0x80 | ((codePoint >> (6 * (length - 1 - i))) & 0x3F));
    return length;
}
