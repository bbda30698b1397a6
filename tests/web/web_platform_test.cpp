// Checks of the web back end's own parsing, built with Emscripten and run
// under Node by scripts/test_web.sh: key codes by physical position, and
// bitmap files, good and damaged (a bad file is refused, never read past).
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gl/gl_bitmap.h"
#include "platform/web/web_window.h"

namespace {

int failures = 0;

void Expect(bool ok, const std::string& what) {
    if (ok) return;
    ++failures;
    std::printf("FAIL %s\n", what.c_str());
}

void Put(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A 2 × 2 bitmap: rows of (B, G, R[, A]) pixels, stored as the header says.
std::vector<unsigned char> Bitmap(int32_t height, uint16_t bits, const std::vector<unsigned char>& rows) {
    std::vector<unsigned char> out = {'B', 'M'};
    Put(out, static_cast<uint32_t>(54 + rows.size()), 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, 2, 4);
    Put(out, static_cast<uint32_t>(height), 4);
    Put(out, 1, 2);
    Put(out, bits, 2);
    for (int i = 0; i < 6; ++i) Put(out, 0, 4);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

bool Load(const std::vector<unsigned char>& bytes, GlBitmap* image) {
    const char* path = "web_platform_test.bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return LoadRgbaBitmap(path, image);
}

void KeyCodes() {
    const struct {
        const char* code;
        int key;
    } cases[] = {{"KeyW", 'W'},       {"KeyA", 'A'},         {"Digit2", '2'},      {"Digit0", '0'},
                 {"Numpad7", VK_NUMPAD0 + 7}, {"F1", VK_F1}, {"F10", VK_F1 + 9},   {"F12", VK_F1 + 11},
                 {"Escape", VK_ESCAPE}, {"Space", VK_SPACE}, {"ShiftRight", VK_SHIFT}, {"ArrowUp", VK_UP},
                 {"F13", 0},          {"F", 0},              {"Key", 0},           {"KeyWW", 0},
                 {"Keyw", 0},         {"Digit10", 0},        {"IntlBackslash", 0}, {"", 0}};
    for (const auto& c : cases)
        Expect(VirtualKeyFromCode(c.code) == c.key, std::string("key code '") + c.code + "'");
    Expect(VirtualKeyFromCode(nullptr) == 0, "no key code");
}

void Bitmaps() {
    // Bottom-up 24-bit rows padded to 4 bytes: bottom row blue, white; top row red, green.
    const std::vector<unsigned char> rows24 = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    GlBitmap image;
    Expect(Load(Bitmap(2, 24, rows24), &image) && image.width == 2 && image.height == 2 &&
               image.rgba == std::vector<unsigned char>{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255,
                                                        255, 255},
           "24-bit bottom-up bitmap as RGBA, top row first");
    const std::vector<unsigned char> rows32 = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};
    Expect(Load(Bitmap(-2, 32, rows32), &image) &&
               image.rgba == std::vector<unsigned char>{3, 2, 1, 255, 6, 5, 4, 255, 9, 8, 7, 255, 12, 11, 10, 255},
           "32-bit top-down bitmap, opaque");
    std::vector<unsigned char> truncated = Bitmap(2, 24, rows24);
    truncated.pop_back();
    Expect(!Load(truncated, &image), "a bitmap one byte short is refused");
    Expect(!Load(Bitmap(2, 8, rows24), &image), "an 8-bit bitmap is refused");
    Expect(!Load(Bitmap(INT32_MIN, 24, rows24), &image), "the most negative height is refused");
    std::vector<unsigned char> wide = Bitmap(2, 24, rows24);
    wide[18] = 0xFF, wide[19] = 0xFF, wide[20] = 0xFF, wide[21] = 0x7F;
    Expect(!Load(wide, &image), "an absurd width is refused");
    std::vector<unsigned char> far = Bitmap(2, 24, rows24);
    far[10] = 0xF0, far[13] = 0xFF;
    Expect(!Load(far, &image), "pixels placed past the file are refused");
    std::vector<unsigned char> notBmp = Bitmap(2, 24, rows24);
    notBmp[0] = 'X';
    Expect(!Load(notBmp, &image), "a file without the BM mark is refused");
    Expect(!Load({'B', 'M', 0, 0}, &image), "a bare header is refused");
    Expect(!LoadRgbaBitmap("no such file.bmp", &image), "a missing file is refused");
}

}  // namespace

int main() {
    KeyCodes();
    Bitmaps();
    std::printf("%s web platform checks\n", failures == 0 ? "ok  " : "FAIL");
    return failures == 0 ? 0 : 1;
}
