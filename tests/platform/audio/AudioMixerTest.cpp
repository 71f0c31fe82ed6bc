// The mixer run directly into a buffer, without a device: the volume law,
// playing once and looping, ends, positions, resampling and the sum of voices.
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioSources.h"
#include "tests/fixtures/audio/TestAudioFiles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const int rate = 44100;

std::unique_ptr<AudioSource> Constant(int16_t value, size_t frames, int source_rate = rate)
{
    AudioFormat format = {source_rate, 1, AST_S16LE};
    return AudioMakeMemorySource(format, TestPcm16Constant(value, frames, 1));
}

// A mono ramp 0, 1, 2 ... in 16-bit steps, so every frame is told apart.
std::unique_ptr<AudioSource> Ramp(size_t frames)
{
    std::vector<int16_t> samples;
    for (size_t i = 0; i < frames; i++)
        samples.push_back(static_cast<int16_t>(i * 16));
    AudioFormat format = {rate, 1, AST_S16LE};
    return AudioMakeMemorySource(format, TestPcm16(samples));
}

std::vector<float> Mix(AudioMixer &mixer, int frames)
{
    std::vector<float> out(static_cast<size_t>(frames) * 2, 99.0f);
    mixer.Mix(out.data(), frames);
    return out;
}

void CountEnd(void *user)
{
    ++*static_cast<int *>(user);
}

TEST(AudioMixerTest, VolumeFollowsHundredthsOfADecibel)
{
    struct {
        long volume;
        float gain;
    } table[] = {
        {0, 1.0f}, {-602, 0.5004f}, {-2000, 0.1f}, {-6000, 0.001f}, {-10000, 0.0f}, {500, 1.0f}, {-20000, 0.0f},
    };
    AudioMixer mixer(rate);
    std::unique_ptr<AudioVoice> voice = AudioVoice::Create(mixer, Constant(16384, 10000));
    ASSERT_TRUE(voice);
    voice->Start(true);
    for (const auto &row : table) {
        SCOPED_TRACE(row.volume);
        voice->SetVolume(row.volume);
        EXPECT_LE(-10000, voice->GetVolume());
        EXPECT_GE(0, voice->GetVolume());
        EXPECT_NEAR(row.gain, AudioVoice::GainOfVolume(row.volume), 0.0005f);
        std::vector<float> out = Mix(mixer, 64);
        EXPECT_NEAR(0.5f * row.gain, out[0], 0.0002f);
        EXPECT_NEAR(0.5f * row.gain, out[127], 0.0002f);
    }
}

TEST(AudioMixerTest, VoicesAddUpEachAtItsOwnLevelWithinLimits)
{
    AudioMixer mixer(rate);
    std::unique_ptr<AudioVoice> a = AudioVoice::Create(mixer, Constant(16384, 10000));
    std::unique_ptr<AudioVoice> b = AudioVoice::Create(mixer, Constant(8192, 10000));
    std::unique_ptr<AudioVoice> c = AudioVoice::Create(mixer, Constant(-16384, 10000));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(3, mixer.GetVoiceCount());
    a->SetVolume(0);
    b->SetVolume(-602);
    c->SetVolume(-2000);
    for (AudioVoice *voice : {a.get(), b.get(), c.get()})
        voice->Start(false);
    EXPECT_NEAR(0.5f + 0.125f - 0.05f, Mix(mixer, 100)[10], 0.001f);

    b->Stop();
    EXPECT_NEAR(0.5f - 0.05f, Mix(mixer, 100)[10], 0.001f);

    // Loud voices are limited to full scale.
    a->SetVolume(0);
    std::unique_ptr<AudioVoice> d = AudioVoice::Create(mixer, Constant(30000, 10000));
    d->Start(false);
    c.reset();
    EXPECT_EQ(3, mixer.GetVoiceCount());
    EXPECT_FLOAT_EQ(1.0f, Mix(mixer, 100)[10]);
}

TEST(AudioMixerTest, APlayOnceVoiceStopsAtItsEndAndReportsItOnce)
{
    AudioMixer mixer(rate);
    std::unique_ptr<AudioVoice> voice = AudioVoice::Create(mixer, Constant(16384, 1000));
    int ends = 0;
    voice->SetEndCallback(CountEnd, &ends);
    voice->Start(false);

    std::vector<float> out = Mix(mixer, 3000);
    EXPECT_FLOAT_EQ(0.5f, out[2 * 999]);
    EXPECT_FLOAT_EQ(0.0f, out[2 * 1000]);
    EXPECT_FALSE(voice->IsPlaying());
    EXPECT_TRUE(voice->IsAtEnd());
    EXPECT_EQ(1000, voice->GetPosition());
    Mix(mixer, 3000);
    EXPECT_EQ(1, ends);
}

