#include <gtest/gtest.h>

#include <string>

#include "game_fixture.h"
#include "render/device_resources.h"
#include "render/frame.h"

namespace {

using Frame = GameFixture;

// One frame, and what it drew with something in it: F floor or walls, C the
// lit figures, S their shadow, D digits, T title, M mouse cursor, X shots
// (cursor and shots share a texture; the cursor comes before the figures).
std::string OneFrame(RecordingDevice& d) {
    d.ClearLog();
    RunFrame();
    std::string s;
    for (UINT i = 0; i < d.drawSize(); ++i) {
        const RecordedDraw& r = d.draw(i);
        if (r.primitiveCount == 0) continue;
        if (r.type != D3DPT_TRIANGLESTRIP)
            s += r.texture0 == renderer.frontEndTexture ? 'T' : s.find('C') == std::string::npos ? 'M' : 'X';
        else if (r.technique == nullptr) s += 'D';
        else if (r.texture0 == renderer.tilesTexture) s += 'F';
        else s += std::string(r.technique) == "WorldLighting" ? 'C' : 'S';
    }
    return s;
}

// The pixel hashes see the title appear but end before it first hides.
TEST_F(Frame, TheTitleBlinksOnAndOff) {
    // Shown from about the 20th frame for about twenty, then hidden for about
    // twenty; single-precision steps of 0.05 move each edge by a frame or two.
    std::string blink = "?";
    for (int f = 1; f < 100; ++f) blink += OneFrame(*rec.device).find('T') != std::string::npos ? '#' : '.';
    const size_t first = blink.find('#'), off = blink.find('.', first), on = blink.find('#', off);
    ASSERT_NE(on, std::string::npos) << blink;
    EXPECT_NEAR(double(first), 20.0, 1.0) << blink;
    EXPECT_NEAR(double(off - first), 21.0, 1.0) << blink;
    EXPECT_NEAR(double(on - off), 19.5, 1.5) << blink;
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

// Starting and firing by controller are pinned by the replay golden; that
// such a game draws no cursor is not.
TEST_F(Frame, TheControllerStartsAGameWithoutCursor) {
    inputState.controller.rgbButtons[0] = 0x80;
    EXPECT_EQ(OneFrame(*rec.device), "FFCS");
    EXPECT_EQ(gameState, Playing);
}

TEST_F(Frame, TheLastCountIsStillShownInTheFirstTitleFrameAndNotAfter) {
    gameState = Playing;
    killCount = 12;
    creatures[0].alive = 0;
    creatures[0].deadTimer = 30.0f;
    EXPECT_EQ(OneFrame(*rec.device), "FFDMCS");  // the game ends in this frame
    EXPECT_EQ(OneFrame(*rec.device), "FFDMCS");  // drawn before the title step clears it
    EXPECT_EQ(OneFrame(*rec.device), "FFMCS");
}

}  // namespace
