// The Sounds screen: which controls are enabled for a player's switches,
// the switches enabling their controls, the volume bars' range and the
// volumes and music changes passed to the game's sounds as the player moves
// them, and the way back.
#include "screens/SoundsCC.h"

#include "game/Sound.h"
#include "gui/MWinButton.h"
#include "gui/MWinScrollbar.h"
#include "tests/screens/SideScreenTest.h"

#include <cstdio>

namespace {

using namespace screens_test;
using SCC = SoundsCollectionController;

// The fake sounds module: each call with the record's values it would read.
_UserOptions *recorded_options = nullptr;

void RecordGameSoundsVolume()
{
    char line[64];
    std::snprintf(line, sizeof(line), "sounds volume %.4f", recorded_options->sounds_volume);
    calls.push_back(line);
}

void RecordMusicUpdate()
{
    char line[64];
    std::snprintf(line, sizeof(line), "update music on %d when %d", recorded_options->main_music_on,
                  recorded_options->main_music_when);
    calls.push_back(line);
}

class SoundsCCTest : public SideScreenTest {
protected:
    void SetUp() override
    {
        SideScreenTest::SetUp();
        recorded_options = Options();
        sound_recorder.game_sounds_volume = RecordGameSoundsVolume;
        sound_recorder.music_update = RecordMusicUpdate;
    }

    SoundsCC *EnterSounds()
    {
        SoundsCC *sounds = Enter<SoundsCC>(HWS_SOUNDS, HW_SCREEN_PLRS);
        calls.clear();
        return sounds;
    }

    static MWinHorzScrollbar *Bar(SoundsCC *sounds, SCC::SoundsControl control)
    {
        return dynamic_cast<MWinHorzScrollbar *>(sounds->Control(control));
    }
};

// Each switch and what it enables.
const struct Switch {
    SCC::SoundsControl control;
    unsigned char _UserOptions::*field;
    SCC::SoundsControl dependents[2];
} switches[] = {
    {SCC::SOUNDS_SOUNDS_ON, &_UserOptions::sounds_on, {SCC::SOUNDS_SOUNDS_VOL, SCC::SOUNDS_SOUNDS_VOL}},
    {SCC::SOUNDS_MAIN_MUSIC_ON, &_UserOptions::main_music_on,
     {SCC::SOUNDS_MAIN_MUSIC_ON_WHEN, SCC::SOUNDS_MAIN_MUSIC_VOL}},
    {SCC::SOUNDS_GO_MUSIC_ON, &_UserOptions::game_over_music_on, {SCC::SOUNDS_GO_MUSIC_VOL, SCC::SOUNDS_GO_MUSIC_VOL}},
    {SCC::SOUNDS_WIN_MUSIC_ON, &_UserOptions::game_won_music_on,
     {SCC::SOUNDS_WIN_MUSIC_VOL, SCC::SOUNDS_WIN_MUSIC_VOL}},
};

TEST_F(SoundsCCTest, ASwitchThatIsOffDisablesItsControlsOnEntry)
{
    for (const Switch &s : switches) {
        for (unsigned char on : {0, 1}) {
            SCOPED_TRACE(std::to_string(s.control) + " on " + std::to_string(on));
            for (const Switch &other : switches)
                Options()->*other.field = 1;
            Options()->*s.field = on;
            SoundsCC *sounds = EnterSounds();
            ASSERT_NE(sounds, nullptr);
            EXPECT_EQ(sounds->Control(s.control)->ChoiceGetSel(), on);
            EXPECT_TRUE(sounds->Control(s.control)->IsEnabled());
            for (SCC::SoundsControl dependent : s.dependents)
                EXPECT_EQ(sounds->Control(dependent)->IsEnabled(), on);
            Screens()->GoBack();
        }
    }
}

TEST_F(SoundsCCTest, TurningASwitchEnablesOrDisablesItsControlsAndKeepsTheVolume)
{
    SoundsCC *sounds = EnterSounds();
    ASSERT_NE(sounds, nullptr);
    Options()->sounds_volume = 0.37f;
    for (const Switch &s : switches) {
        SCOPED_TRACE(s.control);
        for (int on : {0, 1}) {
            sounds->Control(s.control)->ChoiceSetSel(on, 1);
            EXPECT_EQ(Options()->*s.field, on);
            for (SCC::SoundsControl dependent : s.dependents)
                EXPECT_EQ(sounds->Control(dependent)->IsEnabled(), on);
        }
    }
    EXPECT_FLOAT_EQ(Options()->sounds_volume, 0.37f);
}

TEST_F(SoundsCCTest, TheMainMusicSwitchAndItsTimeAskTheSoundsForTheRightMusic)
{
    SoundsCC *sounds = EnterSounds();
    ASSERT_NE(sounds, nullptr);
    sounds->Control(SCC::SOUNDS_MAIN_MUSIC_ON)->ChoiceSetSel(0, 1);
    sounds->Control(SCC::SOUNDS_MAIN_MUSIC_ON)->ChoiceSetSel(1, 1);
    sounds->Control(SCC::SOUNDS_MAIN_MUSIC_ON_WHEN)->ChoiceSetSel(2, 1);
    sounds->Control(SCC::SOUNDS_MAIN_MUSIC_ON_WHEN)->ChoiceSetSel(0, 1);
    // The other switches leave the music alone.
    sounds->Control(SCC::SOUNDS_GO_MUSIC_ON)->ChoiceSetSel(0, 1);
    sounds->Control(SCC::SOUNDS_WIN_MUSIC_ON)->ChoiceSetSel(0, 1);
    sounds->Control(SCC::SOUNDS_SOUNDS_ON)->ChoiceSetSel(0, 1);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"update music on 0 when 1", "update music on 1 when 1",
                                                     "update music on 1 when 2", "update music on 1 when 0"}));
}