TEST(AudioMixerTest, ASongStaysStartedAtItsEndUntilMovedBack)
{
    AudioMixer mixer(rate);
    std::unique_ptr<AudioVoice> voice = AudioVoice::Create(mixer, Constant(16384, 1000));
    int ends = 0;
    voice->SetStopAtEnd(false);
    voice->SetEndCallback(CountEnd, &ends);
    voice->Start(false);
    Mix(mixer, 3000);
    Mix(mixer, 3000);
    EXPECT_EQ(1, ends);
    EXPECT_TRUE(voice->IsPlaying());
    EXPECT_TRUE(voice->IsAtEnd());

    voice->SetPosition(0);
    EXPECT_FALSE(voice->IsAtEnd());
    EXPECT_FLOAT_EQ(0.5f, Mix(mixer, 500)[0]);
    Mix(mixer, 3000);
    EXPECT_EQ(2, ends);
}

TEST(AudioMixerTest, ALoopingVoiceWrapsWithoutEnding)
{
    AudioMixer mixer(rate);
    std::unique_ptr<AudioVoice> voice = AudioVoice::Create(mixer, Ramp(1000));
    int ends = 0;
    voice->SetEndCallback(CountEnd, &ends);
    voice->Start(true);

    std::vector<float> out = Mix(mixer, 2500);
    for (int frame : {0, 1, 500, 999})
        EXPECT_FLOAT_EQ(out[2 * static_cast<size_t>(frame)], out[2 * static_cast<size_t>(frame + 1000)]) << frame;
    EXPECT_FLOAT_EQ(out[2 * 400], out[2 * 2400]);
    EXPECT_EQ(0, ends);
    EXPECT_TRUE(voice->IsPlaying());
    EXPECT_EQ(500, voice->GetPosition());
}

TEST(AudioMixerTest, StopKeepsThePositionAndAStartGoesOnFromThere)
{
    AudioMixer mixer(rate);
    std::unique_ptr<AudioVoice> voice = AudioVoice::Create(mixer, Ramp(1000));
    voice->Start(false);
    std::vector<float> first = Mix(mixer, 300);
    voice->Stop();
    EXPECT_EQ(300, voice->GetPosition());
    EXPECT_FLOAT_EQ(0.0f, Mix(mixer, 100)[0]);
    voice->Start(false);
    std::vector<float> second = Mix(mixer, 100);
    EXPECT_FLOAT_EQ(300 * 16 / 32768.0f, second[0]);
}

TEST(AudioMixerTest, ResamplesAndKeepsPositionsInSourceFrames)
{
    AudioMixer mixer(rate);
    // One second at half the output rate.
    std::unique_ptr<AudioVoice> voice = AudioVoice::Create(mixer, Constant(16384, 22050, 22050));
    ASSERT_TRUE(voice);
    EXPECT_EQ(22050, voice->GetLength());

    voice->SetPosition(11025);
    EXPECT_EQ(11025, voice->GetPosition());
    voice->Start(false);
    std::vector<float> out = Mix(mixer, 4410);  // 0.1 s
    EXPECT_NEAR(0.5f, out[2 * 2000], 0.01f);
    EXPECT_EQ(11025 + 2205, voice->GetPosition());

    // The rest of the second comes out as 0.4 s at the output rate.
    int heard = 0;
    for (int pass = 0; pass < 10; pass++) {
        std::vector<float> more = Mix(mixer, 4410);
        for (size_t i = 0; i < more.size(); i += 2)
            heard += std::fabs(more[i]) > 0.25f;
    }
    EXPECT_NEAR(4 * 4410, heard, 64);
    EXPECT_EQ(22050, voice->GetPosition());

    voice->SetPosition(50000);
    EXPECT_EQ(22050, voice->GetPosition());
}

TEST(AudioMixerTest, RefusesFormatsItCannotConvert)
{
    AudioMixer mixer(rate);
    AudioFormat six_channels = {rate, 6, AST_S16LE};
    EXPECT_FALSE(AudioVoice::Create(mixer, AudioMakeMemorySource(six_channels, std::vector<unsigned char>(12))));
    EXPECT_FALSE(AudioVoice::Create(mixer, nullptr));
    EXPECT_EQ(0, mixer.GetVoiceCount());
}

}  // namespace
