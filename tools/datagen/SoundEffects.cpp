#include "tools/datagen/SoundEffects.h"

#include "tools/datagen/MusicInstruments.h"
#include "tools/datagen/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>

namespace {

typedef std::vector<float> Signal;
typedef std::function<double(double)> Curve;

const double SQRT2 = 1.4142135623730951;

// --- Curves over time (seconds) -------------------------------------------

// A quick smooth rise, then an exponential fall.
Curve Strike(double attack, double decay)
{
    return [=](double t) { return SynthRise(t, attack) * std::exp(-t / decay); };
}

// Rises over `attack`, holds until `hold`, falls smoothly over `release`.
Curve Swell(double attack, double hold, double release)
{
    return [=](double t) { return SynthRise(t, attack) * (1.0 - SynthRise(t - hold, release)); };
}

// From `from` towards `to`, closing the gap by a factor e every `time`.
Curve Glide(double from, double to, double time)
{
    return [=](double t) { return to + (from - to) * std::exp(-t / time); };
}

// From `from` to `to` in a straight line over `time`, then staying.
Curve Ramp(double from, double to, double time)
{
    return [=](double t) { return from + (to - from) * std::clamp(t / time, 0.0, 1.0); };
}

// --- Sources ---------------------------------------------------------------

// Harmonics (amplitudes of 1st, 2nd, ...) of a moving frequency under an
// envelope.
Signal Tone(double seconds, const Curve &frequency, const Curve &envelope, std::initializer_list<double> harmonics)
{
    Signal s(SynthFrames(seconds));
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / SYNTH_RATE, f = frequency(t), sum = 0.0;
        int n = 1;
        for (double amp : harmonics) {
            if (n * f < 0.45 * SYNTH_RATE)
                sum += amp * SynthSin(n * phase);
            n++;
        }
        s[i] = (float)(sum * envelope(t));
        phase += f / SYNTH_RATE;
        phase -= std::floor(phase);
    }
    return s;
}

Signal Noise(double seconds, uint64_t seed, const Curve &envelope)
{
    Signal s = SynthNoise(SynthFrames(seconds), seed);
    for (size_t i = 0; i < s.size(); i++)
        s[i] = (float)(s[i] * envelope((double)i / SYNTH_RATE));
    return s;
}

// Struck partials (a wooden or metal body), with a short rise.
Signal Struck(double seconds, double frequency, const std::vector<SynthPartial> &partials, double attack)
{
    Signal s = SynthAdditive(frequency, partials, seconds);
    for (size_t i = 0; i < s.size(); i++)
        s[i] = (float)(s[i] * SynthRise((double)i / SYNTH_RATE, attack));
    return s;
}

// Sparse random pops, thinning out with `decay`: the crackle of debris.
Signal Crackle(double seconds, uint64_t seed, double rate, double decay)
{
    DataGenRandom random(seed);
    Signal s(SynthFrames(seconds), 0.0f);
    for (size_t i = 0; i < s.size(); i++) {
        double t = (double)i / SYNTH_RATE;
        if (random.Unit() < rate / SYNTH_RATE * std::exp(-t / decay))
            s[i] = (float)(random.Range(0.3, 1.0) * (random.Unit() < 0.5 ? -1.0 : 1.0));
    }
    SynthBiquad::BandPass(2000.0, 1.0).Run(&s);
    return s;
}

// --- Shaping ---------------------------------------------------------------

Signal Filtered(Signal s, SynthBiquad filter)
{
    filter.Run(&s);
    return s;
}

// A band-pass whose centre follows `centre`.
Signal Swept(const Signal &in, const Curve &centre, double q)
{
    SynthSweepFilter filter(q);
    Signal out(in.size());
    for (size_t i = 0; i < in.size(); i++) {
        double low, band, high;
        filter.Process(in[i], centre((double)i / SYNTH_RATE), &low, &band, &high);
        out[i] = (float)band;
    }
    return out;
}

// A low-pass whose corner follows `corner`.
Signal SweptLow(const Signal &in, const Curve &corner)
{
    SynthSweepFilter filter(0.707);
    Signal out(in.size());
    for (size_t i = 0; i < in.size(); i++) {
        double low, band, high;
        filter.Process(in[i], corner((double)i / SYNTH_RATE), &low, &band, &high);
        out[i] = (float)low;
    }
    return out;
}

