// The generated sound effects in <build>/Data: each one loads through the
// game's sound loader in the output format that "Data/1400.dat" sets, and
// each is fit to play: short, silent at both ends without a step, no offset,
// no clipping, not harsh, and all about equally loud.
#include "engine/core/EngDebug.h"
#include "engine/sound/EngSound.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/AudioSources.h"
#include "platform/audio/Mmio.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

const double PI = 3.14159265358979323846;

struct Effect {
    int number;
    const char *what;
};
const Effect EFFECTS[] = {
    {1400, "Turret fires"},
    {1401, "Cannon fires"},
    {1402, "Tank fires"},
    {1403, "Small Spray fires"},
    {1404, "Medium Spray fires"},
    {1405, "Big Spray fires"},
    {1406, "Stone Thrower fires"},
    {1407, "Grenade Launcher fires"},
    {1408, "Missile Launcher fires"},
    {1500, "Turret shot hits"},
    {1501, "Cannon shot hits"},
    {1502, "Tank shot hits"},
    {1503, "Small Spray hits"},
    {1504, "Medium Spray hits"},
    {1505, "Big Spray hits"},
    {1506, "stone hits"},
    {1507, "grenade lands"},
    {1508, "missile hits"},
    {1580, "upgrade"},
    {1581, "full upgrade"},
    {1582, "placing starts"},
    {1583, "weapon placed"},
    {1584, "bug killed"},
    {1585, "bug at the end"},
    {1586, "level complete"},
    {1587, "game-won step"},
};
const int EFFECT_COUNT = sizeof(EFFECTS) / sizeof(EFFECTS[0]);

std::string EffectPath(int number) { return std::string(HW_DATA_DIR) + "/" + std::to_string(number) + ".dat"; }

// The samples of a sound, -1..1, read through the RIFF reader.
struct Samples {
    AudioFormat format{0, 0, AST_U8};
    std::vector<float> left, right;
};

bool ReadSamples(const std::string &path, Samples *out)
{
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    HMMIO mmio = mmioOpenA(name.data(), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    std::unique_ptr<AudioSource> source;
    if (!mmio || AudioReadWaveFile(mmio, &source) != AOR_OK)
        return false;
    out->format = source->Format();
    if (out->format.type != AST_S16LE || out->format.channels != 2)
        return false;
    std::vector<int16_t> frames((size_t)source->Length() * 2);
    if (source->Read(frames.data(), source->Length()) != source->Length())
        return false;
    for (size_t i = 0; i < frames.size(); i += 2) {
        out->left.push_back(frames[i] / 32768.0f);
        out->right.push_back(frames[i + 1] / 32768.0f);
    }
    return !out->left.empty();
}

// A second-order filter for the measurements below.
class Biquad {
public:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
        : m_b{b0 / a0, b1 / a0, b2 / a0}, m_a{a1 / a0, a2 / a0}
    {
    }
    static Biquad HighPass(double f, double q, double rate)
    {
        double w = 2 * PI * f / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
        return Biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
    }
    static Biquad HighShelf(double f, double gain_db, double q, double rate)
    {
        double a = std::pow(10.0, gain_db / 40), w = 2 * PI * f / rate, c = std::cos(w);
        double sa = 2 * std::sqrt(a) * std::sin(w) / (2 * q);
        return Biquad(a * ((a + 1) + (a - 1) * c + sa), -2 * a * ((a - 1) + (a + 1) * c),
                      a * ((a + 1) + (a - 1) * c - sa), (a + 1) - (a - 1) * c + sa, 2 * ((a - 1) - (a + 1) * c),
                      (a + 1) - (a - 1) * c - sa);
    }
    double Run(double x)
    {
        double y = m_b[0] * x + m_b[1] * m_x[0] + m_b[2] * m_x[1] - m_a[0] * m_y[0] - m_a[1] * m_y[1];
        m_x[1] = m_x[0];
        m_x[0] = x;
        m_y[1] = m_y[0];
        m_y[0] = y;
        return y;
    }

private:
    double m_b[3], m_a[2];
    double m_x[2] = {0, 0}, m_y[2] = {0, 0};
};

// Loudness as the ear weighs it (the broadcast loudness weighting: a high
// shelf of +4 dB above 1.7 kHz and a high-pass at 38 Hz), over the loudest
// 100 ms, both channels summed; in dB of full scale.
double Loudness(const Samples &s)
{
    std::vector<double> power(s.left.size(), 0.0);
    for (const std::vector<float> *channel : {&s.left, &s.right}) {
        Biquad shelf = Biquad::HighShelf(1681.97, 4.0, 0.7072, s.format.rate);
        Biquad high_pass = Biquad::HighPass(38.14, 0.5003, s.format.rate);
        for (size_t i = 0; i < channel->size(); i++) {
            double y = high_pass.Run(shelf.Run((*channel)[i]));
            power[i] += y * y;
        }
    }
    size_t window = std::min(power.size(), (size_t)s.format.rate / 10);
    double sum = 0, loudest = 0;
    for (size_t i = 0; i < power.size(); i++) {
        sum += power[i];
        if (i >= window)
            sum -= power[i - window];
        if (i + 1 >= window)
            loudest = std::max(loudest, sum / window);
    }
    return 10 * std::log10(std::max(loudest, 1e-12));
}

// The share of the energy above 10 kHz: hiss and fizz there grate quickly.
double HighShare(const Samples &s)
{
    double high = 0, all = 0;
    for (const std::vector<float> *channel : {&s.left, &s.right}) {
        // Two stages for a steep edge.
        Biquad first = Biquad::HighPass(10000, 0.54, s.format.rate),
               second = Biquad::HighPass(10000, 1.31, s.format.rate);
        for (float v : *channel) {
            double y = second.Run(first.Run(v));
            high += y * y;
            all += (double)v * v;
        }
    }
    return all > 0 ? high / all : 0;
}

// The error lines logged so far, one a line.
std::string Errors()
{
    std::string errors;
    for (int i = 0; i < DebugGetNumMessages(); i++) {
        std::string line = DebugGetMessageText(i) ? DebugGetMessageText(i) : "";
        if (line.find("<ERROR>") != std::string::npos)
            errors += line + "\n";
    }
    return errors;
}

double Peak(const Samples &s)
{
    double peak = 0;
    for (size_t i = 0; i < s.left.size(); i++)
        peak = std::max({peak, (double)std::fabs(s.left[i]), (double)std::fabs(s.right[i])});
    return peak;
}

class SoundEffectFileTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        EngSoundResetForTests();
        AudioOutputSetManualMixingForTests(true, 44100);
    }
    void TearDown() override
    {
        EngSoundResetForTests();
        AudioOutputSetManualMixingForTests(false, 0);
    }
    const Effect &TheEffect() const { return EFFECTS[GetParam()]; }
};

}  // namespace

