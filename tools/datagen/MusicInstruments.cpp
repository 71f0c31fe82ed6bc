#include "tools/datagen/MusicInstruments.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

typedef std::vector<float> Signal;

const double SQRT2 = 1.4142135623730951;

SynthBuffer Stereo(const Signal &mono, double pan)
{
    double left, right;
    SynthPanGains(pan, &left, &right);
    SynthBuffer out;
    out.AddMono(mono, 0, left * SQRT2, right * SQRT2);
    return out;
}

// Shapes a note: a smooth rise over `attack`, held until `held`, then a
// smooth fall over `release`; the signal is cut where the fall ends.
void Shape(Signal *s, double attack, double held, double release)
{
    size_t end = std::min(s->size(), SynthFrames(held + release));
    s->resize(end);
    for (size_t i = 0; i < end; i++) {
        double t = (double)i / SYNTH_RATE;
        double g = SynthRise(t, attack);
        if (t > held)
            g *= 1.0 - SynthRise(t - held, release);
        (*s)[i] = (float)((*s)[i] * g);
    }
}

// Scales partial amplitudes so that every voice starts about as loud.
void Normalise(std::vector<SynthPartial> *partials, double frequency)
{
    double sum = 0.0;
    for (const SynthPartial &p : *partials)
        if (frequency * p.ratio < 0.45 * SYNTH_RATE)
            sum += p.amp * p.amp;
    double scale = sum > 0.0 ? 0.7 / std::sqrt(sum) : 0.0;
    for (SynthPartial &p : *partials)
        p.amp *= scale;
}

void Scale(Signal *s, double gain)
{
    for (float &v : *s)
        v = (float)(v * gain);
}

void AddInto(Signal *into, const Signal &add, double gain)
{
    if (add.size() > into->size())
        into->resize(add.size(), 0.0f);
    for (size_t i = 0; i < add.size(); i++)
        (*into)[i] += (float)(add[i] * gain);
}

uint64_t SeedOf(double frequency, double held)
{
    uint64_t a, b;
    memcpy(&a, &frequency, sizeof a);
    memcpy(&b, &held, sizeof b);
    return a * 0x9E3779B97F4A7C15ull ^ b;
}

SynthBuffer Mallet(double f, double held, double velocity)
{
    double decay = std::clamp(0.55 * std::pow(300.0 / f, 0.35), 0.15, 1.0);
    double bright = 0.6 + 0.4 * velocity;
    // Bars tuned so the first overtone sits near two octaves up.
    std::vector<SynthPartial> partials = {
        {1.0, 1.0, decay}, {3.93, 0.22 * bright, decay / 5.0}, {9.2, 0.05 * bright, decay / 15.0}};
    Normalise(&partials, f);
    double length = std::max(0.12, std::min(held + 0.35, 4.0 * decay));
    Signal s = SynthAdditive(f, partials, length);
    // The soft knock of the mallet.
    Signal knock = SynthNoise(SynthFrames(0.008), SeedOf(f, held));
    SynthBiquad::LowPass(2500.0, 0.7).Run(&knock);
    for (size_t i = 0; i < knock.size(); i++)
        knock[i] = (float)(knock[i] * 0.08 * bright * std::exp(-(double)i / (0.0015 * SYNTH_RATE)));
    AddInto(&s, knock, 1.0);
    Shape(&s, 0.0015, length - 0.08, 0.08);
    Scale(&s, velocity);
    return Stereo(s, 0.0);
}

SynthBuffer Bell(double f, double held, double velocity)
{
    double decay = std::clamp(1.2 * std::pow(1000.0 / f, 0.3), 0.4, 2.5);
    // The modes of a free bar.
    std::vector<SynthPartial> partials = {
        {1.0, 1.0, decay}, {2.76, 0.35, decay * 0.45}, {5.40, 0.18, decay * 0.2}, {8.93, 0.08, decay * 0.1}};
    Normalise(&partials, f);
    double length = std::max(0.2, std::min(held + 1.2, 4.0 * decay));
    Signal s = SynthAdditive(f, partials, length);
    Shape(&s, 0.001, length - 0.1, 0.1);
    Scale(&s, velocity);
    return Stereo(s, 0.0);
}

SynthBuffer Pluck(double f, double held, double velocity)
{
    double decay = std::clamp(0.9 * std::sqrt(200.0 / f), 0.25, 2.0);
    double bright = 0.5 + 0.5 * velocity;
    int count = std::clamp((int)(9000.0 / f), 1, 24);
    std::vector<SynthPartial> partials;
    // Plucked near one end: the harmonics with a node there are weak.
    const double pluck_at = 0.18;
    for (int n = 1; n <= count; n++) {
        double amp = std::fabs(std::sin(SYNTH_PI * n * pluck_at)) / std::pow((double)n, 1.3) *
                     std::exp(-(n - 1) * (0.25 - 0.15 * bright));
        partials.push_back({(double)n, amp, decay / (1.0 + 0.45 * (n - 1))});
    }
    Normalise(&partials, f);
    double length = std::max(0.1, std::min(held + 0.2, 5.0 * decay));
    Signal s = SynthAdditive(f, partials, length);
    Shape(&s, 0.002, length - 0.1, 0.1);
    Scale(&s, velocity);
    return Stereo(s, 0.0);
}