// Sums parts, each placed at a time and scaled. A part that is cut off
// while still sounding would click, so each fades out over its last 10 ms.
struct Part {
    Signal signal;
    double at;
    double gain;
};
Signal Mix(std::initializer_list<Part> parts)
{
    Signal out;
    for (const Part &p : parts) {
        size_t start = SynthFrames(p.at), n = p.signal.size(), fade = std::min(SynthFrames(0.01), n);
        if (start + n > out.size())
            out.resize(start + n, 0.0f);
        for (size_t i = 0; i < n; i++) {
            double g = i + fade >= n ? SynthRise((double)(n - 1 - i), (double)fade) : 1.0;
            out[start + i] += (float)(p.signal[i] * p.gain * g);
        }
    }
    return out;
}

SynthBuffer Centred(const Signal &mono)
{
    SynthBuffer out;
    out.AddMono(mono, 0, 1.0, 1.0);
    return out;
}

// Two signals as the left and right channel (decorrelated noise reads as
// width).
SynthBuffer Pair(const Signal &left, const Signal &right)
{
    SynthBuffer out(std::max(left.size(), right.size()));
    std::copy(left.begin(), left.end(), out.left.begin());
    std::copy(right.begin(), right.end(), out.right.begin());
    return out;
}

// Places the sound in a small room; the buffer grows by `tail` seconds.
SynthBuffer InRoom(SynthBuffer dry, double wet, double tail)
{
    dry.Reserve(dry.Frames() + SynthFrames(tail));
    Signal send(dry.Frames());
    for (size_t i = 0; i < send.size(); i++)
        send[i] = (dry.left[i] + dry.right[i]) * 0.5f;
    SynthReverb room(0.35, 0.6);
    room.Process(send, &dry, wet);
    return dry;
}

// A chime: a bar struck once, ringing for about `decay` seconds.
Signal Chime(double frequency, double decay)
{
    return Struck(4.0 * decay, frequency,
                  {{1.0, 1.0, decay}, {2.0, 0.3, decay / 2.0}, {3.0, 0.12, decay / 4.0}, {4.16, 0.05, decay / 6.0}},
                  0.0015);
}

Signal MalletNote(int note, double held, double velocity)
{
    SynthBuffer b = InstrumentNote(IV_MALLET, InstrumentFrequency(note), held, velocity);
    return b.left;
}

// --- The effects -----------------------------------------------------------

// A light gun: a crack of noise with a short falling "pew" and a soft thump.
SynthBuffer TurretFire(uint64_t seed)
{
    double len = 0.16;
    return Centred(
        Filtered(Mix({{Filtered(Noise(len, seed, Strike(0.0015, 0.015)), SynthBiquad::BandPass(2500, 0.8)), 0, 1.6},
                      {Tone(len, Glide(1100, 280, 0.02), Strike(0.0015, 0.03), {1.0, 0.3, 0.1}), 0, 0.3},
                      {Tone(len, Glide(180, 90, 0.03), Strike(0.002, 0.04), {1.0}), 0, 0.35}}),
                 SynthBiquad::LowPass(7000, 0.7)));
}

// A boom: a falling low tone under a burst of dark noise and a small crack.
SynthBuffer CannonFire(uint64_t seed)
{
    double len = 0.5;
    Signal s = Mix({{Tone(len, Glide(190, 52, 0.05), Strike(0.002, 0.13), {1.0, 0.25}), 0, 0.7},
                    {Filtered(Noise(len, seed, Strike(0.0015, 0.07)), SynthBiquad::LowPass(2000, 0.7)), 0, 1.3},
                    {Filtered(Noise(len, seed + 1, Strike(0.0015, 0.012)), SynthBiquad::BandPass(3000, 0.9)), 0, 0.5}});
    return InRoom(Centred(s), 0.12, 0.3);
}

// A heavier boom with a rumble that rolls on and the clank of the barrel.
SynthBuffer TankFire(uint64_t seed)
{
    double len = 1.2;
    Signal s = Mix({{Tone(len, Glide(150, 40, 0.07), Strike(0.003, 0.2), {1.0, 0.3}), 0, 0.7},
                    {Filtered(Noise(len, seed, Strike(0.002, 0.16)), SynthBiquad::LowPass(1400, 0.7)), 0, 1.3},
                    {Filtered(Noise(len, seed + 1, Strike(0.02, 0.3)), SynthBiquad::LowPass(200, 0.7)), 0, 0.8},
                    {Struck(len, 420, {{1.0, 1.0, 0.08}, {2.69, 0.6, 0.05}, {4.26, 0.3, 0.03}}, 0.0015), 0, 0.2}});
    return InRoom(Centred(s), 0.15, 0.4);
}

