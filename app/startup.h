// The game's entry: the start-up steps in order, then passes of the main loop
// (app/main_loop.h) until it ends, then the exit.
#pragma once

// 0 when the player quits (Escape or closing the window); 1 when a start-up
// step fails, after one line on standard error naming what failed.
int RunGame();
