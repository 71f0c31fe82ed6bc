#include "engine/sound/EngSound.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

// Module-wide sound settings, chosen by EngSoundInit.
struct _EngSoundSettings {
    _EngSoundSystem system;
    bool allow_3d;
    bool frequency_control;
    bool position2;
    char sample_file[ENG_SOUND_SAMPLE_FILE_SIZE];
    bool has_sample;
    int unused;
    _EngSoundSystem running;
};

static const _EngSoundSettings settings_at_start = {ESS_NONE, false, false, false, "", true, 0, ESS_NONE};
static _EngSoundSettings eng_sound_settings = settings_at_start;

// DirectSound state.
static IDirectSound8 *eng_sound_ds = nullptr;
static IDirectSoundBuffer *eng_sound_primary = nullptr;
static WAVEFORMATEX eng_sound_primary_format = {};
static bool eng_sound_initialised = false;
static unsigned long eng_sound_ds_generation = 0;


static void NoteNotImplemented(const char *where)
{
    DebugNoteWithName(2, where, "%s", DebugGetCodeText('NOIM'));
}

bool EngSoundInit(_EngSoundSystem system, char allow_3d, char frequency_control, char position2,
                  const char *sample_file, int unused)
{
    _EngSoundSettings &s = eng_sound_settings;
    s.system = system;
    s.allow_3d = allow_3d != 0;
    s.frequency_control = frequency_control != 0;
    s.position2 = position2 != 0;
    s.unused = unused;
    s.sample_file[0] = 0;
    if (system == ESS_DIRECTSOUND) {
        s.has_sample = true;
        if (!sample_file || !sample_file[0]) {
            s.has_sample = false;
        } else if (std::strlen(sample_file) >= sizeof(s.sample_file)) {
            DebugError("EngSoundInit", "Sample sound filename too long");
            return false;
        } else {
            EngSafeStrcpy(s.sample_file, sample_file, sizeof(s.sample_file));
        }
    } else if (system == ESS_NONE) {
        DebugError("EngSoundInit", "Sound parameters not setup");
        return false;
    }
    return EngSoundUpdate(nullptr);
}

bool EngSoundUpdate(const char *)
{
    _EngSoundSettings &s = eng_sound_settings;
    if (s.system == s.running && s.running != ESS_NONE)
        return true;
    s.running = s.system;
    EngSoundClose_DX9();
    if (s.running == ESS_DIRECTSOUND) {
        if (EngSoundInit_DX9())
            return true;
        // Nothing runs after a failed start, so the next call tries again.
        s.running = ESS_NONE;
        return false;
    }
    DebugError("EngSoundUpdate", "Unknown sound system %d", static_cast<int>(s.running));
    s.running = ESS_NONE;
    return false;
}

void EngSoundClose()
{
    EngSoundClose_DX9();
    eng_sound_settings.running = ESS_NONE;
}

bool EngSoundIsMusicPlayingOnDevice()
{
    DebugErrorCode("EngSoundIsMusicPlayingOnDevice", 'NOIM');
    return false;
}

bool EngSoundInit_DX9()
{
    if (eng_sound_initialised)
        return true;
    if (!eng_sound_ds) {
        HRESULT result = DirectSoundCreate8(nullptr, &eng_sound_ds, nullptr);
        if (!EngSoundErrorCheck_DX9(result, "EngSoundInit_DX9", "DirectSoundCreate") || !eng_sound_ds)
            return false;
        eng_sound_ds_generation++;
    }
    HRESULT result = eng_sound_ds->SetCooperativeLevel(EngSoundGetMainWindow(), DSSCL_EXCLUSIVE);
    if (!EngSoundErrorCheck_DX9(result, "EngSoundInit_DX9", "IDirectSound8_SetCooperativeLevel"))
        return false;

    if (eng_sound_settings.has_sample) {
        DSBUFFERDESC desc = {};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
        result = eng_sound_ds->CreateSoundBuffer(&desc, &eng_sound_primary, nullptr);
        if (!EngSoundErrorCheck_DX9(result, "EngSoundInit_DX9", "(primary)CreateSoundBuffer")) {
            eng_sound_ds->Release();
            eng_sound_ds = nullptr;
            return false;
        }
        if (eng_sound_settings.sample_file[0]) {
            {
                EngSound sample(eng_sound_settings.sample_file, 0, nullptr);
                eng_sound_primary_format = sample.m_format;
            }
            result = eng_sound_primary->SetFormat(&eng_sound_primary_format);
            if (!EngSoundErrorCheck_DX9(result, "EngSoundInit_DX9", "(primary)SetFormat")) {
                eng_sound_primary->Release();
                eng_sound_primary = nullptr;
                eng_sound_ds->Release();
                eng_sound_ds = nullptr;
                return false;
            }
        }
    }
    eng_sound_initialised = true;
    return true;
}

