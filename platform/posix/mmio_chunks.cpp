// RIFF chunk navigation. Every size comes from the file, so each step is
// bounded by the parent chunk and the file, and every skip moves forward by at
// least a chunk header: no size can make the search loop or read outside.
#include <cstdint>

#include "platform/posix/mmio_file.h"

namespace {

bool ReadDword(HMMIO file, DWORD& value) {
    unsigned char bytes[4];
    if (mmioRead(file, reinterpret_cast<HPSTR>(bytes), 4) != 4) return false;
    value = bytes[0] | (DWORD{bytes[1]} << 8) | (DWORD{bytes[2]} << 16) | (DWORD{bytes[3]} << 24);
    return true;
}

bool IsContainer(FOURCC id) { return id == FOURCC_RIFF || id == FOURCC_LIST; }

// Reads the chunk header at the current position; false if it does not lie
// inside limit or the file.
bool ReadHeader(HMMIO file, int64_t limit, MMCKINFO& chunk) {
    int64_t start = file->Position();
    if (start + 8 > limit) return false;
    if (!ReadDword(file, chunk.ckid) || !ReadDword(file, chunk.cksize)) return false;
    chunk.dwDataOffset = static_cast<DWORD>(start + 8);
    chunk.fccType = 0;
    chunk.dwFlags = 0;
    if (!IsContainer(chunk.ckid)) return true;
    return start + 12 <= limit && ReadDword(file, chunk.fccType);
}

bool Matches(const MMCKINFO& found, const MMCKINFO& wanted, UINT flags) {
    if (flags & MMIO_FINDCHUNK) return found.ckid == wanted.ckid;
    if (flags & MMIO_FINDRIFF) return found.ckid == FOURCC_RIFF && found.fccType == wanted.fccType;
    if (flags & MMIO_FINDLIST) return found.ckid == FOURCC_LIST && found.fccType == wanted.fccType;
    return true;
}

int64_t PaddedEnd(const MMCKINFO& chunk) {
    return int64_t{chunk.dwDataOffset} + chunk.cksize + (chunk.cksize & 1);
}

}  // namespace

MMRESULT mmioDescend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!chunk) return MMSYSERR_INVALPARAM;
    bool searching = flags & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST);
    int64_t limit = parent ? int64_t{parent->dwDataOffset} + parent->cksize : INT64_MAX;
    for (;;) {
        MMCKINFO found;
        if (!ReadHeader(file, limit, found)) return searching ? MMIOERR_CHUNKNOTFOUND : MMIOERR_CANNOTREAD;
        if (Matches(found, *chunk, flags)) {
            *chunk = found;
            return MMSYSERR_NOERROR;
        }
        int64_t next = PaddedEnd(found);
        if (next > limit || !file->MoveTo(next)) return MMIOERR_CHUNKNOTFOUND;
    }
}

MMRESULT mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!chunk) return MMSYSERR_INVALPARAM;
    int64_t end = PaddedEnd(*chunk);
    // A last chunk of odd size often lacks its pad byte.
    if ((chunk->cksize & 1) && end == file->fileSize + 1) end = file->fileSize;
    return file->MoveTo(end) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
}