// A small tick on the bug.
SynthBuffer TurretHit(uint64_t seed)
{
    double len = 0.1;
    return Centred(Mix({{Filtered(Noise(len, seed, Strike(0.0015, 0.008)), SynthBiquad::BandPass(3500, 1.2)), 0, 1.5},
                        {Tone(len, Glide(650, 380, 0.01), Strike(0.0015, 0.025), {1.0}), 0, 0.5}}));
}

// A thud.
SynthBuffer CannonHit(uint64_t seed)
{
    double len = 0.25;
    return Centred(Mix({{Tone(len, Glide(240, 90, 0.02), Strike(0.0015, 0.05), {1.0}), 0, 0.7},
                        {Filtered(Noise(len, seed, Strike(0.0015, 0.035)), SynthBiquad::LowPass(2500, 0.7)), 0, 1.4}}));
}

// A blast: dark noise closing down, a falling low tone and crackling debris.
SynthBuffer Explosion(uint64_t seed, double len, double decay, double low, double corner_from, double corner_to,
                      double crackle, double room)
{
    Signal s = Mix({{SweptLow(Noise(len, seed, Strike(0.002, decay)), Glide(corner_from, corner_to, decay)), 0, 1.3},
                    {Tone(len, Glide(low * 2.8, low, decay * 0.3), Strike(0.002, decay * 0.9), {1.0, 0.2}), 0, 0.5},
                    {Crackle(len, seed + 1, 90.0, decay), 0, crackle}});
    return InRoom(Centred(s), room, 0.4);
}

// A hiss of spray, lower and longer for bigger sprays, with the pump's pop.
SynthBuffer SprayFire(uint64_t seed, double len, double centre)
{
    Curve env = Swell(0.02, len - 0.15, 0.15);
    Curve band = Ramp(centre * 1.1, centre * 0.9, len);
    Signal pump = Tone(len, Glide(220, 130, 0.02), Strike(0.002, 0.03), {1.0});
    auto side = [&](uint64_t noise_seed) {
        Signal hiss = Filtered(Swept(Noise(len, noise_seed, env), band, 0.7), SynthBiquad::LowPass(7000, 0.7));
        return Mix({{hiss, 0, 1.0}, {pump, 0, 0.4}});
    };
    // Each side hisses with noise of its own, which sounds wide.
    return Pair(side(seed), side(seed + 1));
}

// A soft fizz.
SynthBuffer SprayHit(uint64_t seed, double len)
{
    return Centred(Mix({{Filtered(Noise(len, seed, Strike(0.003, 0.06)), SynthBiquad::BandPass(5000, 1.5)), 0, 1.0},
                        {Crackle(len, seed + 1, 120.0, 0.06), 0, 0.5}}));
}

// A catapult: the wooden knock of the arm, the twang of its rope, a whoosh.
SynthBuffer StoneFire(uint64_t seed)
{
    double len = 0.5;
    Curve whoosh = [](double t) { return SynthRise(t - 0.03, 0.12) * (1.0 - SynthRise(t - 0.15, 0.2)); };
    return Centred(Mix({{Struck(len, 310, {{1.0, 1.0, 0.03}, {2.57, 0.5, 0.02}, {4.4, 0.25, 0.012}}, 0.0015), 0, 0.7},
                        {Swept(Noise(len, seed, whoosh), Ramp(500, 1600, 0.35), 1.5), 0, 1.0},
                        {Tone(len, Glide(180, 160, 0.1), Strike(0.002, 0.12), {1.0, 0.5, 0.25}), 0, 0.3}}));
}

// A stone landing: a hard clack and a thud.
SynthBuffer StoneHit(uint64_t seed)
{
    double len = 0.3;
    return Centred(Mix({{Struck(len, 950, {{1.0, 1.0, 0.015}, {1.58, 0.7, 0.012}, {2.43, 0.4, 0.008}}, 0.0015), 0, 0.9},
                        {Tone(len, Glide(170, 90, 0.02), Strike(0.0015, 0.06), {1.0}), 0, 0.5},
                        {Filtered(Noise(len, seed, Strike(0.0015, 0.03)), SynthBiquad::LowPass(2000, 0.7)), 0, 0.5}}));
}

