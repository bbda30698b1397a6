#include <gtest/gtest.h>

#include "audio/wave_file.h"
#include "riff_bytes.h"

namespace {

// A non-PCM "fmt " with the given cbSize and that many bytes present after it.
Bytes NonPcm(uint16_t cbSize, size_t present) {
    return Riff(Cat({Chunk("fmt ", Cat({FormatBody(2, 1, 4), Le(cbSize, 2), Ramp(present, 0xAB)})), Chunk("data", Ramp(64))}));
}

// Each case runs on a file opened by name and on the same bytes opened from
// memory; one WaveFile is reopened throughout, as nothing of an earlier file may leak.
class Wave : public ::testing::TestWithParam<bool> {
protected:
    HRESULT Open(const Bytes& bytes) {
        if (GetParam()) return wave->OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
        const std::string name = std::to_string(written++) + ".wav";  // the last one may still be open
        dir.MakeFile(name, bytes);
        return wave->Open(Wide(dir.Path(name)).c_str(), WaveFile::kModeRead);
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
    TempTree dir;
    int written = 0;
    std::unique_ptr<WaveFile> wave = std::make_unique<WaveFile>();
};

TEST_P(Wave, FormatRecordHoldsTheExtraBytesOnlyForNonPcm) {
    ASSERT_EQ(Open(PcmWave(Ramp(100), 2, 16)), S_OK);
    const WAVEFORMATEX& f = *wave->format;
    EXPECT_EQ(std::make_tuple(f.nChannels, f.nBlockAlign, f.nAvgBytesPerSec, f.cbSize, wave->size),
              std::make_tuple(WORD(2), WORD(4), DWORD(88200), WORD(0), DWORD(100)));
    // A stray cbSize on PCM is ignored.
    ASSERT_EQ(Open(Riff(Cat({Chunk("fmt ", Cat({FormatBody(1, 1, 8), Le(7, 2)})), Chunk("data", Ramp(8))}))), S_OK);
    EXPECT_EQ(wave->format->cbSize, 0);
    ASSERT_EQ(Open(NonPcm(2, 2)), S_OK);
    ASSERT_EQ(wave->format->cbSize, 2);
    const BYTE* extra = reinterpret_cast<const BYTE*>(wave->format) + 18;
    EXPECT_EQ(Bytes(extra, extra + 2), Ramp(2, 0xAB));
}

TEST_P(Wave, HeaderProblemsFail) {
    Bytes shortFormat = FormatBody(1, 1, 16);
    shortFormat.resize(14);
    const Bytes cases[] = {
        Riff(Cat({Chunk("fmt ", shortFormat), Chunk("data", Ramp(8))})),
        Riff(Cat({PcmFormat(), Chunk("data", Ramp(8))}), "AVI "),
        Chunk("LIST", Cat({PcmFormat(), Chunk("data", Ramp(8))})),
        Riff(Chunk("data", Ramp(8))),
        NonPcm(33, 32),  // cbSize reaches into the "data" chunk behind it
        NonPcm(60000, 2),
        Riff(Cat({Chunk("fmt ", FormatBody(3, 1, 32)), Chunk("data", Ramp(8))})),  // no room for cbSize
        Riff(Chunk("fmt ", FormatBody(1, 1, 16), 0xFFFFFFF0u)),
    };
    for (const Bytes& bytes : cases) {
        EXPECT_EQ(Open(bytes), E_FAIL);
        EXPECT_EQ(std::make_pair(wave->file, wave->size), std::make_pair(HMMIO(nullptr), DWORD(0)));
    }
    // "data" lies past the RIFF's end, past chunks running off the file, or nowhere:
    // the header stays read and the file open.
    std::vector<Bytes> noData = {Riff(Cat({PcmFormat(), Chunk("junk", Ramp(4)), Chunk("data", Ramp(4))}), "WAVE", 4 + 24 + 12)};
    for (uint32_t size : {0xFFFFFFF8u, 0xFFFFFFFFu, 0x7FFFFFFFu})
        noData.push_back(Riff(Cat({PcmFormat(), Chunk("big ", Ramp(8), size), Chunk("data", Ramp(4))})));
    noData.push_back(Riff(Cat({PcmFormat(), Chunk("fact", Ramp(4))})));
    for (const Bytes& bytes : noData) {
        EXPECT_EQ(Open(bytes), E_FAIL);
        EXPECT_EQ(std::make_pair(wave->file != nullptr, wave->size), std::make_pair(true, DWORD{0}));
    }
    EXPECT_EQ(Open(NonPcm(32, 32)), S_OK);
}

TEST_P(Wave, ReadSkipsOtherChunksAndGivesNothingAfterTheEndUntilReset) {
    Bytes data = Ramp(3 * MMIO_DEFAULTBUFFER + 17);  // several refills of the read buffer
    Bytes empties;
    for (int i = 0; i < 50000; ++i) empties.insert(empties.end(), {'p', 'a', 'd', ' ', 0, 0, 0, 0});
    ASSERT_EQ(Open(Riff(Cat({Chunk("LIST", Ramp(9)), PcmFormat(1, 8), Chunk("cue ", Ramp(1)), empties, Chunk("data", data)}))),
              S_OK);
    EXPECT_EQ(ReadAll(1000), data);
    EXPECT_EQ(ReadAll(), Bytes{});
    ASSERT_EQ(wave->ResetFile(), S_OK);
    EXPECT_EQ(ReadAll(777), data);
}

TEST_P(Wave, SizesAreCheckedAgainstTheFile) {
    Bytes data = Ramp(24);
    ASSERT_EQ(Open(Riff(Cat({PcmFormat(), Chunk("data", data)}), "WAVE", 0xFFFFFFFFu)), S_OK);
    EXPECT_EQ(ReadAll(), data);

    // Cut after every byte: header cuts fail, a cut inside the data claims and gives the bytes there.
    Bytes whole = Riff(Cat({Chunk("LIST", Ramp(6)), PcmFormat(), Chunk("data", data)}));
    const size_t dataStart = whole.size() - data.size();
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        ASSERT_EQ(Open(Bytes(whole.begin(), whole.begin() + cut)), cut < dataStart ? E_FAIL : S_OK) << cut;
        if (cut >= dataStart) {
            EXPECT_EQ(wave->size, cut - dataStart) << cut;
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
    EXPECT_EQ(std::make_pair(wave.Read(buffer, 4, &got), wave.ResetFile()),
              std::make_pair(CO_E_NOTINITIALIZED, CO_E_NOTINITIALIZED));
    EXPECT_EQ(wave.Open(nullptr, WaveFile::kModeRead), E_INVALIDARG);
    for (const std::wstring& name : {std::wstring(L"/tmp/qf_audio_missing/nothing.wav"), std::wstring(L"/tmp"), std::wstring(5000, L'a')})
        EXPECT_EQ(wave.Open(name.c_str(), WaveFile::kModeRead), E_FAIL);
    Bytes bytes = PcmWave(Ramp(8));
    ASSERT_EQ(wave.OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())), S_OK);
    EXPECT_EQ(wave.Read(nullptr, 4, &got), E_INVALIDARG);
    EXPECT_EQ(wave.Read(buffer, 4, nullptr), E_INVALIDARG);
}

}  // namespace
