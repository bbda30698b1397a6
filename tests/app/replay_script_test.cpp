#include <gtest/gtest.h>

#include <windowsx.h>

#include "app/input.h"
#include "app/replay_script.h"

namespace {

TEST(ReplayScript, ReadsEveryEventKindAndFeedsThemByFrame) {
    ReplayScript s;
    const ReplayParseResult r = ParseReplayScript(
        "# comment\nscreen 1920 1080\n\n3 WM_MOUSEMOVE 640 -2\n3 WM_LBUTTONDOWN\n4 WM_KEYDOWN w\n"
        "4 WM_KEYDOWN 0x44 repeat\n9 WM_KEYUP 8\n12 PAD -1000 250 0 1000 1 3 127\n12 WM_RBUTTONDOWN\n"
        "20 WM_KEYDOWN ESCAPE\n20 WM_RBUTTONUP\n",
        s);
    ASSERT_TRUE(r.ok) << r.line << ": " << r.error;
    EXPECT_EQ(s.screenWidth, 1920.0f);
    ASSERT_EQ(s.events.size(), 9u);
    EXPECT_EQ(GET_Y_LPARAM(s.events[0].message.lParam), -2);
    EXPECT_EQ(s.events[2].message.wParam, WPARAM('W'));
    EXPECT_EQ(s.events[3].message.lParam, LPARAM(1) << 30);  // the repeat bit
    EXPECT_TRUE(s.events[7].endsGame);

    inputState = InputState{};
    inputState.keyDown = 1;
    size_t next = 0;
    EXPECT_TRUE(FeedReplayEvents(s, 2, next));
    EXPECT_EQ(inputState.leftButton, 0);
    EXPECT_TRUE(FeedReplayEvents(s, 10, next));  // skipped frames still deliver theirs
    EXPECT_EQ(inputState.leftButton, 1);
    EXPECT_EQ(inputState.keyUp, 1);
    EXPECT_EQ(inputState.keyRight, 0);  // an auto-repeat press changes nothing
    EXPECT_EQ(inputState.keyDown, 0);   // released by the 8 key
    EXPECT_TRUE(FeedReplayEvents(s, 12, next));
    const DIJOYSTATE2& pad = inputState.controller;
    EXPECT_EQ(std::make_pair(pad.lX, pad.lRy), std::make_pair(-1000, 1000));
    EXPECT_EQ(std::make_tuple(pad.rgbButtons[0], pad.rgbButtons[1], pad.rgbButtons[3], pad.rgbButtons[127]),
              std::make_tuple(0, 0x80, 0x80, 0x80));
    EXPECT_FALSE(FeedReplayEvents(s, 20, next));
    EXPECT_EQ(inputState.rightButton, 1);  // nothing after Escape is delivered
    inputState = InputState{};
}

TEST(ReplayScript, RejectsBadLinesWithTheirNumber) {
    const char* bad[] = {"0 WM_LBUTTONDOWN",  "100000001 WM_LBUTTONUP", "x WM_LBUTTONDOWN", "5",
                         "5 WM_PAINT",        "5 WM_LBUTTONDOWN 1",     "5 WM_MOUSEMOVE 1", "5 WM_MOUSEMOVE 1 40000",
                         "5 WM_KEYDOWN WW",   "5 WM_KEYDOWN 0x1FF",     "5 WM_KEYDOWN A x", "5 WM_KEYUP A repeat",
                         "5 PAD 0 0 0",       "5 PAD 0 0 0 1001",       "5 PAD 0 0 0 0 128", "screen 0 720",
                         "screen 1280 720 1", "7 WM_LBUTTONUP\n5 WM_LBUTTONUP", "5 WM_LBUTTONUP\nscreen 800 600",
                         "5 WM_MOUSEMOVE 99999999999999999999 0"};
    for (const char* text : bad) {
        ReplayScript s;
        const ReplayParseResult r = ParseReplayScript(std::string("# ok\n") + text + "\n", s);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_GE(r.line, 2) << text;
        EXPECT_FALSE(r.error.empty()) << text;
    }
}

}  // namespace
