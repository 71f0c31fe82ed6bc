#include "platform/audio/AudioMixer.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>
#include <new>

static const int out_frame_bytes = 2 * static_cast<int>(sizeof(float));
// Frames converted per step; the buffers below are sized once, so mixing on
// the device's thread allocates nothing.
static const long chunk_frames = 1024;

static SDL_AudioFormat SdlFormatOf(AudioSampleType type)
{
    return type == AST_U8 ? AUDIO_U8 : AUDIO_S16LSB;
}

std::unique_ptr<AudioVoice> AudioVoice::Create(AudioMixer &mixer, std::unique_ptr<AudioSource> source)
{
    if (!source)
        return nullptr;
    const AudioFormat &format = source->Format();
    if (format.rate <= 0 || format.channels < 1 || format.channels > 2)
        return nullptr;
    SDL_AudioStream *stream = SDL_NewAudioStream(SdlFormatOf(format.type), static_cast<Uint8>(format.channels),
                                                 format.rate, AUDIO_F32SYS, 2, mixer.GetRate());
    if (!stream)
        return nullptr;
    std::unique_ptr<AudioVoice> voice(new (std::nothrow) AudioVoice(mixer, std::move(source), stream));
    if (!voice) {
        SDL_FreeAudioStream(stream);
        return nullptr;
    }
    mixer.Add(voice.get());
    return voice;
}

AudioVoice::AudioVoice(AudioMixer &mixer, std::unique_ptr<AudioSource> source, _SDL_AudioStream *stream)
    : m_mixer(mixer), m_source(std::move(source)), m_stream(stream), m_playing(false), m_looping(false),
      m_stop_at_end(true), m_resampling(m_source->Format().rate != mixer.GetRate()), m_source_done(false), m_at_end(false), m_end_armed(false), m_volume(0), m_gain(1.0f),
      m_read_frame(0), m_start_frame(0), m_out_frames(0), m_end_cb(nullptr), m_end_user(nullptr),
      m_read_buffer(static_cast<size_t>(chunk_frames * m_source->Format().FrameBytes())),
      m_mix_buffer(static_cast<size_t>(chunk_frames * 2))
{
}

AudioVoice::~AudioVoice()
{
    m_mixer.Remove(this);
    SDL_FreeAudioStream(m_stream);
}

void AudioVoice::SetStopAtEnd(bool stop_at_end)
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    m_stop_at_end = stop_at_end;
}

void AudioVoice::SetEndCallback(AudioVoiceEndCB callback, void *user)
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    m_end_cb = callback;
    m_end_user = user;
}

void AudioVoice::Start(bool looping)
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    if (!m_playing) {
        m_playing = true;
        m_end_armed = true;
    }
    m_looping = looping;
    if (looping && m_at_end)
        Rewind(0);
}

void AudioVoice::Stop()
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    m_playing = false;
}

bool AudioVoice::IsPlaying() const
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    return m_playing;
}

bool AudioVoice::IsLooping() const
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    return m_looping;
}

bool AudioVoice::IsAtEnd() const
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    return m_at_end;
}

float AudioVoice::GainOfVolume(long hundredths_db)
{
    if (hundredths_db <= -10000)
        return 0.0f;
    if (hundredths_db >= 0)
        return 1.0f;
    return static_cast<float>(std::pow(10.0, static_cast<double>(hundredths_db) / 2000.0));
}

void AudioVoice::SetVolume(long hundredths_db)
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    m_volume = std::min(0L, std::max(-10000L, hundredths_db));
    m_gain = GainOfVolume(m_volume);
}

long AudioVoice::GetVolume() const
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    return m_volume;
}

void AudioVoice::SetPosition(long frame)
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    Rewind(std::min(std::max(0L, frame), m_source->Length()));
}

long AudioVoice::GetPosition() const
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    // What has been heard, not what has been read into the converter.
    long length = m_source->Length();
    if (m_at_end)
        return length;
    double heard = static_cast<double>(m_out_frames) * m_source->Format().rate / m_mixer.GetRate();
    long position = m_start_frame + std::lround(heard);
    if (m_looping && length > 0)
        position %= length;
    return std::min(position, length);
}

long AudioVoice::GetLength() const
{
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    return m_source->Length();
}