void EngSoundClose_DX9()
{
    if (eng_sound_primary) {
        eng_sound_primary->Release();
        eng_sound_primary = nullptr;
    }
    if (eng_sound_ds) {
        eng_sound_ds->Release();
        eng_sound_ds = nullptr;
    }
    eng_sound_initialised = false;
}

struct _EngSoundResultText {
    HRESULT result;
    const char *text;
};

static const _EngSoundResultText eng_sound_result_texts[] = {
    {E_NOTIMPL, "The function called is not supported at this time."},
    {E_NOINTERFACE, "The requested COM interface is not available."},
    {E_POINTER, "An invalid pointer, usually NULL, was passed as a parameter."},
    {E_FAIL, "An undetermined error occurred inside the DirectSound subsystem."},
    {CLASS_E_NOAGGREGATION, "The object does not support aggregation."},
    {REGDB_E_CLASSNOTREG, "The object class is not registered."},
    {E_ACCESSDENIED, "The request failed because access was denied."},
    {E_OUTOFMEMORY, "The DirectSound subsystem could not allocate sufficient memory to complete the caller's request."},
    {E_INVALIDARG, "An invalid parameter was passed to the returning function."},
    {DSERR_ALLOCATED,
     "The request failed because resources, such as a priority level, were already in use by another caller."},
    {DSERR_CONTROLUNAVAIL, "The buffer control (volume, pan, and so on) requested by the caller is not available."},
    {DSERR_INVALIDCALL, "This function is not valid for the current state of this object."},
    {DSERR_PRIOLEVELNEEDED, "The caller does not have the priority level required for the function to succeed."},
    {DSERR_BADFORMAT, "The specified wave format is not supported."},
    {DSERR_NODRIVER,
     "No sound driver is available for use, or the given GUID is not a valid DirectSound device ID."},
    {DSERR_ALREADYINITIALIZED, "The object is already initialized."},
    {DSERR_BUFFERLOST, "The buffer memory has been lost and must be restored."},
    {DSERR_OTHERAPPHASPRIO,
     "Another application has a higher priority level, preventing this call from succeeding."},
    {DSERR_UNINITIALIZED, "The IDirectSound8::Initialize method has not been called or has not been called "
                          "successfully before other methods were called."},
    {DSERR_BUFFERTOOSMALL, "The buffer size is not great enough to enable effects processing."},
    {DSERR_DS8_REQUIRED, "A DirectSound object of class CLSID_DirectSound8 or later is required for the requested "
                         "functionality. For more information, see IDirectSound8."},
    {DSERR_OBJECTNOTFOUND, "The requested object was not found."},
};

bool EngSoundErrorCheck_DX9(HRESULT result, const char *where, const char *call)
{
    if (result >= 0)
        return true;
    char unknown[64];
    const char *text = nullptr;
    for (const _EngSoundResultText &entry : eng_sound_result_texts) {
        if (entry.result == result)
            text = entry.text;
    }
    if (!text) {
        std::snprintf(unknown, sizeof(unknown), "Unknown Error (%d) (0x%x)", static_cast<int>(result),
                      static_cast<unsigned>(result));
        text = unknown;
    }
    DebugError(where, "%s - %s", call ? call : "", text);
    return false;
}

// True when the running DirectSound is the one that made a sound's buffers.
static bool MadeByRunningDirectSound(unsigned long generation)
{
    return eng_sound_ds && generation == eng_sound_ds_generation;
}

HWND EngSoundGetMainWindow()
{
    return eng_main_window ? eng_main_window->GetWindowHandle() : nullptr;
}

void EngSoundResetForTests()
{
    EngSoundClose();
    eng_sound_settings = settings_at_start;
    eng_sound_primary_format = WAVEFORMATEX{};
}

