#include "tools/datagen/SoundSynth.h"

#include <algorithm>
#include <cmath>

void SynthBuffer::Reserve(size_t frames)
{
    if (frames > left.size()) {
        left.resize(frames, 0.0f);
        right.resize(frames, 0.0f);
    }
}

void SynthBuffer::AddMono(const std::vector<float> &mono, size_t at, double gain_left, double gain_right)
{
    Reserve(at + mono.size());
    for (size_t i = 0; i < mono.size(); i++) {
        left[at + i] += (float)(mono[i] * gain_left);
        right[at + i] += (float)(mono[i] * gain_right);
    }
}

void SynthBuffer::AddBuffer(const SynthBuffer &other, size_t at, double gain)
{
    Reserve(at + other.Frames());
    for (size_t i = 0; i < other.Frames(); i++) {
        left[at + i] += (float)(other.left[i] * gain);
        right[at + i] += (float)(other.right[i] * gain);
    }
}

void SynthBuffer::Scale(double gain)
{
    for (size_t i = 0; i < Frames(); i++) {
        left[i] = (float)(left[i] * gain);
        right[i] = (float)(right[i] * gain);
    }
}

double SynthBuffer::Peak() const
{
    double peak = 0.0;
    for (size_t i = 0; i < Frames(); i++)
        peak = std::max(peak, (double)std::max(std::fabs(left[i]), std::fabs(right[i])));
    return peak;
}

size_t SynthFrames(double seconds) { return (size_t)std::lround(std::max(0.0, seconds) * SYNTH_RATE); }

void SynthPanGains(double pan, double *left, double *right)
{
    double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * SYNTH_PI / 4.0;
    *left = std::cos(angle);
    *right = std::sin(angle);
}

double SynthRise(double t, double length)
{
    if (t <= 0.0)
        return 0.0;
    if (t >= length)
        return 1.0;
    return 0.5 - 0.5 * std::cos(SYNTH_PI * t / length);
}

void SynthFadeEnds(SynthBuffer *buffer, double fade_in, double fade_out)
{
    size_t frames = buffer->Frames();
    size_t n_in = std::min(SynthFrames(fade_in), frames / 2), n_out = std::min(SynthFrames(fade_out), frames / 2);
    for (size_t i = 0; i < n_in; i++) {
        double g = SynthRise((double)i, (double)n_in);
        buffer->left[i] = (float)(buffer->left[i] * g);
        buffer->right[i] = (float)(buffer->right[i] * g);
    }
    for (size_t i = 0; i < n_out; i++) {
        double g = SynthRise((double)i, (double)n_out);
        size_t at = frames - 1 - i;
        buffer->left[at] = (float)(buffer->left[at] * g);
        buffer->right[at] = (float)(buffer->right[at] * g);
    }
}

namespace {

const int SINE_TABLE_SIZE = 4096;

const std::vector<double> &SineTable()
{
    static const std::vector<double> table = [] {
        std::vector<double> t(SINE_TABLE_SIZE + 1);
        for (int i = 0; i <= SINE_TABLE_SIZE; i++)
            t[(size_t)i] = std::sin(2.0 * SYNTH_PI * i / SINE_TABLE_SIZE);
        return t;
    }();
    return table;
}

}  // namespace

double SynthSin(double cycles)
{
    const std::vector<double> &table = SineTable();
    double x = (cycles - std::floor(cycles)) * SINE_TABLE_SIZE;
    int i = std::min((int)x, SINE_TABLE_SIZE - 1);
    double f = x - i;
    return table[(size_t)i] + (table[(size_t)i + 1] - table[(size_t)i]) * f;
}

double SynthOscillator::Next(double frequency)
{
    double value = SynthSin(m_phase);
    m_phase += frequency / SYNTH_RATE;
    m_phase -= std::floor(m_phase);
    return value;
}

