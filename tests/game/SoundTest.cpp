// The game's sounds and music in a whole game on the recording device, with
// the generated sounds and songs and the mixer run by hand (no device): the
// effects the game's events play through the engine, the song chosen at
// each change of screen and at the end scenes, the cross-fades over a fixed
// frame time, and the main song's place kept in the player's record.
#include "game/Sound.h"

#include "engine/sound/EngMusicPlayer_DX9.h"
#include "engine/sound/EngSound.h"
#include "game/Bugs.h"
#include "game/GameOver.h"
#include "game/GameWon.h"
#include "game/Weapon.h"
#include "game/Weapons.h"
#include "modules/UserClass.h"
#include "platform/audio/AudioOutput.h"
#include "screens/UserScreens.h"
#include "tests/game/GameTestSupport.h"
#include "tests/game/PlayTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using game_test::StartedGameTest;

class SoundTest : public StartedGameTest {
protected:
    void SetUp() override
    {
        AudioOutputSetManualMixingForTests(true, 44100);
        StartedGameTest::SetUp();
        options = game->GetUserOptions();
        options->sounds_on = 1;
        options->sounds_volume = 1.0f;
        options->main_music_on = 1;
        options->main_music_when = 0;
        options->main_music_volume = 0.5f;
        options->main_music_position = 0.0f;
        options->game_over_music_on = 1;
        options->game_over_music_volume = 0.5f;
        options->game_won_music_on = 1;
        options->game_won_music_volume = 0.4f;
    }

    void TearDown() override
    {
        play_game_over = play_game_won = 0;
        StartedGameTest::TearDown();
        EngSoundResetForTests();
        AudioOutputSetManualMixingForTests(false, 0);
    }

    // The slots whose sound buffer plays, each stopped again.
    static std::vector<int> TakePlayingSlots()
    {
        std::vector<int> playing;
        for (int id = 0; id < SOUND_SLOTS; id++) {
            IDirectSoundBuffer *buffer = sound_slots[id] ? sound_slots[id]->m_sound_buffer : nullptr;
            DWORD status = 0;
            if (!buffer || FAILED(buffer->GetStatus(&status)))
                continue;
            if (status & DSBSTATUS_PLAYING) {
                playing.push_back(id);
                buffer->Stop();
            }
        }
        return playing;
    }

    // Each record as "-" (off), "P" (playing) or "F" (fading out to stop).
    static std::string MusicStates()
    {
        std::string states;
        for (const _SndMusic &music : sound_music)
            states += !music.playing ? '-' : music.stop_requested ? 'F' : 'P';
        return states;
    }

    // The music ticked at a fixed frame time until every fade is done.
    static void SettleMusic()
    {
        eng_main_frame_time = 0.5f;
        for (int i = 0; i < 40; i++)
            SoundMusicTick();
    }

    _UserOptions *options = nullptr;
};

} // namespace

TEST_F(SoundTest, EveryGameSoundIsLoaded)
{
    for (int id = 0; id < SOUND_SLOTS; id++) {
        ASSERT_NE(sound_slots[id], nullptr) << id;
        EXPECT_TRUE(sound_slots[id]->m_loaded) << id;
    }
    for (const _SndMusic &music : sound_music)
        EXPECT_NE(music.player, nullptr);
    EXPECT_EQ(sound_music[SOUND_MUSIC_MAIN].position, &options->main_music_position);
}

