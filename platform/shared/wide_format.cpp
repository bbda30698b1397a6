#include "platform/shared/wide_format.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <type_traits>

namespace {

// Collects the output: stores what fits in count, keeps counting past it so
// the caller learns whether the whole text fitted.
struct Sink {
    wchar_t* buffer;
    size_t count;
    size_t length = 0;

    bool Overflowed() const { return length > count; }
    void Put(wchar_t c) {
        if (length < count) buffer[length] = c;
        if (length <= count) ++length;  // one past count is enough to know it overflowed
    }
    void Repeat(wchar_t c, size_t n) {
        for (size_t i = 0; i < n && !Overflowed(); ++i) Put(c);
    }
};

enum class Length { None, Char, Short, Long, LongLong, Size, Max, PtrDiff, I32, I64, LongDouble, Wide };

struct Conversion {
    bool left = false, plus = false, space = false, alternate = false, zero = false;
    size_t width = 0;
    bool hasPrecision = false;
    size_t precision = 0;
    Length length = Length::None;
    wchar_t conversion = 0;
};

void ParseFlags(const wchar_t*& f, Conversion& conversion) {
    for (;; ++f) {
        switch (*f) {
            case L'-': conversion.left = true; break;
            case L'+': conversion.plus = true; break;
            case L' ': conversion.space = true; break;
            case L'#': conversion.alternate = true; break;
            case L'0': conversion.zero = true; break;
            default: return;
        }
    }
}

// Saturates instead of wrapping so a huge width cannot turn small.
size_t ParseNumber(const wchar_t*& f) {
    size_t n = 0;
    for (; *f >= L'0' && *f <= L'9'; ++f) n = n > (SIZE_MAX - 9) / 10 ? SIZE_MAX : n * 10 + size_t(*f - L'0');
    return n;
}

void ParseWidthAndPrecision(const wchar_t*& f, Conversion& conversion, va_list& args) {
    if (*f == L'*') {
        ++f;
        int w = va_arg(args, int);
        if (w < 0) conversion.left = true;
        conversion.width = w < 0 ? size_t(-(long long)w) : size_t(w);
    } else {
        conversion.width = ParseNumber(f);
    }
    if (*f != L'.') return;
    ++f;
    conversion.hasPrecision = true;
    if (*f == L'*') {
        ++f;
        int p = va_arg(args, int);
        conversion.hasPrecision = p >= 0;  // a negative precision counts as none
        conversion.precision = p < 0 ? 0 : size_t(p);
    } else {
        conversion.precision = ParseNumber(f);
    }
}

bool Starts(const wchar_t* f, const wchar_t* prefix) {
    for (; *prefix; ++f, ++prefix)
        if (*f != *prefix) return false;
    return true;
}

void ParseLength(const wchar_t*& f, Conversion& conversion) {
    struct Entry { const wchar_t* text; size_t size; Length length; };
    static const Entry kLengths[] = {
        {L"I64", 3, Length::I64}, {L"I32", 3, Length::I32}, {L"hh", 2, Length::Char},
        {L"ll", 2, Length::LongLong}, {L"I", 1, Length::Size}, {L"h", 1, Length::Short},
        {L"l", 1, Length::Long}, {L"L", 1, Length::LongDouble}, {L"z", 1, Length::Size},
        {L"j", 1, Length::Max}, {L"t", 1, Length::PtrDiff}, {L"w", 1, Length::Wide},
    };
    for (const Entry& e : kLengths) {
        if (Starts(f, e.text)) {
            conversion.length = e.length;
            f += e.size;
            return;
        }
    }
}

void PadBefore(Sink& out, const Conversion& conversion, size_t used) {
    if (!conversion.left && conversion.width > used) out.Repeat(L' ', conversion.width - used);
}

void PadAfter(Sink& out, const Conversion& conversion, size_t used) {
    if (conversion.left && conversion.width > used) out.Repeat(L' ', conversion.width - used);
}

template <typename Char>
void PutString(Sink& out, const Conversion& conversion, const Char* text) {
    static const Char kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    if (!text) text = kNull;
    size_t n = 0;
    while ((!conversion.hasPrecision || n < conversion.precision) && text[n]) ++n;
    PadBefore(out, conversion, n);
    // Narrow text is widened byte by byte: no locale takes part.
    for (size_t i = 0; i < n && !out.Overflowed(); ++i)
        out.Put(static_cast<wchar_t>(static_cast<std::make_unsigned_t<Char>>(text[i])));
    PadAfter(out, conversion, n);
}

bool WantsWide(const Conversion& conversion) {
    bool lower = conversion.conversion == L's' || conversion.conversion == L'c';
    if (conversion.length == Length::Short || conversion.length == Length::Char) return false;
    if (conversion.length == Length::Long || conversion.length == Length::Wide) return true;
    return lower;  // plain %s/%c are wide, %S/%C narrow
}

void PutStringArgument(Sink& out, const Conversion& conversion, va_list& args) {
    if (WantsWide(conversion))
        PutString(out, conversion, va_arg(args, const wchar_t*));
    else
        PutString(out, conversion, va_arg(args, const char*));
}

void PutCharArgument(Sink& out, const Conversion& conversion, va_list& args) {
    // Both kinds arrive promoted; only the conversion of the value differs.
    wchar_t c = WantsWide(conversion) ? static_cast<wchar_t>(va_arg(args, wint_t))
                                : static_cast<wchar_t>(static_cast<unsigned char>(va_arg(args, int)));
    PadBefore(out, conversion, 1);
    out.Put(c);
    PadAfter(out, conversion, 1);
}

intmax_t SignedArgument(Length length, va_list& args) {
    switch (length) {
        case Length::Char: return static_cast<signed char>(va_arg(args, int));
        case Length::Short: return static_cast<short>(va_arg(args, int));
        case Length::Long: return va_arg(args, long);
        case Length::LongLong: return va_arg(args, long long);
        case Length::Size: return va_arg(args, ptrdiff_t);
        case Length::Max: return va_arg(args, intmax_t);
        case Length::PtrDiff: return va_arg(args, ptrdiff_t);
        case Length::I64: return va_arg(args, int64_t);
        default: return va_arg(args, int);
    }
}

uintmax_t UnsignedArgument(Length length, va_list& args) {
    switch (length) {
        case Length::Char: return static_cast<unsigned char>(va_arg(args, unsigned));
        case Length::Short: return static_cast<unsigned short>(va_arg(args, unsigned));
        case Length::Long: return va_arg(args, unsigned long);
        case Length::LongLong: return va_arg(args, unsigned long long);
        case Length::Size: return va_arg(args, size_t);
        case Length::Max: return va_arg(args, uintmax_t);
        case Length::PtrDiff: return static_cast<uintmax_t>(va_arg(args, ptrdiff_t));
        case Length::I64: return va_arg(args, uint64_t);
        default: return va_arg(args, unsigned);
    }
}

// Digits of value, least significant first; returns how many.
size_t Digits(uintmax_t value, unsigned base, bool upper, wchar_t* digits) {
    const wchar_t* set = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    size_t n = 0;
    for (; value; value /= base) digits[n++] = set[value % base];
    return n;
}

struct IntegerText {
    wchar_t prefix[2] = {};
    size_t prefixLength = 0;
    wchar_t digits[sizeof(uintmax_t) * CHAR_BIT];
    size_t digitCount = 0;
    size_t zeros = 0;  // leading zeros from the precision or the '0' flag
};

void PutInteger(Sink& out, const Conversion& conversion, uintmax_t magnitude, bool negative) {
    IntegerText t;
    wchar_t c = conversion.conversion;
    unsigned base = c == L'o' ? 8 : (c == L'x' || c == L'X' || c == L'p') ? 16 : 10;
    t.digitCount = Digits(magnitude, base, c == L'X' || c == L'p', t.digits);
    size_t minimum = conversion.hasPrecision ? conversion.precision : 1;
    if (minimum > t.digitCount) t.zeros = minimum - t.digitCount;
    if (negative) t.prefix[t.prefixLength++] = L'-';
    else if ((c == L'd' || c == L'i') && conversion.plus) t.prefix[t.prefixLength++] = L'+';
    else if ((c == L'd' || c == L'i') && conversion.space) t.prefix[t.prefixLength++] = L' ';
    if (conversion.alternate && base == 8 && t.zeros == 0) t.zeros = 1;
    if (conversion.alternate && base == 16 && c != L'p' && magnitude) {
        t.prefix[t.prefixLength++] = L'0';
        t.prefix[t.prefixLength++] = c;
    }
    size_t used = t.prefixLength + t.zeros + t.digitCount;
    if (conversion.zero && !conversion.left && !conversion.hasPrecision && conversion.width > used) {
        t.zeros += conversion.width - used;
        used = conversion.width;
    }
    PadBefore(out, conversion, used);
    for (size_t i = 0; i < t.prefixLength; ++i) out.Put(t.prefix[i]);
    out.Repeat(L'0', t.zeros);
    for (size_t i = t.digitCount; i > 0 && !out.Overflowed(); --i) out.Put(t.digits[i - 1]);
    PadAfter(out, conversion, used);
}

void PutSignedArgument(Sink& out, const Conversion& conversion, va_list& args) {
    intmax_t v = SignedArgument(conversion.length, args);
    uintmax_t magnitude = v < 0 ? uintmax_t(0) - uintmax_t(v) : uintmax_t(v);
    PutInteger(out, conversion, magnitude, v < 0);
}

void PutPointerArgument(Sink& out, Conversion conversion, va_list& args) {
    // Fixed width, upper-case hex, as the Microsoft runtime prints pointers.
    conversion.hasPrecision = true;
    conversion.precision = sizeof(void*) * 2;
    PutInteger(out, conversion, reinterpret_cast<uintptr_t>(va_arg(args, void*)), false);
}

void PutFloatArgument(Sink& out, const Conversion& conversion, va_list& args) {
    // The C library formats the digits; limits keep them in a fixed buffer.
    constexpr size_t kMaxWidth = 1024, kMaxPrecision = 350;
    char format[32];
    int n = std::snprintf(format, sizeof format, "%%%s%s%s%s%s%d.%d%c", conversion.left ? "-" : "", conversion.plus ? "+" : "",
                          conversion.space ? " " : "", conversion.alternate ? "#" : "", conversion.zero ? "0" : "",
                          int(conversion.width < kMaxWidth ? conversion.width : kMaxWidth),
                          int(!conversion.hasPrecision ? 6 : conversion.precision < kMaxPrecision ? conversion.precision : kMaxPrecision),
                          char(conversion.conversion));
    if (n <= 0) return;
    double value = conversion.length == Length::LongDouble ? double(va_arg(args, long double)) : va_arg(args, double);
    char text[2048];
    int written = std::snprintf(text, sizeof text, format, value);
    for (int i = 0; i < written && i < int(sizeof text) - 1 && !out.Overflowed(); ++i)
        out.Put(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
}

// Returns false for a conversion the formatter does not know (including %n).
bool PutConversion(Sink& out, const Conversion& conversion, va_list& args) {
    switch (conversion.conversion) {
        case L'%': out.Put(L'%'); return true;
        case L's': case L'S': PutStringArgument(out, conversion, args); return true;
        case L'c': case L'C': PutCharArgument(out, conversion, args); return true;
        case L'd': case L'i': PutSignedArgument(out, conversion, args); return true;
        case L'u': case L'o': case L'x': case L'X':
            PutInteger(out, conversion, UnsignedArgument(conversion.length, args), false);
            return true;
        case L'p': PutPointerArgument(out, conversion, args); return true;
        case L'f': case L'F': case L'e': case L'E': case L'g': case L'G': case L'a': case L'A':
            PutFloatArgument(out, conversion, args);
            return true;
        default: return false;
    }
}

int Finish(Sink& out, bool valid) {
    if (!valid || out.Overflowed() || out.length > size_t(INT_MAX)) return -1;
    if (out.length < out.count) out.buffer[out.length] = L'\0';
    return int(out.length);
}

}  // namespace

int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args) {
    if (!format || (!buffer && count > 0)) return -1;
    Sink out{buffer, count};
    va_list ap;
    va_copy(ap, args);
    bool valid = true;
    for (const wchar_t* f = format; *f && valid && !out.Overflowed(); ++f) {
        if (*f != L'%') {
            out.Put(*f);
            continue;
        }
        Conversion conversion;
        ++f;
        ParseFlags(f, conversion);
        ParseWidthAndPrecision(f, conversion, ap);
        ParseLength(f, conversion);
        conversion.conversion = *f;
        valid = conversion.conversion != L'\0' && PutConversion(out, conversion, ap);
        if (!conversion.conversion) break;
    }
    va_end(ap);
    return Finish(out, valid);
}
