#include <gtest/gtest.h>

#include "audio/wave_file.h"
#include "riff_bytes.h"

namespace {

HRESULT OpenBytes(WaveFile& wave, const Bytes& bytes, bool fromMemory, std::unique_ptr<TempFile>& file) {
    if (fromMemory) return wave.OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
    file = std::make_unique<TempFile>(bytes);
    return wave.Open(file->WidePath().c_str(), WaveFile::kModeRead);
}

Bytes ReadData(WaveFile& wave) {
    Bytes all(wave.size + 16);
    DWORD got = 0;
    EXPECT_EQ(wave.Read(all.data(), static_cast<DWORD>(all.size()), &got), S_OK);
    all.resize(got);
    return all;
}

class Malformed : public ::testing::TestWithParam<bool> {
protected:
    HRESULT Open(const Bytes& bytes) { return OpenBytes(wave, bytes, GetParam(), file); }
    std::unique_ptr<TempFile> file;
    WaveFile wave;
};

// Cut after every byte: the header parts fail, a cut inside the data gives
// exactly the bytes that are there.
TEST_P(Malformed, TruncationAtEveryOffset) {
    Bytes data = Ramp(40);
    Bytes whole = Riff(Cat({Chunk("LIST", Ramp(6)), PcmFormat(), Chunk("data", data)}));
    const size_t dataStart = whole.size() - data.size();
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        WaveFile fresh;
        std::unique_ptr<TempFile> tmp;
        HRESULT result = OpenBytes(fresh, Bytes(whole.begin(), whole.begin() + cut), GetParam(), tmp);
        if (cut < dataStart) {
            EXPECT_EQ(result, E_FAIL) << cut;
            EXPECT_EQ(fresh.size, 0u) << cut;
            continue;
        }
        ASSERT_EQ(result, S_OK) << cut;
        ASSERT_EQ(fresh.size, cut - dataStart);
        EXPECT_EQ(ReadData(fresh), Bytes(data.begin(), data.begin() + (cut - dataStart))) << cut;
    }
}

TEST_P(Malformed, ExtraFormatBytesMustLieInsideTheChunk) {
    auto withExtra = [](uint16_t cbSize, size_t extraPresent) {
        Bytes body = FormatBody(2, 1, 22050, 4);
        PutU16(body, cbSize);
        Bytes extra = Ramp(extraPresent);
        body.insert(body.end(), extra.begin(), extra.end());
        return Riff(Cat({Chunk("fmt ", body), Chunk("data", Ramp(64))}));
    };
    EXPECT_EQ(Open(withExtra(32, 32)), S_OK);
    EXPECT_EQ(wave.format->cbSize, 32);
    // cbSize reaching into the "data" chunk behind it, and past the file.
    EXPECT_EQ(Open(withExtra(33, 32)), E_FAIL);
    EXPECT_EQ(Open(withExtra(60000, 2)), E_FAIL);
    EXPECT_EQ(wave.format, nullptr);
    // A 16-byte chunk of a non-PCM format has no room for cbSize at all.
    EXPECT_EQ(Open(Riff(Cat({Chunk("fmt ", FormatBody(3, 1, 22050, 32)), Chunk("data", Ramp(8))}))), E_FAIL);
}

TEST_P(Malformed, SizesBeyondTheFileAreNotBelieved) {
    Bytes data = Ramp(24);
    // data claims a megabyte: only the 24 bytes present count.
    ASSERT_EQ(Open(Riff(Cat({PcmFormat(), Chunk("data", data, 1 << 20)}))), S_OK);
    EXPECT_EQ(wave.size, 24u);
    EXPECT_EQ(ReadData(wave), data);
    // The format chunk runs past the file: nothing to ascend to.
    EXPECT_EQ(Open(Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16), 0xFFFFFFF0u))), E_FAIL);
    // A skipped chunk runs past the file before "data" is found.
    EXPECT_EQ(Open(Riff(Cat({PcmFormat(), Chunk("junk", Ramp(4), 0x7FFFFFFF), Chunk("data", data)}))), E_FAIL);
    // A RIFF size larger than the file is harmless.
    Bytes bigRiff = PcmWave(data);
    SetU32(bigRiff, 4, 0xFFFFFFFFu);
    ASSERT_EQ(Open(bigRiff), S_OK);
    EXPECT_EQ(ReadData(wave), data);
}

TEST_P(Malformed, OddSizedChunksArePaddedToEvenOffsets) {
    Bytes format = FormatBody(1, 1, 22050, 8);
    format.push_back(0x55);  // 17 bytes, then a pad byte
    Bytes data = Ramp(7);
    ASSERT_EQ(Open(Riff(Cat({Chunk("fmt ", format), Chunk("cue ", Ramp(3)), Chunk("data", data),
                             Chunk("tail", Ramp(2))}))),
              S_OK);
    EXPECT_EQ(wave.size, 7u);
    EXPECT_EQ(ReadData(wave), data);
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, Malformed, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Memory" : "File"; });

}  // namespace
