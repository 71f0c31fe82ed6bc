// Sound effects: starting the sound system, loading wave files (and refusing
// bad ones with a report), the volume law, playing from the start, and the
// other-system and release paths. The mixer runs by hand, without a device,
// except in the last test, which uses SDL's dummy driver.
#include "engine/sound/EngSound.h"
#include "engine/core/EngDebug.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioOutput.h"
#include "tests/fixtures/audio/TestAudioFiles.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <thread>

namespace {

std::string Error(const std::string &where, const std::string &text)
{
    return " <ERROR>  ( " + where + " )    " + text;
}

class EngSoundTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        EngSoundResetForTests();
        AudioOutputSetManualMixingForTests(true, 44100);
        ASSERT_TRUE(TestWriteConstantWave("sample.wav", 0, 100, 2, 44100));
        // A tenth of a second at a quarter of full scale.
        ASSERT_TRUE(TestWriteConstantWave("quarter.wav", 8192, 4410, 1, 44100));
    }

    void TearDown() override
    {
        EngSoundResetForTests();
        AudioOutputSetManualMixingForTests(false, 0);
    }

    static bool StartDirectSound(char allow_3d = 0, char frequency_control = 0)
    {
        return EngSoundInit(ESS_DIRECTSOUND, allow_3d, frequency_control, 0, "sample.wav", 26);
    }

    static std::vector<float> Mix(int frames)
    {
        std::vector<float> out(static_cast<size_t>(frames) * 2);
        AudioMixer *mixer = AudioOutputGetMixer();
        if (mixer)
            mixer->Mix(out.data(), frames);
        return out;
    }

    static int Voices()
    {
        AudioMixer *mixer = AudioOutputGetMixer();
        return mixer ? mixer->GetVoiceCount() : -1;
    }
};

TEST_F(EngSoundTest, InitChecksItsSettingsAndStartsDirectSoundOnce)
{
    EXPECT_FALSE(EngSoundInit(ESS_NONE, 0, 0, 0, "sample.wav", 0));
    EXPECT_TRUE(LogHas(Error("EngSoundInit", "Sound parameters not setup")));
    EXPECT_FALSE(EngSoundInit(static_cast<_EngSoundSystem>(7), 0, 0, 0, "sample.wav", 0));
    EXPECT_TRUE(LogHas(Error("EngSoundUpdate", "Unknown sound system 7")));

    std::string name511(511, 'a');
    std::string name512(512, 'a');
    EXPECT_FALSE(EngSoundInit(ESS_DIRECTSOUND, 0, 0, 0, name512.c_str(), 0));
    EXPECT_TRUE(LogHas(Error("EngSoundInit", "Sample sound filename too long")));
    EXPECT_EQ(nullptr, AudioOutputGetMixer());
    DebugClearLogs();
    // 511 characters are taken; the file just does not exist.
    EXPECT_FALSE(EngSoundInit(ESS_DIRECTSOUND, 0, 0, 0, name511.c_str(), 0));
    EXPECT_FALSE(LogHas("too long"));
    EXPECT_TRUE(LogHas(Error("EngSound::EngSound", "Filename does not exist <" + name511.substr(0, 400))));

    ASSERT_TRUE(StartDirectSound());
    EngSound sound("quarter.wav", 0, nullptr);
    ASSERT_TRUE(sound.m_loaded);
    EXPECT_EQ(1, Voices());
    // The second call finds DirectSound running: the sound's buffer lives on.
    EXPECT_TRUE(StartDirectSound());
    EXPECT_EQ(1, Voices());
    EXPECT_TRUE(sound.Play());
    EXPECT_FLOAT_EQ(0.25f, Mix(10)[0]);
}

