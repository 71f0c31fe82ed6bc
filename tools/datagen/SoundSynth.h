// Building blocks for synthesising the game's sound effects and music: a
// stereo sample buffer, envelopes, oscillators, noise, filters, a reverb and
// loudness measurement. Everything works at one rate and is a pure function
// of its arguments (noise comes from seeded generators), so a sound comes out
// the same on every run.
#pragma once

#include "tools/datagen/DataGenRandom.h"

#include <cstddef>
#include <vector>

const int SYNTH_RATE = 44100;
const double SYNTH_PI = 3.14159265358979323846;

// Two channels of float samples, nominally within -1..1.
struct SynthBuffer {
    std::vector<float> left, right;

    SynthBuffer() = default;
    explicit SynthBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t Frames() const { return left.size(); }
    // Grows (with silence) so that at least `frames` frames exist.
    void Reserve(size_t frames);
    // Adds a mono signal from frame `at` on, with the two channel gains.
    void AddMono(const std::vector<float> &mono, size_t at, double gain_left, double gain_right);
    // Adds another buffer from frame `at` on, scaled.
    void AddBuffer(const SynthBuffer &other, size_t at, double gain);
    void Scale(double gain);
    double Peak() const;
};

size_t SynthFrames(double seconds);

// Constant-power panning: pan -1 (left) .. 1 (right) to the two gains.
void SynthPanGains(double pan, double *left, double *right);

// 0 at t <= 0 rising smoothly to 1 at t >= length (half a cosine), so that
// a sound starts without a step.
double SynthRise(double t, double length);

// Multiplies the start and the end of a buffer by a smooth rise and fall
// (`fade_in` and `fade_out` seconds long), so it starts and ends at silence
// without a click.
void SynthFadeEnds(SynthBuffer *buffer, double fade_in, double fade_out);

// A sine table oscillator: Next(frequency) gives the next sample of a sine
// whose frequency may change from sample to sample (glides, vibrato).
class SynthOscillator {
public:
    double Next(double frequency);

private:
    double m_phase = 0.0;  // cycles
};

// Fast sine of a phase given in cycles.
double SynthSin(double cycles);

// One partial of an additive tone: a sine at `ratio` times the note's
// frequency, of amplitude `amp`, dying away by a factor e every `decay`
// seconds (0: it does not die away).
struct SynthPartial {
    double ratio;
    double amp;
    double decay;
};

// Renders `seconds` of a sum of partials at `frequency`, leaving out those
// above the audible band. Vibrato (depth as a fraction of the frequency,
// rate in Hz) starts after `vibrato_delay` seconds and grows in over as long.
struct SynthVibrato {
    double depth = 0.0;
    double rate = 0.0;
    double delay = 0.0;
};
std::vector<float> SynthAdditive(double frequency, const std::vector<SynthPartial> &partials, double seconds,
                                 const SynthVibrato &vibrato = SynthVibrato());

// White noise in -1..1 from a fixed seed.
std::vector<float> SynthNoise(size_t frames, uint64_t seed);

// A second-order filter (the well-known "cookbook" designs).
class SynthBiquad {
public:
    static SynthBiquad LowPass(double frequency, double q);
    static SynthBiquad HighPass(double frequency, double q);
    static SynthBiquad BandPass(double frequency, double q);
    static SynthBiquad HighShelf(double frequency, double gain_db, double q);

    double Process(double x);
    void Run(std::vector<float> *signal);

private:
    SynthBiquad(double b0, double b1, double b2, double a0, double a1, double a2);
    double m_b0, m_b1, m_b2, m_a1, m_a2;
    double m_x1 = 0.0, m_x2 = 0.0, m_y1 = 0.0, m_y2 = 0.0;
};

// A state-variable filter whose centre may move from sample to sample, for
// sweeps; it gives the low-, band- and high-passed signal at once.
class SynthSweepFilter {
public:
    explicit SynthSweepFilter(double q) : m_damping(1.0 / q) {}
    void Process(double x, double frequency, double *low, double *band, double *high);

private:
    double m_damping;
    double m_s1 = 0.0, m_s2 = 0.0;
};

// Removes any constant offset: a first-order high-pass at about 10 Hz.
void SynthRemoveDc(std::vector<float> *signal);

// Small stereo room: parallel feedback combs into series all-passes per
// channel, the right channel slightly detuned from the left for width.
class SynthReverb {
public:
    SynthReverb(double room, double damping);
    // Adds the reverb of the mono `send` into `out`, scaled by `wet`.
    void Process(const std::vector<float> &send, SynthBuffer *out, double wet);

private:
    struct Comb {
        std::vector<float> line;
        size_t at = 0;
        double store = 0.0;
    };
    struct AllPass {
        std::vector<float> line;
        size_t at = 0;
    };
    double RunChannel(std::vector<Comb> &combs, std::vector<AllPass> &allpasses, double input);

    double m_feedback, m_damping;
    std::vector<Comb> m_combs[2];
    std::vector<AllPass> m_allpasses[2];
};

// Loudness in dB of full scale as a listener hears it: the signal weighted
// for the ear's sensitivity (less bass, a little more presence), then the
// mean square of its loudest stretch of `window` seconds (0: of the whole
// signal), both channels summed.
double SynthLoudness(const SynthBuffer &buffer, double window);
