// Internal to the platform layer: the DirectInput device of one SDL game
// controller, and the GUID that names an attached controller while it stays attached.
#pragma once

#include <SDL.h>

#include <dinput.h>

// Opens the controller SDL knows by this instance id; nullptr if it cannot.
IDirectInputDevice8W* OpenControllerDevice(SDL_JoystickID instanceId);

GUID ControllerInstanceGuid(SDL_JoystickID instanceId);
// False when the GUID was not made by ControllerInstanceGuid.
bool ControllerIdFromGuid(const GUID& guid, SDL_JoystickID* instanceId);

// SDL's UTF-8 names as wide text; characters beyond ASCII become '?'.
void Utf8NameToWide(const char* name, WCHAR* out, size_t capacity);
