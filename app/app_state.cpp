#include "app/app_state.h"

#include "app/input.h"
#include "audio/game_sounds.h"
#include "render/device_resources.h"
#include "render/frame.h"
#include "world/new_game.h"
#include "world/sprites.h"

AppState appState;

namespace {
constexpr GameSteps kRealSteps = {InitGameSounds, NewGame,  CreateDeviceAndResources, CreateBatchBuffer,
                                  PollController, RunFrame, ReleaseResources};
}

GameSteps gameSteps = kRealSteps;

GameSteps DefaultGameSteps() { return kRealSteps; }
