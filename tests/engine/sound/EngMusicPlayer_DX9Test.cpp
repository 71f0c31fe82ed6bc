// The music player over the mixer run by hand: set-up and its window, songs
// loaded and replaced, three songs at once at their own volumes, moving in a
// song, and the end of a song travelling as a window message to the player.
#include "engine/sound/EngMusicPlayer_DX9.h"
#include "engine/core/EngDebug.h"
#include "engine/sound/EngSound.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioOutput.h"
#include "platform/win32/Win32Messages.h"
#include "tests/fixtures/audio/TestAudioFiles.h"
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace {

const int rate = 44100;

void DrainMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// The main window's handling of its queue: each music message goes through
// the window procedure to the music player's callback. Returns the number of
// music messages.
int PumpMusicMessages()
{
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MUSIC_EVENT, WM_MUSIC_EVENT, PM_REMOVE)) {
        EXPECT_EQ(EngSoundGetMainWindow(), msg.hwnd);
        DispatchMessageA(&msg);
        count++;
    }
    return count;
}

// The sound modules as at start, with a main window on the headless desktop
// and the real clock.
std::unique_ptr<HeadlessMainWindow> ResetWithMainWindow()
{
    ResetRuntimeForTest();
    VirtualClock::Remove();
    EngSoundResetForTests();
    return std::make_unique<HeadlessMainWindow>();
}

class EngMusicPlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        main_window = ResetWithMainWindow();
        AudioOutputSetManualMixingForTests(true, rate);
        DrainMessages();
    }

    void TearDown() override
    {
        EngSoundResetForTests();
        main_window.reset();
        EXPECT_EQ(nullptr, AudioOutputGetMixer());
        AudioOutputSetManualMixingForTests(false, 0);
        DrainMessages();
    }

    std::unique_ptr<HeadlessMainWindow> main_window;

    static std::vector<float> Mix(int frames)
    {
        std::vector<float> out(static_cast<size_t>(frames) * 2);
        AudioMixer *mixer = AudioOutputGetMixer();
        if (mixer)
            mixer->Mix(out.data(), frames);
        return out;
    }

    static long Volume(EngMusicPlayer_DX9 &player)
    {
        long volume = 1;
        EXPECT_EQ(S_OK, player.m_basic_audio->get_Volume(&volume));
        return volume;
    }
};

TEST_F(EngMusicPlayerTest, InitNeedsTheWindowAndKeepsAGraphItHas)
{
    EngMusicPlayer_DX9 player;
    main_window.reset();
    EXPECT_FALSE(player.Init());
    EXPECT_TRUE(LogHas(" <ERROR>  ( EngMusicPlayer_DX9::Init )    No window"));
    EXPECT_EQ(nullptr, player.m_graph_builder);
    EXPECT_EQ(nullptr, player.m_media_event);

    main_window = std::make_unique<HeadlessMainWindow>();
    ASSERT_TRUE(player.Init());
    ASSERT_TRUE(player.m_graph_builder && player.m_media_control && player.m_media_position &&
                player.m_basic_audio && player.m_media_event);
    IGraphBuilder *graph = player.m_graph_builder;
    DebugClearLogs();
    EXPECT_TRUE(player.Init());
    EXPECT_TRUE(LogHas("EngMusicPlayer_DX9::Init > Already setup."));
    EXPECT_EQ(graph, player.m_graph_builder);
    EXPECT_FALSE(player.m_looping);

    player.Destroy();
    EXPECT_EQ(nullptr, player.m_graph_builder);
    EXPECT_EQ(nullptr, player.m_basic_audio);
}

TEST_F(EngMusicPlayerTest, OperationsWithoutASongReportNotSetup)
{
    EngMusicPlayer_DX9 player;
    EXPECT_FALSE(player.Play());
    player.Stop();
    EXPECT_FALSE(player.SetVolume(1));
    EXPECT_EQ(0.0, player.GetSongSize());
    EXPECT_EQ(0.0, player.GetSongPosition());
    EXPECT_FALSE(player.SetSongPosition(1));
    EXPECT_FALSE(player.IsPositionBeforeEnd());
    for (const char *where : {"Play", "Stop", "SetVolume", "GetSongSize", "GetSongPosition", "SetSongPosition"})
        EXPECT_TRUE(LogHas(std::string("( EngMusicPlayer_DX9::") + where + " )    Not setup.")) << where;

    EXPECT_FALSE(player.LoadSong(static_cast<const char *>(nullptr)));
    EXPECT_FALSE(player.LoadSong(""));
    EXPECT_FALSE(player.LoadSong(L""));
    EXPECT_TRUE(LogHas("( EngMusicPlayer_DX9::LoadSong )    Bad parameters."));

    // Set up, but with no song to play.
    ASSERT_TRUE(player.Init());
    EXPECT_FALSE(player.Play());
    EXPECT_TRUE(LogHas("( EngMusicPlayer_DX9::Play )    Operation failed."));
    EXPECT_FALSE(player.LoadSong("missing.ogg"));
    EXPECT_TRUE(LogHas("( EngMusicPlayer_DX9::LoadSong )    Could not render the song: file not found"));
}

