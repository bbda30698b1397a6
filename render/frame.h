// One frame of the game: clear, camera, arena, score, phase step, title and
// cursor, the figures (drawn twice), firing, contact, shots, present.
#pragma once

extern float titleBlink;

void RunFrame();
