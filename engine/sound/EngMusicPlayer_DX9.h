// The music player: one song at a time, rendered from a music file (RIFF
// WAVE or Ogg Vorbis), played once or looping, with its volume, length and
// position. Several players may play at once. Main thread only.
//
// The song's end arrives as a WM_MUSIC_EVENT window message; the main
// window's procedure passes it to the callback this player sets on the window
// in Init (EngWindow::SetMusicEventCB), which restarts a looping song.
#pragma once

#include "platform/audio/DirectShow.h"

class EngMusicPlayer_DX9 {
public:
    EngMusicPlayer_DX9();
    ~EngMusicPlayer_DX9();
    EngMusicPlayer_DX9(const EngMusicPlayer_DX9 &) = delete;
    EngMusicPlayer_DX9 &operator=(const EngMusicPlayer_DX9 &) = delete;

    bool Init();
    // Replaces any song loaded before.
    bool LoadSong(const char *file);
    bool LoadSong(const wchar_t *file);
    bool Play();
    void PlayLooping();
    void Stop();
    // 0..1, on a square-root curve.
    bool SetVolume(float volume);
    double GetSongSize();      // seconds
    double GetSongPosition();  // seconds
    bool SetSongPosition(double seconds);
    bool IsPositionBeforeEnd();
    void HandleEvents();
    static void EventCallback(void *player);
    void Destroy();

    IGraphBuilder *m_graph_builder;
    IMediaControl *m_media_control;
    IMediaPosition *m_media_position;
    IBasicAudio *m_basic_audio;
    IMediaEventEx *m_media_event;
    bool m_looping;
};