TEST_F(SoundTest, GameEventsPlayTheirSoundsThroughTheEngine)
{
    UseStraightRoad(300);
    BugsSetSize(0.1f);
    play_money = 100000;
    play_lives = 20;
    const struct {
        const char *event;
        std::function<void()> happen;
        std::vector<int> slots;
    } cases[] = {
        {"a shot of type 4 is fired", [] { SoundPlayShotSound(4); }, {4}},
        {"a shot of type 4 hits", [] { SoundPlayShotSound2(4); }, {13}},
        {"a shot of an unknown type", [] { SoundPlayShotSound(9); }, {}},
        {"an upgrade starts", [] { AddTestWeapon(0, 0.0f, 0.0f)->StartUpgrade(); }, {18}},
        {"a full upgrade starts", [] { AddTestWeapon(0, 0.0f, 0.0f)->StartFullUpgrade(); }, {19}},
        {"a weapon is bought and placed", [] { WeaponsCreateNew(0, 0.5f, -0.5f, 0, 0); }, {21}},
        {"a bug is killed", [] { PutRoadBug(0, 1, 150, 1.0)->Hit(5.0); }, {22}},
        {"a bug reaches the end",
         [] {
             Bug *bug = PutRoadBug(0, 1, 150, 1.0);
             bug->m_distance = 300.0f;
             bug->UpdatePosition();
         },
         {23}},
        {"sound 26", [] { SoundPlay(26); }, {}},
        {"a sound with the player's sounds off",
         [this] {
             options->sounds_on = 0;
             SoundPlay(SOUND_LEVEL_COMPLETE);
             options->sounds_on = 1;
         },
         {}},
    };
    TakePlayingSlots();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.event);
        c.happen();
        EXPECT_EQ(TakePlayingSlots(), c.slots);
        BugsDeleteAll();
    }
    WeaponsDeleteAll();
}

TEST_F(SoundTest, TheSongFollowsTheScreensAndTheEndScenes)
{
    HW_Screens *screens = game->GetScreens();
    // Records in order: main, game over, game won.
    const struct {
        const char *moment;
        unsigned char when;
        std::function<void()> go;
        const char *states;
    } cases[] = {
        {"menus, always", 0, [&] { screens->GotoScreen(HW_SCREEN_OPTN, nullptr); }, "P--"},
        {"play, always: the same song goes on", 0, [&] { game->CloseMenusAndPlay(); }, "P--"},
        {"game over", 0, [] { GameOverStart(); }, "FP-"},
        {"the scores after game over", 0, [&] { game->EscapeDuringPlay(); }, "PF-"},
        {"the player screens", 0, [&] { screens->GotoScreen(USER_SCREEN_USERS, nullptr); }, "F--"},
        {"menus only: the menus", 1, [&] { screens->GotoScreen(HW_SCREEN_MAIN, nullptr); }, "P--"},
        {"menus only: play", 1, [&] { game->CloseMenusAndPlay(); }, "F--"},
        {"game won", 1, [] { GameWonInit(); }, "--P"},
        // The main song does not start for the moment the screen set starts.
        {"game only: the scores after the win", 2, [&] { game->EscapeDuringPlay(); }, "--F"},
        {"game only: play", 2, [&] { game->CloseMenusAndPlay(); }, "P--"},
        {"main song off: menus", 0, [&] {
             options->main_music_on = 0;
             screens->StartScreen(HW_SCREEN_MAIN, -1);
         }, "F--"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.moment);
        options->main_music_when = c.when;
        c.go();
        EXPECT_EQ(MusicStates(), c.states);
        SettleMusic();
    }
}

