// The popups driven headless through injected clicks, keys and the virtual
// clock: their buttons, texts and answers, the time-out, dimming and the
// restored activation, failed builds, text entry, panel selection and the
// blocking messages' own frames.
#include "tests/support/GuiTestKit.h"

#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "platform/win32/Win32Input.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// The answers a popup gave, in order.
struct Answers {
    std::vector<int> results;
    std::function<void(MWin *, char)> then;

    static void Done(MWin *mwin, char result, void *user)
    {
        Answers *answers = static_cast<Answers *>(user);
        answers->results.push_back(result);
        if (answers->then)
            answers->then(mwin, result);
    }
};

class MWinPopupsTest : public GuiTest {
protected:
    Answers answers;
    MWinCollection *back = nullptr;
    MWinWindow *back_window = nullptr;

    void SetUp() override
    {
        GuiTest::SetUp();
        // The game's look, with the kit's skin and font.
        mwin->PopupSetStyle("White", "Grey", "Main", "White", "Main", 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1.2f, 1.2f, 1);
        // A screen behind the popups.
        back = AddCollection("BACK");
        back_window = AddWindow(back, "WIN", 0, 0, 640, 480);
        back_window->AddButton("B", MWBT_PUSH, "White", "Back", 10, 10, 100, 30);
        back->Activate();
    }

