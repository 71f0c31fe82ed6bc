// The mixer behind every sound and song: a set of voices, each reading PCM
// from its source, converted and resampled to the mixer's output (32-bit
// float, stereo, interleaved) and added up at its own gain.
//
// The device's audio callback calls Mix on its own thread; every voice
// operation takes the mixer's lock. A test can call Mix directly into a
// buffer, without a device.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

struct _SDL_AudioStream;

enum AudioSampleType {
    AST_U8,     // unsigned 8-bit
    AST_S16LE,  // signed 16-bit, little-endian
};

struct AudioFormat {
    int rate;      // frames per second
    int channels;  // 1 or 2
    AudioSampleType type;

    int FrameBytes() const { return channels * (type == AST_U8 ? 1 : 2); }
};

// Where a voice's samples come from: a block in memory or a decoded file.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual const AudioFormat &Format() const = 0;
    // Copies up to frames frames; the number copied, 0 at the end (or on a
    // decoding error, which ends the sound).
    virtual long Read(void *buffer, long frames) = 0;
    virtual bool Seek(long frame) = 0;
    virtual long Length() const = 0;  // in frames
};

class AudioMixer;

// Called on the mixing thread, with the mixer locked, when a voice reaches
// the end of its source.
typedef void (*AudioVoiceEndCB)(void *user);

class AudioVoice {
public:
    // Null when the source's format cannot be converted.
    static std::unique_ptr<AudioVoice> Create(AudioMixer &mixer, std::unique_ptr<AudioSource> source);
    ~AudioVoice();

    // A voice that stops at its end (a sound effect) is no longer playing
    // afterwards; one that does not (a song) stays started, silent at its
    // end, until it is stopped or moved back.
    void SetStopAtEnd(bool stop_at_end);
    void SetEndCallback(AudioVoiceEndCB callback, void *user);

    // Starting a voice that is already playing changes only its looping.
    void Start(bool looping);
    void Stop();
    bool IsPlaying() const;
    bool IsLooping() const;
    bool IsAtEnd() const;

    // Volume in hundredths of a decibel, -10000 (silence) to 0 (unchanged).
    void SetVolume(long hundredths_db);
    long GetVolume() const;

    // Positions are in frames of the source; a position past the end is the end.
    void SetPosition(long frame);
    long GetPosition() const;
    long GetLength() const;
    const AudioFormat &GetFormat() const;

    // Hands the voice a new source of the same format; playing goes on from
    // the same place. False when the format differs.
    bool ReplaceSource(std::unique_ptr<AudioSource> source);

    // The gain of a volume: 10^(v/2000), and exactly 0 at -10000.
    static float GainOfVolume(long hundredths_db);

private:
    friend class AudioMixer;
    AudioVoice(AudioMixer &mixer, std::unique_ptr<AudioSource> source, _SDL_AudioStream *stream);
    void MixInto(float *out, int frames);
    void Rewind(long frame);
    bool Refill();

    AudioMixer &m_mixer;
    std::unique_ptr<AudioSource> m_source;
    _SDL_AudioStream *m_stream;
    bool m_playing;
    bool m_looping;
    bool m_stop_at_end;
    bool m_resampling;
    bool m_source_done;  // the source is read out and the converter flushed
    bool m_at_end;
    bool m_end_armed;    // the end callback is due when the end is reached
    long m_volume;
    float m_gain;
    long m_read_frame;   // next frame to be read from the source
    long m_start_frame;  // where the voice was last moved to
    long m_out_frames;   // output frames mixed since then
    AudioVoiceEndCB m_end_cb;
    void *m_end_user;
    std::vector<unsigned char> m_read_buffer;
    std::vector<float> m_mix_buffer;
};

class AudioMixer {
public:
    explicit AudioMixer(int rate);
    ~AudioMixer();

    int GetRate() const { return m_rate; }
    // Fills frames stereo frames (2 x frames floats) with the sum of all
    // playing voices, limited to -1..1.
    void Mix(float *out, int frames);
    int GetVoiceCount() const;

private:
    friend class AudioVoice;
    void Add(AudioVoice *voice);
    void Remove(AudioVoice *voice);

    int m_rate;
    mutable std::mutex m_lock;
    std::vector<AudioVoice *> m_voices;
};
