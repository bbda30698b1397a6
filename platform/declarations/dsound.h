// The DirectSound 8 subset the sound manager uses, on SDL2 audio: the default
// output device, the cooperative level, the primary buffer's format, secondary
// buffers with Lock/Unlock, duplicates, status and restore. Not covered:
// playing and mixing, 3-D listeners, effects, capture, notifications.
#pragma once

#include <mmsystem.h>
#include <windows.h>

#define MAKE_DSHRESULT(code) MAKE_HRESULT(1, 0x878, code)
inline constexpr HRESULT DS_OK = S_OK;
inline constexpr HRESULT DS_NO_VIRTUALIZATION = MAKE_HRESULT(0, 0x878, 10);
inline constexpr HRESULT DSERR_ALLOCATED = MAKE_DSHRESULT(10);
inline constexpr HRESULT DSERR_INVALIDCALL = MAKE_DSHRESULT(50);
inline constexpr HRESULT DSERR_PRIOLEVELNEEDED = MAKE_DSHRESULT(70);
inline constexpr HRESULT DSERR_BADFORMAT = MAKE_DSHRESULT(100);
inline constexpr HRESULT DSERR_NODRIVER = MAKE_DSHRESULT(120);
inline constexpr HRESULT DSERR_BUFFERLOST = MAKE_DSHRESULT(150);
inline constexpr HRESULT DSERR_UNINITIALIZED = MAKE_DSHRESULT(170);
inline constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
inline constexpr HRESULT DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);

inline constexpr DWORD DSSCL_NORMAL = 1;
inline constexpr DWORD DSSCL_PRIORITY = 2;
inline constexpr DWORD DSSCL_EXCLUSIVE = 3;
inline constexpr DWORD DSSCL_WRITEPRIMARY = 4;

inline constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
inline constexpr DWORD DSBCAPS_STATIC = 0x00000002;
inline constexpr DWORD DSBCAPS_LOCHARDWARE = 0x00000004;
inline constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x00000008;
inline constexpr DWORD DSBCAPS_CTRL3D = 0x00000010;
inline constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
inline constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
inline constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
inline constexpr DWORD DSBCAPS_CTRLPOSITIONNOTIFY = 0x00000100;
inline constexpr DWORD DSBCAPS_CTRLFX = 0x00000200;
inline constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x00008000;
inline constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

inline constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
inline constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;

inline constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x00000001;
inline constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;

inline constexpr DWORD DSBSIZE_MIN = 4;
inline constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;
inline constexpr DWORD DSBFREQUENCY_MIN = 100;
inline constexpr DWORD DSBFREQUENCY_MAX = 200000;

inline constexpr GUID DS3DALG_DEFAULT = GUID_NULL;

struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
};
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

struct DSBCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwUnlockTransferRate;
    DWORD dwPlayCpuOverhead;
};

struct IDirectSoundBuffer : IUnknown {
    virtual HRESULT GetCaps(DSBCAPS* caps) = 0;
    // Writes up to sizeAllocated bytes of the format; sizeWritten gets the full size.
    virtual HRESULT GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, DWORD* sizeWritten) = 0;
    virtual HRESULT GetStatus(DWORD* status) = 0;
    // Two regions: from offset to the end of the buffer, then from its start
    // when the range wraps (only if audioPtr2 is given).
    virtual HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* audioPtr1, DWORD* audioBytes1, LPVOID* audioPtr2,
                         DWORD* audioBytes2, DWORD flags) = 0;
    virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
    virtual HRESULT Unlock(LPVOID audioPtr1, DWORD audioBytes1, LPVOID audioPtr2, DWORD audioBytes2) = 0;
    virtual HRESULT Restore() = 0;
};
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;

struct IDirectSound8 : IUnknown {
    virtual HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, IUnknown* outer) = 0;
    virtual HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER* duplicate) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
};
typedef IDirectSound8* LPDIRECTSOUND8;

// Opens the default output device (deviceGuid null or all zero); DSERR_NODRIVER
// where there is none.
HRESULT DirectSoundCreate8(const GUID* deviceGuid, LPDIRECTSOUND8* directSound, IUnknown* outer);
