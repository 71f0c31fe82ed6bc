// Music: the DirectShow subset the engine uses, a filter graph that renders
// one music file (RIFF WAVE or Ogg Vorbis, told by its content) and plays it
// through our mixer. Rendering a file into a graph replaces the song it held.
//
// When a song reaches its end the graph queues EC_COMPLETE and posts the
// notify message to the notify window's queue; the song stays started,
// silent at its end, until it is stopped or moved back.
#pragma once

#include "platform/audio/AudioCom.h"

#include <cstdint>

typedef double REFTIME;  // seconds
typedef intptr_t LONG_PTR;
typedef LONG_PTR OAHWND;
typedef const wchar_t *LPCWSTR;

#define CLSCTX_INPROC_SERVER 0x1u

#define EC_COMPLETE 0x01
#define EC_END_OF_SEGMENT 0x1C

#define VFW_E_NOT_FOUND ((HRESULT)0x80040216)
#define VFW_E_INVALID_FILE_FORMAT ((HRESULT)0x8004022F)
#define VFW_E_NO_AUDIO_HARDWARE ((HRESULT)0x80040256)
#define VFW_E_UNSUPPORTED_STREAM ((HRESULT)0x80040265)

extern const GUID CLSID_FilterGraph;
extern const GUID IID_IGraphBuilder;
extern const GUID IID_IMediaControl;
extern const GUID IID_IMediaPosition;
extern const GUID IID_IBasicAudio;
extern const GUID IID_IMediaEventEx;

struct IGraphBuilder : IUnknown {
    // playlist must be null.
    virtual HRESULT RenderFile(LPCWSTR file, LPCWSTR playlist) = 0;

protected:
    ~IGraphBuilder() = default;
};

struct IMediaControl : IUnknown {
    // Plays from the current position; fails when no song is rendered.
    virtual HRESULT Run() = 0;
    // Keeps the position.
    virtual HRESULT Stop() = 0;

protected:
    ~IMediaControl() = default;
};

struct IMediaPosition : IUnknown {
    virtual HRESULT get_Duration(REFTIME *length) = 0;
    virtual HRESULT get_CurrentPosition(REFTIME *time) = 0;
    // A time past the end is the end.
    virtual HRESULT put_CurrentPosition(REFTIME time) = 0;

protected:
    ~IMediaPosition() = default;
};

struct IBasicAudio : IUnknown {
    // Hundredths of a decibel, -10000 (silence) to 0.
    virtual HRESULT put_Volume(long volume) = 0;
    virtual HRESULT get_Volume(long *volume) = 0;

protected:
    ~IBasicAudio() = default;
};

struct IMediaEventEx : IUnknown {
    // Takes the oldest queued event, waiting up to timeout milliseconds
    // (negative: without limit); E_ABORT when there is none.
    virtual HRESULT GetEvent(long *code, LONG_PTR *param1, LONG_PTR *param2, long timeout) = 0;
    virtual HRESULT FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2) = 0;
    // From now on each queued event also posts message (wParam 0, lParam
    // instance) to window; a null window stops the messages.
    virtual HRESULT SetNotifyWindow(OAHWND window, long message, LONG_PTR instance) = 0;

protected:
    ~IMediaEventEx() = default;
};

HRESULT CoInitialize(void *reserved);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown *outer, DWORD context, REFIID iid, void **object);
