#include <gtest/gtest.h>

#include <string>

#include "game_fixture.h"
#include "render/device_resources.h"
#include "render/frame.h"
#include "world/player_gun.h"

namespace {

using Frame = GameFixture;

struct Drawn {
    std::string strips;  // one letter per non-empty strip: F(loor/walls), C(reatures), S(hadow)
    int titles = 0, cursors = 0, shotSprites = 0, digits = 0;
    UINT figureTriangles[2] = {};  // lit and shadow passes
};

// One frame, and what it drew. Cursor and shots share a texture: the cursor
// is drawn before the figures, the shots after.
Drawn OneFrame(RecordingDevice& d) {
    d.ClearLog();
    RunFrame();
    Drawn s;
    for (UINT i = 0; i < d.drawSize(); ++i) {
        const RecordedDraw& r = d.draw(i);
        const bool figuresDrawn = s.strips.find('C') != std::string::npos;
        if (r.primitiveCount == 0) continue;
        if (r.type == D3DPT_TRIANGLESTRIP && r.technique == nullptr) ++s.digits;
        else if (r.type == D3DPT_TRIANGLESTRIP && r.texture0 == renderer.tilesTexture) s.strips += 'F';
        else if (r.type == D3DPT_TRIANGLESTRIP) {
            const bool lit = std::string(r.technique) == "WorldLighting";
            s.strips += lit ? 'C' : 'S';
            s.figureTriangles[lit ? 0 : 1] = r.primitiveCount;
        }
        else if (r.texture0 == renderer.frontEndTexture) ++s.titles;
        else ++(figuresDrawn ? s.shotSprites : s.cursors);
    }
    return s;
}

TEST_F(Frame, ATitleFrameDrawsArenaCursorAndFiguresTwiceAndHoldsThePlayerAloft) {
    const uint64_t scenes = rec.device->scenes, presents = rec.device->presents;
    const Drawn s = OneFrame(*rec.device);
    EXPECT_EQ(rec.device->scenes, scenes + 1);
    EXPECT_EQ(rec.device->presents, presents + 1);
    EXPECT_EQ(s.strips, "FFCS");
    EXPECT_EQ(s.cursors, 1);
    EXPECT_EQ(s.digits + s.titles + s.shotSprites, 0);
    EXPECT_EQ(s.figureTriangles[0], s.figureTriangles[1]);  // the same figures twice
    EXPECT_GT(s.figureTriangles[0], 50u * 21u * 12u);        // fifty bodies of 21 six-sided tubes
    EXPECT_EQ(creatures[0].position.y, 20.0f);
    EXPECT_EQ(creatures[0].position.x, 0.0f);
}

TEST_F(Frame, TheTitlePictureBlinksInBlocksOfAboutTwentyFrames) {
    std::string pattern;
    for (int f = 0; f < 100; ++f) pattern += OneFrame(*rec.device).titles ? '#' : '.';
    // Single-precision steps of 0.05 move each edge by a frame or two.
    const size_t first = pattern.find('#'), off = pattern.find('.', first), on = pattern.find('#', off);
    ASSERT_NE(on, std::string::npos) << pattern;
    EXPECT_NEAR(double(first), 19.0, 1.0) << pattern;
    EXPECT_NEAR(double(off - first), 21.0, 1.0) << pattern;
    EXPECT_NEAR(double(on - off), 19.5, 1.5) << pattern;
}

TEST_F(Frame, AFailedBeginSceneSimulatesNothingButStillPresents) {
    RunFrame();
    const float x = creatures[7].position.x, blink = titleBlink;
    const uint64_t presents = rec.device->presents;
    rec.device->beginSceneResult = E_FAIL;
    RunFrame();
    rec.device->beginSceneResult = D3D_OK;
    EXPECT_EQ(rec.device->presents, presents + 1);
    EXPECT_EQ(creatures[7].position.x, x);
    EXPECT_EQ(titleBlink, blink);
}

TEST_F(Frame, TheControllerStartsAGameWithoutCursorAndFiresWithTheRightStick) {
    inputState.controller.rgbButtons[0] = 0x80;
    EXPECT_EQ(OneFrame(*rec.device).cursors, 0);
    EXPECT_EQ(gameState, Playing);
    EXPECT_EQ(mouseAim, 0);
    inputState.controller.rgbButtons[0] = 0;
    inputState.controller.lRx = 1000;
    fireTimer = 1.0f;
    const Drawn s = OneFrame(*rec.device);
    EXPECT_EQ(s.cursors, 0);
    EXPECT_EQ(s.shotSprites, 1);
    EXPECT_EQ(playerGun.shots[0].velocity.x, 0.5f);
    EXPECT_EQ(playerGun.shots[0].velocity.z, 0.0f);
}

TEST_F(Frame, TheLastCountIsStillShownInTheFirstTitleFrameAndNotAfter) {
    gameState = Playing;
    killCount = 12;
    creatures[0].alive = 0;
    creatures[0].deadTimer = 30.0f;
    EXPECT_EQ(OneFrame(*rec.device).digits, 1);  // the game ends in this frame
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(OneFrame(*rec.device).digits, 1);  // drawn before the title step clears it
    EXPECT_EQ(OneFrame(*rec.device).digits, 0);
}

}  // namespace