    MWinWindow *PopupWindow() { return mwin->GetWindowFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", 0); }

    void ClickPopupButton(int which)
    {
        MWinButton *button = mwin->GetPopupButton(which);
        ASSERT_NE(button, nullptr);
        _Dimension d;
        ASSERT_TRUE(button->GetScreenDimension(&d));
        Click(d.x + d.w / 2, d.y + d.h / 2);
    }

    // A key, then the tick that delivers the press it queued.
    void KeyAndTick(int vk)
    {
        Key(vk);
        mwin->Tick();
    }

    std::string ButtonText(int which)
    {
        MWinButton *button = mwin->GetPopupButton(which);
        return button && button->GetTextP() ? button->GetTextP() : "";
    }

    float ButtonX(int which) { return mwin->GetPopupButton(which)->GetDimensionP()->x; }
};

enum Box { OK_BOX, OK_CANCEL, YES_NO, YES_NO_CANCEL };

char Ask(MWin *mwin, Box box, Answers *answers)
{
    switch (box) {
    case OK_BOX: return mwin->PopupOk("Question", "Go on?", Answers::Done, answers);
    case OK_CANCEL: return mwin->PopupOkCancel("Question", "Go on?", Answers::Done, answers);
    case YES_NO: return mwin->PopupYesNo("Question", "Go on?", Answers::Done, answers);
    case YES_NO_CANCEL: return mwin->PopupYesNoCancel("Question", "Go on?", Answers::Done, answers);
    }
    return 0;
}

TEST_F(MWinPopupsTest, ClicksKeysAndTheTimeOutAnswerEachKindOfBox)
{
    enum Action { CLICK_OK, CLICK_CANCEL, CLICK_NO, ENTER, ESCAPE, TIME_OUT };
    const struct {
        const char *name;
        Box box;
        Action action;
        // -1: no answer.
        int result;
        bool still_open;
    } cases[] = {
        {"OK box, click", OK_BOX, CLICK_OK, 1, false},
        {"OK box, Enter", OK_BOX, ENTER, 1, false},
        {"OK box, Escape", OK_BOX, ESCAPE, 1, false},
        {"OK/Cancel, OK", OK_CANCEL, CLICK_OK, 1, false},
        {"OK/Cancel, Cancel", OK_CANCEL, CLICK_CANCEL, 0, false},
        {"OK/Cancel, Enter", OK_CANCEL, ENTER, 1, false},
        {"OK/Cancel, Escape", OK_CANCEL, ESCAPE, 0, false},
        {"Yes/No, No", YES_NO, CLICK_CANCEL, 0, false},
        // Neither of a Yes/No box's buttons is the default or the escape.
        {"Yes/No, Escape", YES_NO, ESCAPE, -1, true},
        {"Yes/No/Cancel, No", YES_NO_CANCEL, CLICK_NO, 2, false},
        {"Yes/No/Cancel, Yes", YES_NO_CANCEL, CLICK_OK, 1, false},
        {"Yes/No/Cancel, Escape", YES_NO_CANCEL, ESCAPE, 0, false},
        {"OK/Cancel, time-out", OK_CANCEL, TIME_OUT, -1, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        answers.results.clear();
        ASSERT_TRUE(Ask(mwin, c.box, &answers));
        EXPECT_TRUE(mwin->IsPopupOn());
        EXPECT_FALSE(back->IsActive());
        switch (c.action) {
        case CLICK_OK: ClickPopupButton(MWIN_POPUP_OK); break;
        case CLICK_CANCEL: ClickPopupButton(MWIN_POPUP_CANCEL); break;
        case CLICK_NO: ClickPopupButton(MWIN_POPUP_NO); break;
        case ENTER: KeyAndTick(VK_RETURN); break;
        case ESCAPE: KeyAndTick(VK_ESCAPE); break;
        case TIME_OUT:
            mwin->PopupSetTimeout(2);
            VirtualClock::Advance(1000);
            EngMainUpdateProgramTime();
            mwin->Tick();
            EXPECT_TRUE(mwin->IsPopupOn());
            VirtualClock::Advance(1500);
            EngMainUpdateProgramTime();
            mwin->Tick();
            break;
        }
        EXPECT_EQ(answers.results, c.result < 0 ? std::vector<int>{} : std::vector<int>{c.result});
        EXPECT_EQ(mwin->IsPopupOn(), c.still_open);
        if (!c.still_open) {
            // What the popup changed is back.
            EXPECT_TRUE(back->IsActive());
            EXPECT_TRUE(back_window->IsActive());
            EXPECT_FALSE(mwin->GetDesktop()->GetDimInactive());
            EXPECT_EQ(mwin->GetCollectionFromID("MWIN_POPUP", 0), nullptr);
        }
        mwin->PopupCloseIfOn();
    }
    EXPECT_FALSE(LogHasLine("Internal Error"));
}

TEST_F(MWinPopupsTest, ButtonsAreLaidOutWithTheirUsualAndOneShotTexts)
{
    ASSERT_TRUE(mwin->PopupYesNoCancel(nullptr, "Save?", nullptr, nullptr));
    EXPECT_EQ(ButtonText(MWIN_POPUP_OK), "Yes");
    EXPECT_EQ(ButtonText(MWIN_POPUP_NO), "No");
    EXPECT_EQ(ButtonText(MWIN_POPUP_CANCEL), "Cancel");
    EXPECT_LT(ButtonX(MWIN_POPUP_OK), ButtonX(MWIN_POPUP_NO));
    EXPECT_LT(ButtonX(MWIN_POPUP_NO), ButtonX(MWIN_POPUP_CANCEL));
    // The row is centred in the window.
    MWinButton *cancel = mwin->GetPopupButton(MWIN_POPUP_CANCEL);
    float right_gap = PopupWindow()->GetDesignWidth() - (ButtonX(MWIN_POPUP_CANCEL) + cancel->GetDimensionP()->w);
    EXPECT_NEAR(ButtonX(MWIN_POPUP_OK), right_gap, 1);
    mwin->PopupCloseIfOn();

    // One-shot texts change only the next popup, and only what was given.
    mwin->PopupSetButtonTexts("Go", nullptr);
    ASSERT_TRUE(mwin->PopupOkCancel(nullptr, "Start?", nullptr, nullptr));
    EXPECT_EQ(ButtonText(MWIN_POPUP_OK), "Go");
    EXPECT_EQ(ButtonText(MWIN_POPUP_CANCEL), "Cancel");
    EXPECT_LT(ButtonX(MWIN_POPUP_OK), ButtonX(MWIN_POPUP_CANCEL));
    mwin->PopupCloseIfOn();
    ASSERT_TRUE(mwin->PopupOkCancel(nullptr, "Start?", nullptr, nullptr));
    EXPECT_EQ(ButtonText(MWIN_POPUP_OK), "OK");
    mwin->PopupCloseIfOn();

    mwin->PopupSetYesNoCancelTexts("Keep", "Drop", "Wait");
    ASSERT_TRUE(mwin->PopupYesNoCancel(nullptr, "Save?", nullptr, nullptr));
    EXPECT_EQ(ButtonText(MWIN_POPUP_OK), "Keep");
    EXPECT_EQ(ButtonText(MWIN_POPUP_NO), "Drop");
    EXPECT_EQ(ButtonText(MWIN_POPUP_CANCEL), "Wait");
    mwin->PopupCloseIfOn();

    ASSERT_TRUE(mwin->PopupYesNo(nullptr, "Quit?", nullptr, nullptr));
    EXPECT_EQ(ButtonText(MWIN_POPUP_OK), "Yes");
    EXPECT_EQ(ButtonText(MWIN_POPUP_CANCEL), "No");
    EXPECT_EQ(mwin->GetPopupButton(MWIN_POPUP_NO), nullptr);
}

TEST_F(MWinPopupsTest, ButtonsAreAsWideAsTheLanguagesTextsTheyShow)
{
    LoadEnglish("Popup_OK=Understood, carry on\nPopup_Cancel=Cancel");
    ASSERT_TRUE(mwin->PopupOkCancel(nullptr, "A message long enough to give both buttons all the room they ask.",
                                    nullptr, nullptr));
    MWinButton *ok = mwin->GetPopupButton(MWIN_POPUP_OK);
    MWinButton *cancel = mwin->GetPopupButton(MWIN_POPUP_CANCEL);
    ASSERT_TRUE(ok->UsesLangToken());
    EXPECT_NEAR(ok->GetDimensionP()->w, ok->GetTextWidth() + 15, 0.5) << "measured from the token's text";
    EXPECT_GT(ok->GetDimensionP()->w, cancel->GetDimensionP()->w + 20);
}

TEST_F(MWinPopupsTest, ABoxIsSizedFromItsTitleTextAndButtons)
{
    // Nothing at all: the minimum width, 5 more, and the window's 20.
    ASSERT_TRUE(mwin->PopupShowMessage(nullptr, nullptr));
    EXPECT_FLOAT_EQ(PopupWindow()->GetDesignWidth(), 50 + 5 + 20);
    EXPECT_FALSE(PopupWindow()->HasTitleBar());
    mwin->PopupCloseIfOn();

    // A long message wraps within the widest box, and the box grows down.
    std::string words;
    for (int i = 0; i < 60; i++)
        words += "several words ";
    ASSERT_TRUE(mwin->PopupMessage("Title", words.c_str()));
    EXPECT_LE(PopupWindow()->GetDesignWidth(), 600 + 20);
    EXPECT_GT(PopupWindow()->GetDesignWidth(), 500);
    EXPECT_GT(PopupWindow()->GetDesignHeight(), 100);
    EXPECT_TRUE(PopupWindow()->HasTitleBar());
    mwin->PopupCloseIfOn();

    // A title too long to show leaves the bar empty.
    std::string title(300, 't');
    ASSERT_TRUE(mwin->PopupMessage(title.c_str(), "Text"));
    EXPECT_TRUE(PopupWindow()->HasTitleBar());
    EXPECT_STREQ(PopupWindow()->GetInfo()->m_title, "");
    mwin->PopupCloseIfOn();

    // The error box: "Error" as title without languages.
    ASSERT_TRUE(mwin->PopupErrorMessage("Broken"));
    EXPECT_STREQ(PopupWindow()->GetInfo()->m_title, "Error");
}

TEST_F(MWinPopupsTest, OnlyOnePopupAtATimeAndAFailedBuildLeavesNothingBehind)
{
    ASSERT_TRUE(mwin->PopupOk("First", "One", Answers::Done, &answers));
    MWinButton *ok = mwin->GetPopupButton(MWIN_POPUP_OK);
    EXPECT_FALSE(mwin->PopupOkCancel("Second", "Two", Answers::Done, &answers));
    EXPECT_TRUE(LogHasLine("Popup already on"));
    EXPECT_EQ(mwin->GetPopupButton(MWIN_POPUP_OK), ok);
    EXPECT_EQ(mwin->GetPopupButton(MWIN_POPUP_CANCEL), nullptr);
    mwin->PopupCloseIfOn();
    EXPECT_TRUE(answers.results.empty());

    mwin->PopupFailNextWindowForTests();
    EXPECT_FALSE(mwin->PopupOkCancel("Broken", "Never shown", Answers::Done, &answers));
    EXPECT_TRUE(LogHasLine("Could not create popup window"));
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_EQ(mwin->GetCollectionFromID("MWIN_POPUP", 0), nullptr);
    EXPECT_TRUE(back->IsActive());
    EXPECT_FALSE(mwin->GetDesktop()->GetDimInactive());

    DebugClearLogs();
    ASSERT_TRUE(mwin->PopupOkCancel("Working", "Shown", Answers::Done, &answers));
    ClickPopupButton(MWIN_POPUP_OK);
    EXPECT_EQ(answers.results, std::vector<int>{1});
    EXPECT_FALSE(LogHasLine("Internal Error"));
    EXPECT_FALSE(LogHasLine("Could not create new collection"));

    // Popups need the toolkit on.
    mwin->Shutdown();
    EXPECT_FALSE(mwin->PopupMessage(nullptr, "Off"));
    EXPECT_TRUE(LogHasLine("MWin is not on"));
}

TEST_F(MWinPopupsTest, ADoneCallbackMayOpenTheNextPopup)
{
    answers.then = [](MWin *mwin, char result) {
        if (result == 1)
            mwin->PopupYesNo(nullptr, "Really?", Answers::Done, mwin->GetPopupButton(0) ? nullptr : nullptr);
    };
    ASSERT_TRUE(mwin->PopupOkCancel(nullptr, "Delete?", Answers::Done, &answers));
    ClickPopupButton(MWIN_POPUP_OK);
    EXPECT_EQ(answers.results, std::vector<int>{1});
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(ButtonText(MWIN_POPUP_OK), "Yes");
    // The follow-up box is fully working: the dim and the deactivation hold.
    EXPECT_TRUE(mwin->GetDesktop()->GetDimInactive());
    EXPECT_FALSE(back->IsActive());
    mwin->PopupCloseIfOn();
    EXPECT_TRUE(back->IsActive());
}

TEST_F(MWinPopupsTest, DimmingCanBeSkippedForOnePopup)
{
    mwin->m_popup_no_dim_next = 1;
    ASSERT_TRUE(mwin->PopupMessage(nullptr, "Bright"));
    EXPECT_FALSE(mwin->GetDesktop()->GetDimInactive());
    mwin->PopupCloseIfOn();
    ASSERT_TRUE(mwin->PopupMessage(nullptr, "Dim"));
    EXPECT_TRUE(mwin->GetDesktop()->GetDimInactive());
}

TEST_F(MWinPopupsTest, TheTextEntryEditsTheCallersBuffer)
{
    char buffer[8] = "ab";
    EXPECT_FALSE(mwin->PopupGetText("Name", "Your name", nullptr, 8, Answers::Done, &answers));
    EXPECT_TRUE(LogHasLine("No text var."));
    EXPECT_FALSE(mwin->PopupGetText("Name", "Your name", buffer, 0, Answers::Done, &answers));
    EXPECT_TRUE(LogHasLine("No max len."));
    EXPECT_FALSE(mwin->IsPopupOn());

    ASSERT_TRUE(mwin->PopupGetText("Name", "Your name", buffer, sizeof(buffer), Answers::Done, &answers));
    MWinButton *edit = mwin->GetButtonFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", "TEXTEDIT", 0);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->IsEditing());
    // The pointer was moved onto the entry; the kit's pointer follows.
    _Dimension d;
    ASSERT_TRUE(edit->GetScreenDimension(&d));
    MoveMouse(d.x + d.w / 2, d.y + d.h / 2);
    // More than the buffer holds: the entry stops at 7 characters.
    for (char ch : std::string("cdefghij"))
        Char(ch);
    KeyAndTick(VK_RETURN);
    EXPECT_EQ(answers.results, std::vector<int>{1});
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_FALSE(mwin->IsPopupOn());

    // Escape first ends the editing, then answers Cancel.
    ASSERT_TRUE(mwin->PopupGetText(nullptr, nullptr, buffer, sizeof(buffer), Answers::Done, &answers));
    KeyAndTick(VK_ESCAPE);
    EXPECT_TRUE(mwin->IsPopupOn());
    KeyAndTick(VK_ESCAPE);
    EXPECT_EQ(answers.results, (std::vector<int>{1, 0}));
    EXPECT_FALSE(mwin->IsPopupOn());
}

const char *Fruit(int index, MWinButton *, void *)
{
    static const char *fruit[] = {"Apple", "Pear", "Plum", "Fig", "Lime"};
    return index >= 0 && index < 5 ? fruit[index] : "";
}

void NoteSelected(MWin *, int pos, void *user)
{
    static_cast<Answers *>(user)->results.push_back(100 + pos);
}

TEST_F(MWinPopupsTest, ThePanelPopupSelectsIntoTheCallersInt)
{
    int choice = 1;
    int *selection = &choice;
    int *none = nullptr;
    EXPECT_FALSE(mwin->PopupPanel("Fruit", nullptr, 5, 5, 200, 100, Fruit, 1, &none, NoteSelected, Answers::Done,
                                  &answers));
    EXPECT_TRUE(LogHasLine("No panel sel val"));

    ASSERT_TRUE(mwin->PopupPanel("Fruit", nullptr, 5, 5, 200, 100, Fruit, 1, &selection, NoteSelected,
                                 Answers::Done, &answers));
    MWinButton *panel = mwin->GetButtonFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", "PANEL", 0);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->PanelGetPos(), 1);
    // The box is at least as wide as the panel.
    EXPECT_GE(PopupWindow()->GetDesignWidth(), 210);

    _Dimension row;
    ASSERT_TRUE(panel->PanelGetPosDimension(3, &row));
    Click(row.x + row.w / 2, row.y + row.h / 2);
    mwin->Tick();
    EXPECT_EQ(choice, 3);
    EXPECT_EQ(answers.results, std::vector<int>{103});
    EXPECT_TRUE(mwin->IsPopupOn());

    // Enter on the list activates the row: the popup answers OK.
    KeyAndTick(VK_RETURN);
    EXPECT_EQ(answers.results, (std::vector<int>{103, 1}));
    EXPECT_EQ(choice, 3);
    EXPECT_FALSE(mwin->IsPopupOn());
}

TEST_F(MWinPopupsTest, BlockingMessagesDrawTheirOwnFrames)
{
    // Each frame takes 10 ms of the virtual clock; waits sleep on it too.
    program->render_ms = 10;
    const struct {
        const char *name;
        double seconds;
        char fade;
        int min_frames, max_frames;
    } cases[] = {
        {"plain", 1.0, 0, 2, 2},
        {"too short to fade", 0.2, 1, 2, 2},
        {"faded", 1.0, 1, 16, 30},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        program->renders = 0;
        double start = EngMainUpdateProgramTime();
        ASSERT_TRUE(mwin->PopupShowTimedMessage(nullptr, "Saved", c.seconds, c.fade));
        EXPECT_GE(program->renders, c.min_frames);
        EXPECT_LE(program->renders, c.max_frames);
        EXPECT_GE(EngMainUpdateProgramTime() - start, c.seconds - 0.001);
        EXPECT_LE(EngMainUpdateProgramTime() - start, c.seconds + 0.1);
        EXPECT_FALSE(mwin->IsPopupOn());
        EXPECT_TRUE(back->IsActive());
    }

    // A timed message replaces an open popup, without its answer.
    ASSERT_TRUE(mwin->PopupOk(nullptr, "Old", Answers::Done, &answers));
    ASSERT_TRUE(mwin->PopupShowTimedMessage(nullptr, "New", 0.1, 0));
    EXPECT_TRUE(answers.results.empty());

    program->renders = 0;
    EXPECT_TRUE(mwin->PopupShowMessageNow(nullptr, "Working..."));
    EXPECT_EQ(program->renders, 2);
    EXPECT_FALSE(mwin->IsPopupOn());
    // Another open popup is not closed by it.
    ASSERT_TRUE(mwin->PopupOk(nullptr, "Keep me", Answers::Done, &answers));
    EXPECT_TRUE(mwin->PopupShowMessageNow(nullptr, "Working..."));
    EXPECT_TRUE(mwin->IsPopupOn());
    ClickPopupButton(MWIN_POPUP_OK);
    EXPECT_EQ(answers.results, std::vector<int>{1});
}

} // namespace
