#include <gtest/gtest.h>

#include "audio/wave_file.h"
#include "riff_bytes.h"

namespace {

// Each case runs on a file opened by name and on the same bytes opened from
// memory; one WaveFile is reopened throughout, as nothing of an earlier file may leak.
class Wave : public ::testing::TestWithParam<bool> {
protected:
    HRESULT Open(const Bytes& bytes) {
        if (GetParam()) return wave->OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
        file = std::make_unique<TempFile>(bytes);
        return wave->Open(file->WidePath().c_str(), WaveFile::kModeRead);
    }
    // Reads in pieces until a read gives nothing.
    Bytes ReadAll(DWORD piece = 4096) {
        Bytes all, chunk(piece);
        DWORD got = 0;
        do {
            EXPECT_EQ(wave->Read(chunk.data(), piece, &got), S_OK);
            all.insert(all.end(), chunk.begin(), chunk.begin() + got);
        } while (got > 0);
        return all;
    }
    std::unique_ptr<TempFile> file;
    std::unique_ptr<WaveFile> wave = std::make_unique<WaveFile>();
};

TEST_P(Wave, FormatRecordHoldsTheExtraBytesOnlyForNonPcm) {
    ASSERT_EQ(Open(PcmWave(Ramp(100), 2, 16)), S_OK);
    EXPECT_EQ(wave->format->nChannels, 2);
    EXPECT_EQ(wave->format->nBlockAlign, 4);
    EXPECT_EQ(wave->format->nAvgBytesPerSec, 88200u);
    EXPECT_EQ(wave->format->cbSize, 0);
    EXPECT_EQ(wave->size, 100u);

    Bytes pcm18 = Cat({FormatBody(1, 1, 8), Bytes{7, 0}});  // a stray cbSize on PCM is ignored
    ASSERT_EQ(Open(Riff(Cat({Chunk("fmt ", pcm18), Chunk("data", Ramp(8))}))), S_OK);
    EXPECT_EQ(wave->format->cbSize, 0);

    Bytes adpcm = Cat({FormatBody(2, 1, 4), Bytes{2, 0, 0xAB, 0xCD}});
    ASSERT_EQ(Open(Riff(Cat({Chunk("fmt ", adpcm), Chunk("data", Ramp(8))}))), S_OK);
    ASSERT_EQ(wave->format->cbSize, 2);
    const BYTE* extra = reinterpret_cast<const BYTE*>(wave->format) + 18;
    EXPECT_EQ(extra[0], 0xAB);
    EXPECT_EQ(extra[1], 0xCD);
}

TEST_P(Wave, HeaderProblemsFail) {
    Bytes shortFormat = FormatBody(1, 1, 16);
    shortFormat.resize(14);
    auto nonPcm = [](uint16_t cbSize, size_t present) {
        Bytes body = Cat({FormatBody(2, 1, 4), Bytes{static_cast<uint8_t>(cbSize), static_cast<uint8_t>(cbSize >> 8)}});
        return Riff(Cat({Chunk("fmt ", Cat({body, Ramp(present)})), Chunk("data", Ramp(64))}));
    };
    const Bytes cases[] = {
        Riff(Cat({Chunk("fmt ", shortFormat), Chunk("data", Ramp(8))})),
        Riff(Cat({PcmFormat(), Chunk("data", Ramp(8))}), "AVI "),
        Chunk("LIST", Cat({PcmFormat(), Chunk("data", Ramp(8))})),
        Riff(Chunk("data", Ramp(8))),
        nonPcm(33, 32),  // cbSize reaches into the "data" chunk behind it
        nonPcm(60000, 2),
        Riff(Cat({Chunk("fmt ", FormatBody(3, 1, 32)), Chunk("data", Ramp(8))})),  // no room for cbSize
        Riff(Chunk("fmt ", FormatBody(1, 1, 16), 0xFFFFFFF0u)),
    };
    std::vector<Bytes> noData;  // "data" lies past the RIFF's end, or past chunks running off the file
    noData.push_back(Riff(Cat({PcmFormat(), Chunk("junk", Ramp(4)), Chunk("data", Ramp(4))})));
    SetU32(noData.back(), 4, 4 + 24 + 12);
    for (uint32_t size : {0xFFFFFFF8u, 0xFFFFFFFFu, 0x7FFFFFFFu})
        noData.push_back(Riff(Cat({PcmFormat(), Chunk("big ", Ramp(8), size), Chunk("data", Ramp(4))})));
    noData.push_back(Riff(Cat({PcmFormat(), Chunk("fact", Ramp(4))})));
    for (const Bytes& bytes : noData) {
        // The header stays read and the file open.
        EXPECT_EQ(Open(bytes), E_FAIL);
        EXPECT_NE(wave->file, nullptr);
        EXPECT_EQ(wave->size, 0u);
    }
    for (const Bytes& bytes : cases) {
        EXPECT_EQ(Open(bytes), E_FAIL);
        EXPECT_EQ(wave->file, nullptr);
        EXPECT_EQ(wave->size, 0u);
    }
    EXPECT_EQ(Open(nonPcm(32, 32)), S_OK);
}

TEST_P(Wave, ReadSkipsOtherChunksAndGivesNothingAfterTheEndUntilReset) {
    Bytes data = Ramp(3 * MMIO_DEFAULTBUFFER + 17);  // several refills of the read buffer
    Bytes empties;
    for (int i = 0; i < 50000; ++i) empties.insert(empties.end(), {'p', 'a', 'd', ' ', 0, 0, 0, 0});
    ASSERT_EQ(Open(Riff(Cat({Chunk("LIST", Ramp(9)), PcmFormat(1, 8), Chunk("cue ", Ramp(1)), empties,
                             Chunk("data", data)}))),
              S_OK);
    Bytes buffer(data.size() + 50, 0xEE);
    DWORD got = 0;
    ASSERT_EQ(wave->Read(buffer.data(), 1000, &got), S_OK);
    EXPECT_EQ(got, 1000u);
    ASSERT_EQ(wave->Read(buffer.data() + 1000, static_cast<DWORD>(buffer.size()), &got), S_OK);
    EXPECT_EQ(got, data.size() - 1000);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + data.size()), data);
    EXPECT_EQ(buffer[data.size()], 0xEE);
    EXPECT_EQ(ReadAll(), Bytes{});
    ASSERT_EQ(wave->ResetFile(), S_OK);
    EXPECT_EQ(ReadAll(777), data);
}