EngSound::EngSound(const char *file, char use_3d, const char *)
    : m_loaded(false), m_length(0), m_frequency(0), m_sound_buffer(nullptr), m_3d_buffer(nullptr), m_format(),
      m_ds_generation(0)
{
    if (!eng_sound_settings.allow_3d)
        use_3d = 0;
    if (!file || !file[0]) {
        DebugError("EngSound::EngSound", "No filename");
    } else if (!EngFileExists(file, 0)) {
        DebugError("EngSound::EngSound", "Filename does not exist <%s>", file);
    } else if (eng_sound_settings.system == ESS_DIRECTSOUND) {
        m_loaded = LoadSoundFromFile(file, use_3d);
    } else {
        NoteNotImplemented("EngSound::EngSound");
    }
    if (!m_loaded)
        DebugError("EngSound::EngSound", "Could not load sound");
}

EngSound::~EngSound()
{
    DestroyDX();
}

void EngSound::Destroy()
{
    DestroyDX();
}

bool EngSound::Play()
{
    if (eng_sound_settings.system == ESS_DIRECTSOUND)
        return PlayDX();
    NoteNotImplemented("EngSound::Play");
    return false;
}

void EngSound::SetVolume(float volume)
{
    if (eng_sound_settings.system == ESS_DIRECTSOUND)
        SetVolumeDX(volume);
    else
        NoteNotImplemented("EngSound::SetVolume");
}

bool EngSound::LoadSoundFromFile(const char *file, char use_3d)
{
    if (!eng_sound_ds)
        return false;
    return LoadSoundFromFileDX(file, use_3d, 0);
}

// Finds the RIFF WAVE chunk and reads its format. The 'fmt ' chunk is
// usually 16 bytes, without the extra-size field, which then stays 0.
static bool ReadWaveFormat(HMMIO mmio, MMCKINFO *riff, MMCKINFO *format_chunk, WAVEFORMATEX *format)
{
    std::memset(format, 0, sizeof(*format));
    riff->fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(mmio, riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
        return false;
    format_chunk->ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(mmio, format_chunk, riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR || format_chunk->cksize < 16)
        return false;
    LONG bytes = static_cast<LONG>(std::min<DWORD>(format_chunk->cksize, sizeof(*format)));
    return mmioRead(mmio, reinterpret_cast<char *>(format), bytes) == bytes;
}

// Reads a RIFF WAVE file: its 'fmt ' chunk into m_format, its 'data' chunk
// into a new static buffer.
bool EngSound::LoadSoundFromFileDX(const char *file, char use_3d, char format_only)
{
    static const char *where = "EngSound::LoadSoundFromFileDX";
    if (!eng_sound_ds)
        return false;
    DestroyDX();

    HMMIO mmio = mmioOpenA(const_cast<char *>(file), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (!mmio) {
        DebugError(where, "Can not open wafefile %s", file);
        return false;
    }
    MMCKINFO riff = {};
    MMCKINFO format_chunk = {};
    if (!ReadWaveFormat(mmio, &riff, &format_chunk, &m_format)) {
        mmioClose(mmio, 0);
        DebugError(where, "Damaged wave file %s", file);
        return false;
    }
    if (m_format.wFormatTag != WAVE_FORMAT_PCM) {
        mmioClose(mmio, 0);
        DebugError(where, "Invalid format in %s", file);
        return false;
    }
    if (format_only) {
        mmioClose(mmio, 0);
        return true;
    }

    MMCKINFO data = {};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioAscend(mmio, &format_chunk, 0) != MMSYSERR_NOERROR ||
        mmioDescend(mmio, &data, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) {
        mmioClose(mmio, 0);
        DebugError(where, "Damaged wave file %s", file);
        return false;
    }

    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME;
    if (eng_sound_settings.frequency_control)
        desc.dwFlags |= DSBCAPS_CTRLFREQUENCY;
    if (eng_sound_settings.position2)
        desc.dwFlags |= DSBCAPS_GETCURRENTPOSITION2;
    if (use_3d)
        desc.dwFlags |= DSBCAPS_CTRL3D;
    desc.dwBufferBytes = data.cksize;
    desc.lpwfxFormat = &m_format;
    HRESULT result = eng_sound_ds->CreateSoundBuffer(&desc, &m_sound_buffer, nullptr);
    if (!EngSoundErrorCheck_DX9(result, "LoadSoundFromFileDX", "IDirectSound8_CreateSoundBuffer")) {
        mmioClose(mmio, 0);
        m_sound_buffer = nullptr;
        return false;
    }
    m_ds_generation = eng_sound_ds_generation;

    void *part1 = nullptr, *part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    result = m_sound_buffer->Lock(0, data.cksize, &part1, &bytes1, &part2, &bytes2, 0);
    if (!EngSoundErrorCheck_DX9(result, "LoadSoundFromFileDX", "IDirectSoundBuffer_Lock")) {
        mmioClose(mmio, 0);
        DestroyDX();
        return false;
    }
    bool read = mmioRead(mmio, static_cast<char *>(part1), static_cast<LONG>(bytes1)) == static_cast<LONG>(bytes1);
    if (read && part2 && bytes2)
        read = mmioRead(mmio, static_cast<char *>(part2), static_cast<LONG>(bytes2)) == static_cast<LONG>(bytes2);
    m_sound_buffer->Unlock(part1, bytes1, part2, bytes2);
    mmioClose(mmio, 0);
    if (!read) {
        DebugError(where, "Damaged wave file %s", file);
        DestroyDX();
        return false;
    }

    if (use_3d) {
        result = m_sound_buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void **>(&m_3d_buffer));
        if (!EngSoundErrorCheck_DX9(result, "LoadSoundFromFileDX", "QueryInterface(3d sound buffer)")) {
            m_3d_buffer = nullptr;
        } else {
            m_3d_buffer->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE);
            m_3d_buffer->SetMinDistance(1.0f, DS3D_IMMEDIATE);
            m_3d_buffer->SetMaxDistance(10000.0f, DS3D_IMMEDIATE);
        }
    }

    m_length = m_format.nAvgBytesPerSec ? static_cast<float>(data.cksize) / m_format.nAvgBytesPerSec : 0.0f;
    m_frequency = eng_sound_settings.frequency_control ? GetFrequencyDX() : 0;
    EngSoundErrorCheck_DX9(eng_sound_ds->Compact(), "LoadSoundFromFileDX", "IDirectSound8_Compact");
    return true;
}

