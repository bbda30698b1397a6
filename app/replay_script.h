// Scripted input for the replay tool: window messages and controller states,
// each stamped with the frame before which it is handed to the input handling.
// Parsing is strict: the first bad line stops it with its number and reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <dinput.h>
#include <windows.h>

struct ReplayEvent {
    int64_t frame = 0;
    bool isPad = false;
    bool endsGame = false;  // the first (not repeated) Escape press
    MSG message = {};
    DIJOYSTATE2 pad = {};
};

struct ReplayScript {
    float screenWidth = 1280.0f;
    float screenHeight = 720.0f;
    std::vector<ReplayEvent> events;  // in file order, frames never decreasing
};

inline constexpr int64_t kMaxReplayFrame = 100000000;

struct ReplayParseResult {
    bool ok = true;
    int line = 0;
    std::string error;
};

ReplayParseResult ParseReplayScript(const std::string& text, ReplayScript& script);

// Hands every event stamped up to `frame`, from index `next` on, to the input
// handling; returns false when an Escape press ended the game.
bool FeedReplayEvents(const ReplayScript& script, int64_t frame, size_t& next);
