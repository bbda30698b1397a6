#include <gtest/gtest.h>

#include "audio/sound.h"
#include "audio/wave_file.h"
#include "riff_bytes.h"

namespace {

// A buffer that stays lost for a number of Restore calls and counts them.
struct FakeBuffer final : IDirectSoundBuffer {
    explicit FakeBuffer(DWORD size = 16) : bytes(size, 0xEE) {}
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 0; }  // lives on the test's stack
    HRESULT GetCaps(DSBCAPS*) override { return E_NOTIMPL; }
    HRESULT GetFormat(LPWAVEFORMATEX, DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT GetStatus(DWORD* status) override {
        *status = lostFor > 0 ? DSBSTATUS_BUFFERLOST : 0;
        return DS_OK;
    }
    HRESULT Lock(DWORD, DWORD count, LPVOID* p1, DWORD* n1, LPVOID*, DWORD*, DWORD) override {
        *p1 = bytes.data();
        *n1 = count;
        return DS_OK;
    }
    HRESULT SetFormat(const WAVEFORMATEX*) override { return E_NOTIMPL; }
    HRESULT Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DS_OK; }
    HRESULT Restore() override {
        ++restores;
        if (lostFor > 0) --lostFor;
        return lostFor > 0 ? DSERR_BUFFERLOST : DS_OK;
    }
    int lostFor = 0, restores = 0;
    Bytes bytes;
};

WaveFile* OpenWave(const Bytes& bytes) {
    auto* wave = new WaveFile;
    EXPECT_EQ(wave->OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())), S_OK);
    return wave;
}

TEST(Sound, FillsOnlyBufferZeroAndPadsWithTheFormatsSilenceOrRepeats) {
    Bytes data = Ramp(6);
    for (WORD bits : {8, 16}) {
        FakeBuffer first, second;
        LPDIRECTSOUNDBUFFER buffers[] = {&first, &second};
        Sound sound(buffers, 16, 2, OpenWave(PcmWave(data, 1, bits)), 0);
        Bytes expected = data;
        expected.resize(16, bits == 8 ? 0x80 : 0x00);
        EXPECT_EQ(first.bytes, expected) << bits;
        EXPECT_EQ(second.bytes, Bytes(16, 0xEE));
        ASSERT_EQ(sound.FillBufferWithSound(&second, true), S_OK);
        EXPECT_EQ(second.bytes, Cat({data, data, Bytes(data.begin(), data.begin() + 4)}));
    }
    FakeBuffer only;
    LPDIRECTSOUNDBUFFER buffers[] = {&only};
    Sound empty(buffers, 16, 1, OpenWave(PcmWave({}, 1, 8)), 0);
    ASSERT_EQ(empty.FillBufferWithSound(&only, true), S_OK);  // nothing to repeat must not loop
    EXPECT_EQ(only.bytes, Bytes(16, 0x80));
}

TEST(Sound, RestoreRetriesWhileLostAndGivesUpAfterItsBound) {
    FakeBuffer buffer;
    LPDIRECTSOUNDBUFFER buffers[] = {&buffer};
    Sound sound(buffers, 16, 1, OpenWave(PcmWave(Ramp(16))), 0);
    bool restored = true;
    EXPECT_EQ(std::make_pair(sound.RestoreBuffer(&buffer, &restored), restored), std::make_pair(S_FALSE, false));
    buffer.lostFor = 5;
    EXPECT_EQ(std::make_pair(sound.RestoreBuffer(&buffer, &restored), restored), std::make_pair(S_OK, true));
    EXPECT_EQ(buffer.restores, 6);  // every pass asks twice, the last one too

    buffer.lostFor = 1 << 30;
    buffer.restores = 0;
    buffer.bytes.assign(16, 0xEE);
    EXPECT_EQ(sound.FillBufferWithSound(&buffer, false), DSERR_BUFFERLOST);
    EXPECT_EQ(std::make_pair(buffer.bytes, buffer.restores), std::make_pair(Bytes(16, 0xEE), 2 * Sound::kMaxRestorePasses));
}

}  // namespace
