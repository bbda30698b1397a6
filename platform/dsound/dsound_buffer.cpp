// Sound buffers: the primary buffer stands for the device's output format; a
// secondary buffer is a block of bytes that its duplicates share.
#include <cstring>
#include <new>

#include "platform/dsound/dsound_objects.h"

SoundBuffer::SoundBuffer(std::shared_ptr<SoundOutput> output, DWORD flags, std::shared_ptr<SoundData> data,
                         std::vector<uint8_t> format)
    : output(std::move(output)), flags(flags), data(std::move(data)), format(std::move(format)) {}

SoundBuffer* SoundBuffer::Duplicate() const { return new (std::nothrow) SoundBuffer(output, flags, data, format); }

ULONG SoundBuffer::AddRef() { return ++refs; }

ULONG SoundBuffer::Release() {
    ULONG left = --refs;
    if (left == 0) delete this;
    return left;
}

HRESULT SoundBuffer::GetCaps(DSBCAPS* caps) {
    if (!caps || caps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    caps->dwFlags = flags;
    caps->dwBufferBytes = data ? data->size : 0;
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT SoundBuffer::GetFormat(LPWAVEFORMATEX out, DWORD sizeAllocated, DWORD* sizeWritten) {
    if (!out && !sizeWritten) return DSERR_INVALIDPARAM;
    const uint8_t* source = IsPrimary() ? reinterpret_cast<const uint8_t*>(&output->primaryFormat) : format.data();
    DWORD size = IsPrimary() ? sizeof(WAVEFORMATEX) : static_cast<DWORD>(format.size());
    if (sizeWritten) *sizeWritten = size;
    if (out) std::memcpy(out, source, sizeAllocated < size ? sizeAllocated : size);
    return DS_OK;
}

HRESULT SoundBuffer::GetStatus(DWORD* status) {
    if (!status) return DSERR_INVALIDPARAM;
    *status = 0;  // nothing plays, and memory buffers are never lost
    return DS_OK;
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* audioPtr1, DWORD* audioBytes1, LPVOID* audioPtr2,
                          DWORD* audioBytes2, DWORD lockFlags) {
    if (!audioPtr1 || !audioBytes1) return DSERR_INVALIDPARAM;
    if (IsPrimary()) return DSERR_PRIOLEVELNEEDED;  // writing the primary buffer is not offered
    if (lockFlags & DSBLOCK_FROMWRITECURSOR) offset = 0;  // nothing plays: the write cursor stays at 0
    if (lockFlags & DSBLOCK_ENTIREBUFFER) bytes = data->size;
    if (offset >= data->size || bytes == 0 || bytes > data->size) return DSERR_INVALIDPARAM;
    DWORD first = data->size - offset < bytes ? data->size - offset : bytes;
    *audioPtr1 = data->bytes.get() + offset;
    *audioBytes1 = first;
    if (audioPtr2) *audioPtr2 = first < bytes ? data->bytes.get() : nullptr;
    if (audioBytes2) *audioBytes2 = audioPtr2 ? bytes - first : 0;
    return DS_OK;
}

HRESULT SoundBuffer::SetFormat(const WAVEFORMATEX* newFormat) {
    if (!newFormat) return DSERR_INVALIDPARAM;
    if (!IsPrimary()) return DSERR_INVALIDCALL;
    if (output->cooperativeLevel < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    HRESULT result = CheckPrimaryFormat(*newFormat);
    if (SUCCEEDED(result)) {
        output->primaryFormat = *newFormat;
        output->primaryFormat.cbSize = 0;
    }
    return result;
}

bool SoundBuffer::InsideData(const void* pointer, DWORD bytes) const {
    auto p = reinterpret_cast<uintptr_t>(pointer);
    auto start = reinterpret_cast<uintptr_t>(data->bytes.get());
    return p >= start && p - start <= data->size && bytes <= data->size - (p - start);
}

HRESULT SoundBuffer::Unlock(LPVOID audioPtr1, DWORD audioBytes1, LPVOID audioPtr2, DWORD audioBytes2) {
    if (IsPrimary() || !audioPtr1 || !InsideData(audioPtr1, audioBytes1)) return DSERR_INVALIDPARAM;
    if (audioPtr2 && !InsideData(audioPtr2, audioBytes2)) return DSERR_INVALIDPARAM;
    return DS_OK;
}

HRESULT SoundBuffer::Restore() { return DS_OK; }
