#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/mmsystem.h"
#include "riff_bytes.h"

namespace {

HMMIO OpenFile(const TempFile& file, DWORD flags = MMIO_ALLOCBUF | MMIO_READ, MMIOINFO* info = nullptr) {
    std::wstring name = file.WidePath();
    return mmioOpenW(name.data(), info, flags);
}

HMMIO OpenBlock(Bytes& block) {
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = reinterpret_cast<HPSTR>(block.data());
    info.cchBuffer = static_cast<LONG>(block.size());
    return mmioOpenW(nullptr, &info, MMIO_ALLOCBUF | MMIO_READ);
}

// The same checks run on a file and on a memory block of the same bytes.
class MmioSource : public ::testing::TestWithParam<bool> {
protected:
    HMMIO Open(const Bytes& bytes) {
        block = bytes;
        if (GetParam()) return OpenBlock(block);
        file = std::make_unique<TempFile>(bytes);
        return OpenFile(*file);
    }
    Bytes block;
    std::unique_ptr<TempFile> file;
};

TEST_P(MmioSource, ReadsSeeksAndStopsAtTheEnd) {
    Bytes bytes = Ramp(20000);
    HMMIO h = Open(bytes);
    ASSERT_NE(h, nullptr);
    Bytes got(20000);
    EXPECT_EQ(mmioRead(h, reinterpret_cast<HPSTR>(got.data()), 12000), 12000);
    EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), 12000);
    EXPECT_EQ(mmioRead(h, reinterpret_cast<HPSTR>(got.data() + 12000), 9000), 8000);
    EXPECT_EQ(got, bytes);
    EXPECT_EQ(mmioRead(h, reinterpret_cast<HPSTR>(got.data()), 10), 0);
    EXPECT_EQ(mmioSeek(h, 0, SEEK_END), 20000);
    EXPECT_EQ(mmioSeek(h, 1, SEEK_END), -1);
    EXPECT_EQ(mmioSeek(h, -1, SEEK_SET), -1);
    EXPECT_EQ(mmioSeek(h, -5, SEEK_END), 19995);
    uint8_t last[5];
    EXPECT_EQ(mmioRead(h, reinterpret_cast<HPSTR>(last), 5), 5);
    EXPECT_EQ(last[4], bytes[19999]);
    EXPECT_EQ(mmioSeek(h, 100, SEEK_SET), 100);
    EXPECT_EQ(mmioRead(h, reinterpret_cast<HPSTR>(last), 1), 1);
    EXPECT_EQ(last[0], bytes[100]);
    EXPECT_EQ(mmioClose(h, 0), MMSYSERR_NOERROR);
}

TEST_P(MmioSource, InfoWindowAdvancesThroughTheWholeFile) {
    Bytes bytes = Ramp(MMIO_DEFAULTBUFFER * 2 + 100);
    HMMIO h = Open(bytes);
    ASSERT_NE(h, nullptr);
    MMIOINFO info{};
    ASSERT_EQ(mmioGetInfo(h, &info, 0), MMSYSERR_NOERROR);
    Bytes got;
    for (int advances = 0; advances < 10; ++advances) {
        got.insert(got.end(), info.pchNext, info.pchEndRead);
        info.pchNext = info.pchEndRead;
        ASSERT_EQ(mmioAdvance(h, &info, MMIO_READ), MMSYSERR_NOERROR);
        if (info.pchNext == info.pchEndRead) break;
    }
    EXPECT_EQ(got, bytes);
    ASSERT_EQ(mmioSetInfo(h, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), static_cast<LONG>(bytes.size()));
    mmioClose(h, 0);
}

TEST_P(MmioSource, SetInfoRefusesPointersOutsideTheWindow) {
    HMMIO h = Open(Ramp(64));
    ASSERT_NE(h, nullptr);
    MMIOINFO info{};
    mmioGetInfo(h, &info, 0);
    MMIOINFO bad = info;
    bad.pchNext = info.pchBuffer + info.cchBuffer + 1;
    EXPECT_NE(mmioSetInfo(h, &bad, 0), MMSYSERR_NOERROR);
    bad = info;
    bad.pchEndRead = info.pchBuffer + info.cchBuffer + 100;
    EXPECT_NE(mmioAdvance(h, &bad, MMIO_READ), MMSYSERR_NOERROR);
    mmioClose(h, 0);
}

