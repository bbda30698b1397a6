// Buffered, read-only multimedia file I/O on POSIX files and memory blocks.
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/file_path.h"
#include "platform/posix/mmio_file.h"

namespace {

MMRESULT OpenPosixFile(LPCWSTR fileName, HMMIO__& file) {
    std::string path;
    if (!WidePathToPosix(fileName, path)) return MMIOERR_FILENOTFOUND;
    int fd;
    do {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno == ENOENT ? MMIOERR_FILENOTFOUND : MMIOERR_CANNOTOPEN;
    struct stat st;
    // Offsets are 32-bit LONGs, and only plain files can be read as a stream of bytes.
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > LONG_MAX) {
        close(fd);
        return MMIOERR_CANNOTOPEN;
    }
    file.fd = fd;
    file.fileSize = st.st_size;
    return MMSYSERR_NOERROR;
}

MMRESULT SetUpFileBuffer(const MMIOINFO* info, DWORD openFlags, HMMIO__& file) {
    LONG size = info && info->cchBuffer > 0 ? info->cchBuffer : MMIO_DEFAULTBUFFER;
    if (openFlags & MMIO_ALLOCBUF) {
        file.ownBuffer.reset(new (std::nothrow) char[static_cast<size_t>(size)]);
        if (!file.ownBuffer) return MMIOERR_OUTOFMEMORY;
        file.info.pchBuffer = file.ownBuffer.get();
    } else if (info && info->pchBuffer && info->cchBuffer > 0) {
        file.info.pchBuffer = info->pchBuffer;
    } else {
        return MMSYSERR_NOERROR;
    }
    file.info.cchBuffer = size;
    file.info.pchNext = file.info.pchEndRead = file.info.pchBuffer;
    return MMSYSERR_NOERROR;
}

MMRESULT SetUpMemoryBlock(const MMIOINFO& info, HMMIO__& file) {
    if (!info.pchBuffer || info.cchBuffer <= 0) return MMSYSERR_INVALPARAM;
    file.info.pchBuffer = file.info.pchNext = info.pchBuffer;
    file.info.cchBuffer = info.cchBuffer;
    file.info.pchEndRead = info.pchBuffer + info.cchBuffer;
    file.fileSize = info.cchBuffer;
    return MMSYSERR_NOERROR;
}

MMRESULT OpenInto(LPCWSTR fileName, const MMIOINFO* info, DWORD openFlags, HMMIO__& file) {
    // Writing, creating and the other open modes are not part of this layer.
    if ((openFlags & ~MMIO_ALLOCBUF) != MMIO_READ) return MMSYSERR_INVALPARAM;
    if (info && info->fccIOProc == FOURCC_MEM) {
        file.info.fccIOProc = FOURCC_MEM;
        return fileName ? MMSYSERR_INVALPARAM : SetUpMemoryBlock(*info, file);
    }
    if (info && (info->pIOProc || (info->fccIOProc && info->fccIOProc != FOURCC_DOS))) return MMSYSERR_INVALPARAM;
    if (!fileName) return MMIOERR_FILENOTFOUND;
    file.info.fccIOProc = FOURCC_DOS;
    MMRESULT result = OpenPosixFile(fileName, file);
    return result ? result : SetUpFileBuffer(info, openFlags, file);
}

bool Between(const char* p, const char* low, const char* high) {
    auto v = reinterpret_cast<uintptr_t>(p);
    return v >= reinterpret_cast<uintptr_t>(low) && v <= reinterpret_cast<uintptr_t>(high);
}

// A caller's copy of the state may only have moved its next-byte pointer
// inside the current window.
bool AcceptCallerInfo(HMMIO__& file, const MMIOINFO& info) {
    if (info.pchBuffer != file.info.pchBuffer || info.pchEndRead != file.info.pchEndRead) return false;
    if (!Between(info.pchNext, file.info.pchBuffer, file.info.pchEndRead)) return false;
    file.info.pchNext = info.pchNext;
    return true;
}

}  // namespace

int64_t HMMIO__::Position() const {
    return Buffered() ? info.lBufOffset + (info.pchNext - info.pchBuffer) : unbufferedPosition;
}

