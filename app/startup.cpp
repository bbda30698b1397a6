#include "app/startup.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/main_loop.h"
#include "app/startup_failure.h"

namespace {

constexpr WCHAR kClassName[] = L"Quillfrost";

void RegisterWindowClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_CLASSDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = appState.instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

bool ReadDesktopSize() {
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return false;
    appState.screenWidth = static_cast<float>(mode.dmPelsWidth);
    appState.screenHeight = static_cast<float>(mode.dmPelsHeight);
    return true;
}

HWND CreateGameWindow() {
    return CreateWindowExW(0, kClassName, kClassName, WS_OVERLAPPEDWINDOW, 0, 0, static_cast<int>(appState.screenWidth),
                           static_cast<int>(appState.screenHeight), nullptr, nullptr, appState.instance, nullptr);
}

// False when the system has no last error or no text for it.
bool LastErrorText(WCHAR* text, DWORD size) {
    DWORD error = GetLastError();
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    return error && FormatMessageW(flags, nullptr, error, 0, text, size, nullptr) != 0;
}

// The step's own reason if it noted one, else what the shell knows: the
// status, or the system's last error.
int FailStartup(const char* step, HRESULT status) {
    const char* reason = StartupFailureText();
    if (reason[0])
        std::fprintf(stderr, "Quillfrost: %s\n", reason);
    else if (status)
        std::fprintf(stderr, "Quillfrost: %s failed (0x%08X)\n", step, static_cast<unsigned>(status));
    else if (WCHAR text[256]; LastErrorText(text, 256))
        std::fprintf(stderr, "Quillfrost: %s: %ls\n", step, text);
    else
        std::fprintf(stderr, "Quillfrost: %s\n", step);
    UnregisterClassW(kClassName, appState.instance);
    return 1;
}

}  // namespace

int RunGame() {
    appState.instance = GetModuleHandleW(nullptr);
    RegisterWindowClass();
    SetLastError(0);
    if (!ReadDesktopSize()) return FailStartup("cannot read the desktop display mode", 0);
    appState.window = CreateGameWindow();
    if (!appState.window) return FailStartup("cannot create the game window", 0);
    gameSteps.initSounds(appState.window);
    gameSteps.newGame();
    // A reason noted by the sound set-up, which is allowed to fail, must not
    // be printed as the reason of a later failure.
    ClearStartupFailure();
    HRESULT status = gameSteps.createDeviceAndResources(appState.window);
    if (FAILED(status)) return FailStartup("CreateDeviceAndResources", status);
    SetCapture(appState.window);
    ShowCursor(FALSE);
    ClearStartupFailure();
    status = gameSteps.createBatchBuffer();
    if (FAILED(status)) return FailStartup("CreateBatchBuffer", status);
    ShowWindow(appState.window, SW_SHOWDEFAULT);
    UpdateWindow(appState.window);
    appState.message = MSG{};
    while (RunMainLoop()) {
    }
    UnregisterClassW(kClassName, appState.instance);
    return 0;
}
