#include <gtest/gtest.h>

#include <cstring>

#include "audio/wave_file.h"
#include "riff_bytes.h"

namespace {

// Each case runs on a file opened by name and on the same bytes opened from memory.
class WaveSource : public ::testing::TestWithParam<bool> {
protected:
    HRESULT Open(const Bytes& bytes) {
        if (GetParam()) return wave.OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
        file = std::make_unique<TempFile>(bytes);
        return wave.Open(file->WidePath().c_str(), WaveFile::kModeRead);
    }
    Bytes ReadAll(DWORD piece) {
        Bytes all;
        Bytes chunk(piece);
        DWORD got = 0;
        do {
            EXPECT_EQ(wave.Read(chunk.data(), piece, &got), S_OK);
            all.insert(all.end(), chunk.begin(), chunk.begin() + got);
        } while (got > 0);
        return all;
    }
    std::unique_ptr<TempFile> file;
    WaveFile wave;
};

TEST_P(WaveSource, PcmFormatIsTheEighteenByteRecordWithoutExtra) {
    ASSERT_EQ(Open(PcmWave(Ramp(100), 2, 16)), S_OK);
    ASSERT_NE(wave.format, nullptr);
    EXPECT_EQ(wave.format->wFormatTag, 1);
    EXPECT_EQ(wave.format->nChannels, 2);
    EXPECT_EQ(wave.format->nSamplesPerSec, 22050u);
    EXPECT_EQ(wave.format->nAvgBytesPerSec, 88200u);
    EXPECT_EQ(wave.format->nBlockAlign, 4);
    EXPECT_EQ(wave.format->wBitsPerSample, 16);
    EXPECT_EQ(wave.format->cbSize, 0);
    EXPECT_EQ(wave.size, 100u);
    EXPECT_EQ(wave.dataChunk.cksize, 100u);
    EXPECT_EQ(wave.mode, 1);
    EXPECT_EQ(wave.resourceCopy != nullptr, GetParam());
}

TEST_P(WaveSource, OtherFormatsKeepTheirExtraBytesAndPcmIgnoresThem) {
    Bytes body = FormatBody(2, 1, 22050, 16);
    PutU16(body, 2);
    body.push_back(0xAB);
    body.push_back(0xCD);
    ASSERT_EQ(Open(Riff(Cat({Chunk("fmt ", body), Chunk("data", Ramp(8))}))), S_OK);
    EXPECT_EQ(wave.format->wFormatTag, 2);
    ASSERT_EQ(wave.format->cbSize, 2);
    const BYTE* extra = reinterpret_cast<const BYTE*>(wave.format) + 18;
    EXPECT_EQ(extra[0], 0xAB);
    EXPECT_EQ(extra[1], 0xCD);

    // A PCM "fmt " of 18 bytes with a stray cbSize still gives cbSize 0.
    Bytes pcm = FormatBody(1, 1, 22050, 8);
    PutU16(pcm, 7);
    ASSERT_EQ(Open(Riff(Cat({Chunk("fmt ", pcm), Chunk("data", Ramp(8))}))), S_OK);
    EXPECT_EQ(wave.format->cbSize, 0);
    EXPECT_EQ(wave.format->wBitsPerSample, 8);
}

TEST_P(WaveSource, HeaderProblemsFailAndCloseTheFile) {
    Bytes shortFormat = FormatBody(1, 1, 22050, 16);
    shortFormat.resize(14);
    const Bytes cases[] = {
        Riff(Cat({Chunk("fmt ", shortFormat), Chunk("data", Ramp(8))})),
        Riff(Cat({PcmFormat(), Chunk("data", Ramp(8))}), "AVI "),
        Chunk("LIST", Cat({PcmFormat(), Chunk("data", Ramp(8))})),
        Riff(Chunk("data", Ramp(8))),
    };
    for (const Bytes& bytes : cases) {
        EXPECT_EQ(Open(bytes), E_FAIL);
        EXPECT_EQ(wave.file, nullptr);
        EXPECT_EQ(wave.size, 0u);
    }
}

TEST_P(WaveSource, NoDataChunkFailsButLeavesTheFileOpen) {
    EXPECT_EQ(Open(Riff(Cat({PcmFormat(), Chunk("fact", Ramp(4))}))), E_FAIL);
    EXPECT_NE(wave.file, nullptr);
    EXPECT_NE(wave.format, nullptr);
    EXPECT_EQ(wave.size, 0u);
}

TEST_P(WaveSource, OtherChunksAreSkippedWherever) {
    Bytes data = Ramp(33);
    Bytes bytes = Riff(Cat({Chunk("LIST", Ramp(9)), PcmFormat(1, 8), Chunk("fact", Ramp(4)), Chunk("odd ", Ramp(1)),
                            Chunk("data", data)}));
    ASSERT_EQ(Open(bytes), S_OK);
    EXPECT_EQ(wave.size, 33u);
    EXPECT_EQ(ReadAll(10), data);
}

TEST_P(WaveSource, ReadGivesTheRestThenNothingUntilReset) {
    Bytes data = Ramp(3 * MMIO_DEFAULTBUFFER + 17);  // crosses several buffer refills
    ASSERT_EQ(Open(PcmWave(data)), S_OK);
    Bytes buffer(data.size() + 50, 0xEE);
    DWORD got = 1;
    ASSERT_EQ(wave.Read(buffer.data(), 1000, &got), S_OK);
    EXPECT_EQ(got, 1000u);
    ASSERT_EQ(wave.Read(buffer.data() + 1000, static_cast<DWORD>(buffer.size()), &got), S_OK);
    EXPECT_EQ(got, data.size() - 1000);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), buffer.begin()));
    EXPECT_EQ(buffer[data.size()], 0xEE);
    ASSERT_EQ(wave.Read(buffer.data(), 10, &got), S_OK);
    EXPECT_EQ(got, 0u);
    ASSERT_EQ(wave.ResetFile(), S_OK);
    EXPECT_EQ(ReadAll(4096), data);
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, WaveSource, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Memory" : "File"; });

