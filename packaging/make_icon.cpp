// Makes the desktop icon from the title picture: reads an uncompressed 24-bit
// BMP, averages it down to a square of SIZE pixels and writes an RGB PNG.
// make_icon TITLE.bmp ICON.png SIZE
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Picture {
    uint32_t width = 0, height = 0;
    Bytes rgb;  // top row first
};

uint32_t Le(const Bytes& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + size_t(i)];
    return v;
}

// Every size in the header is a claim: the pixels it describes must lie in the file.
std::optional<Picture> ReadBmp(const Bytes& file) {
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    uint32_t offset = Le(file, 10, 4);
    auto width = int32_t(Le(file, 18, 4)), height = int32_t(Le(file, 22, 4));
    if (Le(file, 14, 4) < 40 || Le(file, 28, 2) != 24 || Le(file, 30, 4) != 0) return std::nullopt;
    bool bottomUp = height > 0;
    int64_t rows = bottomUp ? int64_t(height) : -int64_t(height);
    if (width <= 0 || width > 4096 || rows <= 0 || rows > 4096) return std::nullopt;
    uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
    if (offset > file.size() || stride * uint64_t(rows) > file.size() - offset) return std::nullopt;
    Picture p{uint32_t(width), uint32_t(rows), Bytes(size_t(width) * size_t(rows) * 3)};
    for (uint32_t y = 0; y < p.height; ++y) {
        size_t row = offset + size_t(stride) * (bottomUp ? p.height - 1 - y : y);
        for (uint32_t x = 0; x < p.width; ++x)
            for (int c = 0; c < 3; ++c) p.rgb[(size_t(y) * p.width + x) * 3 + size_t(c)] = file[row + x * 3 + size_t(2 - c)];
    }
    return p;
}

// Each icon pixel is the mean of the picture pixels that fall in its square.
Picture Shrink(const Picture& in, uint32_t size) {
    Picture out{size, size, Bytes(size_t(size) * size * 3)};
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            uint32_t x0 = x * in.width / size, x1 = (x + 1) * in.width / size;
            uint32_t y0 = y * in.height / size, y1 = (y + 1) * in.height / size;
            uint64_t sum[3] = {}, n = uint64_t(x1 - x0) * (y1 - y0);
            for (uint32_t sy = y0; sy < y1; ++sy)
                for (uint32_t sx = x0; sx < x1; ++sx)
                    for (int c = 0; c < 3; ++c) sum[c] += in.rgb[(size_t(sy) * in.width + sx) * 3 + size_t(c)];
            for (int c = 0; c < 3; ++c) out.rgb[(size_t(y) * size + x) * 3 + size_t(c)] = uint8_t((sum[c] + n / 2) / n);
        }
    return out;
}

void PutBe32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
    PutBe32(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

std::optional<Bytes> EncodePng(const Picture& p) {
    Bytes raw;
    for (uint32_t y = 0; y < p.height; ++y) {
        raw.push_back(0);  // no filter
        auto row = p.rgb.begin() + std::ptrdiff_t(size_t(y) * p.width * 3);
        raw.insert(raw.end(), row, row + std::ptrdiff_t(p.width * 3));
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK) return std::nullopt;
    packed.resize(packedSize);
    Bytes header;
    PutBe32(header, p.width);
    PutBe32(header, p.height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter choice, no interlace
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_icon TITLE.bmp ICON.png SIZE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::optional<Picture> picture = ReadBmp(file);
    if (!picture) {
        std::fprintf(stderr, "make_icon: %s is not an uncompressed 24-bit bitmap\n", argv[1]);
        return 1;
    }
    long size = std::strtol(argv[3], nullptr, 10);
    if (size < 1 || uint32_t(size) > picture->width || uint32_t(size) > picture->height) {
        std::fprintf(stderr, "make_icon: size %s must lie between 1 and the picture's size\n", argv[3]);
        return 1;
    }
    std::optional<Bytes> png = EncodePng(Shrink(*picture, uint32_t(size)));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    if (png) out.write(reinterpret_cast<const char*>(png->data()), std::streamsize(png->size()));
    if (!png || !out) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
