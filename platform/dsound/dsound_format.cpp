// Which wave formats the buffers accept: self-consistent uncompressed ones.
#include "platform/dsound/dsound_objects.h"

namespace {

bool ConsistentLayout(const WAVEFORMATEX& f) {
    WORD bits = f.wBitsPerSample;
    if (f.nChannels == 0 || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) return false;
    if (f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) return false;
    uint32_t blockAlign = uint32_t{f.nChannels} * (bits / 8u);
    return f.nBlockAlign == blockAlign && uint64_t{f.nAvgBytesPerSec} == uint64_t{blockAlign} * f.nSamplesPerSec;
}

}  // namespace

HRESULT CheckPrimaryFormat(const WAVEFORMATEX& format) {
    return format.wFormatTag == WAVE_FORMAT_PCM && ConsistentLayout(format) ? DS_OK : DSERR_BADFORMAT;
}

HRESULT CheckSecondaryFormat(const WAVEFORMATEX& format) {
    switch (format.wFormatTag) {
        case WAVE_FORMAT_PCM:
            return ConsistentLayout(format) ? DS_OK : DSERR_BADFORMAT;
        case WAVE_FORMAT_IEEE_FLOAT:
            return format.wBitsPerSample == 32 && ConsistentLayout(format) ? DS_OK : DSERR_BADFORMAT;
        case WAVE_FORMAT_EXTENSIBLE:
            return format.cbSize >= 22 && ConsistentLayout(format) ? DS_OK : DSERR_BADFORMAT;
        default:
            return DSERR_BADFORMAT;  // compressed data cannot be mixed
    }
}
