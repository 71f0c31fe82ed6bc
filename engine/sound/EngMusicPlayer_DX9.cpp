#include "engine/sound/EngMusicPlayer_DX9.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngWindow.h"
#include "engine/sound/EngSound.h"
#include "platform/audio/AudioFiles.h"
#include "platform/win32/Win32Messages.h"

#include <algorithm>
#include <cmath>
#include <cstring>

EngMusicPlayer_DX9::EngMusicPlayer_DX9()
    : m_graph_builder(nullptr), m_media_control(nullptr), m_media_position(nullptr), m_basic_audio(nullptr),
      m_media_event(nullptr), m_looping(false)
{
}

EngMusicPlayer_DX9::~EngMusicPlayer_DX9()
{
    Destroy();
}

template <class Face> static void ReleaseFace(Face *&face)
{
    if (face) {
        face->Release();
        face = nullptr;
    }
}

void EngMusicPlayer_DX9::Destroy()
{
    ReleaseFace(m_media_event);
    ReleaseFace(m_basic_audio);
    ReleaseFace(m_media_position);
    ReleaseFace(m_media_control);
    ReleaseFace(m_graph_builder);
    // A music message still queued must not reach a player that is gone.
    if (eng_main_window)
        eng_main_window->ClearMusicEventCB(this);
}

bool EngMusicPlayer_DX9::Init()
{
    static const char *where = "EngMusicPlayer_DX9::Init";
    if (m_basic_audio && m_media_control && m_media_position && m_media_event) {
        DebugNoteWithName(2, where, "%s", DebugGetCodeText('ALSU'));
        return true;
    }
    Destroy();
    CoInitialize(nullptr);
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     reinterpret_cast<void **>(&m_graph_builder));
    if (!m_graph_builder) {
        DebugError(where, "Could not get graph builder");
        return false;
    }
    struct {
        REFIID iid;
        void **face;
        const char *missing;
    } faces[] = {
        {IID_IMediaControl, reinterpret_cast<void **>(&m_media_control), "Could not get media control"},
        {IID_IMediaPosition, reinterpret_cast<void **>(&m_media_position), "Could not get media position"},
        {IID_IBasicAudio, reinterpret_cast<void **>(&m_basic_audio), "Could not get basic audio"},
        {IID_IMediaEventEx, reinterpret_cast<void **>(&m_media_event), "Could not get media event"},
    };
    for (const auto &face : faces) {
        m_graph_builder->QueryInterface(face.iid, face.face);
        if (!*face.face) {
            DebugError(where, "%s", face.missing);
            Destroy();
            return false;
        }
    }
    HWND window = EngSoundGetMainWindow();
    if (!window || !eng_main_window) {
        DebugError(where, "No window");
        Destroy();
        return false;
    }
    m_media_event->SetNotifyWindow(reinterpret_cast<OAHWND>(window), WM_MUSIC_EVENT, 0);
    eng_main_window->SetMusicEventCB(EventCallback, this);
    return true;
}

// Why a song file was not rendered, for the log.
static const char *RenderFailureText(HRESULT result)
{
    switch (result) {
    case VFW_E_NOT_FOUND:
        return "file not found";
    case VFW_E_INVALID_FILE_FORMAT:
        return "damaged file";
    case VFW_E_UNSUPPORTED_STREAM:
        return "not a song file that can be played";
    case VFW_E_NO_AUDIO_HARDWARE:
        return "no sound device";
    case E_OUTOFMEMORY:
        return "out of memory";
    default:
        return "failed";
    }
}

bool EngMusicPlayer_DX9::LoadSong(const wchar_t *file)
{
    static const char *where = "EngMusicPlayer_DX9::LoadSong";
    if (!file || !file[0]) {
        DebugErrorCode(where, 'BAPA');
        return false;
    }
    if (!Init())
        return false;
    if (!m_graph_builder) {
        DebugErrorCode(where, 'IERR');
        return false;
    }
    HRESULT result = m_graph_builder->RenderFile(file, nullptr);
    if (FAILED(result)) {
        DebugError(where, "Could not render the song: %s (0x%08x)", RenderFailureText(result),
                   static_cast<unsigned>(result));
        return false;
    }
    return true;
}