TEST_P(Wave, SizesAreCheckedAgainstTheFile) {
    Bytes data = Ramp(24);
    ASSERT_EQ(Open(Riff(Cat({PcmFormat(), Chunk("data", data, 1 << 20)}))), S_OK);
    EXPECT_EQ(wave->size, 24u);
    EXPECT_EQ(ReadAll(), data);
    Bytes bigRiff = PcmWave(data);
    SetU32(bigRiff, 4, 0xFFFFFFFFu);
    ASSERT_EQ(Open(bigRiff), S_OK);
    EXPECT_EQ(ReadAll(), data);

    // Cut after every byte: header cuts fail, a cut inside the data gives the bytes there.
    Bytes whole = Riff(Cat({Chunk("LIST", Ramp(6)), PcmFormat(), Chunk("data", data)}));
    const size_t dataStart = whole.size() - data.size();
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        HRESULT result = Open(Bytes(whole.begin(), whole.begin() + cut));
        ASSERT_EQ(result, cut < dataStart ? E_FAIL : S_OK) << cut;
        if (cut >= dataStart) {
            EXPECT_EQ(ReadAll(), Bytes(data.begin(), data.begin() + (cut - dataStart))) << cut;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, Wave, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Memory" : "File"; });

TEST(WaveFile, MisuseAndMissingFilesGiveTheirCodes) {
    WaveFile wave;
    BYTE buffer[4];
    DWORD got = 0;
    EXPECT_EQ(wave.Read(buffer, 4, &got), CO_E_NOTINITIALIZED);
    EXPECT_EQ(wave.ResetFile(), CO_E_NOTINITIALIZED);
    EXPECT_EQ(wave.Open(nullptr, WaveFile::kModeRead), E_INVALIDARG);
    const std::wstring names[] = {L"/tmp/qf_audio_missing/nothing.wav", L"/tmp", std::wstring(5000, L'a')};
    for (const std::wstring& name : names)
        EXPECT_EQ(wave.Open(name.c_str(), WaveFile::kModeRead), E_FAIL);
    Bytes bytes = PcmWave(Ramp(8));
    ASSERT_EQ(wave.OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())), S_OK);
    EXPECT_EQ(wave.Read(nullptr, 4, &got), E_INVALIDARG);
    EXPECT_EQ(wave.Read(buffer, 4, nullptr), E_INVALIDARG);
}

}  // namespace