SynthBuffer Bass(double f, double held, double velocity)
{
    const double amps[] = {1.0, 0.55, 0.3, 0.18, 0.1, 0.06, 0.04, 0.02};
    std::vector<SynthPartial> partials;
    for (int n = 1; n <= 8; n++)
        partials.push_back({(double)n, amps[n - 1] * (n == 1 ? 1.0 : 0.7 + 0.3 * velocity), n == 1 ? 1.5 : 0.7 / n});
    Normalise(&partials, f);
    Signal s = SynthAdditive(f, partials, held + 0.07);
    Shape(&s, 0.006, held, 0.07);
    Scale(&s, velocity);
    return Stereo(s, 0.0);
}

SynthBuffer Pad(double f, double held, double velocity)
{
    std::vector<SynthPartial> partials;
    for (int n = 1; n <= 10; n++)
        partials.push_back({(double)n, std::exp(-0.12 * n) / std::pow((double)n, 1.6), 0.0});
    Normalise(&partials, f);
    const double detune_cents[] = {-8.0, 0.0, 8.0}, pans[] = {-0.7, 0.0, 0.7};
    const double attack = 0.35, release = 0.6;
    SynthBuffer out;
    for (int v = 0; v < 3; v++) {
        Signal s = SynthAdditive(f * std::pow(2.0, detune_cents[v] / 1200.0), partials, held + release);
        Shape(&s, attack, held, release);
        Scale(&s, velocity / std::sqrt(3.0));
        double left, right;
        SynthPanGains(pans[v], &left, &right);
        out.AddMono(s, 0, left * SQRT2, right * SQRT2);
    }
    return out;
}

SynthBuffer Flute(double f, double held, double velocity)
{
    std::vector<SynthPartial> partials = {{1.0, 1.0, 0.0}, {2.0, 0.22, 0.0}, {3.0, 0.07, 0.0}, {4.0, 0.025, 0.0}};
    Normalise(&partials, f);
    SynthVibrato vibrato;
    vibrato.depth = 0.0045;
    vibrato.rate = 5.2;
    vibrato.delay = 0.2;
    const double release = 0.12;
    Signal s = SynthAdditive(f, partials, held + release, vibrato);
    // A little breath, and a long note settles a little after its onset.
    Signal breath = SynthNoise(s.size(), SeedOf(f, held));
    SynthBiquad band = SynthBiquad::BandPass(std::min(2.0 * f, 5000.0), 2.0);
    band.Run(&breath);
    AddInto(&s, breath, 0.06);
    for (size_t i = 0; i < s.size(); i++)
        s[i] = (float)(s[i] * (0.75 + 0.25 * std::exp(-(double)i / (2.0 * SYNTH_RATE))));
    Shape(&s, 0.05, held, release);
    Scale(&s, velocity);
    return Stereo(s, 0.0);
}

SynthBuffer Brass(double f, double held, double velocity)
{
    const double release = 0.09;
    size_t frames = SynthFrames(held + release);
    int count = std::clamp((int)(0.45 * SYNTH_RATE / (f * 1.01)), 1, 14);
    Signal s(frames);
    double phase = 0.0;
    for (size_t i = 0; i < frames; i++) {
        double t = (double)i / SYNTH_RATE;
        // The tone opens up as the note starts and then settles.
        double bright = (0.3 + 0.45 * SynthRise(t, 0.04) - 0.15 * SynthRise(t - 0.04, 0.25)) * (0.85 + 0.15 * velocity);
        double sum = 0.0, amp = 1.0, total = 0.0;
        for (int n = 1; n <= count; n++) {
            sum += amp / n * SynthSin(n * phase);
            total += amp / n;
            amp *= bright;
        }
        s[i] = (float)(0.9 * sum / std::sqrt(total));
        double grow = std::clamp((t - 0.25) / 0.25, 0.0, 1.0);
        phase += f * (1.0 + 0.004 * grow * SynthSin(5.5 * t)) / SYNTH_RATE;
        phase -= std::floor(phase);
    }
    Shape(&s, 0.025, held, release);
    Scale(&s, 0.6 * velocity);
    return Stereo(s, 0.0);
}

// Noise shaped by a rise and an exponential fall.
Signal Burst(double seconds, uint64_t seed, double attack, double decay)
{
    Signal s = SynthNoise(SynthFrames(seconds), seed);
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / SYNTH_RATE;
        s[i] = (float)(s[i] * SynthRise(t, attack) * std::exp(-t / decay));
    }
    return s;
}

