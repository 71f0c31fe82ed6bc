#include "platform/audio/DirectSound.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/AudioSources.h"

#include <algorithm>
#include <new>
#include <vector>

// Our own interface number; only its identity matters.
const GUID IID_IDirectSound3DBuffer = {0x48570001, 0x4155, 0x4449, {'D', 'S', '3', 'D', 'B', 'U', 'F', 'F'}};

namespace {

class DirectSound;

class SoundBuffer final : public IDirectSoundBuffer, public IDirectSound3DBuffer {
public:
    SoundBuffer(DirectSound *owner, DWORD flags)
        : m_owner(owner), m_refs(1), m_flags(flags), m_wave(), m_format(), m_mode(DS3DMODE_NORMAL),
          m_min_distance(1.0f), m_max_distance(1000000000.0f)
    {
    }

    // Makes the buffer's sound: silence of the given size and format.
    HRESULT Setup(AudioMixer &mixer, const WAVEFORMATEX &wave, const AudioFormat &format, DWORD bytes)
    {
        m_wave = wave;
        m_format = format;
        try {
            m_bytes = std::make_shared<std::vector<unsigned char>>(bytes, format.type == AST_U8 ? 0x80 : 0);
        } catch (const std::bad_alloc &) {
            return DSERR_OUTOFMEMORY;
        }
        m_voice = AudioVoice::Create(mixer, MakeSource());
        return m_voice ? DS_OK : DSERR_OUTOFMEMORY;
    }

    void Forget() { m_owner = nullptr; }

    HRESULT QueryInterface(REFIID iid, void **object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!IsEqualGUID(iid, IID_IDirectSound3DBuffer) || !(m_flags & DSBCAPS_CTRL3D))
            return E_NOINTERFACE;
        *object = static_cast<IDirectSound3DBuffer *>(this);
        AddRef();
        return S_OK;
    }

    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override;

    HRESULT GetCurrentPosition(DWORD *play, DWORD *write) override
    {
        DWORD at = m_voice ? static_cast<DWORD>(m_voice->GetPosition()) * m_wave.nBlockAlign : 0;
        if (play)
            *play = at;
        if (write)
            *write = at;
        return DS_OK;
    }

    HRESULT GetFrequency(DWORD *frequency) override
    {
        if (!frequency)
            return DSERR_INVALIDPARAM;
        if (!(m_flags & DSBCAPS_CTRLFREQUENCY))
            return DSERR_CONTROLUNAVAIL;
        *frequency = m_wave.nSamplesPerSec;
        return DS_OK;
    }

    HRESULT GetStatus(DWORD *status) override
    {
        if (!status)
            return DSERR_INVALIDPARAM;
        *status = 0;
        if (m_voice && m_voice->IsPlaying())
            *status = DSBSTATUS_PLAYING | (m_voice->IsLooping() ? DSBSTATUS_LOOPING : 0);
        return DS_OK;
    }

    HRESULT GetVolume(LONG *volume) override
    {
        if (!volume)
            return DSERR_INVALIDPARAM;
        if (!m_voice || !(m_flags & DSBCAPS_CTRLVOLUME))
            return DSERR_CONTROLUNAVAIL;
        *volume = m_voice->GetVolume();
        return DS_OK;
    }

    HRESULT Lock(DWORD offset, DWORD bytes, void **part1, DWORD *bytes1, void **part2, DWORD *bytes2,
                 DWORD flags) override
    {
        if (!m_voice)
            return DSERR_INVALIDCALL;
        if (!part1 || !bytes1)
            return DSERR_INVALIDPARAM;
        DWORD size = static_cast<DWORD>(m_bytes->size());
        if (flags & DSBLOCK_ENTIREBUFFER) {
            offset = 0;
            bytes = size;
        }
        if (offset >= size || bytes == 0 || bytes > size)
            return DSERR_INVALIDPARAM;
        DWORD first = std::min(bytes, size - offset);
        *part1 = nullptr;
        *bytes1 = first;
        if (part2)
            *part2 = nullptr;
        if (bytes2)
            *bytes2 = bytes - first;
        if (first < bytes && (!part2 || !bytes2))
            return DSERR_INVALIDPARAM;
        // The bytes the mixer plays stay as they are: the writes go to a
        // copy, which the next source shares.
        if (m_bytes.use_count() > 1) {
            try {
                m_bytes = std::make_shared<std::vector<unsigned char>>(*m_bytes);
            } catch (const std::bad_alloc &) {
                return DSERR_OUTOFMEMORY;
            }
        }
        *part1 = m_bytes->data() + offset;
        if (part2 && first < bytes)
            *part2 = m_bytes->data();
        return DS_OK;
    }