const AudioFormat &AudioVoice::GetFormat() const
{
    return m_source->Format();
}

bool AudioVoice::ReplaceSource(std::unique_ptr<AudioSource> source)
{
    if (!source)
        return false;
    const AudioFormat &now = m_source->Format();
    const AudioFormat &next = source->Format();
    if (now.rate != next.rate || now.channels != next.channels || now.type != next.type)
        return false;
    std::lock_guard<std::mutex> lock(m_mixer.m_lock);
    m_source = std::move(source);
    m_read_frame = std::min(m_read_frame, m_source->Length());
    if (!m_source->Seek(m_read_frame))
        m_read_frame = 0;
    return true;
}

// With the mixer locked.
void AudioVoice::Rewind(long frame)
{
    SDL_AudioStreamClear(m_stream);
    m_read_frame = m_source->Seek(frame) ? frame : m_source->Length();
    m_start_frame = m_read_frame;
    m_out_frames = 0;
    m_source_done = false;
    m_at_end = false;
    m_end_armed = true;
}

// With the mixer locked: feeds the converter one chunk of the source; false
// once the source is read out and the converter flushed.
bool AudioVoice::Refill()
{
    long frames = m_source->Read(m_read_buffer.data(), chunk_frames);
    if (frames > 0 &&
        SDL_AudioStreamPut(m_stream, m_read_buffer.data(), static_cast<int>(frames * m_source->Format().FrameBytes())) == 0) {
        m_read_frame += frames;
        return true;
    }
    // A looping voice wraps without flushing, so the converter runs on
    // smoothly across the join. An empty source never loops.
    if (frames == 0 && m_looping && m_read_frame > 0 && m_source->Seek(0)) {
        m_read_frame = 0;
        return true;
    }
    // SDL's converter keeps back up to 512 source frames while resampling
    // and drops them when flushed; a chunk of silence brings them out.
    if (m_resampling) {
        const AudioFormat &format = m_source->Format();
        std::fill(m_read_buffer.begin(), m_read_buffer.end(), format.type == AST_U8 ? 0x80 : 0);
        SDL_AudioStreamPut(m_stream, m_read_buffer.data(), static_cast<int>(chunk_frames * format.FrameBytes()));
    }
    SDL_AudioStreamFlush(m_stream);
    m_source_done = true;
    return false;
}

// With the mixer locked.
void AudioVoice::MixInto(float *out, int frames)
{
    if (!m_playing)
        return;
    int done = 0;
    while (done < frames) {
        int waiting = SDL_AudioStreamAvailable(m_stream) / out_frame_bytes;
        if (waiting == 0) {
            if (m_source_done)
                break;
            Refill();
            continue;
        }
        int take = std::min({waiting, frames - done, static_cast<int>(chunk_frames)});
        int got = SDL_AudioStreamGet(m_stream, m_mix_buffer.data(), take * out_frame_bytes) / out_frame_bytes;
        if (got <= 0)
            break;
        float *to = out + 2 * done;
        for (int i = 0; i < 2 * got; i++)
            to[i] += m_gain * m_mix_buffer[static_cast<size_t>(i)];
        done += got;
        m_out_frames += got;
    }
    if (m_source_done && SDL_AudioStreamAvailable(m_stream) == 0) {
        m_at_end = true;
        if (m_stop_at_end)
            m_playing = false;
        if (m_end_armed) {
            m_end_armed = false;
            if (m_end_cb)
                m_end_cb(m_end_user);
        }
    }
}

AudioMixer::AudioMixer(int rate) : m_rate(rate > 0 ? rate : 44100) {}

AudioMixer::~AudioMixer() = default;

void AudioMixer::Mix(float *out, int frames)
{
    if (!out || frames <= 0)
        return;
    std::fill(out, out + 2 * frames, 0.0f);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        for (AudioVoice *voice : m_voices)
            voice->MixInto(out, frames);
    }
    for (int i = 0; i < 2 * frames; i++)
        out[i] = std::min(1.0f, std::max(-1.0f, out[i]));
}

int AudioMixer::GetVoiceCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return static_cast<int>(m_voices.size());
}

void AudioMixer::Add(AudioVoice *voice)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_voices.push_back(voice);
}

void AudioMixer::Remove(AudioVoice *voice)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}