std::vector<float> SynthAdditive(double frequency, const std::vector<SynthPartial> &partials, double seconds,
                                 const SynthVibrato &vibrato)
{
    size_t frames = SynthFrames(seconds);
    std::vector<float> out(frames, 0.0f);
    // The pitch factor of each sample, shared by all partials.
    std::vector<double> bend(frames, 1.0);
    if (vibrato.depth > 0.0) {
        for (size_t i = 0; i < frames; i++) {
            double t = (double)i / SYNTH_RATE;
            double grow = std::clamp((t - vibrato.delay) / std::max(vibrato.delay, 0.001), 0.0, 1.0);
            bend[i] = 1.0 + vibrato.depth * grow * SynthSin(vibrato.rate * t);
        }
    }
    const double highest = 0.45 * SYNTH_RATE / (1.0 + vibrato.depth);
    for (const SynthPartial &p : partials) {
        double f = frequency * p.ratio;
        if (f >= highest || p.amp == 0.0)
            continue;
        double step = f / SYNTH_RATE, phase = 0.0, amp = p.amp;
        double fall = p.decay > 0.0 ? std::exp(-1.0 / (p.decay * SYNTH_RATE)) : 1.0;
        for (size_t i = 0; i < frames; i++) {
            out[i] += (float)(amp * SynthSin(phase));
            phase += step * bend[i];
            if (phase >= 1.0)
                phase -= 1.0;
            amp *= fall;
        }
    }
    return out;
}

std::vector<float> SynthNoise(size_t frames, uint64_t seed)
{
    DataGenRandom random(seed);
    std::vector<float> out(frames);
    for (float &v : out)
        v = (float)random.Range(-1.0, 1.0);
    return out;
}

SynthBiquad::SynthBiquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : m_b0(b0 / a0), m_b1(b1 / a0), m_b2(b2 / a0), m_a1(a1 / a0), m_a2(a2 / a0)
{
}

