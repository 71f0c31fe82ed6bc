#include "platform/audio/DirectShow.h"
#include "platform/audio/AudioFiles.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/AudioSources.h"
#include "platform/audio/Mmio.h"
#include "platform/win32/Win32Messages.h"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>

// Our own class and interface numbers; only their identity matters.
const GUID CLSID_FilterGraph = {0x48570002, 0x4653, 0x4847, {'F', 'I', 'L', 'T', 'E', 'R', 'G', 'R'}};
const GUID IID_IGraphBuilder = {0x48570003, 0x4653, 0x4847, {'G', 'R', 'A', 'P', 'H', 'B', 'L', 'D'}};
const GUID IID_IMediaControl = {0x48570004, 0x4653, 0x4847, {'M', 'E', 'D', 'I', 'A', 'C', 'T', 'L'}};
const GUID IID_IMediaPosition = {0x48570005, 0x4653, 0x4847, {'M', 'E', 'D', 'I', 'A', 'P', 'O', 'S'}};
const GUID IID_IBasicAudio = {0x48570006, 0x4653, 0x4847, {'B', 'A', 'S', 'I', 'C', 'A', 'U', 'D'}};
const GUID IID_IMediaEventEx = {0x48570007, 0x4653, 0x4847, {'M', 'E', 'D', 'I', 'A', 'E', 'V', 'X'}};

