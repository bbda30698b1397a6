#include "audio/game_sounds.h"

#include "audio/sound.h"
#include "audio/sound_manager.h"

GameSounds gameSounds;

namespace {

// Frequency and volume control, as the sounds would need to be played.
constexpr DWORD kSoundFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME;

}  // namespace

HRESULT InitGameSounds(HWND window) {
    gameSounds.manager = new SoundManager;
    gameSounds.manager->Initialize(window, DSSCL_PRIORITY);
    gameSounds.manager->SetPrimaryBufferFormat(10, 22050, 16);
    gameSounds.manager->Create(&gameSounds.song, L"songfinal.wav", kSoundFlags, GUID_NULL, 1);
    gameSounds.manager->Create(&gameSounds.firstBing, L"bingl.wav", kSoundFlags, GUID_NULL, 5);
    return gameSounds.manager->Create(&gameSounds.secondBing, L"bing2.wav", kSoundFlags, GUID_NULL, 5);
}

void ReleaseGameSounds() {
    delete gameSounds.song;
    delete gameSounds.firstBing;
    delete gameSounds.secondBing;
    delete gameSounds.manager;
    gameSounds = GameSounds{};
}