bool HMMIO__::MoveTo(int64_t position) {
    if (position < 0 || position > fileSize) return false;
    if (!Buffered()) {
        unbufferedPosition = position;
        return true;
    }
    int64_t windowEnd = info.lBufOffset + (info.pchEndRead - info.pchBuffer);
    if (position >= info.lBufOffset && position <= windowEnd) {
        info.pchNext = info.pchBuffer + (position - info.lBufOffset);
    } else {
        info.lBufOffset = static_cast<LONG>(position);
        info.pchNext = info.pchEndRead = info.pchBuffer;
    }
    return true;
}

bool HMMIO__::Refill() {
    if (fd < 0) return true;  // a memory block is always entirely in the window
    int64_t position = Position();
    ssize_t got;
    do {
        got = pread(fd, info.pchBuffer, static_cast<size_t>(info.cchBuffer), position);
    } while (got < 0 && errno == EINTR);
    if (got < 0) return false;
    info.lBufOffset = static_cast<LONG>(position);
    info.pchNext = info.pchBuffer;
    info.pchEndRead = info.pchBuffer + got;
    info.lDiskOffset = static_cast<LONG>(position + got);
    return true;
}

HMMIO mmioOpenW(LPWSTR fileName, LPMMIOINFO info, DWORD openFlags) {
    auto* file = new (std::nothrow) HMMIO__;
    MMRESULT result = file ? OpenInto(fileName, info, openFlags, *file) : MMIOERR_OUTOFMEMORY;
    if (info) info->wErrorRet = result;
    if (result != MMSYSERR_NOERROR) {
        if (file && file->fd >= 0) close(file->fd);
        delete file;
        return nullptr;
    }
    file->info.dwFlags = openFlags;
    file->info.hmmio = file;
    return file;
}

MMRESULT mmioClose(HMMIO file, UINT) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (file->fd >= 0) close(file->fd);
    delete file;
    return MMSYSERR_NOERROR;
}

namespace {

LONG ReadUnbuffered(HMMIO__& file, char* buffer, LONG count) {
    LONG done = 0;
    while (done < count) {
        ssize_t got = pread(file.fd, buffer + done, static_cast<size_t>(count - done), file.unbufferedPosition);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<LONG>(got);
        file.unbufferedPosition += got;
    }
    return done;
}

LONG ReadBuffered(HMMIO__& file, char* buffer, LONG count) {
    LONG done = 0;
    while (done < count) {
        if (file.info.pchNext == file.info.pchEndRead) {
            if (!file.Refill()) return -1;
            if (file.info.pchNext == file.info.pchEndRead) break;
        }
        LONG run = static_cast<LONG>(file.info.pchEndRead - file.info.pchNext);
        if (run > count - done) run = count - done;
        std::memcpy(buffer + done, file.info.pchNext, static_cast<size_t>(run));
        file.info.pchNext += run;
        done += run;
    }
    return done;
}

}  // namespace

LONG mmioRead(HMMIO file, HPSTR buffer, LONG count) {
    if (!file || count < 0 || (!buffer && count > 0)) return -1;
    return file->Buffered() ? ReadBuffered(*file, buffer, count) : ReadUnbuffered(*file, buffer, count);
}

LONG mmioSeek(HMMIO file, LONG offset, int origin) {
    if (!file) return -1;
    int64_t base;
    switch (origin) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = file->Position(); break;
        case SEEK_END: base = file->fileSize; break;
        default: return -1;
    }
    int64_t target = base + offset;
    return file->MoveTo(target) ? static_cast<LONG>(target) : -1;
}

MMRESULT mmioGetInfo(HMMIO file, LPMMIOINFO info, UINT) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!info) return MMSYSERR_INVALPARAM;
    *info = file->info;
    return MMSYSERR_NOERROR;
}

MMRESULT mmioSetInfo(HMMIO file, const MMIOINFO* info, UINT) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!info || !AcceptCallerInfo(*file, *info)) return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

MMRESULT mmioAdvance(HMMIO file, LPMMIOINFO info, UINT flags) {
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!file->Buffered()) return MMIOERR_UNBUFFERED;
    if (flags != MMIO_READ || (info && !AcceptCallerInfo(*file, *info))) return MMSYSERR_INVALPARAM;
    if (!file->Refill()) return MMIOERR_CANNOTREAD;
    if (info) *info = file->info;
    return MMSYSERR_NOERROR;
}
