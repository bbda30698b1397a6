// The window pool and its SDL windows beneath, through the Win32 calls the
// game makes. Needs a display (the test command's Xvfb).
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/desktop/sdl_window.h"

namespace {

std::vector<UINT> seen;  // the messages the procedures below received
LRESULT refuseCreation = 0;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(message);
    if (message == WM_CREATE) return refuseCreation;
    return DefWindowProcW(window, message, wParam, lParam);
}

class WindowPool : public testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        refuseCreation = 0;
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClass;
        ASSERT_NE(0, RegisterClassExW(&windowClass));
    }
    void TearDown() override {
        for (HWND window : made) DestroyWindow(window);
        EXPECT_TRUE(UnregisterClassW(kClass, GetModuleHandleW(nullptr)));
    }
    HWND Make(LPCWSTR title = L"pool", int width = 64) {
        HWND window = CreateWindowExW(0, kClass, title, 0, 0, 0, width, 48, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        if (window) made.push_back(window);
        return window;
    }

    static constexpr LPCWSTR kClass = L"WindowPoolTest";
    std::vector<HWND> made;
};

TEST_F(WindowPool, HoldsEightWindowsAndReusesADestroyedOnesSlot) {
    for (int i = 0; i < 8; ++i) ASSERT_NE(nullptr, Make()) << i;
    EXPECT_EQ(nullptr, Make());
    HWND freed = made[3];
    ASSERT_TRUE(DestroyWindow(freed));
    EXPECT_FALSE(IsLiveWindow(freed));
    EXPECT_EQ(freed, Make());  // the slot comes back, with a window of its own beneath
    EXPECT_NE(nullptr, freed->sdlWindow);
    EXPECT_EQ(freed, WindowFromSdlId(SDL_GetWindowID(freed->sdlWindow)));
}

TEST_F(WindowPool, AStaleHandleIsRecognisedEverywhere) {
    HWND window = Make();
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(UnregisterClassW(kClass, GetModuleHandleW(nullptr)));  // the class still has a window
    ASSERT_TRUE(PostMessageW(window, WM_KEYDOWN, 0, 0));
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));
    EXPECT_FALSE(UpdateWindow(window));
    EXPECT_FALSE(PostMessageW(window, WM_KEYDOWN, 0, 0));
    EXPECT_EQ(nullptr, LiveWindowProcedure(window));
    EXPECT_EQ(nullptr, window->sdlWindow);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));  // dropped with the window
    made.clear();
}

TEST_F(WindowPool, ARefusedCreationIsUndoneAndLeavesItsSlotFree) {
    refuseCreation = -1;
    EXPECT_EQ(nullptr, Make());
    EXPECT_EQ((std::vector<UINT>{WM_CREATE, WM_DESTROY}), seen);
    EXPECT_EQ(nullptr, FirstLiveWindow());
    refuseCreation = 0;
    for (int i = 0; i < 8; ++i) EXPECT_NE(nullptr, Make()) << i;
}

TEST_F(WindowPool, BadArgumentsMakeNothing) {
    EXPECT_EQ(nullptr, Make(L"no size", 0));
    EXPECT_EQ(nullptr, CreateWindowExW(0, L"NoSuchClass", L"x", 0, 0, 0, 64, 48, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
    EXPECT_EQ(nullptr, CreateWindowExW(0, nullptr, L"x", 0, 0, 0, 64, 48, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(nullptr, FirstLiveWindow());
}

// SDL takes titles as UTF-8. A wide string holds code points here, so the two
// halves of a surrogate pair are two lone surrogates, each shown as '?'; a
// title too long is cut before a character that would not fit whole.
TEST_F(WindowPool, TitlesReachSdlAsUtf8) {
    HWND window = Make(L"a\u00e9\u20ac\U0001F600 \xD83D\xDE00.");
    ASSERT_NE(nullptr, window);
    EXPECT_STREQ("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80 ??.", SDL_GetWindowTitle(window->sdlWindow));
    std::wstring longTitle(254, L'x');
    longTitle += L'\u20ac';
    HWND cut = Make(longTitle.c_str());
    ASSERT_NE(nullptr, cut);
    EXPECT_EQ(std::string(254, 'x'), SDL_GetWindowTitle(cut->sdlWindow));
}

}  // namespace
