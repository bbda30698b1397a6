#include "app/replay_script.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "app/input.h"

namespace {

constexpr int kMaxPadButtons = 128;

bool ParseInteger(const std::string& word, int64_t low, int64_t high, int64_t& out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(word.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value < low || value > high) return false;
    out = value;
    return true;
}

bool ParseScreenSize(const std::string& word, float& out) {
    int64_t value = 0;
    if (!ParseInteger(word, 1, 65535, value)) return false;
    out = static_cast<float>(value);
    return true;
}

// A letter or digit names its own key; ESCAPE, SPACE or a number names others.
bool ParseVirtualKey(const std::string& word, WPARAM& key) {
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
        key = static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(word[0])));
        return true;
    }
    if (word == "ESCAPE") return key = VK_ESCAPE, true;
    if (word == "SPACE") return key = VK_SPACE, true;
    int64_t value = 0;
    if (!ParseInteger(word, 1, 0xFE, value)) return false;
    key = static_cast<WPARAM>(value);
    return true;
}

struct LineReader {
    std::istringstream words;
    std::string error;

    explicit LineReader(const std::string& line) : words(line) {}
    bool Next(std::string& word) { return static_cast<bool>(words >> word); }
    bool Integer(const char* what, int64_t low, int64_t high, int64_t& out) {
        std::string word;
        if (Next(word) && ParseInteger(word, low, high, out)) return true;
        error = std::string("expected ") + what;
        return false;
    }
    bool AtEnd() {
        std::string word;
        if (!Next(word)) return true;
        error = "unexpected '" + word + "'";
        return false;
    }
};

bool ParseMouseMove(LineReader& in, ReplayEvent& e) {
    int64_t x = 0, y = 0;
    if (!in.Integer("x from -32768 to 32767", -32768, 32767, x) ||
        !in.Integer("y from -32768 to 32767", -32768, 32767, y))
        return false;
    e.message.lParam = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    return in.AtEnd();
}

bool ParseKey(LineReader& in, ReplayEvent& e, bool down) {
    std::string word;
    if (!in.Next(word) || !ParseVirtualKey(word, e.message.wParam)) {
        in.error = "expected a key: a letter, a digit, ESCAPE, SPACE or a code 1 to 0xFE";
        return false;
    }
    if (down && in.Next(word)) {
        if (word != "repeat") return in.error = "expected 'repeat' or nothing after the key", false;
        e.message.lParam = MAKELPARAM(0, KF_REPEAT);
    }
    e.endsGame = down && e.message.wParam == static_cast<WPARAM>(VK_ESCAPE) && e.message.lParam == 0;
    return in.AtEnd();
}

bool ParsePad(LineReader& in, ReplayEvent& e) {
    int64_t axes[4] = {};
    for (int64_t& a : axes)
        if (!in.Integer("four axes lX lY lRx lRy from -1000 to 1000", -1000, 1000, a)) return false;
    e.pad.lX = static_cast<LONG>(axes[0]);
    e.pad.lY = static_cast<LONG>(axes[1]);
    e.pad.lRx = static_cast<LONG>(axes[2]);
    e.pad.lRy = static_cast<LONG>(axes[3]);
    std::string word;
    while (in.Next(word)) {
        int64_t button = 0;
        if (!ParseInteger(word, 0, kMaxPadButtons - 1, button))
            return in.error = "expected held button indices from 0 to 127", false;
        e.pad.rgbButtons[button] = 0x80;
    }
    e.isPad = true;
    return true;
}

struct MessageKind {
    const char* name;
    UINT message;
};

const MessageKind kButtonMessages[] = {
    {"WM_LBUTTONDOWN", WM_LBUTTONDOWN},
    {"WM_LBUTTONUP", WM_LBUTTONUP},
    {"WM_RBUTTONDOWN", WM_RBUTTONDOWN},
    {"WM_RBUTTONUP", WM_RBUTTONUP},
};

bool ParseEventBody(LineReader& in, const std::string& kind, ReplayEvent& e) {
    for (const MessageKind& k : kButtonMessages)
        if (kind == k.name) return e.message.message = k.message, in.AtEnd();
    if (kind == "WM_MOUSEMOVE") return e.message.message = WM_MOUSEMOVE, ParseMouseMove(in, e);
    if (kind == "WM_KEYDOWN") return e.message.message = WM_KEYDOWN, ParseKey(in, e, true);
    if (kind == "WM_KEYUP") return e.message.message = WM_KEYUP, ParseKey(in, e, false);
    if (kind == "PAD") return ParsePad(in, e);
    in.error = "unknown event '" + kind + "'";
    return false;
}

bool ParseScreenLine(LineReader& in, ReplayScript& script) {
    std::string w, h;
    if (!in.Next(w) || !in.Next(h) || !ParseScreenSize(w, script.screenWidth) ||
        !ParseScreenSize(h, script.screenHeight)) {
        in.error = "expected 'screen WIDTH HEIGHT' with sizes from 1 to 65535";
        return false;
    }
    if (!script.events.empty()) return in.error = "the screen size must come before the first event", false;
    return in.AtEnd();
}

bool ParseLine(const std::string& line, ReplayScript& script, std::string& error) {
    LineReader in(line);
    std::string first;
    bool ok = true;
    if (!in.Next(first) || first[0] == '#') return true;
    if (first == "screen") {
        ok = ParseScreenLine(in, script);
    } else {
        ReplayEvent e;
        std::string kind;
        if (!ParseInteger(first, 1, kMaxReplayFrame, e.frame)) {
            in.error = "expected a frame number from 1 to 100000000 or 'screen'";
            ok = false;
        } else if (!script.events.empty() && e.frame < script.events.back().frame) {
            in.error = "frame numbers must not decrease";
            ok = false;
        } else if (!in.Next(kind)) {
            in.error = "expected an event after the frame number";
            ok = false;
        } else if ((ok = ParseEventBody(in, kind, e))) {
            script.events.push_back(e);
        }
    }
    if (!ok) error = in.error;
    return ok;
}

}  // namespace

ReplayParseResult ParseReplayScript(const std::string& text, ReplayScript& script) {
    std::istringstream lines(text);
    std::string line;
    ReplayParseResult result;
    while (std::getline(lines, line)) {
        ++result.line;
        if (!ParseLine(line, script, result.error)) {
            result.ok = false;
            return result;
        }
    }
    result.line = 0;
    return result;
}

bool FeedReplayEvents(const ReplayScript& script, int64_t frame, size_t& next) {
    for (; next < script.events.size() && script.events[next].frame <= frame; ++next) {
        const ReplayEvent& e = script.events[next];
        if (e.endsGame) return ++next, false;
        if (e.isPad)
            inputState.controller = e.pad;
        else
            HandleInputMessage(e.message);
    }
    return true;
}