namespace {

HRESULT ResultOfOpen(AudioOpenResult result)
{
    switch (result) {
    case AOR_OK:
        return S_OK;
    case AOR_UNSUPPORTED:
        return VFW_E_UNSUPPORTED_STREAM;
    case AOR_NO_MEMORY:
        return E_OUTOFMEMORY;
    case AOR_DAMAGED:
        break;
    }
    return VFW_E_INVALID_FILE_FORMAT;
}

// Reads a song file, telling its kind by its first bytes.
HRESULT OpenSong(LPCWSTR name, std::unique_ptr<AudioSource> *source)
{
    FILE *file = AudioOpenFileW(name);
    if (!file)
        return VFW_E_NOT_FOUND;
    char magic[4] = {};
    bool read = std::fread(magic, 1, sizeof(magic), file) == sizeof(magic);
    if (!read || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return VFW_E_UNSUPPORTED_STREAM;
    }
    if (std::memcmp(magic, "OggS", 4) == 0)
        return ResultOfOpen(AudioOpenVorbisFile(file, source));
    if (std::memcmp(magic, "RIFF", 4) == 0)
        return ResultOfOpen(AudioReadWaveFile(AudioMmioOpenFile(file), source));
    std::fclose(file);
    return VFW_E_UNSUPPORTED_STREAM;
}

class FilterGraph final : public IGraphBuilder,
                          public IMediaControl,
                          public IMediaPosition,
                          public IBasicAudio,
                          public IMediaEventEx {
public:
    FilterGraph()
        : m_refs(1), m_mixer(nullptr), m_volume(0), m_notify_window(0), m_notify_message(0), m_notify_instance(0)
    {
    }

    ~FilterGraph()
    {
        m_voice.reset();
        if (m_mixer)
            AudioOutputRelease();
    }

    HRESULT QueryInterface(REFIID iid, void **object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (IsEqualGUID(iid, IID_IGraphBuilder))
            *object = static_cast<IGraphBuilder *>(this);
        else if (IsEqualGUID(iid, IID_IMediaControl))
            *object = static_cast<IMediaControl *>(this);
        else if (IsEqualGUID(iid, IID_IMediaPosition))
            *object = static_cast<IMediaPosition *>(this);
        else if (IsEqualGUID(iid, IID_IBasicAudio))
            *object = static_cast<IBasicAudio *>(this);
        else if (IsEqualGUID(iid, IID_IMediaEventEx))
            *object = static_cast<IMediaEventEx *>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    ULONG AddRef() override { return ++m_refs; }

    ULONG Release() override
    {
        if (--m_refs > 0)
            return m_refs;
        delete this;
        return 0;
    }

    HRESULT RenderFile(LPCWSTR file, LPCWSTR playlist) override
    {
        if (!file)
            return E_POINTER;
        if (playlist)
            return E_INVALIDARG;
        std::unique_ptr<AudioSource> source;
        HRESULT result = OpenSong(file, &source);
        if (FAILED(result))
            return result;
        if (!m_mixer) {
            m_mixer = AudioOutputAcquire();
            if (!m_mixer)
                return VFW_E_NO_AUDIO_HARDWARE;
        }
        std::unique_ptr<AudioVoice> voice = AudioVoice::Create(*m_mixer, std::move(source));
        if (!voice)
            return VFW_E_UNSUPPORTED_STREAM;
        voice->SetStopAtEnd(false);
        voice->SetVolume(m_volume);
        voice->SetEndCallback(SongEndedCB, this);
        m_voice = std::move(voice);
        // Events of the song replaced belong to no song now.
        std::lock_guard<std::mutex> lock(m_events_lock);
        m_events.clear();
        return S_OK;
    }

    HRESULT Run() override
    {
        if (!m_voice)
            return E_FAIL;
        m_voice->Start(false);
        return S_OK;
    }

    HRESULT Stop() override
    {
        if (m_voice)
            m_voice->Stop();
        return S_OK;
    }

    HRESULT get_Duration(REFTIME *length) override
    {
        if (!length)
            return E_POINTER;
        *length = 0;
        if (!m_voice)
            return E_FAIL;
        *length = Seconds(m_voice->GetLength());
        return S_OK;
    }

    HRESULT get_CurrentPosition(REFTIME *time) override
    {
        if (!time)
            return E_POINTER;
        *time = 0;
        if (!m_voice)
            return E_FAIL;
        *time = Seconds(m_voice->GetPosition());
        return S_OK;
    }

    HRESULT put_CurrentPosition(REFTIME time) override
    {
        if (!m_voice)
            return E_FAIL;
        if (!(time >= 0))
            return E_INVALIDARG;
        double frame = time * m_voice->GetFormat().rate;
        long length = m_voice->GetLength();
        m_voice->SetPosition(frame >= static_cast<double>(length) ? length : std::lround(frame));
        return S_OK;
    }

    HRESULT put_Volume(long volume) override
    {
        if (volume < -10000 || volume > 0)
            return E_INVALIDARG;
        m_volume = volume;
        if (m_voice)
            m_voice->SetVolume(volume);
        return S_OK;
    }

    HRESULT get_Volume(long *volume) override
    {
        if (!volume)
            return E_POINTER;
        *volume = m_volume;
        return S_OK;
    }

    HRESULT GetEvent(long *code, LONG_PTR *param1, LONG_PTR *param2, long timeout) override
    {
        if (!code || !param1 || !param2)
            return E_POINTER;
        std::unique_lock<std::mutex> lock(m_events_lock);
        auto have_event = [this] { return !m_events.empty(); };
        if (timeout < 0)
            m_events_signal.wait(lock, have_event);
        else if (timeout > 0)
            m_events_signal.wait_for(lock, std::chrono::milliseconds(timeout), have_event);
        if (m_events.empty())
            return E_ABORT;
        *code = m_events.front();
        *param1 = 0;
        *param2 = 0;
        m_events.pop_front();
        return S_OK;
    }

    HRESULT FreeEventParams(long, LONG_PTR, LONG_PTR) override { return S_OK; }

    HRESULT SetNotifyWindow(OAHWND window, long message, LONG_PTR instance) override
    {
        std::lock_guard<std::mutex> lock(m_events_lock);
        m_notify_window = window;
        m_notify_message = message;
        m_notify_instance = instance;
        return S_OK;
    }

private:
    double Seconds(long frames) const { return static_cast<double>(frames) / m_voice->GetFormat().rate; }

    // On the mixing thread.
    static void SongEndedCB(void *user)
    {
        FilterGraph *graph = static_cast<FilterGraph *>(user);
        std::lock_guard<std::mutex> lock(graph->m_events_lock);
        graph->m_events.push_back(EC_COMPLETE);
        graph->m_events_signal.notify_all();
        if (graph->m_notify_window)
            PostMessageA(reinterpret_cast<HWND>(graph->m_notify_window), static_cast<UINT>(graph->m_notify_message),
                         0, graph->m_notify_instance);
    }

    ULONG m_refs;
    AudioMixer *m_mixer;  // acquired with the first song
    std::unique_ptr<AudioVoice> m_voice;
    long m_volume;
    std::mutex m_events_lock;
    std::condition_variable m_events_signal;
    std::deque<long> m_events;
    OAHWND m_notify_window;
    long m_notify_message;
    LONG_PTR m_notify_instance;
};

}  // namespace

HRESULT CoInitialize(void *)
{
    return S_OK;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown *outer, DWORD context, REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualGUID(clsid, CLSID_FilterGraph) || !(context & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    FilterGraph *graph = new (std::nothrow) FilterGraph();
    if (!graph)
        return E_OUTOFMEMORY;
    HRESULT result = graph->QueryInterface(iid, object);
    graph->Release();
    return result;
}
