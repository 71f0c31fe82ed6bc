// The log viewer's screen on the headless desktop: the list of the log's
// lines, the answers of its buttons, clearing, and going back.
#include "tests/game/GameTestSupport.h"

#include "engine/core/EngDebug.h"
#include "gui/MWinButton.h"
#include "gui/MWinWindow.h"
#include "screens/LogCC.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace game_test;

class LogCCTest : public StartedGameTest {
protected:
    void UseScreens() override
    {
        StartedGameTest::UseScreens();
        hw_screen_makers[HWS_LOG] = LogCC_Make;
    }

    LogCC *Log() { return static_cast<LogCC *>(game->GetScreens()->GetController(HWS_LOG)); }
    MWinButton *Control(LogCollectionController::Row row) { return Log()->Control(row); }
    MWin *Mwin() { return game->GetMWin(); }

    // The log file holding exactly these bytes (none: no file).
    static void WriteLog(const char *bytes)
    {
        const std::string name = DebugGetLogFilename();
        std::filesystem::remove(name);
        if (bytes)
            std::ofstream(name, std::ios::binary) << bytes;
    }

    void Open()
    {
        game->GetScreens()->GotoScreen(HW_SCREEN_LOGS, nullptr);
        ASSERT_EQ(game->GetScreens()->GetCurrentScreen(), HW_SCREEN_LOGS);
    }

    // Presses a control as the toolkit does and answers the message it
    // shows ("" for none), closing it.
    std::string Press(MWinButton *control)
    {
        EXPECT_NE(control, nullptr);
        if (!control)
            return "(no control)";
        _MWinButtonCallbackInfo info;
        std::memset(&info, 0, sizeof(info));
        control->FillCallbackInfo(&info);
        EXPECT_TRUE(Log()->ButtonPressedCB(control, &info));
        if (!Mwin()->IsPopupOn())
            return "";
        MWinButton *message = Mwin()->GetButtonFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", "MSG", 0);
        const std::string text = message && message->GetTextP() ? message->GetTextP() : "(no text)";
        Mwin()->PopupCloseIfOn();
        return text;
    }
};

TEST_F(LogCCTest, AnEmptyLogShowsSoAndBothCopiesHaveNothingToCopy)
{
    WriteLog(nullptr);
    Open();
    MWinButton *list = Control(LogCollectionController::LOG);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Log()->GetNumLines(), 0);
    EXPECT_STREQ(list->PanelGetEntryText(0), "No log entries.");
    EXPECT_EQ(Press(Control(LogCollectionController::COPY_SEL)), "There are no log entries to copy.");
    EXPECT_EQ(Press(Control(LogCollectionController::COPY_ALL)), "There are no log entries to copy.");
    EXPECT_EQ(Press(Control(LogCollectionController::HELP)),
              "Use the copy buttons to copy the log entries to the system clipboard.\n\nYou can then use an "
              "external app's \"Paste\" command to paste the entries into an e-mail or forum posting.");
}

TEST_F(LogCCTest, TheListShowsTheLinesScrolledToTheEndAndCopiesOnlyWhatIsSelected)
{
    std::string log;
    for (int i = 0; i < 40; i++)
        log += "line " + std::to_string(i) + " | ok\n\n";
    WriteLog(log.c_str());
    Open();
    MWinButton *list = Control(LogCollectionController::LOG);
    ASSERT_EQ(Log()->GetNumLines(), 40);
    EXPECT_STREQ(list->PanelGetEntryText(39), "line 39 > ok");
    int first = -1, end = -1;
    ASSERT_TRUE(list->PanelGetVisibleRange(&first, &end));
    EXPECT_EQ(end, 40) << "the newest line is shown";
    EXPECT_GT(first, 0);

    EXPECT_EQ(Press(Control(LogCollectionController::COPY_SEL)), "You have not selected any lines.");
    // Clicks toggle lines without modifier keys.
    list->PanelSetPos(3, 0, 1);
    list->PanelSetPos(5, 0, 1);
    list->PanelSetPos(3, 0, 1);
    ASSERT_EQ(list->PanelGetNumMultiPos(), 1);
    // No clipboard on the headless desktop: the failure is shown.
    EXPECT_EQ(Press(Control(LogCollectionController::COPY_SEL)),
              "A problem occurred copying the log to the clipboard.");
    EXPECT_EQ(Press(Control(LogCollectionController::COPY_ALL)),
              "A problem occurred copying the log to the clipboard.");
    EXPECT_EQ(Log()->GetNumLines(), 40) << "a failed copy changes nothing";
}

TEST_F(LogCCTest, ClearShowsOnlyWhatWasLoggedSinceAndBackLetsTheLinesGo)
{
    WriteLog("old one\nold two\n");
    Open();
    ASSERT_EQ(Log()->GetNumLines(), 2);
    EXPECT_EQ(Press(Control(LogCollectionController::CLEAR)), "");
    ASSERT_GE(Log()->GetNumLines(), 1);
    bool cleared = false;
    for (int i = 0; i < Log()->GetNumLines(); i++) {
        EXPECT_EQ(std::strstr(Log()->GetLine(i), "old "), nullptr) << Log()->GetLine(i);
        cleared = cleared || std::strstr(Log()->GetLine(i), "Cleared logs.");
    }
    EXPECT_TRUE(cleared);
    EXPECT_EQ(Control(LogCollectionController::LOG)->PanelGetNumMultiPos(), 0);

    MWinWindow *win = Log()->GetWindow(0);
    ASSERT_NE(win, nullptr);
    ASSERT_NE(win->GetHideButton(), nullptr);
    EXPECT_EQ(Press(win->GetHideButton()), "");
    EXPECT_EQ(Log()->GetNumLines(), 0);
    EXPECT_EQ(game->GetScreens()->GetCurrentScreen(), HW_SCREEN_MAIN);
}

} // namespace