TEST_F(EngMusicPlayerTest, LoadsOggByContentAndASecondSongReplacesTheFirst)
{
    std::filesystem::create_directories("Music");
    ASSERT_TRUE(TestWriteOggVorbis("Music/song.dat", 2, rate, TestSine(330, 0.4, rate * 2, 2, rate)));
    ASSERT_TRUE(TestWriteConstantWave("Music/short.dat", 8192, rate / 2, 1, rate));
    EngMusicPlayer_DX9 player;
    ASSERT_TRUE(player.LoadSong("Music\\song.dat"));
    EXPECT_DOUBLE_EQ(2.0, player.GetSongSize());
    player.PlayLooping();
    EXPECT_TRUE(player.m_looping);
    Mix(1000);

    DebugClearLogs();
    ASSERT_TRUE(player.LoadSong(L"Music/short.dat"));
    EXPECT_DOUBLE_EQ(0.5, player.GetSongSize());
    EXPECT_EQ(1, AudioOutputGetMixer()->GetVoiceCount());
    player.Play();
    EXPECT_FALSE(player.m_looping);
    EXPECT_FLOAT_EQ(0.25f, Mix(10)[0]);
}

TEST_F(EngMusicPlayerTest, ThreeSongsPlayAtOnceEachAtItsOwnVolume)
{
    ASSERT_TRUE(TestWriteConstantWave("main.wav", 16384, rate, 2, rate));      // 0.5
    ASSERT_TRUE(TestWriteConstantWave("over.wav", 8192, rate, 2, rate));       // 0.25
    ASSERT_TRUE(TestWriteConstantWave("won.wav", -16384, rate, 1, rate));      // -0.5
    EngMusicPlayer_DX9 main, over, won;
    ASSERT_TRUE(main.LoadSong("main.wav"));
    ASSERT_TRUE(over.LoadSong("over.wav"));
    ASSERT_TRUE(won.LoadSong("won.wav"));

    // The volume curve: (1 - sqrt(x)) x -10000, x kept within 0..1.
    struct {
        float volume;
        long hundredths_db;
    } table[] = {{1.0f, 0}, {0.25f, -5000}, {0.5625f, -2500}, {0.0f, -10000}, {-1.0f, -10000}, {4.0f, 0}};
    for (const auto &row : table) {
        EXPECT_TRUE(main.SetVolume(row.volume));
        EXPECT_EQ(row.hundredths_db, Volume(main)) << row.volume;
    }

    ASSERT_TRUE(main.SetVolume(1.0f));    // gain 1
    ASSERT_TRUE(over.SetVolume(0.5625f)); // gain 0.0562
    ASSERT_TRUE(won.SetVolume(0.25f));    // gain 0.00316
    main.PlayLooping();
    over.PlayLooping();
    won.PlayLooping();
    const float main_level = 0.5f, over_level = 0.25f * 0.0562341f, won_level = -0.5f * 0.0031623f;
    std::vector<float> all = Mix(100);
    EXPECT_NEAR(main_level + over_level + won_level, all[0], 0.0001f);
    EXPECT_NEAR(main_level + over_level + won_level, all[199], 0.0001f);

    main.Stop();
    EXPECT_NEAR(over_level + won_level, Mix(100)[0], 0.0001f);
    over.Stop();
    EXPECT_NEAR(won_level, Mix(100)[0], 0.0001f);
    // Each went on from where it was stopped.
    main.Play();
    EXPECT_NEAR(100.0 / rate, main.GetSongPosition(), 1e-9);
}

