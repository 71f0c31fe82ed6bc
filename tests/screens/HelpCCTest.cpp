// The Help screen: turning the pages, each page's text and its layout in
// the script button, the page text kept alive while the button shows it,
// the Keys box, the tutorial hints switched back on, and the way back.
#include "screens/HelpCC.h"

#include "engine/core/EngMemory.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinScriptButton.h"
#include "tests/screens/SideScreenTest.h"

#include <cstring>

namespace {

using namespace screens_test;
using HCC = HelpCollectionController;

class HelpCCTest : public SideScreenTest {
protected:
    HelpCC *EnterHelp() { return Enter<HelpCC>(HWS_HELP, HW_SCREEN_HELP); }

    static MWinScriptButton *Info(HelpCC *help)
    {
        return dynamic_cast<MWinScriptButton *>(help->Control(HCC::HELP_INFO));
    }

    static std::string Compose(int page)
    {
        char *text = HelpCC::ComposePageText(page);
        std::string composed = text ? text : "(null)";
        EngFree(text, 0, "HelpCCTest");
        return composed;
    }
};

TEST_F(HelpCCTest, PrevAndNextTurnThePagesWithinTheFive)
{
    HelpCC *help = EnterHelp();
    ASSERT_NE(help, nullptr);
    MWinButton *prev = help->Control(HCC::HELP_PREV), *next = help->Control(HCC::HELP_NEXT),
               *back = help->Control(HCC::HELP_BACK);
    const struct Step {
        MWinButton *press; // null: as the screen starts
        int page;
        bool prev_on, next_on;
        const char *back_text;
    } steps[] = {
        {nullptr, 0, false, true, "Back"},
        {next, 1, true, true, "Back"},
        {prev, 0, false, true, "Back"},
        {prev, 0, false, true, "Back"},
        {next, 1, true, true, "Back"},
        {next, 2, true, true, "Back"},
        {next, 3, true, true, "Back"},
        {next, 4, true, false, "Done"},
        {next, 4, true, false, "Done"},
        // "Done" stays while the screen is up.
        {prev, 3, true, true, "Done"},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.page);
        if (s.press) {
            EXPECT_EQ(Press(help, s.press), 1);
        }
        EXPECT_EQ(help->GetPage(), s.page);
        EXPECT_EQ(prev->IsEnabled(), s.prev_on);
        EXPECT_EQ(next->IsEnabled(), s.next_on);
        EXPECT_STREQ(back->GetTextP(), s.back_text);
        EXPECT_STREQ(help->GetPageText(), Compose(s.page).c_str());
    }
    // The next visit starts on the first page with Back again.
    Press(help, back);
    help = EnterHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->GetPage(), 0);
    EXPECT_STREQ(help->Control(HCC::HELP_BACK)->GetTextP(), "Back");
}

TEST_F(HelpCCTest, APageIsItsTitleAndBodyWithTheSecondHeadingWhenItHasOne)
{
    EXPECT_EQ(Compose(3), "<1>Targeting\n\nYou can also control the targeting mode of the weapon by selecting one of "
                          "the following modes in the weapon info window:\n\nFRONT:  Target the front most bug in "
                          "range (default setting)\nBACK:  Target the back most bug in range.\nSTRONG:  Target the "
                          "strongest bug in range.\nWEAK:  Target the weakest bug in range.\nNEAR:  Target the "
                          "nearest bug in range.\n\n\n<1>Pausing & Resuming\n\nPress the spacebar or the PAUSE or "
                          "RESUME button to pause the progress of the bugs. This pauses upgrades also, but you still "
                          "have full control of your weapons.");
    const struct Page {
        const char *starts;
        const char *heading; // null for none
        const char *ends;
    } pages[] = {
        {"<1>Objective\n\nYour objective", "\n\n\n<1>Creating Factories & Weapons\n\nBefore you can",
         "create a factory, first select one by clicking on it with the mouse. Next move the mouse onto your garden "
         "and then click again to place the factory.\n\nAfter you create a factory one of your weapons will be "
         "available. Repeat the procedure above to place a weapon in the garden."},
        {"<1>Upgrading\n\nA weapon can be upgraded to improve its capabilities. To upgrade",
         "\n\n\n<1>Full Upgrades\n\nA \"Full Upgrade\"",
         "added together. Select \"Full Upgrade\" or press the \"F\" key to do a full upgrade of the selected "
         "weapon.\n\nThe weapons level is displayed when you move the mouse over it."},
        {"<1>Weapons\n\nWeapons all have", nullptr,
         "slows down a bug.\n\nThese characteristics are shown in a window when you select a weapon. The numbers "
         "shown on the right in the window represent the characteristics for the next upgrade level."},
        {"<1>Tips\n\nFactories, weapons", nullptr, "ineffective against the stronger bugs."},
    };
    const int numbers[] = {0, 1, 2, 4};
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(numbers[i]);
        const std::string text = Compose(numbers[i]);
        EXPECT_EQ(text.rfind(pages[i].starts, 0), 0u);
        EXPECT_EQ(text.find("\n\n\n<1>") != std::string::npos, pages[i].heading != nullptr);
        if (pages[i].heading) {
            EXPECT_NE(text.find(pages[i].heading), std::string::npos);
        }
        EXPECT_EQ(text.substr(text.size() - std::strlen(pages[i].ends)), pages[i].ends);
    }
}

