// The camera that follows the player's figure from above and behind: sets the
// fixed-function transforms and the effect's camera values once per frame.
#pragma once

#include "math/vec4.h"

// The eye of the current frame; the score, title, cursor and cursor point use it.
extern Vec4 cameraEye;

void UpdateCamera();