TEST_P(SoundEffectFileTest, LoadsAsAGameSoundInTheOutputFormat)
{
    // As the game starts its sound: the first firing sound sets the format.
    std::string sample = EffectPath(1400), path = EffectPath(TheEffect().number);
    ASSERT_TRUE(EngSoundInit(ESS_DIRECTSOUND, 0, 0, 0, sample.c_str(), 26));
    EngSound sound(path.c_str(), 0, nullptr);
    ASSERT_TRUE(sound.m_loaded) << TheEffect().what;
    EXPECT_EQ(WAVE_FORMAT_PCM, sound.m_format.wFormatTag);
    EXPECT_EQ(2, sound.m_format.nChannels);
    EXPECT_EQ(44100u, sound.m_format.nSamplesPerSec);
    EXPECT_EQ(16, sound.m_format.wBitsPerSample);
    EXPECT_EQ(4, sound.m_format.nBlockAlign);
    EXPECT_EQ(44100u * 4, sound.m_format.nAvgBytesPerSec);
    // Short: an effect that plays often must not drag on.
    EXPECT_GE(sound.m_length, 0.05f) << TheEffect().what;
    EXPECT_LE(sound.m_length, 2.5f) << TheEffect().what;
    EXPECT_TRUE(sound.Play());
    sound.Destroy();
    EXPECT_EQ("", Errors());
}

TEST_P(SoundEffectFileTest, StartsAndEndsInSilenceWithoutOffsetOrClipping)
{
    Samples s;
    ASSERT_TRUE(ReadSamples(EffectPath(TheEffect().number), &s)) << TheEffect().what;
    double peak = Peak(s);
    EXPECT_GT(peak, 0.1) << TheEffect().what;
    EXPECT_LE(peak, 0.9) << TheEffect().what << ": no headroom";
    for (const std::vector<float> *channel : {&s.left, &s.right}) {
        const std::vector<float> &c = *channel;
        // No sample at the limits of 16 bits.
        EXPECT_EQ(0, std::count_if(c.begin(), c.end(), [](float v) { return std::fabs(v) >= 32767 / 32768.0f; }));
        double mean = 0;
        for (float v : c)
            mean += v;
        EXPECT_LT(std::fabs(mean / c.size()), 0.001) << TheEffect().what << ": offset";
        // Silent at both ends, and no step at the start: the first half
        // millisecond stays under half the peak.
        EXPECT_LT(std::fabs(c.front()), 0.001) << TheEffect().what;
        EXPECT_LT(std::fabs(c.back()), 0.001) << TheEffect().what;
        double start = 0;
        for (size_t i = 0; i < (size_t)s.format.rate / 2000; i++)
            start = std::max(start, (double)std::fabs(c[i]));
        EXPECT_LT(start, 0.5 * peak) << TheEffect().what << ": starts with a click";
    }
}

TEST_P(SoundEffectFileTest, KeepsItsHighBandGentle)
{
    Samples s;
    ASSERT_TRUE(ReadSamples(EffectPath(TheEffect().number), &s));
    EXPECT_LT(HighShare(s), 0.1) << TheEffect().what;
}

INSTANTIATE_TEST_SUITE_P(Effects, SoundEffectFileTest, testing::Range(0, EFFECT_COUNT),
                         [](const testing::TestParamInfo<int> &info) {
                             return std::to_string(EFFECTS[info.param].number);
                         });

TEST(SoundEffectLevelsTest, AllShareOneLoudness)
{
    std::vector<double> loudness;
    for (const Effect &e : EFFECTS) {
        Samples s;
        ASSERT_TRUE(ReadSamples(EffectPath(e.number), &s)) << e.what;
        loudness.push_back(Loudness(s));
    }
    std::vector<double> sorted = loudness;
    std::sort(sorted.begin(), sorted.end());
    double median = sorted[sorted.size() / 2];
    EXPECT_GT(median, -24.0);
    EXPECT_LT(median, -9.0);
    for (int i = 0; i < EFFECT_COUNT; i++)
        EXPECT_NEAR(median, loudness[(size_t)i], 1.5) << EFFECTS[i].what;
}