// The hollow "thoomp" of a launcher tube.
SynthBuffer GrenadeFire(uint64_t seed)
{
    double len = 0.35;
    return Centred(
        Mix({{Tone(len, Glide(320, 110, 0.025), Strike(0.002, 0.06), {1.0, 0.3}), 0, 0.8},
             {Filtered(Noise(len, seed, Strike(0.0015, 0.05)), SynthBiquad::LowPass(1200, 0.7)), 0, 1.0},
             {Filtered(Noise(len, seed + 1, Strike(0.01, 0.08)), SynthBiquad::BandPass(1500, 1.0)), 0, 0.25}}));
}

// A rocket leaving: rising roaring noise over a low rumble.
SynthBuffer MissileFire(uint64_t seed)
{
    double len = 0.75;
    Curve env = Swell(0.04, 0.35, 0.4);
    Signal s = Mix({{Swept(Noise(len, seed, env), Ramp(350, 1400, 0.6), 0.9), 0, 1.0},
                    {Filtered(Noise(len, seed + 1, env), SynthBiquad::LowPass(250, 0.7)), 0, 0.8},
                    {Tone(len, Glide(260, 120, 0.02), Strike(0.002, 0.04), {1.0}), 0, 0.5}});
    // The rocket passes from left to right as it leaves.
    SynthBuffer out(s.size());
    for (size_t i = 0; i < s.size(); i++) {
        double left, right;
        SynthPanGains(-0.3 + 0.6 * (double)i / (double)s.size(), &left, &right);
        out.left[i] = (float)(s[i] * left * SQRT2);
        out.right[i] = (float)(s[i] * right * SQRT2);
    }
    return out;
}

// Two rising chimes.
SynthBuffer Upgrade(uint64_t)
{
    return InRoom(Centred(Mix({{Chime(1046.5, 0.25), 0, 1.0}, {Chime(1568.0, 0.25), 0.09, 0.9}})), 0.3, 0.3);
}

// Four rising chimes over a rising shimmer.
SynthBuffer FullUpgrade(uint64_t seed)
{
    Curve rise = Swell(0.15, 0.2, 0.25);
    return InRoom(Centred(Mix({{Chime(1046.5, 0.25), 0, 1.0},
                               {Chime(1318.5, 0.25), 0.07, 0.9},
                               {Chime(1568.0, 0.25), 0.14, 0.9},
                               {Chime(2093.0, 0.3), 0.21, 0.9},
                               {Swept(Noise(0.6, seed, rise), Ramp(1000, 5000, 0.45), 2.0), 0, 0.15}})),
                  0.35, 0.4);
}

// A soft blip going up: a weapon is picked up.
SynthBuffer PlacingStarts(uint64_t)
{
    double len = 0.16;
    return Centred(Mix(
        {{Tone(len, [](double t) { return 480.0 + 420.0 * SynthRise(t, 0.06); }, Strike(0.002, 0.05), {1.0, 0.35, 0.1}),
          0, 1.0}}));
}

// A weapon set down: a wooden clunk and a quiet chime.
SynthBuffer Placed(uint64_t seed)
{
    double len = 0.45;
    return Centred(Mix({{Tone(len, Glide(200, 110, 0.02), Strike(0.0015, 0.05), {1.0}), 0, 1.0},
                        {Filtered(Noise(len, seed, Strike(0.0015, 0.02)), SynthBiquad::LowPass(1200, 0.7)), 0, 0.5},
                        {Chime(784.0, 0.1), 0.02, 0.35}}));
}

// A pop and a squish.
SynthBuffer BugKilled(uint64_t seed)
{
    double len = 0.22;
    Curve squish = [](double t) {
        return SynthRise(t, 0.004) * std::exp(-t / 0.05) * (1.0 + 0.6 * SynthSin(45.0 * t));
    };
    return Centred(Mix({{Tone(len, Glide(750, 170, 0.025), Strike(0.0015, 0.05), {1.0, 0.4, 0.15}), 0, 0.8},
                        {Filtered(Noise(len, seed, squish), SynthBiquad::BandPass(1100, 2.5)), 0, 1.2}}));
}

