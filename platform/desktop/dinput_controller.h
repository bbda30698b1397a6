// Internal to the platform layer: the DirectInput device of one SDL game
// controller, and the GUID that names an attached controller while it stays attached.
#pragma once

#include <SDL.h>

#include <dinput.h>

#include "platform/dinput/controller_device.h"

// Opens the controller SDL knows by this instance id; nullptr if it cannot.
IDirectInputDevice8W* OpenControllerDevice(SDL_JoystickID instanceId);

GUID ControllerInstanceGuid(SDL_JoystickID instanceId);
// False when the GUID was not made by ControllerInstanceGuid.
bool ControllerIdFromGuid(const GUID& guid, SDL_JoystickID* instanceId);

