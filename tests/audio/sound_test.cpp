#include <gtest/gtest.h>

#include <chrono>

#include "audio/sound.h"
#include "audio/wave_file.h"
#include "riff_bytes.h"

namespace {

// A buffer that can be lost for a number of Restore calls and counts what is done to it.
struct FakeBuffer final : IDirectSoundBuffer {
    explicit FakeBuffer(DWORD size = 16) : bytes(size, 0xEE) {}
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }  // lives on the test's stack
    HRESULT GetCaps(DSBCAPS*) override { return E_NOTIMPL; }
    HRESULT GetFormat(LPWAVEFORMATEX, DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT GetStatus(DWORD* status) override {
        *status = lostFor > 0 ? DSBSTATUS_BUFFERLOST : 0;
        return statusResult;
    }
    HRESULT Lock(DWORD, DWORD count, LPVOID* p1, DWORD* n1, LPVOID*, DWORD*, DWORD) override {
        ++locks;
        *p1 = bytes.data();
        *n1 = count;
        return DS_OK;
    }
    HRESULT SetFormat(const WAVEFORMATEX*) override { return E_NOTIMPL; }
    HRESULT Unlock(LPVOID, DWORD, LPVOID, DWORD) override {
        ++unlocks;
        return DS_OK;
    }
    HRESULT Restore() override {
        ++restores;
        if (lostFor > 0) --lostFor;
        return lostFor > 0 ? DSERR_BUFFERLOST : DS_OK;
    }
    ULONG refs = 1;
    int lostFor = 0;
    HRESULT statusResult = DS_OK;
    int locks = 0, unlocks = 0, restores = 0;
    Bytes bytes;
};

WaveFile* OpenWave(const Bytes& bytes) {
    auto* wave = new WaveFile;
    EXPECT_EQ(wave->OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())), S_OK);
    return wave;
}

TEST(Sound, FillsBufferZeroOnCreationAndPadsWithTheFormatsSilence) {
    Bytes data = Ramp(6);
    for (WORD bits : {8, 16}) {
        FakeBuffer first(16), second(16);
        LPDIRECTSOUNDBUFFER buffers[] = {&first, &second};
        Sound sound(buffers, 16, 2, OpenWave(PcmWave(data, 1, bits)), 0);
        Bytes expected = data;
        expected.resize(16, bits == 8 ? 0x80 : 0x00);
        EXPECT_EQ(first.bytes, expected) << bits;
        EXPECT_EQ(second.bytes, Bytes(16, 0xEE));
        EXPECT_EQ(second.locks, 0);
        EXPECT_EQ(first.unlocks, 1);

        ASSERT_EQ(sound.FillBufferWithSound(&second, true), S_OK);
        EXPECT_EQ(second.bytes, Cat({data, data, Bytes(data.begin(), data.begin() + 4)}));
    }
}

TEST(Sound, EmptyDataIsAllSilenceEvenWhenRepeating) {
    FakeBuffer only(8);
    LPDIRECTSOUNDBUFFER buffers[] = {&only};
    Sound sound(buffers, 8, 1, OpenWave(PcmWave({}, 1, 8)), 0);
    EXPECT_EQ(only.bytes, Bytes(8, 0x80));
    only.bytes.assign(8, 1);
    ASSERT_EQ(sound.FillBufferWithSound(&only, true), S_OK);
    EXPECT_EQ(only.bytes, Bytes(8, 0x80));
    EXPECT_EQ(sound.FillBufferWithSound(nullptr, false), CO_E_NOTINITIALIZED);
}

TEST(Sound, DestructionReleasesEveryBufferOnce) {
    FakeBuffer a, b, c;
    {
        LPDIRECTSOUNDBUFFER buffers[] = {&a, &b, &c};
        Sound sound(buffers, 16, 3, OpenWave(PcmWave(Ramp(16))), DSBCAPS_CTRLVOLUME);
        EXPECT_EQ(sound.bufferCount, 3u);
        EXPECT_EQ(sound.bufferSize, 16u);
        EXPECT_EQ(sound.creationFlags, DSBCAPS_CTRLVOLUME);
        buffers[1] = nullptr;  // the sound keeps its own copy of the array
        EXPECT_EQ(sound.buffers[1], &b);
    }
    EXPECT_EQ(a.refs, 0u);
    EXPECT_EQ(b.refs, 0u);
    EXPECT_EQ(c.refs, 0u);
}

TEST(Sound, RestoreReportsWhetherTheBufferWasLost) {
    FakeBuffer buffer;
    LPDIRECTSOUNDBUFFER buffers[] = {&buffer};
    Sound sound(buffers, 16, 1, OpenWave(PcmWave(Ramp(16))), 0);
    bool restored = true;
    EXPECT_EQ(sound.RestoreBuffer(&buffer, &restored), S_FALSE);
    EXPECT_FALSE(restored);
    EXPECT_EQ(buffer.restores, 0);

    buffer.lostFor = 5;
    EXPECT_EQ(sound.RestoreBuffer(&buffer, &restored), S_OK);
    EXPECT_TRUE(restored);
    EXPECT_EQ(buffer.restores, 6);  // every pass asks twice, the last pass too

    buffer.statusResult = DSERR_INVALIDPARAM;
    EXPECT_EQ(sound.RestoreBuffer(&buffer, &restored), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound.RestoreBuffer(nullptr, &restored), CO_E_NOTINITIALIZED);
}

TEST(Sound, ABufferThatStaysLostIsGivenUpAndNotFilled) {
    FakeBuffer buffer;
    LPDIRECTSOUNDBUFFER buffers[] = {&buffer};
    Sound sound(buffers, 16, 1, OpenWave(PcmWave(Ramp(16))), 0);
    buffer.lostFor = 1 << 30;
    buffer.locks = 0;
    bool restored = true;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(sound.FillBufferWithSound(&buffer, false), DSERR_BUFFERLOST);
    EXPECT_EQ(sound.RestoreBuffer(&buffer, &restored), DSERR_BUFFERLOST);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_FALSE(restored);
    EXPECT_EQ(buffer.locks, 0);
    EXPECT_EQ(buffer.restores, 2 * 2 * Sound::kMaxRestorePasses);
    // 10 ms between passes: two rounds wait at least 4 s.
    EXPECT_GE(seconds, 2 * Sound::kMaxRestorePasses * 0.010);
}

}  // namespace
