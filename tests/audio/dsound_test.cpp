#include <gtest/gtest.h>

#include "platform/dsound.h"
#include "platform/sdl_window.h"
#include "riff_bytes.h"

namespace {

class DirectSound : public ::testing::Test {
protected:
    void SetUp() override {
        UseSilentAudioDriver();
        ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
        ASSERT_EQ(ds->SetCooperativeLevel(&window, DSSCL_PRIORITY), DS_OK);
    }
    void TearDown() override { EXPECT_EQ(ds->Release(), 0u); }
    HWND__ window;
    LPDIRECTSOUND8 ds = nullptr;
};

TEST_F(DirectSound, LockHandsOutASecondRegionWhenTheRangeWraps) {
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0};
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), 0, 100, 0, &format, GUID_NULL};
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    void *p1 = nullptr, *p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(0, 100, &p1, &n1, &p2, &n2, 0), DS_OK);
    BYTE* base = static_cast<BYTE*>(p1);
    EXPECT_EQ(n1, 100u);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(n2, 0u);
    ASSERT_EQ(buffer->Lock(90, 20, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(p1, base + 90);
    EXPECT_EQ(n1, 10u);
    EXPECT_EQ(p2, base);
    EXPECT_EQ(n2, 10u);
    EXPECT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
    ASSERT_EQ(buffer->Lock(90, 20, &p1, &n1, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(n1, 10u);  // without a second pointer only the first region
    ASSERT_EQ(buffer->Lock(50, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(n1 + n2, 100u);
    EXPECT_EQ(buffer->Lock(100, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 101, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(base + 90, 11, nullptr, 0), DSERR_INVALIDPARAM);
    buffer->Release();
}

}  // namespace
