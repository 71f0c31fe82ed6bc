// Shared by the tests of the program object, the game object and the screen
// set: the modules' test ground (fresh per-user folder, headless desktop,
// settings module set up) with the generated data folder beside the test,
// the game's neighbour hooks emptied, a recorder of the calls the game makes
// through those hooks and of the screens started, and a whole game started
// on the recording device.
#pragma once

#include "tests/engine/runtime/RuntimeTestSupport.h"

#include "engine/core/EngLanguages.h"
#include "engine/core/EngMisc.h"
#include "game/Game.h"
#include "game/GameNeighbours.h"
#include "game/HW_Screens.h"
#include "game/HiveWatcher.h"
#include "game/PlayNeighbours.h"
#include "game/Program.h"
#include "game/Sound.h"
#include "gui/MWin.h"
#include "tests/modules/ModulesTestSupport.h"
#include "tests/support/TestData.h"

#include <string>
#include <vector>

namespace game_test {

// The calls recorded through the hooks, oldest first.
inline std::vector<std::string> calls;

inline std::vector<std::string> TakeCalls()
{
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
}

class GameTestBase : public modules_test::ModulesTest {
protected:
    void SetUp() override
    {
        ModulesTest::SetUp();
        LinkGeneratedDataFolder();
        GameNeighboursResetForTests();
        PlayNeighboursResetForTests();
        sound_recorder = _SoundRecorder{};
        MainResetModulesForTests();
        ProgramSetFactoryForTests(nullptr);
        calls.clear();
    }

    void TearDown() override
    {
        GameNeighboursResetForTests();
        PlayNeighboursResetForTests();
        sound_recorder = _SoundRecorder{};
        ProgramSetFactoryForTests(nullptr);
        EngLanguagesDestroy();
        ModulesTest::TearDown();
    }
};

// A screen controller that records its start ("start MAIN") and does
// nothing else.
class RecordingScreen : public MWinCollectionController {
public:
    explicit RecordingScreen(const char *name) : m_name(name) {}
    void StartingCB(void *) override { calls.push_back("start " + m_name); }

private:
    std::string m_name;
};

// The recording screens for the set's slots, by slot.
inline const char *slot_names[HWS_COUNT] = {"MAIN", "OPTN", "PLRS", "SELE", "STAT", "GENL",
                                            "POPU", "HELP", "PAUS", "ABOT", "LOGS", "GADS"};
template <int Slot> MWinCollectionController *MakeRecordingScreen(HW_Screens *screens)
{
    RecordingScreen *screen = new RecordingScreen(slot_names[Slot]);
    screen->SetScreens(screens);
    return screen;
}
inline void UseRecordingScreens()
{
    hw_screen_makers[HWS_MAIN] = MakeRecordingScreen<HWS_MAIN>;
    hw_screen_makers[HWS_OPTIONS] = MakeRecordingScreen<HWS_OPTIONS>;
    hw_screen_makers[HWS_SCORES] = MakeRecordingScreen<HWS_SCORES>;
    hw_screen_makers[HWS_PAUSE] = MakeRecordingScreen<HWS_PAUSE>;
}

// The whole game started on the recording device of the headless desktop:
// the program's start-up with a valid settings file, then the main window
// and the device, which run the game's graphics hooks and its first screen
// (the Players screen), then the 'MAIN' screen.
class StartedGameTest : public GameTestBase {
protected:
    // The screens the set is made with.
    virtual void UseScreens() { UseRecordingScreens(); }

    void SetUp() override
    {
        GameTestBase::SetUp();
        ResetRuntimeForTest();
        for (HW_ScreenMaker &maker : hw_screen_makers)
            maker = nullptr;
        UseScreens();
        ResolutionSetDefaults();
        _ResolutionSettings *s = ResolutionGetSettings();
        s->show_dialog = 0;
        s->windowed = 1;
        s->internet_test[0] = 1;
        // Checked for updates today: no weekly check at start.
        EngMiscGetCurrentDate(&s->last_update_check);
        std::strcpy(s->language, "English");
        ResolutionSaveSettings();
        ResolutionLoadSettings();
        program = new Program();
        ASSERT_EQ(program->InitCB(""), 1);
        game = program->GetGame();
        ASSERT_EQ(program->CreateMainWindowAndDevice(MainGetProgramName(), MainGetWindowClassName(),
                                                     MainGetCreateWindowParms()),
                  1);
        // The game starts on the player screens; these tests begin on 'MAIN'.
        game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
        calls.clear();
    }

    void TearDown() override
    {
        if (program) {
            program->CloseDown(1);
            delete program;
        }
        main_program = nullptr;
        for (HW_ScreenMaker &maker : hw_screen_makers)
            maker = nullptr;
        GameTestBase::TearDown();
    }

    Program *program = nullptr;
    Game *game = nullptr;
};

} // namespace game_test