unsigned int EngSound::GetFrequencyDX()
{
    DWORD frequency = 0;
    HRESULT result = m_sound_buffer ? m_sound_buffer->GetFrequency(&frequency) : DSERR_INVALIDCALL;
    if (!EngSoundErrorCheck_DX9(result, "EngSound::GetFrequencyDX", "IDirectSoundBuffer_GetFrequency"))
        return 0;
    return frequency;
}

bool EngSound::PlayDX()
{
    if (!m_sound_buffer || !MadeByRunningDirectSound(m_ds_generation)) {
        if (eng_sound_ds)
            DebugError("EngSound::PlayDX", "Sound called but no buffer present");
        return false;
    }
    // From the start: a sound still playing restarts, it is never doubled.
    m_sound_buffer->SetCurrentPosition(0);
    return EngSoundErrorCheck_DX9(m_sound_buffer->Play(0, 0, 0), "EngSound::PlayDX", "IDirectSoundBuffer_Play");
}

void EngSound::SetVolumeDX(float volume)
{
    if (!m_sound_buffer || !MadeByRunningDirectSound(m_ds_generation)) {
        if (eng_sound_ds)
            DebugError("EngSound::SetVolumeDX", "Sound called but no buffer present");
        return;
    }
    // Above 1 the result is 0 anyway; bounding first keeps NaN and infinity out.
    if (!(volume >= 0.00001f))
        volume = 0.00001f;
    volume = std::min(volume, 1.0f);
    long hundredths_db = static_cast<long>(2000.0f * std::log10(volume));
    hundredths_db = std::min(DSBVOLUME_MAX, std::max(DSBVOLUME_MIN, hundredths_db));
    EngSoundErrorCheck_DX9(m_sound_buffer->SetVolume(hundredths_db), "EngSound::SetVolumeDX", "SetVolume");
}

void EngSound::DestroyDX()
{
    if ((m_sound_buffer || m_3d_buffer) && !MadeByRunningDirectSound(m_ds_generation)) {
        DebugError("EngSound::DestroyDX", "Sound was not released");
    } else {
        if (m_3d_buffer)
            m_3d_buffer->Release();
        if (m_sound_buffer)
            m_sound_buffer->Release();
    }
    m_3d_buffer = nullptr;
    m_sound_buffer = nullptr;
    m_loaded = false;
}