    HRESULT Play(DWORD, DWORD, DWORD flags) override
    {
        if (m_voice)
            m_voice->Start((flags & DSBPLAY_LOOPING) != 0);
        return DS_OK;
    }

    HRESULT SetCurrentPosition(DWORD position) override
    {
        if (!m_voice)
            return DSERR_INVALIDCALL;
        if (position >= m_bytes->size())
            return DSERR_INVALIDPARAM;
        m_voice->SetPosition(static_cast<long>(position / m_wave.nBlockAlign));
        return DS_OK;
    }

    HRESULT SetFormat(const WAVEFORMATEX *format) override
    {
        if (m_voice)
            return DSERR_INVALIDCALL;
        if (!format)
            return DSERR_INVALIDPARAM;
        if (!AudioFormatFromWave(*format, nullptr))
            return DSERR_BADFORMAT;
        m_wave = *format;
        return DS_OK;
    }

    HRESULT SetVolume(LONG volume) override
    {
        if (!m_voice || !(m_flags & DSBCAPS_CTRLVOLUME))
            return DSERR_CONTROLUNAVAIL;
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX)
            return DSERR_INVALIDPARAM;
        m_voice->SetVolume(volume);
        return DS_OK;
    }

    HRESULT Stop() override
    {
        if (m_voice)
            m_voice->Stop();
        return DS_OK;
    }

    HRESULT Unlock(void *part1, DWORD bytes1, void *, DWORD) override
    {
        unsigned char *start = m_bytes->data();
        unsigned char *first = static_cast<unsigned char *>(part1);
        if (!m_voice || !first || first < start || first + bytes1 > start + m_bytes->size())
            return DSERR_INVALIDPARAM;
        std::unique_ptr<AudioSource> source = MakeSource();
        if (!source)
            return DSERR_OUTOFMEMORY;
        m_voice->ReplaceSource(std::move(source));
        return DS_OK;
    }

    HRESULT SetMode(DWORD mode, DWORD) override
    {
        if (mode > DS3DMODE_DISABLE)
            return DSERR_INVALIDPARAM;
        m_mode = mode;
        return DS_OK;
    }

    HRESULT SetMinDistance(float distance, DWORD) override
    {
        if (!(distance > 0.0f))
            return DSERR_INVALIDPARAM;
        m_min_distance = distance;
        return DS_OK;
    }

    HRESULT SetMaxDistance(float distance, DWORD) override
    {
        if (!(distance > 0.0f))
            return DSERR_INVALIDPARAM;
        m_max_distance = distance;
        return DS_OK;
    }

    HRESULT GetMode(DWORD *mode) override
    {
        if (!mode)
            return DSERR_INVALIDPARAM;
        *mode = m_mode;
        return DS_OK;
    }

    HRESULT GetMinDistance(float *distance) override
    {
        if (!distance)
            return DSERR_INVALIDPARAM;
        *distance = m_min_distance;
        return DS_OK;
    }

    HRESULT GetMaxDistance(float *distance) override
    {
        if (!distance)
            return DSERR_INVALIDPARAM;
        *distance = m_max_distance;
        return DS_OK;
    }

