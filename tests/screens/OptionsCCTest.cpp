// The Options screen: what each control does, the CPU usage reaching the
// main loop at once, the help boxes, a stored value out of range, and Back
// carrying the start-up window flag into the start-up settings.
#include "screens/OptionsCC.h"

#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "modules/Resolution.h"
#include "tests/screens/SideScreenTest.h"
#include "tests/support/TestLog.h"

namespace {

using namespace screens_test;
using OCC = OptionsCollectionController;

class OptionsCCTest : public SideScreenTest {
protected:
    OptionsCC *EnterOptions() { return Enter<OptionsCC>(HWS_OPTIONS, HW_SCREEN_OPTN); }
};

TEST_F(OptionsCCTest, EachControlDoesItsOwnThing)
{
    OptionsCC *options = EnterOptions();
    ASSERT_NE(options, nullptr);
    const struct Case {
        OCC::OptionsControl control;
        char handled;
        const char *title; // of the popup it opens; null for none
        const char *message;
    } cases[] = {
        {OCC::OPTIONS_SHOW_RES_INFO, 1, "Startup Window", "Show or skip the initial startup settings window."},
        {OCC::OPTIONS_ONE_USER_INFO, 1, "",
         "Turn this option on to always load the same user at startup and skip the user selection screen."},
        {OCC::OPTIONS_DATE_FORMAT_INFO, 1, "Date Format",
         "This controls how the date is displayed in the high scores list."},
        {OCC::OPTIONS_POWER, 1, nullptr, nullptr},
        // The choices without an action and the labels are not handled.
        {OCC::OPTIONS_SHOW_RES, 0, nullptr, nullptr},
        {OCC::OPTIONS_ONE_USER, 0, nullptr, nullptr},
        {OCC::OPTIONS_DATE_FORMAT, 0, nullptr, nullptr},
        {OCC::OPTIONS_SHOW_RES_T, 0, nullptr, nullptr},
        {OCC::OPTIONS_POWER_T, 0, nullptr, nullptr},
        {OCC::OPTIONS_DATE_FORMAT_TEXT, 0, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(Press(options, options->Control(c.control)), c.handled);
        EXPECT_EQ(game->GetMWin()->IsPopupOn(), c.title != nullptr);
        if (c.title) {
            EXPECT_EQ(PopupTitle(), c.title);
            EXPECT_EQ(PopupMessage(), c.message);
            Answer(1);
        }
        EXPECT_EQ(Current(), HW_SCREEN_OPTN);
    }
    EXPECT_EQ(Press(options, nullptr), 0);
    _MWinButtonCallbackInfo info = {};
    EXPECT_EQ(options->ButtonPressedCB(options->Control(OCC::OPTIONS_BACK), nullptr), 0);
    EXPECT_EQ(options->ButtonPressedCB(nullptr, &info), 0);
}

TEST_F(OptionsCCTest, TheChoicesShowAndWriteTheRecord)
{
    Options()->show_startup_window = 0;
    Options()->always_load = 1;
    Options()->date_format = 1;
    Options()->cpu_usage = 0;
    OptionsCC *options = EnterOptions();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->Control(OCC::OPTIONS_SHOW_RES)->ChoiceGetSel(), 0);
    EXPECT_EQ(options->Control(OCC::OPTIONS_ONE_USER)->ChoiceGetSel(), 1);
    EXPECT_EQ(options->Control(OCC::OPTIONS_DATE_FORMAT)->ChoiceGetSel(), 1);
    EXPECT_EQ(options->Control(OCC::OPTIONS_POWER)->ChoiceGetSel(), 0);

    options->Control(OCC::OPTIONS_ONE_USER)->ChoiceSetSel(0, 1);
    options->Control(OCC::OPTIONS_DATE_FORMAT)->ChoiceSetSel(0, 1);
    EXPECT_EQ(Options()->always_load, 0);
    EXPECT_EQ(Options()->date_format, 0);
}

TEST_F(OptionsCCTest, ACpuUsageAboveOneShowsLowAndOtherBadValuesStay)
{
    Options()->cpu_usage = 5;
    Options()->date_format = 7;
    OptionsCC *options = EnterOptions();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->Control(OCC::OPTIONS_POWER)->ChoiceGetSel(), 1);
    EXPECT_EQ(Options()->cpu_usage, 1);
    // Any other value out of range is reported and kept.
    EXPECT_TRUE(LogHas("invalid sel : 7 (m_id: DateFormat, entries = 2)"));
    EXPECT_EQ(Options()->date_format, 7);
}