// A sine gliding down from `from` to `to` with the time constant `glide`,
// dying away with `decay`.
Signal Thump(double seconds, double from, double to, double glide, double decay)
{
    Signal s(SynthFrames(seconds));
    SynthOscillator osc;
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / SYNTH_RATE;
        s[i] = (float)(osc.Next(to + (from - to) * std::exp(-t / glide)) * SynthRise(t, 0.001) * std::exp(-t / decay));
    }
    return s;
}

}  // namespace

bool InstrumentVoiceFromName(const std::string &name, InstrumentVoice *voice)
{
    static const struct {
        const char *name;
        InstrumentVoice voice;
    } names[] = {{"mallet", IV_MALLET}, {"bell", IV_BELL},   {"pluck", IV_PLUCK}, {"bass", IV_BASS},
                 {"pad", IV_PAD},       {"flute", IV_FLUTE}, {"brass", IV_BRASS}, {"drums", IV_DRUMS}};
    for (const auto &n : names) {
        if (name == n.name) {
            *voice = n.voice;
            return true;
        }
    }
    return false;
}

double InstrumentGate(InstrumentVoice voice)
{
    switch (voice) {
    case IV_BASS:
    case IV_BRASS:
        return 0.9;
    case IV_FLUTE:
        return 0.95;
    default:
        return 1.0;
    }
}

double InstrumentFrequency(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

SynthBuffer InstrumentNote(InstrumentVoice voice, double frequency, double held, double velocity)
{
    switch (voice) {
    case IV_MALLET:
        return Mallet(frequency, held, velocity);
    case IV_BELL:
        return Bell(frequency, held, velocity);
    case IV_PLUCK:
        return Pluck(frequency, held, velocity);
    case IV_BASS:
        return Bass(frequency, held, velocity);
    case IV_PAD:
        return Pad(frequency, held, velocity);
    case IV_FLUTE:
        return Flute(frequency, held, velocity);
    case IV_BRASS:
        return Brass(frequency, held, velocity);
    case IV_DRUMS:
        break;
    }
    return SynthBuffer();
}

bool InstrumentIsDrum(char letter) { return letter != 0 && strchr("ksholpct", letter) != nullptr; }

SynthBuffer InstrumentDrum(char letter, double velocity, uint64_t seed)
{
    Signal s;
    double pan = 0.0;
    switch (letter) {
    case 'k': {
        s = Thump(1.3, 143.0, 48.0, 0.035, 0.32);
        Signal click = Burst(0.02, seed, 0.0005, 0.004);
        SynthBiquad::LowPass(2500.0, 0.7).Run(&click);
        AddInto(&s, click, 0.25);
        break;
    }
    case 's': {
        s = Thump(0.45, 200.0, 185.0, 0.01, 0.05);
        Scale(&s, 0.5);
        AddInto(&s, Thump(0.45, 340.0, 330.0, 0.01, 0.03), 0.25);
        Signal noise = Burst(0.45, seed, 0.001, 0.11);
        SynthBiquad::BandPass(1800.0, 0.6).Run(&noise);
        SynthBiquad::HighPass(700.0, 0.7).Run(&noise);
        AddInto(&s, noise, 1.4);
        break;
    }
    case 'h':
    case 'o': {
        s = Burst(letter == 'h' ? 0.12 : 0.9, seed, 0.0008, letter == 'h' ? 0.03 : 0.22);
        SynthBiquad::HighPass(7000.0, 0.7).Run(&s);
        SynthBiquad::LowPass(12000.0, 0.7).Run(&s);
        Scale(&s, 1.4);
        pan = 0.3;
        break;
    }
    case 'p': {
        s = Burst(0.2, seed, 0.012, 0.05);
        SynthBiquad::BandPass(6000.0, 1.2).Run(&s);
        Scale(&s, 1.5);
        pan = -0.3;
        break;
    }
    case 'c': {
        s = Burst(3.6, seed, 0.002, 0.9);
        SynthBiquad::HighPass(5000.0, 0.7).Run(&s);
        SynthBiquad::LowPass(11000.0, 0.7).Run(&s);
        Scale(&s, 0.6);
        pan = -0.2;
        break;
    }
    case 't':
    case 'l': {
        double high = letter == 't' ? 150.0 : 105.0;
        s = Thump(1.0, high, high * 0.7, 0.05, 0.25);
        Signal noise = Burst(0.1, seed, 0.001, 0.02);
        SynthBiquad::LowPass(1500.0, 0.7).Run(&noise);
        AddInto(&s, noise, 0.3);
        pan = letter == 't' ? -0.2 : 0.2;
        break;
    }
    default:
        return SynthBuffer();
    }
    Scale(&s, velocity);
    SynthBuffer out = Stereo(s, pan);
    SynthFadeEnds(&out, 0.001, 0.02);
    return out;
}
