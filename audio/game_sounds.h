// The game's sound set-up: one sound manager and the three sounds, loaded at
// start-up and kept for the life of the process. Nothing plays them.
#pragma once

#include <windows.h>

class SoundManager;
class Sound;

struct GameSounds {
    SoundManager* manager = nullptr;
    Sound* song = nullptr;
    Sound* firstBing = nullptr;
    Sound* secondBing = nullptr;
};

extern GameSounds gameSounds;

// Returns the last creation's code; the caller ignores it.
HRESULT InitGameSounds(HWND window);

// Deletes the sounds and the manager and clears the slots. The game keeps them
// to the end of the process; tests start each case from empty slots.
void ReleaseGameSounds();