private:
    // The mixer plays bytes that nothing writes to while it holds them (a
    // lock writes into a copy), so writing never races with the device's
    // thread, and a sound that is not being changed is held once.
    std::unique_ptr<AudioSource> MakeSource() { return AudioMakeMemorySource(m_format, m_bytes); }

    DirectSound *m_owner;
    ULONG m_refs;
    DWORD m_flags;
    WAVEFORMATEX m_wave;
    AudioFormat m_format;
    std::shared_ptr<std::vector<unsigned char>> m_bytes;
    std::unique_ptr<AudioVoice> m_voice;  // none for the primary buffer
    DWORD m_mode;
    float m_min_distance;
    float m_max_distance;
};

class DirectSound final : public IDirectSound8 {
public:
    explicit DirectSound(AudioMixer *mixer) : m_refs(1), m_mixer(mixer), m_level(DSSCL_NORMAL) {}

    HRESULT QueryInterface(REFIID, void **object) override
    {
        if (object)
            *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG AddRef() override { return ++m_refs; }

    ULONG Release() override
    {
        if (--m_refs > 0)
            return m_refs;
        for (SoundBuffer *buffer : m_buffers) {
            buffer->Forget();
            delete buffer;
        }
        m_buffers.clear();
        AudioOutputRelease();
        delete this;
        return 0;
    }

    HRESULT CreateSoundBuffer(const DSBUFFERDESC *desc, IDirectSoundBuffer **buffer, IUnknown *outer) override
    {
        if (!desc || !buffer)
            return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (outer)
            return DSERR_NOAGGREGATION;
        bool primary = (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0;
        AudioFormat format = {};
        if (primary) {
            if (desc->dwBufferBytes != 0 || desc->lpwfxFormat)
                return DSERR_INVALIDPARAM;
        } else {
            if (!desc->lpwfxFormat || desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX)
                return DSERR_INVALIDPARAM;
            if (!AudioFormatFromWave(*desc->lpwfxFormat, &format))
                return DSERR_BADFORMAT;
        }
        SoundBuffer *made = new (std::nothrow) SoundBuffer(this, desc->dwFlags);
        if (!made)
            return DSERR_OUTOFMEMORY;
        if (!primary) {
            HRESULT result = made->Setup(*m_mixer, *desc->lpwfxFormat, format, desc->dwBufferBytes);
            if (FAILED(result)) {
                delete made;
                return result;
            }
        }
        try {
            m_buffers.push_back(made);
        } catch (const std::bad_alloc &) {
            delete made;
            return DSERR_OUTOFMEMORY;
        }
        *buffer = made;
        return DS_OK;
    }

    HRESULT SetCooperativeLevel(HWND, DWORD level) override
    {
        if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
            return DSERR_INVALIDPARAM;
        m_level = level;
        return DS_OK;
    }

    HRESULT Compact() override { return DS_OK; }

    void Forget(SoundBuffer *buffer)
    {
        m_buffers.erase(std::remove(m_buffers.begin(), m_buffers.end(), buffer), m_buffers.end());
    }

private:
    ULONG m_refs;
    AudioMixer *m_mixer;
    DWORD m_level;
    std::vector<SoundBuffer *> m_buffers;
};

ULONG SoundBuffer::Release()
{
    if (--m_refs > 0)
        return m_refs;
    if (m_owner)
        m_owner->Forget(this);
    delete this;
    return 0;
}

}  // namespace

HRESULT DirectSoundCreate8(const GUID *device, IDirectSound8 **direct_sound, IUnknown *outer)
{
    if (!direct_sound)
        return DSERR_INVALIDPARAM;
    *direct_sound = nullptr;
    if (outer)
        return DSERR_NOAGGREGATION;
    if (device)
        return DSERR_NODRIVER;
    AudioMixer *mixer = AudioOutputAcquire();
    if (!mixer)
        return DSERR_NODRIVER;
    DirectSound *made = new (std::nothrow) DirectSound(mixer);
    if (!made) {
        AudioOutputRelease();
        return DSERR_OUTOFMEMORY;
    }
    *direct_sound = made;
    return DS_OK;
}