SynthBiquad SynthBiquad::LowPass(double frequency, double q)
{
    double w = 2.0 * SYNTH_PI * frequency / SYNTH_RATE, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    return SynthBiquad((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

SynthBiquad SynthBiquad::HighPass(double frequency, double q)
{
    double w = 2.0 * SYNTH_PI * frequency / SYNTH_RATE, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    return SynthBiquad((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

SynthBiquad SynthBiquad::BandPass(double frequency, double q)
{
    // Unit gain at the centre.
    double w = 2.0 * SYNTH_PI * frequency / SYNTH_RATE, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    return SynthBiquad(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

SynthBiquad SynthBiquad::HighShelf(double frequency, double gain_db, double q)
{
    double a = std::pow(10.0, gain_db / 40.0), w = 2.0 * SYNTH_PI * frequency / SYNTH_RATE;
    double c = std::cos(w), alpha = std::sin(w) / (2.0 * q), sa = 2.0 * std::sqrt(a) * alpha;
    return SynthBiquad(a * ((a + 1.0) + (a - 1.0) * c + sa), -2.0 * a * ((a - 1.0) + (a + 1.0) * c),
                       a * ((a + 1.0) + (a - 1.0) * c - sa), (a + 1.0) - (a - 1.0) * c + sa,
                       2.0 * ((a - 1.0) - (a + 1.0) * c), (a + 1.0) - (a - 1.0) * c - sa);
}

double SynthBiquad::Process(double x)
{
    double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1;
    m_x1 = x;
    m_y2 = m_y1;
    m_y1 = y;
    return y;
}

void SynthBiquad::Run(std::vector<float> *signal)
{
    for (float &v : *signal)
        v = (float)Process(v);
}

void SynthSweepFilter::Process(double x, double frequency, double *low, double *band, double *high)
{
    // The trapezoidal-integrator form, which stays stable while the
    // frequency moves.
    double g = std::tan(SYNTH_PI * std::clamp(frequency, 10.0, 0.45 * SYNTH_RATE) / SYNTH_RATE);
    double h = (x - (m_damping + g) * m_s1 - m_s2) / (1.0 + m_damping * g + g * g);
    double b = g * h + m_s1;
    double l = g * b + m_s2;
    m_s1 = g * h + b;
    m_s2 = g * b + l;
    *low = l;
    *band = b * m_damping;  // unit gain at the centre
    *high = h;
}

void SynthRemoveDc(std::vector<float> *signal)
{
    const double r = 1.0 - 2.0 * SYNTH_PI * 10.0 / SYNTH_RATE;
    double x1 = 0.0, y1 = 0.0;
    for (float &v : *signal) {
        double y = v - x1 + r * y1;
        x1 = v;
        y1 = y;
        v = (float)y;
    }
}

namespace {

// Delay lengths in samples at 44.1 kHz, mutually prime-ish so the echoes
// do not pile up on one period.
const int COMB_LENGTHS[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const int ALLPASS_LENGTHS[] = {556, 441, 341, 225};
const int STEREO_SPREAD = 23;

}  // namespace

SynthReverb::SynthReverb(double room, double damping) : m_feedback(0.7 + 0.28 * room), m_damping(0.4 * damping)
{
    for (int side = 0; side < 2; side++) {
        for (int length : COMB_LENGTHS) {
            Comb comb;
            comb.line.assign((size_t)(length + side * STEREO_SPREAD), 0.0f);
            m_combs[side].push_back(comb);
        }
        for (int length : ALLPASS_LENGTHS) {
            AllPass allpass;
            allpass.line.assign((size_t)(length + side * STEREO_SPREAD), 0.0f);
            m_allpasses[side].push_back(allpass);
        }
    }
}

double SynthReverb::RunChannel(std::vector<Comb> &combs, std::vector<AllPass> &allpasses, double input)
{
    double sum = 0.0;
    for (Comb &c : combs) {
        double out = c.line[c.at];
        c.store = out * (1.0 - m_damping) + c.store * m_damping;
        c.line[c.at] = (float)(input + c.store * m_feedback);
        if (++c.at == c.line.size())
            c.at = 0;
        sum += out;
    }
    for (AllPass &a : allpasses) {
        double delayed = a.line[a.at];
        a.line[a.at] = (float)(sum + delayed * 0.5);
        if (++a.at == a.line.size())
            a.at = 0;
        sum = delayed - sum;
    }
    return sum;
}

void SynthReverb::Process(const std::vector<float> &send, SynthBuffer *out, double wet)
{
    out->Reserve(send.size());
    // The combs sum eight echoes of the input; this keeps the room's level
    // near the dry signal's.
    const double input_gain = 0.015;
    for (size_t i = 0; i < send.size(); i++) {
        double x = send[i] * input_gain;
        out->left[i] += (float)(wet * RunChannel(m_combs[0], m_allpasses[0], x));
        out->right[i] += (float)(wet * RunChannel(m_combs[1], m_allpasses[1], x));
    }
}

double SynthLoudness(const SynthBuffer &buffer, double window_seconds)
{
    // The ear's weighting: a gentle shelf up above 1.7 kHz and a high-pass
    // under 40 Hz.
    std::vector<double> power(buffer.Frames(), 0.0);
    for (int side = 0; side < 2; side++) {
        const std::vector<float> &channel = side == 0 ? buffer.left : buffer.right;
        SynthBiquad shelf = SynthBiquad::HighShelf(1681.97, 4.0, 0.7072);
        SynthBiquad high_pass = SynthBiquad::HighPass(38.14, 0.5003);
        for (size_t i = 0; i < channel.size(); i++) {
            double y = high_pass.Process(shelf.Process(channel[i]));
            power[i] += y * y;
        }
    }
    size_t window = window_seconds > 0.0 ? std::min(SynthFrames(window_seconds), power.size()) : power.size();
    if (window == 0)
        return -200.0;
    double sum = 0.0, loudest = 0.0;
    for (size_t i = 0; i < power.size(); i++) {
        sum += power[i];
        if (i >= window)
            sum -= power[i - window];
        if (i + 1 >= window)
            loudest = std::max(loudest, sum / (double)window);
    }
    return 10.0 * std::log10(std::max(loudest, 1e-20));
}