TEST_F(SoundTest, CrossFadesMoveAtTheirRatesEachFrame)
{
    eng_main_frame_time = 0.5f;
    auto volumes = [] {
        std::vector<float> v;
        for (const _SndMusic &music : sound_music)
            v.push_back(music.volume);
        return v;
    };
    game->GetScreens()->GotoScreen(HW_SCREEN_OPTN, nullptr);
    // The main song fades in from 0.001 at 0.2 a second up to its 0.5.
    const float main_in[] = {0.001f, 0.101f, 0.201f, 0.301f, 0.401f, 0.5f, 0.5f};
    for (float expected : main_in) {
        SoundMusicTick();
        EXPECT_FLOAT_EQ(sound_music[SOUND_MUSIC_MAIN].volume, expected);
    }

    // Game over: the main song fades out at 0.2 a second while the game-over
    // song fades in at 0.6 a second.
    game->CloseMenusAndPlay();
    GameOverStart();
    const std::vector<std::vector<float>> over = {
        {0.4f, 0.001f, 0.0f}, {0.3f, 0.301f, 0.0f}, {0.2f, 0.5f, 0.0f}, {0.1f, 0.5f, 0.0f}, {0.0f, 0.5f, 0.0f}};
    for (const std::vector<float> &expected : over) {
        SoundMusicTick();
        const std::vector<float> got = volumes();
        for (int i = 0; i < SOUND_MUSIC_RECORDS; i++)
            EXPECT_NEAR(got[i], expected[i], 1e-5) << i;
    }
    // Once silent, it stops.
    SoundMusicTick();
    SoundMusicTick();
    EXPECT_EQ(sound_music[SOUND_MUSIC_MAIN].playing, 0);

    // Its end: the game-over song fades out at 0.1 a second.
    GameOverEnd();
    for (float expected : {0.45f, 0.4f, 0.35f}) {
        SoundMusicTick();
        EXPECT_NEAR(sound_music[SOUND_MUSIC_GAME_OVER].volume, expected, 1e-5);
    }

    // The win song starts at its volume at once, and fades out at 0.2 a second.
    play_game_over = 0;
    GameWonInit();
    EXPECT_FLOAT_EQ(sound_music[SOUND_MUSIC_GAME_WON].volume, 0.4f);
    EXPECT_EQ(sound_music[SOUND_MUSIC_GAME_OVER].stop_requested, 1);
    GameWonEnd(0);
    for (float expected : {0.3f, 0.2f, 0.1f, 0.0f}) {
        SoundMusicTick();
        EXPECT_NEAR(sound_music[SOUND_MUSIC_GAME_WON].volume, expected, 1e-5);
    }
    SoundMusicTick();
    SoundMusicTick();
    EXPECT_EQ(sound_music[SOUND_MUSIC_GAME_WON].playing, 0);
}

TEST_F(SoundTest, TheMainSongResumesWhereItStopped)
{
    _SndMusic *main = &sound_music[SOUND_MUSIC_MAIN];
    game->GetScreens()->GotoScreen(HW_SCREEN_OPTN, nullptr);
    ASSERT_EQ(main->playing, 1);
    const double length = main->player->GetSongSize();
    ASSERT_GT(length, 4.0);
    ASSERT_TRUE(main->player->SetSongPosition(length / 4.0));
    SoundStopMusicNow(main);
    EXPECT_NEAR(options->main_music_position, 0.25f, 1e-3);
    EXPECT_EQ(main->playing, 0);

    game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
    ASSERT_EQ(main->playing, 1);
    EXPECT_NEAR(main->player->GetSongPosition(), length / 4.0, 0.05);
}

// Only a tablet restarts its music on the mark: the PC's song plays on.
TEST_F(SoundTest, MarkingTheMusicForRestartLeavesThePCsSongPlaying)
{
    _SndMusic *main = &sound_music[SOUND_MUSIC_MAIN];
    game->GetScreens()->GotoScreen(HW_SCREEN_OPTN, nullptr);
    ASSERT_EQ(main->playing, 1);
    ASSERT_TRUE(main->player->SetSongPosition(2.0));
    SoundMarkMusicForRestart();
    EXPECT_EQ(SoundIsMusicMarkedForRestart(), 1);
    SoundMusicTick();
    game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
    EXPECT_EQ(main->playing, 1);
    EXPECT_NEAR(main->player->GetSongPosition(), 2.0, 0.05);
}

TEST_F(SoundTest, AMainSongFadingOutIsTakenBackWhenItIsWantedAgain)
{
    _SndMusic *main = &sound_music[SOUND_MUSIC_MAIN];
    game->GetScreens()->GotoScreen(HW_SCREEN_OPTN, nullptr);
    SettleMusic();
    // Switched off and on again on the Sounds screen before the fade ends.
    options->main_music_on = 0;
    SoundUpdateMusicForCurrentState();
    SoundMusicTick();
    options->main_music_on = 1;
    SoundUpdateMusicForCurrentState();
    SettleMusic();
    EXPECT_EQ(main->playing, 1);
    EXPECT_FLOAT_EQ(main->volume, 0.5f);
}