TEST_F(HelpCCTest, EveryPageIsLaidOutWhole)
{
    HelpCC *help = EnterHelp();
    ASSERT_NE(help, nullptr);
    for (int page = 0; page <= HelpCC::HELP_LAST_PAGE; page++) {
        SCOPED_TRACE(page);
        if (page > 0)
            Press(help, help->Control(HCC::HELP_NEXT));
        MWinScriptButton *info = Info(help);
        ASSERT_NE(info, nullptr);
        // A title, the body's paragraphs and, on three pages, the heading in
        // style 1, each with lines of its own.
        ASSERT_GE(info->GetNumParagraphs(), 3);
        EXPECT_EQ(info->GetParagraph(0)->m_style, 1);
        EXPECT_GT(info->GetTotalLines(), info->GetNumParagraphs());
    }
    EXPECT_FALSE(LogHas("Bad start pos"));
    EXPECT_FALSE(LogHas("Bad end pos"));
}

TEST_F(HelpCCTest, AnUnknownPageIsReportedAndGivesNoText)
{
    for (int page : {-1, 5, 127}) {
        SCOPED_TRACE(page);
        EXPECT_EQ(HelpCC::ComposePageText(page), nullptr);
        EXPECT_TRUE(LogHas("Bad page num " + std::to_string(page) + "."));
    }
}

TEST_F(HelpCCTest, ThePageTextOutlivesItsUseByTheScriptButton)
{
    HelpCC *help = EnterHelp();
    ASSERT_NE(help, nullptr);
    Press(help, help->Control(HCC::HELP_NEXT));
    const int paragraphs = Info(help)->GetNumParagraphs();
    ASSERT_GT(paragraphs, 0);
    // The button has let go of the page before Back frees its text, and
    // drawing what the button still holds touches nothing freed.
    EXPECT_EQ(Press(help, help->Control(HCC::HELP_BACK)), 1);
    EXPECT_EQ(help->GetPageText(), nullptr);
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    game->Render();
    // A text left over when the program ends goes with the screen.
    help = EnterHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_NE(help->GetPageText(), nullptr);
}

TEST_F(HelpCCTest, EnteringTurnsTheHintsOnAndKeysListsTheShortcuts)
{
    Options()->tutorial_hints = 0;
    HelpCC *help = EnterHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(Options()->tutorial_hints, 1);
    EXPECT_EQ(Press(help, help->Control(HCC::HELP_KEYS)), 1);
    EXPECT_EQ(PopupTitle(), "");
    EXPECT_EQ(PopupMessage(), "U: Upgrade Weapon\n\nF: Full Upgrade Weapon\n\nG: Place Gun\n\nS: Place Spray\n\n"
                              "P: Place Projectile\n\nSpace: Pause/Resume\n\nEscape: Menus");
    Answer(1);
    EXPECT_EQ(Press(help, help->Control(HCC::HELP_INFO)), 0);
    PressEscape();
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
}

} // namespace