TEST_F(OptionsCCTest, CpuUsageReachesTheMainLoopAtOnceAndWithEachPlayer)
{
    OptionsCC *options = EnterOptions();
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(eng_main_program, program);
    for (int sel : {1, 0, 1}) {
        options->Control(OCC::OPTIONS_POWER)->ChoiceSetSel(sel, 1);
        EXPECT_EQ(program->GetLongSleeps(), sel);
    }
    // A player loaded later applies its own value.
    game->SaveUser(0);
    ASSERT_EQ(game->GetUser()->CreateNewUser("Bob", "GB", 0), 1);
    EXPECT_EQ(Options()->cpu_usage, 0);
    game->AfterUserLoaded(1, 0);
    EXPECT_EQ(program->GetLongSleeps(), 0);
    // Without a program object nothing is applied.
    Options()->cpu_usage = 1;
    eng_main_program = nullptr;
    OptionsApplyCpuUsage();
    eng_main_program = program;
    EXPECT_EQ(program->GetLongSleeps(), 0);
}

TEST_F(OptionsCCTest, CpuUsageHelpShowsItsSecondBoxAfterTheFirstWhateverClosesIt)
{
    OptionsCC *options = EnterOptions();
    ASSERT_NE(options, nullptr);
    for (char answer : {0, 1}) {
        SCOPED_TRACE(static_cast<int>(answer));
        Press(options, options->Control(OCC::OPTIONS_POWER_INFO));
        EXPECT_EQ(PopupTitle(), "CPU Usage");
        EXPECT_EQ(PopupMessage(), "This option controls how much of your computer's processing power the game "
                                  "uses.\n\nIf CPU Usage is reduced, the smoothness of the graphics can be affected.");
        ASSERT_TRUE(Answer(answer));
        EXPECT_EQ(PopupTitle(), "CPU Usage");
        EXPECT_EQ(PopupMessage(),
                  "Use the default value of \"High\" unless you need to run other applications while playing the "
                  "game.\n\nIf you have a laptop and it starts to heat up while playing, then you should the "
                  "\"Low\" setting.");
        ASSERT_TRUE(Answer(1));
        EXPECT_FALSE(game->GetMWin()->IsPopupOn());
    }
}

TEST_F(OptionsCCTest, LeavingCarriesTheStartupWindowFlagIntoTheSettings)
{
    // Back and Escape alike, with the window switched off and on.
    const struct Case {
        int sel;
        bool escape;
    } cases[] = {{0, false}, {1, false}, {0, true}, {1, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sel);
        ResolutionGetSettings()->show_dialog = static_cast<unsigned char>(1 - c.sel);
        OptionsCC *options = EnterOptions();
        ASSERT_NE(options, nullptr);
        options->Control(OCC::OPTIONS_SHOW_RES)->ChoiceSetSel(c.sel, 1);
        EXPECT_EQ(Options()->show_startup_window, c.sel);
        if (c.escape)
            PressEscape();
        else
            EXPECT_EQ(Press(options, options->Control(OCC::OPTIONS_BACK)), 1);
        EXPECT_EQ(Current(), HW_SCREEN_MAIN);
        EXPECT_EQ(ResolutionGetSettings()->show_dialog, c.sel);
    }
}

} // namespace
