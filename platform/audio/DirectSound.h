// Sound effect buffers: the DirectSound 8 subset the engine uses, played
// through our mixer. Volumes are in hundredths of a decibel.
//
// Releasing the DirectSound object releases every buffer it made, as on the
// desktop; a buffer pointer kept past that must not be used.
#pragma once

#include "platform/audio/AudioCom.h"
#include "platform/audio/Mmio.h"

#define DS_OK S_OK

#define DSERR_ALLOCATED ((HRESULT)0x8878000A)
#define DSERR_CONTROLUNAVAIL ((HRESULT)0x8878001E)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL ((HRESULT)0x88780032)
#define DSERR_GENERIC E_FAIL
#define DSERR_PRIOLEVELNEEDED ((HRESULT)0x88780046)
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_BADFORMAT ((HRESULT)0x88780064)
#define DSERR_UNSUPPORTED E_NOTIMPL
#define DSERR_NODRIVER ((HRESULT)0x88780078)
#define DSERR_ALREADYINITIALIZED ((HRESULT)0x88780082)
#define DSERR_NOAGGREGATION CLASS_E_NOAGGREGATION
#define DSERR_BUFFERLOST ((HRESULT)0x88780096)
#define DSERR_OTHERAPPHASPRIO ((HRESULT)0x887800A0)
#define DSERR_UNINITIALIZED ((HRESULT)0x887800AA)
#define DSERR_NOINTERFACE E_NOINTERFACE
#define DSERR_ACCESSDENIED E_ACCESSDENIED
#define DSERR_BUFFERTOOSMALL ((HRESULT)0x887800B4)
#define DSERR_DS8_REQUIRED ((HRESULT)0x887800BE)
#define DSERR_OBJECTNOTFOUND ((HRESULT)0x88781161)

// Cooperative levels; stored, with no effect here.
#define DSSCL_NORMAL 1u
#define DSSCL_PRIORITY 2u
#define DSSCL_EXCLUSIVE 3u
#define DSSCL_WRITEPRIMARY 4u

#define DSBCAPS_PRIMARYBUFFER 0x00000001u
#define DSBCAPS_STATIC 0x00000002u
#define DSBCAPS_CTRL3D 0x00000010u
#define DSBCAPS_CTRLFREQUENCY 0x00000020u
#define DSBCAPS_CTRLVOLUME 0x00000080u
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000u

#define DSBSIZE_MIN 4u
#define DSBSIZE_MAX 0x0FFFFFFFu

#define DSBPLAY_LOOPING 0x00000001u
#define DSBSTATUS_PLAYING 0x00000001u
#define DSBSTATUS_LOOPING 0x00000004u
#define DSBLOCK_ENTIREBUFFER 0x00000002u

#define DSBVOLUME_MIN (-10000L)
#define DSBVOLUME_MAX 0L

#define DS3DMODE_NORMAL 0u
#define DS3DMODE_HEADRELATIVE 1u
#define DS3DMODE_DISABLE 2u
#define DS3D_IMMEDIATE 0u
#define DS3D_DEFERRED 1u

struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;  // 0 for the primary buffer
    DWORD dwReserved;
    WAVEFORMATEX *lpwfxFormat;  // null for the primary buffer
};

extern const GUID IID_IDirectSound3DBuffer;

struct IDirectSoundBuffer : IUnknown {
    // Byte offsets into the buffer's data.
    virtual HRESULT GetCurrentPosition(DWORD *play, DWORD *write) = 0;
    virtual HRESULT GetFrequency(DWORD *frequency) = 0;
    virtual HRESULT GetStatus(DWORD *status) = 0;
    virtual HRESULT GetVolume(LONG *volume) = 0;
    // The locked range is given in one or two parts (two when it wraps past
    // the end); what is written there is heard after Unlock.
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void **part1, DWORD *bytes1, void **part2, DWORD *bytes2,
                         DWORD flags) = 0;
    // Plays from the current position; playing again while playing changes
    // only the looping flag.
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    // Primary buffer only: the output format.
    virtual HRESULT SetFormat(const WAVEFORMATEX *format) = 0;
    virtual HRESULT SetVolume(LONG volume) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT Unlock(void *part1, DWORD bytes1, void *part2, DWORD bytes2) = 0;

protected:
    ~IDirectSoundBuffer() = default;
};

// The 3D face of a buffer made with DSBCAPS_CTRL3D. Its settings are kept;
// the output is not placed in space.
struct IDirectSound3DBuffer : IUnknown {
    virtual HRESULT SetMode(DWORD mode, DWORD apply) = 0;
    virtual HRESULT SetMinDistance(float distance, DWORD apply) = 0;
    virtual HRESULT SetMaxDistance(float distance, DWORD apply) = 0;
    virtual HRESULT GetMode(DWORD *mode) = 0;
    virtual HRESULT GetMinDistance(float *distance) = 0;
    virtual HRESULT GetMaxDistance(float *distance) = 0;

protected:
    ~IDirectSound3DBuffer() = default;
};

struct IDirectSound8 : IUnknown {
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC *desc, IDirectSoundBuffer **buffer, IUnknown *outer) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
    virtual HRESULT Compact() = 0;

protected:
    ~IDirectSound8() = default;
};

// Opens the audio output; device null is the default device (the only one).
HRESULT DirectSoundCreate8(const GUID *device, IDirectSound8 **direct_sound, IUnknown *outer);
