// A game on the recording device, started as the program starts it, driven
// through the input handling one frame at a time.
#pragma once

#include <gtest/gtest.h>

#include "app/input.h"
#include "render/recording_renderer.h"
#include "world/world_tables.h"

class GameFixture : public ::testing::Test {
protected:
    static RecordingRenderer rec;

    static void SetUpTestSuite();
    static void TearDownTestSuite() { UninstallRecordingRenderer(); }
    void SetUp() override;  // a fresh title screen with released input

    static void Send(UINT message, LPARAM lParam = 0);
    // Moves the mouse so that the cursor's ground point lies 5 units from the
    // player's figure toward creature `target`.
    static void PointMouseAt(int target);
    static int NearestLivingEnemy();  // 0 when none is alive
};
