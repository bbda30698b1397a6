#include "app/input.h"

InputState inputState;