TEST(WaveFile, MisuseGivesItsCode) {
    WaveFile wave;
    BYTE buffer[4];
    DWORD got = 99;
    EXPECT_EQ(wave.Read(buffer, 4, &got), CO_E_NOTINITIALIZED);
    EXPECT_EQ(wave.ResetFile(), CO_E_NOTINITIALIZED);
    EXPECT_EQ(wave.Open(nullptr, WaveFile::kModeRead), E_INVALIDARG);
    EXPECT_EQ(wave.Open(L"/tmp/qf_audio_missing/nothing.wav", WaveFile::kModeRead), E_FAIL);
    EXPECT_EQ(wave.size, 0u);
    EXPECT_EQ(wave.file, nullptr);
    EXPECT_EQ(wave.Close(), S_OK);

    Bytes bytes = PcmWave(Ramp(8));
    ASSERT_EQ(wave.OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())), S_OK);
    EXPECT_EQ(wave.Read(nullptr, 4, &got), E_INVALIDARG);
    EXPECT_EQ(wave.Read(buffer, 4, nullptr), E_INVALIDARG);
    EXPECT_EQ(wave.OpenMemory(nullptr, 4), E_INVALIDARG);
}

TEST(WaveFile, ReopeningReplacesTheFirstWave) {
    TempFile first(PcmWave(Ramp(10), 1, 8));
    TempFile second(PcmWave(Ramp(20, 50), 2, 16));
    WaveFile wave;
    ASSERT_EQ(wave.Open(first.WidePath().c_str(), WaveFile::kModeRead), S_OK);
    ASSERT_EQ(wave.Open(second.WidePath().c_str(), WaveFile::kModeRead), S_OK);
    EXPECT_EQ(wave.size, 20u);
    EXPECT_EQ(wave.format->nChannels, 2);
    BYTE buffer[20];
    DWORD got = 0;
    ASSERT_EQ(wave.Read(buffer, 20, &got), S_OK);
    EXPECT_EQ(Bytes(buffer, buffer + got), Ramp(20, 50));
}

}  // namespace