TEST_F(SoundsCCTest, TheVolumeBarsHoldAudibleVolumesOnly)
{
    Options()->main_music_volume = 0.8f;
    SoundsCC *sounds = EnterSounds();
    ASSERT_NE(sounds, nullptr);
    for (SCC::SoundsControl control :
         {SCC::SOUNDS_SOUNDS_VOL, SCC::SOUNDS_MAIN_MUSIC_VOL, SCC::SOUNDS_GO_MUSIC_VOL, SCC::SOUNDS_WIN_MUSIC_VOL}) {
        SCOPED_TRACE(control);
        MWinHorzScrollbar *bar = Bar(sounds, control);
        ASSERT_NE(bar, nullptr);
        EXPECT_NEAR(bar->GetMin(), 0.02, 1e-6);
        EXPECT_NEAR(bar->GetMax(), 1.0, 1e-6);
        EXPECT_NEAR(bar->GetPage(), 0.098, 1e-6);
        EXPECT_NEAR(bar->GetStep(), 0.0098, 1e-6);
    }
    EXPECT_FLOAT_EQ(Bar(sounds, SCC::SOUNDS_MAIN_MUSIC_VOL)->GetPos(), 0.8f);
    EXPECT_FLOAT_EQ(Bar(sounds, SCC::SOUNDS_SOUNDS_VOL)->GetPos(), 0.5f);
    Bar(sounds, SCC::SOUNDS_SOUNDS_VOL)->SetPos(0, 1);
    EXPECT_FLOAT_EQ(Options()->sounds_volume, 0.02f);
}

TEST_F(SoundsCCTest, MovingAVolumeBarPassesTheNewVolumeOnAtOnce)
{
    SoundsCC *sounds = EnterSounds();
    ASSERT_NE(sounds, nullptr);
    const struct Case {
        SCC::SoundsControl control;
        float _UserOptions::*field;
        const char *call; // null: heard when that music next starts
        float main_music_target;
    } cases[] = {
        {SCC::SOUNDS_SOUNDS_VOL, &_UserOptions::sounds_volume, "sounds volume 0.6000", 0.3f},
        {SCC::SOUNDS_MAIN_MUSIC_VOL, &_UserOptions::main_music_volume, nullptr, 0.6f},
        {SCC::SOUNDS_GO_MUSIC_VOL, &_UserOptions::game_over_music_volume, nullptr, 0.6f},
        {SCC::SOUNDS_WIN_MUSIC_VOL, &_UserOptions::game_won_music_volume, nullptr, 0.6f},
    };
    // The main song fades towards its new volume at once.
    sound_music[SOUND_MUSIC_MAIN].target_volume = 0.3f;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.control);
        Bar(sounds, c.control)->SetPos(0.6f, 1);
        EXPECT_FLOAT_EQ(Options()->*c.field, 0.6f);
        EXPECT_FLOAT_EQ(sound_music[SOUND_MUSIC_MAIN].target_volume, c.main_music_target);
        std::vector<std::string> expected;
        if (c.call)
            expected.push_back(c.call);
        EXPECT_EQ(TakeCalls(), expected);
    }
    // A step with the keys is a move of the player's too.
    ASSERT_TRUE(Bar(sounds, SCC::SOUNDS_SOUNDS_VOL)->StepBy(1));
    EXPECT_EQ(TakeCalls(), std::vector<std::string>{"sounds volume 0.6098"});
}

TEST_F(SoundsCCTest, BackAndEscapeReturnToTheScreenBefore)
{
    for (bool escape : {false, true}) {
        SoundsCC *sounds = EnterSounds();
        ASSERT_NE(sounds, nullptr);
        if (escape)
            PressEscape();
        else
            EXPECT_EQ(Press(sounds, sounds->Control(SCC::SOUNDS_BACK)), 1);
        EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    }
    SoundsCC *sounds = EnterSounds();
    EXPECT_EQ(Press(sounds, sounds->Control(SCC::SOUNDS_SOUNDS_VOL_TEXT)), 0);
    EXPECT_EQ(Press(sounds, nullptr), 0);
    EXPECT_EQ(Current(), HW_SCREEN_PLRS);
}

} // namespace
