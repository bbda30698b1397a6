// A game on the recording device, started as the program starts it.
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
};
