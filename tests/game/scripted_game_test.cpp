#include <gtest/gtest.h>

#include "game_fixture.h"
#include "render/frame.h"

namespace {

using ScriptedGame = GameFixture;

// A whole game through the input handling: click to start, shoot the nearest
// enemy until two are down, let go, get caught, return to the title.
TEST_F(ScriptedGame, ClickShootGetCaughtAndReturnToTheTitle) {
    RunFrame();
    Send(WM_MOUSEMOVE, MAKELPARAM(640, 200));
    Send(WM_LBUTTONDOWN);
    RunFrame();
    ASSERT_EQ(gameState, Playing);
    ASSERT_EQ(mouseAim, 1);
    for (int frame = 0; frame < 2000 && killCount < 2; ++frame) {
        PointMouseAt(NearestLivingEnemy());
        RunFrame();
        ASSERT_EQ(creatures[0].alive, 1) << "caught before two kills, frame " << frame;
    }
    int dead = 0;
    for (int i = 1; i < kCreatureCount; ++i) dead += !creatures[i].alive;
    EXPECT_EQ(dead, 2);
    EXPECT_EQ(killCount, 2);

    Send(WM_LBUTTONUP);  // the aim keeps its direction; enemies from elsewhere get through
    for (int frame = 0; frame < 3000 && creatures[0].alive; ++frame) RunFrame();
    ASSERT_EQ(creatures[0].alive, 0) << "no enemy reached the figure";
    int framesToTitle = 0;
    while (gameState == Playing && framesToTitle < 400) RunFrame(), ++framesToTitle;
    EXPECT_NEAR(framesToTitle, 191, 2);  // the dead timer passes 19.0 at 0.1 a frame
    EXPECT_GE(killCount, 2);             // still shown in the returning frame
    RunFrame();
    EXPECT_EQ(killCount, 0);
    EXPECT_EQ(creatures[0].position.y, 20.0f);
}

}  // namespace
