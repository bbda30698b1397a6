#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/dsound.h"
#include "platform/sdl_window.h"
#include "riff_bytes.h"

namespace {

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits) {
    WORD align = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, align * rate, align, bits, 0};
}

class DirectSound : public ::testing::Test {
protected:
    void SetUp() override {
        UseSilentAudioDriver();
        ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
        ASSERT_EQ(ds->SetCooperativeLevel(&window, DSSCL_PRIORITY), DS_OK);
    }
    void TearDown() override {
        if (ds) ds->Release();
    }
    HRESULT Make(DWORD bytes, const WAVEFORMATEX& format, LPDIRECTSOUNDBUFFER* out, DWORD flags = 0,
                 GUID algorithm = GUID_NULL) {
        WAVEFORMATEX copy = format;
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), flags, bytes, 0, &copy, algorithm};
        return ds->CreateSoundBuffer(&desc, out, nullptr);
    }
    LPDIRECTSOUNDBUFFER Primary() {
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr, GUID_NULL};
        LPDIRECTSOUNDBUFFER primary = nullptr;
        EXPECT_EQ(ds->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
        return primary;
    }
    HWND__ window;
    LPDIRECTSOUND8 ds = nullptr;
};

TEST_F(DirectSound, PrimaryFormatNeedsPriorityAndAConsistentRecord) {
    LPDIRECTSOUNDBUFFER primary = Primary();
    ASSERT_NE(primary, nullptr);
    WAVEFORMATEX format{};
    ASSERT_EQ(primary->GetFormat(&format, sizeof(format), nullptr), DS_OK);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);
    EXPECT_EQ(format.wBitsPerSample, 8);

    WAVEFORMATEX ten = Pcm(10, 22050, 16);
    ASSERT_EQ(ds->SetCooperativeLevel(&window, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(primary->SetFormat(&ten), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(ds->SetCooperativeLevel(&window, DSSCL_PRIORITY), DS_OK);
    EXPECT_EQ(primary->SetFormat(&ten), DS_OK);
    WAVEFORMATEX wrong = ten;
    wrong.nBlockAlign = 2;
    EXPECT_EQ(primary->SetFormat(&wrong), DSERR_BADFORMAT);
    primary->Release();

    // The format belongs to the device, not to one primary buffer object.
    primary = Primary();
    ASSERT_EQ(primary->GetFormat(&format, sizeof(format), nullptr), DS_OK);
    EXPECT_EQ(format.nChannels, 10);
    EXPECT_EQ(format.nBlockAlign, 20);
    EXPECT_EQ(format.nAvgBytesPerSec, 441000u);
    void* p = nullptr;
    DWORD n = 0;
    EXPECT_FALSE(SUCCEEDED(primary->Lock(0, 4, &p, &n, nullptr, nullptr, 0)));
    primary->Release();
}

TEST_F(DirectSound, LockHandsOutTwoRegionsWhenTheRangeWraps) {
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    ASSERT_EQ(Make(100, Pcm(1, 22050, 8), &buffer), DS_OK);
    void *p1 = nullptr, *p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(0, 100, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 100u);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(n2, 0u);
    EXPECT_EQ(static_cast<BYTE*>(p1)[99], 0);  // new buffers start zeroed
    BYTE* base = static_cast<BYTE*>(p1);
    for (int i = 0; i < 100; ++i) base[i] = static_cast<BYTE>(i);
    ASSERT_EQ(buffer->Unlock(p1, n1, nullptr, 0), DS_OK);

    ASSERT_EQ(buffer->Lock(90, 20, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(p1, base + 90);
    EXPECT_EQ(n1, 10u);
    EXPECT_EQ(p2, base);
    EXPECT_EQ(n2, 10u);
    EXPECT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
    // Without a second pointer only the first region is locked.
    ASSERT_EQ(buffer->Lock(90, 20, &p1, &n1, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(n1, 10u);
    // The whole buffer from an offset wraps round to the offset again.
    ASSERT_EQ(buffer->Lock(50, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(p1, base + 50);
    EXPECT_EQ(n1, 50u);
    EXPECT_EQ(p2, base);
    EXPECT_EQ(n2, 50u);

    EXPECT_EQ(buffer->Lock(100, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 101, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 0, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    BYTE elsewhere[4];
    EXPECT_EQ(buffer->Unlock(elsewhere, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(base + 90, 11, nullptr, 0), DSERR_INVALIDPARAM);
    DWORD status = 9;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    buffer->Release();
}

TEST_F(DirectSound, DuplicatesShareTheBytesAndOutliveTheOriginal) {
    LPDIRECTSOUNDBUFFER original = nullptr, copy = nullptr;
    ASSERT_EQ(Make(64, Pcm(2, 44100, 16), &original, DSBCAPS_CTRLVOLUME), DS_OK);
    ASSERT_EQ(ds->DuplicateSoundBuffer(original, &copy), DS_OK);
    void *a = nullptr, *b = nullptr;
    DWORD na = 0, nb = 0;
    ASSERT_EQ(original->Lock(0, 64, &a, &na, nullptr, nullptr, 0), DS_OK);
    std::memset(a, 0x5A, na);
    original->Unlock(a, na, nullptr, 0);
    original->Release();
    ASSERT_EQ(copy->Lock(0, 64, &b, &nb, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(b, a);
    EXPECT_EQ(static_cast<BYTE*>(b)[63], 0x5A);
    DSBCAPS caps{sizeof(DSBCAPS), 0, 0, 0, 0};
    ASSERT_EQ(copy->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, 64u);
    EXPECT_EQ(caps.dwFlags, DSBCAPS_CTRLVOLUME);
    copy->Release();

    LPDIRECTSOUNDBUFFER effects = nullptr, none = nullptr;
    ASSERT_EQ(Make(64, Pcm(2, 44100, 16), &effects, DSBCAPS_CTRLFX), DS_OK);
    EXPECT_EQ(ds->DuplicateSoundBuffer(effects, &none), DSERR_INVALIDCALL);
    EXPECT_EQ(none, nullptr);
    effects->Release();
    LPDIRECTSOUNDBUFFER primary = Primary();
    EXPECT_EQ(ds->DuplicateSoundBuffer(primary, &none), DSERR_INVALIDCALL);
    primary->Release();
}

TEST_F(DirectSound, BufferDescriptionsAreChecked) {
    LPDIRECTSOUNDBUFFER b = nullptr;
    EXPECT_EQ(Make(3, Pcm(1, 22050, 8), &b), DSERR_INVALIDPARAM);
    EXPECT_EQ(Make(DSBSIZE_MAX + 1, Pcm(1, 22050, 8), &b), DSERR_INVALIDPARAM);
    WAVEFORMATEX adpcm = Pcm(1, 22050, 16);
    adpcm.wFormatTag = 2;
    EXPECT_EQ(Make(64, adpcm, &b), DSERR_BADFORMAT);
    EXPECT_EQ(Make(64, Pcm(0, 22050, 16), &b), DSERR_BADFORMAT);
    EXPECT_EQ(Make(64, Pcm(1, 50, 16), &b), DSERR_BADFORMAT);
    GUID hrtf{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(Make(64, Pcm(1, 22050, 16), &b, 0, hrtf), DSERR_INVALIDPARAM);
    EXPECT_EQ(Make(64, Pcm(2, 22050, 16), &b, DSBCAPS_CTRL3D), DSERR_INVALIDPARAM);
    EXPECT_EQ(b, nullptr);
    ASSERT_EQ(Make(64, Pcm(1, 22050, 16), &b, DSBCAPS_CTRL3D, hrtf), DS_NO_VIRTUALIZATION);
    ASSERT_NE(b, nullptr);
    b->Release();
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC) - 4, 0, 64, 0, nullptr, GUID_NULL};
    EXPECT_EQ(ds->CreateSoundBuffer(&desc, &b, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds->SetCooperativeLevel(&window, 7), DSERR_INVALIDPARAM);
}

TEST(DirectSoundDevice, NoDriverFailsCleanlyAndTheNextOpenWorks) {
    const char* before = getenv("SDL_AUDIODRIVER");
    std::string saved = before ? before : "";
    setenv("SDL_AUDIODRIVER", "qf-no-such-driver", 1);
    LPDIRECTSOUND8 ds = reinterpret_cast<LPDIRECTSOUND8>(&saved);
    EXPECT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(ds, nullptr);
    if (before)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    UseSilentAudioDriver();
    GUID other{7, 0, 0, {}};
    EXPECT_EQ(DirectSoundCreate8(&other, &ds, nullptr), DSERR_NODRIVER);
    ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
    EXPECT_EQ(ds->Release(), 0u);
}

}  // namespace
