// The text edit: typing through WM_CHAR bytes against the limit and the
// filters, the editing keys, accept and cancel written back into the bound
// buffer, limits changed while bound or editing never overrunning a buffer,
// and an end-of-editing notice that removes the screen on every path that
// ends the editing. Paste and copy need the system clipboard:
// MWinControlsDisplayTest.
#include "tests/support/GuiTestKit.h"

#include "engine/runtime/EngWindowInput.h"
#include "platform/win32/Win32Input.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kBackspace = 8, kEnter = 13, kEscape = 27, kEnd = 35, kHome = 36, kLeft = 37, kRight = 39, kDelete = 46;

class MWinTextEditTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    MWinButton *edit = nullptr;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 100, 100, 300, 100);
        edit = window->AddButton("Name", MWBT_TEXT_EDIT, "White", "", 10, 10, 200, 30);
        edit->SetFont("Main");
        edit->SetTextAlign(MWTA_LEFT);
        edit->TextEditSetLength(20);
    }

    // A click on the control starts editing.
    void StartEditing()
    {
        Click(150, 125);
        ASSERT_TRUE(edit->TextEditIsEditing());
    }

    void Type(const std::string &text)
    {
        for (unsigned char ch : text)
            Char(ch);
    }

    std::string Text() { return edit->GetTextP() ? edit->GetTextP() : ""; }
};

struct EndEvent {
    int calls = 0;
    int event = -9;
};

void RecordEnd(MWin *, _MWinButtonCallbackInfo *info, int, int, void *user)
{
    EndEvent *e = static_cast<EndEvent *>(user);
    e->calls++;
    e->event = info->m_text_edit_event;
}

// A window of 1280 x 960 pixels: two pixels to a unit each way.
class MWinTextEditBigWindowTest : public GuiTest {
protected:
    void SetUp() override
    {
        parms = WindowParms(1, 1280, 960);
        GuiTest::SetUp();
    }
};

TEST_F(MWinTextEditBigWindowTest, MovingTheCursorToAnEditStartsEditingWithThePointerOnIt)
{
    MWinWindow *window = AddWindow(AddCollection("Main"), "Win", 100, 100, 300, 100);
    MWinButton *edit = window->AddButton("Name", MWBT_TEXT_EDIT, "White", "", 10, 10, 200, 30);
    edit->TextEditSetLength(20);
    ASSERT_TRUE(eng_screen_windowed);
    edit->TextEditMoveCursorToButtonAndTurnOnEditing();
    EXPECT_TRUE(edit->TextEditIsEditing());
    // The centre (210, 125), ten units lower in windowed mode, in pixels.
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    ASSERT_TRUE(ScreenToClient(program->GetWindow()->GetWindowHandle(), &cursor));
    EXPECT_EQ(cursor.x, 420);
    EXPECT_EQ(cursor.y, 270);
}

TEST_F(MWinTextEditTest, TypingAgainstTheLimitAndTheFilters)
{
    // Each row: filter, limit, the bytes typed, the text that results.
    struct Row {
        int filter;
        int limit;
        std::string typed;
        std::string expected;
    };
    const Row rows[] = {
        {0, 5, "abcdefg", "abcde"},
        {0, 20, "Jos\xE9 M\xFCller", "Jos\xE9 M\xFCller"}, // 1252 accented letters pass as bytes
        {0, 20, "#1 $5", "#1 $5"},                           // '#' and '$' are characters, not End and Home
        {0, 20, "a\x01\x7f" "b", "a\x7f" "b"},               // control bytes below 32 are not text
        {1, 20, "-12.5", "-12.5"},
        {1, 20, "-1-2..5", "-12.5"},
        {1, 20, "1-x", "1"},
        {1, 20, ".5-", ".5"},
        {2, 20, "123.456", "123.456"},
        {2, 20, "1234", "123"},
        {2, 20, ".1", "1"},
        {2, 20, "1..2", "1.2"},
        {3, 20, "a b\tc", "abc"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.typed);
        edit->TextEditSetText("");
        edit->TextEditSetFilter(row.filter);
        edit->TextEditSetLength(row.limit);
        StartEditing();
        Type(row.typed);
        EXPECT_EQ(Text(), row.expected);
        Key(kEnter);
        EXPECT_FALSE(edit->TextEditIsEditing());
        EXPECT_EQ(Text(), row.expected);
    }
}

TEST_F(MWinTextEditTest, EditingKeysMoveTheCaretAndDelete)
{
    edit->TextEditSetText("hello");
    StartEditing();
    EXPECT_EQ(edit->TextEditGetCursor(), 5) << "editing starts with the caret at the end";
    struct Step {
        int key;
        std::string typed;
        std::string text;
        int caret;
    };
    const Step steps[] = {
        {kHome, "", "hello", 0},     {kBackspace, "", "hello", 0}, {kDelete, "", "ello", 0},
        {kRight, "", "ello", 1},     {0, "X", "eXllo", 2},         {kEnd, "", "eXllo", 5},
        {kDelete, "", "eXllo", 5},   {kBackspace, "", "eXll", 4},  {kLeft, "", "eXll", 3},
        {kLeft, "", "eXll", 2},      {0, "#", "eX#ll", 3},
    };
    for (const Step &s : steps) {
        if (s.key)
            Key(s.key);
        Type(s.typed);
        EXPECT_EQ(Text(), s.text) << "after key " << s.key << s.typed;
        EXPECT_EQ(edit->TextEditGetCursor(), s.caret) << "after key " << s.key << s.typed;
    }
}