TEST_F(EngMusicPlayerTest, MovesInASongAndReadsThePositionBack)
{
    ASSERT_TRUE(TestWriteOggVorbis("song.ogg", 2, rate, TestSine(440, 0.5, rate * 2, 2, rate)));
    EngMusicPlayer_DX9 player;
    ASSERT_TRUE(player.LoadSong("song.ogg"));
    ASSERT_TRUE(player.SetSongPosition(1.5));
    EXPECT_NEAR(1.5, player.GetSongPosition(), 1e-6);
    ASSERT_TRUE(player.Play());
    Mix(rate / 4);
    EXPECT_NEAR(1.75, player.GetSongPosition(), 1e-6);
    EXPECT_TRUE(player.IsPositionBeforeEnd());
    EXPECT_FALSE(player.SetSongPosition(-2.0));
    EXPECT_TRUE(LogHas("( EngMusicPlayer_DX9::SetSongPosition )    Operation failed."));
    ASSERT_TRUE(player.SetSongPosition(0.25));
    EXPECT_NEAR(0.25, player.GetSongPosition(), 1e-6);
}

TEST_F(EngMusicPlayerTest, ALoopingSongStartsAgainWhenItsEndMessageIsHandled)
{
    std::vector<int16_t> ramp;
    for (int i = 0; i < rate / 10; i++)
        ramp.push_back(static_cast<int16_t>(i * 4 + 100));
    TestWave wave;
    wave.data = TestPcm16(ramp);
    ASSERT_TRUE(TestWriteFile("loop.wav", TestWaveBytes(wave)));
    EngMusicPlayer_DX9 player;
    ASSERT_TRUE(player.LoadSong("loop.wav"));
    player.PlayLooping();
    std::vector<float> first = Mix(1000);

    Mix(rate / 10);
    EXPECT_DOUBLE_EQ(0.1, player.GetSongPosition());
    EXPECT_FALSE(player.IsPositionBeforeEnd());
    EXPECT_EQ(1, PumpMusicMessages());
    EXPECT_DOUBLE_EQ(0.0, player.GetSongPosition());
    EXPECT_TRUE(player.IsPositionBeforeEnd());
    EXPECT_EQ(first, Mix(1000));

    // It keeps looping, one message per pass.
    Mix(rate / 10);
    EXPECT_EQ(1, PumpMusicMessages());
    EXPECT_EQ(first, Mix(1000));
}

TEST_F(EngMusicPlayerTest, ASongPlayedOncePostsOneEndMessageAndStaysAtItsEnd)
{
    ASSERT_TRUE(TestWriteConstantWave("once.wav", 8192, rate / 10, 1, rate));
    EngMusicPlayer_DX9 player;
    ASSERT_TRUE(player.LoadSong("once.wav"));
    ASSERT_TRUE(player.Play());
    for (int pass = 0; pass < 5; pass++)
        Mix(rate / 10);
    EXPECT_EQ(1, PumpMusicMessages());
    EXPECT_DOUBLE_EQ(0.1, player.GetSongPosition());
    EXPECT_FALSE(player.IsPositionBeforeEnd());
    EXPECT_FLOAT_EQ(0.0f, Mix(100)[0]);
    Mix(rate);
    EXPECT_EQ(0, PumpMusicMessages());

    // Stop clears looping: a song stopped and played again ends for good.
    player.PlayLooping();
    player.Stop();
    EXPECT_FALSE(player.m_looping);
}

TEST_F(EngMusicPlayerTest, AMessageLeftForAPlayerThatIsGoneIsHarmless)
{
    ASSERT_TRUE(TestWriteConstantWave("once.wav", 8192, rate / 10, 1, rate));
    auto player = std::make_unique<EngMusicPlayer_DX9>();
    ASSERT_TRUE(player->LoadSong("once.wav"));
    player->PlayLooping();
    Mix(rate / 5);
    player.reset();
    EXPECT_EQ(1, PumpMusicMessages());
}

TEST(EngMusicPlayerDeviceTest, PlaysThroughTheDummyDevice)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::unique_ptr<HeadlessMainWindow> main_window = ResetWithMainWindow();
    ASSERT_TRUE(TestWriteOggVorbis("device.ogg", 2, rate, TestSine(440, 0.3, rate / 20, 2, rate)));
    {
        EngMusicPlayer_DX9 player;
        ASSERT_TRUE(player.LoadSong("device.ogg"));
        ASSERT_TRUE(player.SetVolume(0.5f));
        player.PlayLooping();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        PumpMusicMessages();
        player.Stop();
    }
    EXPECT_EQ(nullptr, AudioOutputGetMixer());
    EngSoundResetForTests();
    main_window.reset();
    DrainMessages();
}

}  // namespace