bool EngMusicPlayer_DX9::LoadSong(const char *file)
{
    if (!file || !file[0]) {
        DebugErrorCode("EngMusicPlayer_DX9::LoadSong", 'BAPA');
        return false;
    }
    size_t size = std::strlen(file) + 1;
    wchar_t *wide = static_cast<wchar_t *>(EngMalloc(size * sizeof(wchar_t), "EngMusicPlayer_DX9::LoadSong", 0));
    if (!wide)
        return false;
    AudioAnsiToWide(file, wide, size);
    bool loaded = LoadSong(wide);
    EngFree(wide, 1, "EngMusicPlayer_DX9::LoadSong");
    return loaded;
}

bool EngMusicPlayer_DX9::Play()
{
    m_looping = false;
    if (!m_media_control) {
        DebugErrorCode("EngMusicPlayer_DX9::Play", 'NOSU');
        return false;
    }
    if (FAILED(m_media_control->Run())) {
        DebugErrorCode("EngMusicPlayer_DX9::Play", 'OPFA');
        return false;
    }
    return true;
}

void EngMusicPlayer_DX9::PlayLooping()
{
    Play();
    m_looping = true;
}

void EngMusicPlayer_DX9::Stop()
{
    m_looping = false;
    if (!m_media_control) {
        DebugErrorCode("EngMusicPlayer_DX9::Stop", 'NOSU');
        return;
    }
    m_media_control->Stop();
}

bool EngMusicPlayer_DX9::SetVolume(float volume)
{
    if (!m_basic_audio) {
        DebugErrorCode("EngMusicPlayer_DX9::SetVolume", 'NOSU');
        return false;
    }
    volume = std::min(1.0f, std::max(0.0f, volume));
    long hundredths_db = static_cast<long>((1.0f - std::sqrt(volume)) * -10000.0f);
    if (FAILED(m_basic_audio->put_Volume(hundredths_db))) {
        DebugErrorCode("EngMusicPlayer_DX9::SetVolume", 'OPFA');
        return false;
    }
    return true;
}

double EngMusicPlayer_DX9::GetSongSize()
{
    if (!m_media_position) {
        DebugErrorCode("EngMusicPlayer_DX9::GetSongSize", 'NOSU');
        return 0;
    }
    REFTIME length = 0;
    m_media_position->get_Duration(&length);
    return length;
}

double EngMusicPlayer_DX9::GetSongPosition()
{
    if (!m_media_position) {
        DebugErrorCode("EngMusicPlayer_DX9::GetSongPosition", 'NOSU');
        return 0;
    }
    REFTIME time = 0;
    m_media_position->get_CurrentPosition(&time);
    return time;
}

bool EngMusicPlayer_DX9::SetSongPosition(double seconds)
{
    if (!m_media_position) {
        DebugErrorCode("EngMusicPlayer_DX9::SetSongPosition", 'NOSU');
        return false;
    }
    if (FAILED(m_media_position->put_CurrentPosition(seconds))) {
        DebugErrorCode("EngMusicPlayer_DX9::SetSongPosition", 'OPFA');
        return false;
    }
    return true;
}

bool EngMusicPlayer_DX9::IsPositionBeforeEnd()
{
    if (!m_media_position)
        return false;
    REFTIME length = 0, time = 0;
    m_media_position->get_Duration(&length);
    m_media_position->get_CurrentPosition(&time);
    return length > time;
}

void EngMusicPlayer_DX9::HandleEvents()
{
    if (!m_media_event || !m_graph_builder || !m_media_position || !m_looping)
        return;
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (SUCCEEDED(m_media_event->GetEvent(&code, &param1, &param2, 0))) {
        if ((code == EC_COMPLETE || code == EC_END_OF_SEGMENT) && m_looping && m_media_position)
            m_media_position->put_CurrentPosition(0.0);
        m_media_event->FreeEventParams(code, param1, param2);
    }
}

void EngMusicPlayer_DX9::EventCallback(void *player)
{
    if (player)
        static_cast<EngMusicPlayer_DX9 *>(player)->HandleEvents();
}
