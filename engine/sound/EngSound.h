// Sound effects: PCM wave files read whole into static sound buffers and
// played from the start on demand, each with its own volume; and the sound
// system they play through, set up once at start (EngSoundInit) and closed
// at the end. Main thread only.
//
// The sound system and the music player use the main window (EngWindow.h)
// when one exists: its handle, and its music-event callback slot.
#pragma once

#include "platform/audio/DirectSound.h"

enum _EngSoundSystem : int {
    ESS_NONE = 0,
    ESS_DIRECTSOUND = 1,
};

enum {
    ENG_SOUND_SAMPLE_FILE_SIZE = 512,
};

// Chooses and starts the sound system. sample_file, a wave file, gives the
// output its format (none when null or empty); the last argument is kept
// and not used.
bool EngSoundInit(_EngSoundSystem system, char allow_3d, char frequency_control, char position2,
                  const char *sample_file, int unused);
// Starts the chosen system when it is not the one running.
bool EngSoundUpdate(const char *unused);
void EngSoundClose();
bool EngSoundIsMusicPlayingOnDevice();

bool EngSoundInit_DX9();
void EngSoundClose_DX9();
// True for a result of 0 or more; otherwise reports "<call> - <text>" under
// where and answers false.
bool EngSoundErrorCheck_DX9(HRESULT result, const char *where, const char *call);

// The main window's handle (EngWindow.h); null while there is no window.
HWND EngSoundGetMainWindow();

// Closes the sound system and returns the module to its state at start.
void EngSoundResetForTests();

class EngSound {
public:
    EngSound(const char *file, char use_3d, const char *unused);
    ~EngSound();
    EngSound(const EngSound &) = delete;
    EngSound &operator=(const EngSound &) = delete;

    void Destroy();
    bool Play();
    // 0..1; 0 is silence.
    void SetVolume(float volume);

    bool LoadSoundFromFile(const char *file, char use_3d);
    bool LoadSoundFromFileDX(const char *file, char use_3d, char format_only);
    bool PlayDX();
    void SetVolumeDX(float volume);
    void DestroyDX();
    unsigned int GetFrequencyDX();

    bool m_loaded;
    float m_length;             // seconds
    unsigned int m_frequency;   // Hz, with frequency control only
    IDirectSoundBuffer *m_sound_buffer;
    IDirectSound3DBuffer *m_3d_buffer;
    WAVEFORMATEX m_format;
    // Which start of DirectSound made the buffer: buffers die with it, so
    // a sound kept past EngSoundClose never touches them again.
    unsigned long m_ds_generation;
};
