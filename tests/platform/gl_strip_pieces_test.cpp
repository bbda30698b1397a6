// Long strips drawn as pieces must give the very pixels of the whole strip,
// whatever the piece length and wherever the strip starts in the buffer.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gl/d3d9_readback.h"
#include "platform/gl/gl_draw_options.h"
#include "support/gl_test_support.h"

namespace {

const int kWidth = 160, kHeight = 120;
const UINT kVertices = 1201;  // odd, so the last piece is a short one

class StripPieces : public ::testing::Test {
protected:
    TestDevice gl{kWidth, kHeight};
    IDirect3DVertexBuffer9* buffer = nullptr;

    // A translucent ribbon that zigzags across the view and out past its edges,
    // with a repeated vertex now and then the way the batch joins its pieces.
    void SetUp() override {
        ASSERT_NE(nullptr, gl.device) << "no GL 3.3 core device (run under xvfb-run)";
        IDirect3DDevice9* device = gl.device;
        ASSERT_EQ(D3D_OK, device->CreateVertexBuffer((kVertices + 1) * sizeof(TestVertex), 0, kTestVertexFvf,
                                                     D3DPOOL_DEFAULT, &buffer, nullptr));
        void* data = nullptr;
        ASSERT_EQ(D3D_OK, buffer->Lock(0, 0, &data, 0));
        auto* v = static_cast<TestVertex*>(data);
        for (UINT i = 0; i <= kVertices; ++i) {
            const UINT k = i % 37 == 0 && i > 0 ? i - 1 : i;
            const float x = -1.3f + 2.6f * float(k % 50) / 49.0f;
            const float y = (k % 2 ? 0.15f : -0.15f) + float(k / 50) * 0.1f - 1.2f;
            const D3DCOLOR colour = D3DCOLOR_ARGB(128, k * 7 % 256, k * 13 % 256, k % 256);
            v[i] = {x, y, 0.001f * float(k % 97), 0, 0, 0, colour, 0, 0};
        }
        buffer->Unlock();
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->SetFVF(kTestVertexFvf);
        device->SetStreamSource(0, buffer, 0, sizeof(TestVertex));
    }
    void TearDown() override {
        SetGlStripPieceLength(kGlDefaultStripPieceLength);
        if (buffer) buffer->Release();
    }

    std::vector<unsigned char> Draw(unsigned pieceLength, UINT start) {
        SetGlStripPieceLength(pieceLength);
        IDirect3DDevice9* device = gl.device;
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(20, 30, 40), 1.0f, 0);
        EXPECT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, start, kVertices - 2));
        std::vector<unsigned char> rgba(size_t(kWidth) * kHeight * 4);
        EXPECT_EQ(D3D_OK, ReadRenderTargetPixels(device, 0, 0, kWidth, kHeight, rgba.data()));
        return rgba;
    }
};

TEST_F(StripPieces, PiecesDrawTheWholeStripsPixels) {
    for (UINT start : {0u, 1u}) {
        const std::vector<unsigned char> whole = Draw(0, start);
        size_t background = 0;
        for (size_t i = 0; i < whole.size(); i += 4) background += whole[i] == 20 && whole[i + 1] == 30;
        ASSERT_LT(background, whole.size() / 8) << "the ribbon covers most of the view";
        for (unsigned piece : {4u, 6u, 256u, 1200u})
            EXPECT_TRUE(Draw(piece, start) == whole) << "pieces of " << piece << " from vertex " << start;
    }
}

}  // namespace
