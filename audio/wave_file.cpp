#include "audio/wave_file.h"

#include <cstring>
#include <new>

namespace {

constexpr WCHAR kWaveType[] = L"WAVE";
constexpr WCHAR kWavType[] = L"WAV";

// The 16 bytes every "fmt " chunk starts with: WAVEFORMATEX without cbSize.
constexpr LONG kPcmFormatBytes = 16;

}  // namespace

WaveFile::~WaveFile() {
    Close();
    FreeFormat();
}

void WaveFile::FreeFormat() {
    delete[] reinterpret_cast<BYTE*>(format);
    format = nullptr;
}

HRESULT WaveFile::Open(LPCWSTR fileName, int openMode) {
    mode = openMode;
    if (!fileName) return E_INVALIDARG;
    if (openMode != kModeRead) return E_INVALIDARG;  // writing is not supported
    Close();  // a second open must neither leak the first file nor report its size
    FreeFormat();
    size = 0;
    file = mmioOpenW(const_cast<LPWSTR>(fileName), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!file) {
        HRESULT result = OpenResource(fileName);
        if (FAILED(result)) return result;
    }
    return FinishOpen();
}

HRESULT WaveFile::OpenResource(LPCWSTR fileName) {
    HRSRC info = FindResourceW(nullptr, fileName, kWaveType);
    if (!info) info = FindResourceW(nullptr, fileName, kWavType);
    if (!info) return E_FAIL;
    HGLOBAL handle = LoadResource(GetModuleHandleW(nullptr), info);
    if (!handle) return E_FAIL;
    DWORD byteCount = SizeofResource(GetModuleHandleW(nullptr), info);
    if (byteCount == 0) return E_FAIL;
    const void* bytes = LockResource(handle);
    if (!bytes) return E_FAIL;
    return OpenCopy(bytes, byteCount);
}

HRESULT WaveFile::OpenMemory(const void* bytes, DWORD byteCount) {
    mode = kModeRead;
    if (!bytes || byteCount == 0) return E_INVALIDARG;
    Close();
    FreeFormat();
    size = 0;
    HRESULT result = OpenCopy(bytes, byteCount);
    return FAILED(result) ? result : FinishOpen();
}

HRESULT WaveFile::OpenCopy(const void* bytes, DWORD byteCount) {
    // A memory file's size is a LONG.
    if (byteCount > 0x7FFFFFFFu) return E_OUTOFMEMORY;
    resourceCopy = new (std::nothrow) BYTE[byteCount];
    if (!resourceCopy) return E_OUTOFMEMORY;
    std::memcpy(resourceCopy, bytes, byteCount);
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.cchBuffer = static_cast<LONG>(byteCount);
    info.pchBuffer = reinterpret_cast<HPSTR>(resourceCopy);
    file = mmioOpenW(nullptr, &info, MMIO_ALLOCBUF | MMIO_READ);
    return file ? S_OK : E_FAIL;
}

HRESULT WaveFile::FinishOpen() {
    HRESULT result = ReadHeader();
    if (FAILED(result)) {
        mmioClose(file, 0);
        file = nullptr;
        return result;
    }
    result = ResetFile();
    if (SUCCEEDED(result)) size = dataChunk.cksize;
    return result;
}

HRESULT WaveFile::ReadHeader() {
    FreeFormat();
    if (mmioDescend(file, &riffChunk, nullptr, 0) != MMSYSERR_NOERROR) return E_FAIL;
    if (riffChunk.ckid != FOURCC_RIFF || riffChunk.fccType != mmioFOURCC('W', 'A', 'V', 'E')) return E_FAIL;
    MMCKINFO formatChunk{};
    formatChunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &formatChunk, &riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return E_FAIL;
    if (formatChunk.cksize < kPcmFormatBytes) return E_FAIL;
    HRESULT result = ReadFormat(formatChunk);
    if (FAILED(result)) return result;
    if (mmioAscend(file, &formatChunk, 0) != MMSYSERR_NOERROR) {
        FreeFormat();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT WaveFile::ReadFormat(const MMCKINFO& formatChunk) {
    WAVEFORMATEX pcm{};
    if (mmioRead(file, reinterpret_cast<HPSTR>(&pcm), kPcmFormatBytes) != kPcmFormatBytes) return E_FAIL;
    WORD extraBytes = 0;
    if (pcm.wFormatTag != WAVE_FORMAT_PCM) {
        // cbSize and its extra bytes must lie inside the chunk, not in whatever follows it.
        if (formatChunk.cksize < sizeof(WAVEFORMATEX)) return E_FAIL;
        if (mmioRead(file, reinterpret_cast<HPSTR>(&extraBytes), 2) != 2) return E_FAIL;
        if (sizeof(WAVEFORMATEX) + extraBytes > formatChunk.cksize) return E_FAIL;
    }
    auto* bytes = new (std::nothrow) BYTE[sizeof(WAVEFORMATEX) + extraBytes];
    if (!bytes) return E_FAIL;
    format = reinterpret_cast<WAVEFORMATEX*>(bytes);
    std::memcpy(format, &pcm, kPcmFormatBytes);
    format->cbSize = extraBytes;
    if (extraBytes == 0) return S_OK;
    if (mmioRead(file, reinterpret_cast<HPSTR>(bytes + sizeof(WAVEFORMATEX)), extraBytes) != extraBytes) {
        FreeFormat();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT WaveFile::ResetFile() {
    if (!file) return CO_E_NOTINITIALIZED;
    if (mmioSeek(file, static_cast<LONG>(riffChunk.dwDataOffset + 4), SEEK_SET) == -1) return E_FAIL;
    dataChunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &dataChunk, &riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return E_FAIL;
    // The data size is a claim: count only the bytes the file really holds.
    LONG fileEnd = mmioSeek(file, 0, SEEK_END);
    if (fileEnd == -1 || mmioSeek(file, static_cast<LONG>(dataChunk.dwDataOffset), SEEK_SET) == -1) return E_FAIL;
    DWORD available = static_cast<DWORD>(fileEnd) - dataChunk.dwDataOffset;
    if (dataChunk.cksize > available) dataChunk.cksize = available;
    return S_OK;
}

HRESULT WaveFile::Read(BYTE* buffer, DWORD count, DWORD* bytesRead) {
    if (!file) return CO_E_NOTINITIALIZED;
    if (!buffer || !bytesRead) return E_INVALIDARG;
    *bytesRead = 0;
    MMIOINFO info{};
    if (mmioGetInfo(file, &info, 0) != MMSYSERR_NOERROR) return E_FAIL;
    DWORD n = count < dataChunk.cksize ? count : dataChunk.cksize;
    dataChunk.cksize -= n;
    for (DWORD done = 0; done < n;) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(file, &info, MMIO_READ) != MMSYSERR_NOERROR) return E_FAIL;
            if (info.pchNext == info.pchEndRead) return E_FAIL;
        }
        DWORD run = static_cast<DWORD>(info.pchEndRead - info.pchNext);
        if (run > n - done) run = n - done;
        std::memcpy(buffer + done, info.pchNext, run);
        info.pchNext += run;
        done += run;
    }
    if (mmioSetInfo(file, &info, 0) != MMSYSERR_NOERROR) return E_FAIL;
    *bytesRead = n;
    return S_OK;
}

HRESULT WaveFile::Close() {
    if (file) mmioClose(file, 0);
    file = nullptr;
    delete[] resourceCopy;
    resourceCopy = nullptr;
    return S_OK;
}