TEST_F(EngSoundTest, AMissingSampleFileTurnsSoundOffUntilAGoodStart)
{
    EXPECT_FALSE(EngSoundInit(ESS_DIRECTSOUND, 0, 0, 0, "Data/1400.dat", 26));
    EXPECT_TRUE(LogHas(Error("EngSound::EngSound", "Filename does not exist <Data/1400.dat>")));
    EXPECT_TRUE(LogHas(Error("EngSound::EngSound", "Could not load sound")));
    EXPECT_TRUE(LogHas(Error("EngSoundInit_DX9", "(primary)SetFormat - The specified wave format is not supported.")));
    EXPECT_EQ(nullptr, AudioOutputGetMixer());

    // Nothing was left running, so a later start really starts.
    EXPECT_TRUE(StartDirectSound());
    EngSound sound("quarter.wav", 0, nullptr);
    EXPECT_TRUE(sound.m_loaded);

    // Without a sample the output keeps its own format.
    EngSoundClose();
    EXPECT_TRUE(EngSoundInit(ESS_DIRECTSOUND, 0, 0, 0, nullptr, 0));
}

TEST_F(EngSoundTest, LoadsPcmWavesAndRefusesOthersWithAReport)
{
    ASSERT_TRUE(StartDirectSound(0, 1));
    TestWave stereo8;
    stereo8.channels = 2;
    stereo8.bits = 8;
    stereo8.rate = 22050;
    stereo8.format_size = 18;
    stereo8.chunk_before_data = true;
    stereo8.data.assign(22050, 0x80);  // half a second
    TestWave compressed;
    compressed.format_tag = 2;
    compressed.data.assign(400, 0);
    TestWave cut;
    cut.data.assign(400, 0);
    cut.data_size = 40000;
    TestWave no_data;
    no_data.with_data = false;
    TestWave bits24;
    bits24.bits = 24;
    bits24.data.assign(300, 0);
    TestWave empty;
    std::filesystem::create_directories("folder.wav");

    struct Case {
        const char *file;
        std::vector<uint8_t> bytes;
        std::string report;
    } cases[] = {
        {"stereo8.wav", TestWaveBytes(stereo8), ""},
        {"compressed.wav", TestWaveBytes(compressed), Error("EngSound::LoadSoundFromFileDX", "Invalid format in compressed.wav")},
        {"cut.wav", TestWaveBytes(cut), Error("EngSound::LoadSoundFromFileDX", "Damaged wave file cut.wav")},
        {"nodata.wav", TestWaveBytes(no_data), Error("EngSound::LoadSoundFromFileDX", "Damaged wave file nodata.wav")},
        {"text.wav", {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'},
         Error("EngSound::LoadSoundFromFileDX", "Damaged wave file text.wav")},
        {"bits24.wav", TestWaveBytes(bits24),
         Error("LoadSoundFromFileDX", "IDirectSound8_CreateSoundBuffer - The specified wave format is not supported.")},
        {"empty.wav", TestWaveBytes(empty),
         Error("LoadSoundFromFileDX",
               "IDirectSound8_CreateSoundBuffer - An invalid parameter was passed to the returning function.")},
        {"missing.wav", {}, Error("EngSound::EngSound", "Filename does not exist <missing.wav>")},
        {"folder.wav", {}, Error("EngSound::EngSound", "Filename does not exist <folder.wav>")},
        {"", {}, Error("EngSound::EngSound", "No filename")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        if (!c.bytes.empty()) {
            ASSERT_TRUE(TestWriteFile(c.file, c.bytes));
        }
        DebugClearLogs();
        EngSound sound(c.file, 0, nullptr);
        EXPECT_EQ(c.report.empty(), sound.m_loaded);
        EXPECT_EQ(c.report.empty(), sound.m_sound_buffer != nullptr);
        if (!c.report.empty()) {
            EXPECT_TRUE(LogHas(c.report));
            EXPECT_TRUE(LogHas(Error("EngSound::EngSound", "Could not load sound")));
        }
    }
    EngSound null_name(nullptr, 0, nullptr);
    EXPECT_FALSE(null_name.m_loaded);

    EngSound sound("stereo8.wav", 0, nullptr);
    EXPECT_FLOAT_EQ(0.5f, sound.m_length);
    EXPECT_EQ(22050u, sound.m_frequency);
    EXPECT_EQ(2, sound.m_format.nChannels);
    EXPECT_EQ(8, sound.m_format.wBitsPerSample);
    EXPECT_EQ(0, sound.m_format.cbSize);
    EXPECT_EQ(nullptr, sound.m_3d_buffer);
    // Only the good sound's buffer is left.
    EXPECT_EQ(1, Voices());
}

TEST_F(EngSoundTest, VolumeFollowsTheDecibelLawWithinItsLimits)
{
    ASSERT_TRUE(StartDirectSound());
    EngSound sound("quarter.wav", 0, nullptr);
    ASSERT_TRUE(sound.m_loaded);
    struct {
        float volume;
        LONG hundredths_db;
    } table[] = {
        {1.0f, 0}, {0.5f, -602}, {0.1f, -2000}, {0.01f, -4000}, {0.0f, -10000},
        {2.0f, 0}, {-1.0f, -10000}, {0.00001f, -10000}, {0.0001f, -8000},
        {std::numeric_limits<float>::infinity(), 0}, {std::numeric_limits<float>::quiet_NaN(), -10000},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.volume);
        sound.SetVolume(row.volume);
        LONG volume = 1;
        ASSERT_EQ(DS_OK, sound.m_sound_buffer->GetVolume(&volume));
        EXPECT_EQ(row.hundredths_db, volume);
    }
    sound.SetVolume(0.5f);
    sound.Play();
    EXPECT_NEAR(0.25f * 0.5f, Mix(10)[0], 0.0002f);
}

TEST_F(EngSoundTest, PlayingAgainRestartsInsteadOfOverlapping)
{
    std::vector<int16_t> ramp;
    for (int i = 0; i < 4410; i++)
        ramp.push_back(static_cast<int16_t>(i * 4));
    TestWave wave;
    wave.data = TestPcm16(ramp);
    ASSERT_TRUE(TestWriteFile("ramp.wav", TestWaveBytes(wave)));
    ASSERT_TRUE(StartDirectSound());
    EngSound sound("ramp.wav", 0, nullptr);
    ASSERT_TRUE(sound.Play());
    std::vector<float> first = Mix(1000);
    ASSERT_TRUE(sound.Play());
    std::vector<float> again = Mix(1000);
    EXPECT_EQ(first, again);

    // Played to its end it falls silent; played again it starts over.
    Mix(5000);
    EXPECT_FLOAT_EQ(0.0f, Mix(10)[0]);
    ASSERT_TRUE(sound.Play());
    EXPECT_EQ(first, Mix(1000));
}

TEST_F(EngSoundTest, ThreeDimensionalSoundsOnlyWhenAllowed)
{
    ASSERT_TRUE(StartDirectSound(1));
    EngSound spatial("quarter.wav", 1, nullptr);
    ASSERT_NE(nullptr, spatial.m_3d_buffer);
    float distance = 0;
    spatial.m_3d_buffer->GetMinDistance(&distance);
    EXPECT_FLOAT_EQ(1.0f, distance);
    spatial.m_3d_buffer->GetMaxDistance(&distance);
    EXPECT_FLOAT_EQ(10000.0f, distance);
    EXPECT_EQ(0u, spatial.m_frequency);
    spatial.Destroy();
    EXPECT_EQ(0, Voices());

    EngSoundClose();
    ASSERT_TRUE(StartDirectSound(0));
    EngSound flat("quarter.wav", 1, nullptr);
    EXPECT_TRUE(flat.m_loaded);
    EXPECT_EQ(nullptr, flat.m_3d_buffer);
}

TEST_F(EngSoundTest, OtherSystemsAnswerNotImplemented)
{
    EngSound sound("quarter.wav", 0, nullptr);
    EXPECT_FALSE(sound.m_loaded);
    EXPECT_TRUE(LogHas("EngSound::EngSound > Not implemented."));
    DebugClearLogs();
    EXPECT_FALSE(sound.Play());
    EXPECT_TRUE(LogHas("EngSound::Play > Not implemented."));
    sound.SetVolume(0.5f);
    EXPECT_TRUE(LogHas("EngSound::SetVolume > Not implemented."));
    EXPECT_FALSE(EngSoundIsMusicPlayingOnDevice());
    EXPECT_TRUE(LogHas(Error("EngSoundIsMusicPlayingOnDevice", "Not implemented.")));
}

TEST_F(EngSoundTest, SoundsOutlivingDirectSoundAreNotTouched)
{
    ASSERT_TRUE(StartDirectSound());
    EngSound kept("quarter.wav", 0, nullptr);
    EngSound empty("missing.wav", 0, nullptr);
    DebugClearLogs();
    EXPECT_FALSE(empty.Play());
    EXPECT_TRUE(LogHas(Error("EngSound::PlayDX", "Sound called but no buffer present")));
    empty.SetVolume(1);
    EXPECT_TRUE(LogHas(Error("EngSound::SetVolumeDX", "Sound called but no buffer present")));

    EngSoundClose();
    EXPECT_EQ(nullptr, AudioOutputGetMixer());
    DebugClearLogs();
    EXPECT_FALSE(kept.Play());
    kept.SetVolume(1);
    EXPECT_EQ(0, DebugGetNumMessages());
    kept.Destroy();
    EXPECT_TRUE(LogHas(Error("EngSound::DestroyDX", "Sound was not released")));
    EXPECT_EQ(nullptr, kept.m_sound_buffer);

    // A sound from before a restart does not reach into the new start.
    ASSERT_TRUE(StartDirectSound());
    EngSound old("quarter.wav", 0, nullptr);
    EngSoundClose();
    ASSERT_TRUE(StartDirectSound());
    DebugClearLogs();
    EXPECT_FALSE(old.Play());
    EXPECT_TRUE(LogHas(Error("EngSound::PlayDX", "Sound called but no buffer present")));
    old.Destroy();
    EXPECT_TRUE(LogHas(Error("EngSound::DestroyDX", "Sound was not released")));
    EngSound fresh("quarter.wav", 0, nullptr);
    EXPECT_TRUE(fresh.Play());
}

TEST_F(EngSoundTest, ErrorCheckNamesTheResult)
{
    EXPECT_TRUE(EngSoundErrorCheck_DX9(S_OK, "Where", "Call"));
    EXPECT_TRUE(EngSoundErrorCheck_DX9(S_FALSE, "Where", "Call"));
    EXPECT_EQ(0, DebugGetNumMessages());
    struct {
        HRESULT result;
        const char *text;
    } table[] = {
        {DSERR_BUFFERLOST, "The buffer memory has been lost and must be restored."},
        {DSERR_OBJECTNOTFOUND, "The requested object was not found."},
        {E_NOTIMPL, "The function called is not supported at this time."},
        {static_cast<HRESULT>(0x80001234), "Unknown Error (-2147478988) (0x80001234)"},
    };
    for (const auto &row : table) {
        EXPECT_FALSE(EngSoundErrorCheck_DX9(row.result, "Where", "Call"));
        EXPECT_STREQ((Error("Where", "Call - ") + row.text).c_str(), DebugGetMessageText(DebugGetNumMessages() - 1));
    }
}

TEST(EngSoundDeviceTest, InitPlayAndCloseWithoutASoundCard)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ResetEngineForTest();
    EngSoundResetForTests();
    ASSERT_TRUE(TestWriteConstantWave("beep.wav", 8192, 2205, 1, 22050));
    ASSERT_TRUE(EngSoundInit(ESS_DIRECTSOUND, 0, 0, 0, "beep.wav", 26));
    {
        EngSound sound("beep.wav", 0, nullptr);
        ASSERT_TRUE(sound.m_loaded);
        sound.SetVolume(0.5f);
        EXPECT_TRUE(sound.Play());
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        EXPECT_TRUE(sound.Play());
    }
    EngSoundClose();
    EXPECT_EQ(nullptr, AudioOutputGetMixer());
    EngSoundResetForTests();
}

}  // namespace