TEST_F(MWinTextEditTest, EnterAndEscapeWriteTheBoundBufferAndReportAcceptOrCancel)
{
    char name[8] = "Ann";
    edit->TextEditRegisterString(name, sizeof(name));
    EXPECT_EQ(edit->TextEditGetLength(), 7);
    EXPECT_EQ(Text(), "Ann");
    EndEvent end;
    ASSERT_TRUE(edit->SetCallback(RecordEnd, 0, 0, &end, 1));

    StartEditing();
    Type("ie");
    Key(kEnter);
    EXPECT_STREQ(name, "Annie");
    EXPECT_EQ(end.calls, 1);
    EXPECT_EQ(end.event, 1);

    StartEditing();
    Type("!");
    Key(kEscape);
    EXPECT_STREQ(name, "Annie!") << "cancelling writes the text too";
    EXPECT_EQ(end.event, 0);

    // The bound int receives the number when no text buffer is bound.
    MWinButton *number = window->AddButton("Num", MWBT_TEXT_EDIT, "White", "", 10, 50, 200, 30);
    number->TextEditSetLength(6);
    int value = 0;
    number->RegisterIntVariable(&value, 1);
    Click(150, 165);
    ASSERT_TRUE(number->TextEditIsEditing());
    Type("42");
    Key(kEnter);
    EXPECT_EQ(value, 42);
}

TEST_F(MWinTextEditTest, ALimitRaisedAfterBindingOrWhileEditingOverrunsNoBuffer)
{
    // The caller's buffer holds 6 bytes: a later, larger limit must not
    // write past it (AddressSanitizer catches an overrun of the heap copy).
    char *name = new char[6];
    std::strcpy(name, "ab");
    edit->TextEditRegisterString(name, 6);
    edit->TextEditSetLength(100);
    StartEditing();
    Type("cdefghijkl");
    Key(kEnter);
    EXPECT_STREQ(name, "abcde");
    delete[] name;

    // Unbound: the limit grows while editing and the edit buffer grows with it.
    MWinButton *free_edit = window->AddButton("Free", MWBT_TEXT_EDIT, "White", "", 10, 50, 200, 30);
    free_edit->TextEditSetLength(3);
    Click(150, 165);
    ASSERT_TRUE(free_edit->TextEditIsEditing());
    Type("abcdef");
    EXPECT_STREQ(free_edit->GetTextP(), "abc");
    free_edit->TextEditSetLength(300);
    Type(std::string(290, 'x'));
    EXPECT_EQ(std::strlen(free_edit->GetTextP()), 293u);
    free_edit->TextEditSetLength(2);
    EXPECT_STREQ(free_edit->GetTextP(), "ab") << "a lowered limit cuts the text";
    Key(kEnter);
    EXPECT_STREQ(free_edit->GetTextP(), "ab");

    free_edit->TextEditSetLength(600);
    EXPECT_EQ(free_edit->TextEditGetLength(), 511);
    EXPECT_TRUE(LogHasLine("Length too long: 600"));
}

TEST_F(MWinTextEditTest, TabIntoATextEditStartsEditingAndTabOutEndsIt)
{
    MWinButton *other = window->AddButton("Other", MWBT_TEXT_EDIT, "White", "", 10, 50, 200, 30);
    other->TextEditSetLength(10);
    StartEditing();
    Type("hi");
    Key(9);
    EXPECT_FALSE(edit->TextEditIsEditing());
    EXPECT_EQ(Text(), "hi");
    EXPECT_TRUE(other->TextEditIsEditing());
    EXPECT_TRUE(mwin->IsAnyButtonEditing());
}

TEST_F(MWinTextEditTest, AnEndOfEditingNoticeThatRemovesTheScreenEndsWhatEndedTheEditing)
{
    // The screen's controller leaves the screen when the name is entered;
    // whatever ended the editing touches nothing of it afterwards.
    TestController controller;
    controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *info) {
        if (std::string(info->m_button_id) == "Name")
            mwin->GetDesktop()->RemoveCollection("Form");
        return char(1);
    };
    const struct Case {
        const char *name;
        // Another control made active by the screen while the name is edited.
        bool other_active;
        std::function<void(MWinButton *edit)> end;
    } cases[] = {
        {"disabled", false, [](MWinButton *e) { e->Disable(); }},
        {"hidden", false, [](MWinButton *e) { e->Hide(); }},
        {"Tab to the next control", false, [this](MWinButton *) { Key(9); }},
        {"a press beside it", true, [this](MWinButton *) { Press(); }},
        {"a move beside it", true, [this](MWinButton *) { MoveMouse(360, 180); }},
        {"a press in another window", false, [this](MWinButton *) { Click(200, 350); }},
    };
    mwin->GetDesktop()->RemoveCollection("Main");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MWinWindow *form = AddWindow(AddCollection("Form"), "Win", 100, 100, 300, 100);
        form->SetController(&controller);
        MWinButton *name = form->AddButton("Name", MWBT_TEXT_EDIT, "White", "", 10, 10, 200, 30);
        name->TextEditSetLength(20);
        MWinButton *other = form->AddButton("Other", MWBT_PUSH, "White", "", 10, 50, 100, 30);
        AddWindow(form->GetCollection(), "Side", 100, 300, 300, 100)->SetController(&controller);
        controller.presses.clear();
        MoveMouse(350, 170);
        ASSERT_TRUE(name->TextEditTurnOnEditing(1));
        if (c.other_active)
            other->Activate();

        c.end(name);
        EXPECT_EQ(controller.presses, std::vector<std::string>{"Name"});
        EXPECT_EQ(mwin->GetDesktop()->GetCollectionFromID("Form", 0), nullptr);
        EXPECT_FALSE(mwin->IsAnyButtonEditing());
        // Under AddressSanitizer any read of the removed controls fails the test.
        Release();
        MoveMouse(200, 200);
    }
}

} // namespace
