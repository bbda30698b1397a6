// What the whole-frame pixel hashes cannot reach: strip counts at the edges of
// the strip table, and sprite lists too short for a triangle. (States,
// textures and techniques of every mode show in those hashes.)
#include "render/draw_modes.h"

#include "support/recording_batch_fixture.h"
#include "render/device_resources.h"

namespace {
class DrawModeTest : public RecordingBatchTest {
protected:
    void SetUp() override {
        RecordingBatchTest::SetUp();
        worldLightingTechnique = renderer.effect->GetTechniqueByName("WorldLighting");
        shadowPlaneTechnique = renderer.effect->GetTechniqueByName("RenderToShadowPlane");
        recording.device->SetStreamSource(0, vertexBatch.buffer, 0, sizeof(BatchVertex));
        recording.device->ClearLog();
    }
    void AddPoints(int n) {
        for (int i = 0; i < n; ++i) vertexBatch.Add(Vec4(float(i), 0, 0, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    }
    UINT OnlyDrawsPrimitives() {
        EXPECT_EQ(recording.device->drawSize(), 1u);
        const UINT n = recording.device->drawSize() == 1 ? recording.device->draw(0).primitiveCount : ~0u;
        recording.device->ClearLog();
        return n;
    }
};
}  // namespace

TEST_F(DrawModeTest, StripDrawCoversOnlyUpToTheLastEndStrip) {
    vertexBatch.doubleNext = 0;
    vertexBatch.EndStrip();  // a lone closing copy: strip (0, 1) must not wrap to a huge count
    DrawStrip(StripTexture::ParticleCheap, StripTechnique::WorldLighting);
    EXPECT_EQ(recording.device->drawSize(), 0u);
    EXPECT_EQ(recording.device->invalidCalls, 0u);

    vertexBatch.Reset();
    vertexBatch.EndStrip();  // now doubled: D' D'
    AddPoints(4);            // A A B C D
    vertexBatch.EndStrip();
    AddPoints(4);  // E F G H, not closed: not drawn
    recording.device->ClearLog();
    DrawStrip(StripTexture::ParticleCheap, StripTechnique::WorldLighting);
    EXPECT_EQ(OnlyDrawsPrimitives(), 6u);  // D' D' A A B C D D'
    vertexBatch.EndStrip();
    DrawStrip(StripTexture::ParticleCheap, StripTechnique::WorldLighting);
    EXPECT_EQ(OnlyDrawsPrimitives(), 12u);  // then E E F G H H'

    // After a reset with nothing closed since, nothing is drawn but the pass still runs.
    vertexBatch.Reset();
    const uint64_t passes = recording.effect->passes;
    DrawStrip(StripTexture::Tiles, StripTechnique::RenderToShadowPlane);
    EXPECT_EQ(recording.device->drawSize(), 0u);
    EXPECT_EQ(recording.device->texture(0), renderer.tilesTexture);
    EXPECT_EQ(recording.effect->passes, passes + 1);
    EXPECT_EQ(recording.effect->misorderedCalls, 0u);
}

TEST_F(DrawModeTest, SpritesShorterThanATriangleDrawNothing) {
    vertexBatch.doubleNext = 0;
    AddPoints(2);
    DrawSprites(SpriteTexture::Particle);
    EXPECT_EQ(OnlyDrawsPrimitives(), 0u);
}
