// Temporary: stands in for the controller set-up until the input code lands
// on main; delete this file then. No controller found, which start-up ignores.
#include "app/input.h"

HRESULT CreateController(HWND) { return S_FALSE; }
