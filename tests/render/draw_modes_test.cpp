#include "render/draw_modes.h"

#include <array>

#include "support/recording_batch_fixture.h"
#include "render/device_resources.h"

namespace {
class DrawModeTest : public RecordingBatchTest {
protected:
    void SetUp() override {
        RecordingBatchTest::SetUp();
        worldLightingTechnique = renderer.effect->GetTechniqueByName("WorldLighting");
        shadowPlaneTechnique = renderer.effect->GetTechniqueByName("RenderToShadowPlane");
        ScrambleStates();
    }

    // The opposite of what each mode wants, so a state a mode forgets shows.
    void ScrambleStates() {
        IDirect3DDevice9* device = recording.device;
        device->SetRenderState(D3DRS_ZENABLE, FALSE);
        device->SetRenderState(D3DRS_ZWRITEENABLE, 7);
        device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
        device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_SUBTRACT);
        device->SetTexture(0, renderer.scoreTexture);
        device->SetFVF(0);
        device->SetStreamSource(0, vertexBatch.buffer, 0, sizeof(BatchVertex));
        recording.device->ClearLog();
    }

    void AddPoints(int n) {
        for (int i = 0; i < n; ++i) vertexBatch.Add(Vec4(float(i), 0, 0, 1), Vec4(1, 1, 1, 1), Vec4(0, 1, 0, 0));
    }

    const RecordedDraw& OnlyDraw() const {
        EXPECT_EQ(recording.device->drawSize(), 1u);
        return recording.device->draw(0);
    }

    int Count(RecordedCallKind kind) const {
        int n = 0;
        for (UINT i = 0; i < recording.device->logSize(); ++i) n += recording.device->logEntry(i).kind == kind;
        return n;
    }
};

using States = std::array<DWORD, 6>;
// The depth and blend states a draw ran with: enable, write, test; blending, source, destination.
States StatesOf(const RecordedDraw& d) {
    return {d.zEnable, d.zWriteEnable, d.zFunc, d.alphaBlendEnable, d.srcBlend, d.destBlend};
}
}  // namespace

TEST_F(DrawModeTest, SpritesAreAnAdditiveListWithoutDepthWrites) {
    AddPoints(14);
    vertexBatch.EndStrip();  // the list ignores the strip table
    DrawSprites(SpriteTexture::FrontEnd);
    const RecordedDraw& d = OnlyDraw();
    EXPECT_EQ(std::make_tuple(d.type, d.startVertex, d.primitiveCount, d.fvf, d.technique),
              std::make_tuple(D3DPT_TRIANGLELIST, 0u, 5u, kBatchFvf, nullptr)) << "15 vertices";
    EXPECT_EQ(d.texture0, renderer.frontEndTexture);
    // Additive, depth-tested as before, never writing depth.
    EXPECT_EQ(StatesOf(d), (States{FALSE, FALSE, D3DCMP_ALWAYS, TRUE, D3DBLEND_ONE, D3DBLEND_ONE}));
    EXPECT_EQ(d.blendOp, DWORD{D3DBLENDOP_ADD});
    recording.device->ClearLog();
    DrawSprites(SpriteTexture::Particle);
    EXPECT_EQ(OnlyDraw().texture0, renderer.particleTexture);
    vertexBatch.Reset();
    vertexBatch.doubleNext = 0;
    AddPoints(2);
    recording.device->ClearLog();
    DrawSprites(SpriteTexture::Particle);
    EXPECT_EQ(OnlyDraw().primitiveCount, 0u) << "fewer than three vertices";
}

TEST_F(DrawModeTest, StripSlotsPickTextureEffectTextureAndTechnique) {
    const struct {
        StripTexture slot;
        StripTechnique technique;
        IDirect3DTexture9* texture;
        const char* expectedTechnique;  // null: untextured, the effect is never touched
    } cases[] = {
        {StripTexture::ParticleCheap, StripTechnique::WorldLighting, renderer.particleCheapTexture, "WorldLighting"},
        {StripTexture::Tiles, StripTechnique::WorldLighting, renderer.tilesTexture, "WorldLighting"},
        {StripTexture::ParticleCheap, StripTechnique::RenderToShadowPlane, renderer.particleCheapTexture,
         "RenderToShadowPlane"},
        {StripTexture::Untextured, StripTechnique::WorldLighting, nullptr, nullptr},
        {StripTexture::Untextured, StripTechnique::RenderToShadowPlane, nullptr, nullptr},
    };
    AddPoints(6);
    vertexBatch.EndStrip();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << static_cast<int>(c.slot) << " technique "
                                        << static_cast<int>(c.technique));
        ScrambleStates();
        DrawStrip(c.slot, c.technique);
        const RecordedDraw& d = OnlyDraw();
        EXPECT_EQ(std::make_tuple(d.type, d.fvf, d.result, d.startVertex, d.primitiveCount, d.texture0),
                  std::make_tuple(D3DPT_TRIANGLESTRIP, kBatchFvf, D3D_OK, 0u, 5u, c.texture));
        EXPECT_EQ(StatesOf(d), (States{TRUE, TRUE, D3DCMP_LESSEQUAL, TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}));
        EXPECT_FALSE(recording.effect->begun());
        if (c.expectedTechnique == nullptr) {
            EXPECT_EQ(d.technique, nullptr);
            EXPECT_EQ(std::make_tuple(Count(RecordedCallKind::EffectSetTechnique), Count(RecordedCallKind::EffectSetTexture),
                                      Count(RecordedCallKind::EffectBegin)),
                      std::make_tuple(0, 0, 0));
            continue;
        }
        EXPECT_EQ(d.effectTexture, c.texture);
        ASSERT_NE(d.technique, nullptr);
        EXPECT_STREQ(d.technique, c.expectedTechnique);
    }
    EXPECT_EQ(recording.effect->misorderedCalls, 0u);
    EXPECT_EQ(recording.effect->begins, 3u);
}

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
    EXPECT_EQ(OnlyDraw().primitiveCount, 6u) << "D' D' A A B C D D' is eight vertices";
    vertexBatch.EndStrip();
    recording.device->ClearLog();
    DrawStrip(StripTexture::ParticleCheap, StripTechnique::WorldLighting);
    EXPECT_EQ(OnlyDraw().primitiveCount, 12u) << "then E E F G H H'";

    // After a reset with nothing closed since, nothing is drawn but the pass still runs.
    vertexBatch.Reset();
    recording.device->ClearLog();
    DrawStrip(StripTexture::Tiles, StripTechnique::RenderToShadowPlane);
    EXPECT_EQ(recording.device->drawSize(), 0u);
    EXPECT_EQ(recording.device->texture(0), renderer.tilesTexture);
    EXPECT_EQ(recording.device->renderState(D3DRS_SRCBLEND), DWORD{D3DBLEND_SRCALPHA});
    EXPECT_EQ(Count(RecordedCallKind::EffectBeginPass), 1);
    EXPECT_EQ(Count(RecordedCallKind::EffectEnd), 1);
    EXPECT_STREQ(recording.effect->GetCurrentTechnique(), "RenderToShadowPlane");
}