// A falling minor third, "uh-oh", in a soft hollow tone.
SynthBuffer BugAtEnd(uint64_t)
{
    Signal s =
        Mix({{Tone(0.22, Glide(392, 370, 0.1), Swell(0.01, 0.16, 0.05), {1.0, 0.0, 0.33, 0.0, 0.2, 0.0, 0.14}), 0, 1.0},
             {Tone(0.36, Glide(311, 280, 0.2), Swell(0.01, 0.22, 0.12), {1.0, 0.0, 0.33, 0.0, 0.2, 0.0, 0.14}), 0.22,
              1.0}});
    return Centred(Filtered(s, SynthBiquad::LowPass(3000, 0.7)));
}

// C, E and G on mallets, then the chord with a high chime on top.
SynthBuffer LevelComplete(uint64_t)
{
    Signal s = Mix({{MalletNote(72, 0.09, 0.8), 0, 1.0},
                    {MalletNote(76, 0.09, 0.8), 0.09, 1.0},
                    {MalletNote(79, 0.09, 0.8), 0.18, 1.0},
                    {MalletNote(84, 0.9, 1.0), 0.3, 1.0},
                    {MalletNote(76, 0.9, 0.7), 0.3, 0.7},
                    {MalletNote(79, 0.9, 0.7), 0.3, 0.7},
                    {Chime(2093.0, 0.25), 0.3, 0.3}});
    return InRoom(Centred(s), 0.45, 0.6);
}

// A short bright "ting", like a coin counted.
SynthBuffer GameWonStep(uint64_t)
{
    return Centred(
        Mix({{Struck(0.14, 1760, {{1.0, 1.0, 0.05}, {2.0, 0.25, 0.03}, {3.01, 0.1, 0.02}}, 0.0015), 0, 1.0}}));
}

typedef SynthBuffer (*Recipe)(uint64_t seed);

// In file order: 1400..1408, 1500..1508, 1580..1587.
const Recipe RECIPES[SOUND_EFFECT_COUNT] = {
    TurretFire,
    CannonFire,
    TankFire,
    [](uint64_t seed) { return SprayFire(seed, 0.28, 3500); },
    [](uint64_t seed) { return SprayFire(seed, 0.38, 2800); },
    [](uint64_t seed) { return SprayFire(seed, 0.55, 2200); },
    StoneFire,
    GrenadeFire,
    MissileFire,
    TurretHit,
    CannonHit,
    [](uint64_t seed) { return Explosion(seed, 0.5, 0.13, 45, 1500, 700, 0.2, 0.1); },
    [](uint64_t seed) { return SprayHit(seed, 0.18); },
    [](uint64_t seed) { return SprayHit(seed, 0.22); },
    [](uint64_t seed) { return SprayHit(seed, 0.26); },
    StoneHit,
    [](uint64_t seed) { return Explosion(seed, 0.9, 0.22, 38, 2500, 500, 0.3, 0.2); },
    [](uint64_t seed) { return Explosion(seed, 1.25, 0.3, 32, 2000, 350, 0.35, 0.25); },
    Upgrade,
    FullUpgrade,
    PlacingStarts,
    Placed,
    BugKilled,
    BugAtEnd,
    LevelComplete,
    GameWonStep,
};

}  // namespace

std::string SoundEffectFileName(int index)
{
    int number = index < 9 ? 1400 + index : index < 18 ? 1500 + index - 9 : 1580 + index - 18;
    return std::to_string(number) + ".dat";
}

SynthBuffer SoundEffectMake(int index)
{
    SynthBuffer sound = RECIPES[index](1000 + (uint64_t)index);
    SynthRemoveDc(&sound.left);
    SynthRemoveDc(&sound.right);
    // Guard the ends: whatever a recipe does, the sound starts and stops at
    // silence.
    SynthFadeEnds(&sound, 0.001, 0.005);
    double gain = std::pow(10.0, (SOUND_EFFECT_LOUDNESS - SynthLoudness(sound, 0.1)) / 20.0);
    double peak = sound.Peak();
    if (peak * gain > SOUND_EFFECT_PEAK)
        gain = SOUND_EFFECT_PEAK / peak;
    sound.Scale(gain);
    return sound;
}

bool SoundEffectsWriteFiles(const std::string &out_dir, std::string *error)
{
    for (int i = 0; i < SOUND_EFFECT_COUNT; i++)
        if (!WaveFileWrite(out_dir + "/" + SoundEffectFileName(i), SoundEffectMake(i), error))
            return false;
    return true;
}
