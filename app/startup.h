// The whole entry: the start-up steps in order, the main loop, the exit.
#pragma once

// 0 when the player quits (Escape or closing the window); 1 when a start-up
// step fails, after one line on standard error naming what failed.
int RunGame();
