// The message crackers the game uses: signed cursor coordinates of a mouse
// message's lParam.
#pragma once

#include <windows.h>

#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))