TEST_P(MmioSource, DescendFindsChunksSkipsPaddingAndAscends) {
    Bytes wave = Riff(Cat({Chunk("odd ", Ramp(3)), Chunk("fmt ", Ramp(16)), Chunk("LIST", Ramp(4)),
                           Chunk("data", Ramp(5), -1, false)}));
    wave.pop_back();  // no pad byte after the odd-sized last chunk
    HMMIO h = Open(wave);
    ASSERT_NE(h, nullptr);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.ckid, FOURCC_RIFF);
    EXPECT_EQ(riff.fccType, mmioFOURCC('W', 'A', 'V', 'E'));
    EXPECT_EQ(riff.dwDataOffset, 8u);
    EXPECT_EQ(riff.cksize, wave.size() - 8);
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    // odd (8 + 3 + pad) + fmt (8 + 16) + LIST (8 + 4) before it, after "RIFF" size "WAVE"
    EXPECT_EQ(data.dwDataOffset, 12u + 12 + 24 + 12 + 8);
    EXPECT_EQ(data.cksize, 5u);
    EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), static_cast<LONG>(data.dwDataOffset));
    // The last chunk lost its pad byte at the end of the file: ascending still lands at the end.
    ASSERT_EQ(mmioAscend(h, &data, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(h, 0, SEEK_CUR), static_cast<LONG>(wave.size()));
    MMCKINFO missing{};
    missing.ckid = mmioFOURCC('c', 'u', 'e', ' ');
    mmioSeek(h, 12, SEEK_SET);
    EXPECT_EQ(mmioDescend(h, &missing, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioClose(h, 0);
}

TEST_P(MmioSource, SearchStopsAtTheParentEndAndAtChunksRunningPastTheFile) {
    // The parent claims only the first chunk; "data" lies beyond it.
    Bytes wave = Riff(Cat({Chunk("junk", Ramp(4)), Chunk("data", Ramp(4))}));
    SetU32(wave, 4, 4 + 12);
    HMMIO h = Open(wave);
    ASSERT_NE(h, nullptr);
    MMCKINFO riff{}, data{};
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, 0), MMSYSERR_NOERROR);
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    EXPECT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioClose(h, 0);

    // Sizes whose 32-bit sum would wrap back to the same spot must end the search.
    for (uint32_t size : {0xFFFFFFF8u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
        HMMIO g = Open(Riff(Cat({Chunk("big ", Ramp(8), size), Chunk("data", Ramp(4))})));
        ASSERT_NE(g, nullptr);
        MMCKINFO r{}, d{};
        ASSERT_EQ(mmioDescend(g, &r, nullptr, 0), MMSYSERR_NOERROR);
        d.ckid = mmioFOURCC('d', 'a', 't', 'a');
        EXPECT_EQ(mmioDescend(g, &d, &r, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND) << size;
        mmioClose(g, 0);
    }
}

TEST_P(MmioSource, ThousandsOfEmptyChunksAreWalkedOnce) {
    Bytes chunks;
    for (int i = 0; i < 50000; ++i) {
        Bytes c = Chunk("pad ", {});
        chunks.insert(chunks.end(), c.begin(), c.end());
    }
    Bytes tail = Chunk("data", Ramp(2));
    chunks.insert(chunks.end(), tail.begin(), tail.end());
    HMMIO h = Open(Riff(chunks));
    ASSERT_NE(h, nullptr);
    MMCKINFO riff{}, data{};
    ASSERT_EQ(mmioDescend(h, &riff, nullptr, 0), MMSYSERR_NOERROR);
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(h, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(data.dwDataOffset, 12u + 50000 * 8 + 8);
    mmioClose(h, 0);
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, MmioSource, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Memory" : "File"; });

TEST(Mmio, OpenFailuresGiveNoHandleAndAReason) {
    MMIOINFO info{};
    std::wstring missing = L"/tmp/qf_audio_no_such_dir/none.wav";
    EXPECT_EQ(mmioOpenW(missing.data(), &info, MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, MMIOERR_FILENOTFOUND);
    std::wstring directory = L"/tmp";
    EXPECT_EQ(mmioOpenW(directory.data(), nullptr, MMIO_READ), nullptr);
    std::wstring longName(5000, L'a');
    EXPECT_EQ(mmioOpenW(longName.data(), nullptr, MMIO_READ), nullptr);
    TempFile file(Ramp(8));
    EXPECT_EQ(OpenFile(file, MMIO_WRITE), nullptr);
    MMIOINFO emptyBlock{};
    emptyBlock.fccIOProc = FOURCC_MEM;
    EXPECT_EQ(mmioOpenW(nullptr, &emptyBlock, MMIO_READ), nullptr);
    EXPECT_NE(emptyBlock.wErrorRet, MMSYSERR_NOERROR);
}

TEST(Mmio, BackslashesSeparatePathsAndUnbufferedFilesCannotAdvance) {
    TempFile file(Ramp(10));
    std::wstring name = file.WidePath();
    for (auto& c : name)
        if (c == L'/') c = L'\\';
    HMMIO h = mmioOpenW(name.data(), nullptr, MMIO_READ);
    ASSERT_NE(h, nullptr);
    uint8_t got[10];
    EXPECT_EQ(mmioRead(h, reinterpret_cast<HPSTR>(got), 10), 10);
    EXPECT_EQ(got[9], Ramp(10)[9]);
    MMIOINFO info{};
    mmioGetInfo(h, &info, 0);
    EXPECT_EQ(info.pchBuffer, nullptr);
    EXPECT_EQ(mmioAdvance(h, &info, MMIO_READ), MMIOERR_UNBUFFERED);
    mmioClose(h, 0);
}

}  // namespace
