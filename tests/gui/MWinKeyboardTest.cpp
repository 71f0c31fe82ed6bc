// The on-screen keyboard, driven on this desktop build with the tablet
// paths switched on and the layout chosen by the test: its layouts and
// keys, typing by clicks with the entry kinds' rules, Done, the key bubble,
// and a later popup after the keyboard's popup was closed another way; and
// on the desktop as the program runs it, an entry that never takes the
// screen.
#include "tests/support/GuiTestKit.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "gui/MWinKeyboard.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<int> answers;

void RecordAnswer(MWin *, char result, void *)
{
    answers.push_back(result);
}

class MWinKeyboardTest : public GuiTest {
protected:
    char buffer[16] = {};

    void SetUp() override
    {
        GuiTest::SetUp();
        answers.clear();
        MWinTextures *textures = mwin->GetTextures();
        ASSERT_NE(textures->AddTextureButton("Back1", "Skin", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0,
                                             0, 0),
                  nullptr);
        ASSERT_TRUE(textures->SetStandardTextureToTexBut(MWIN_STD_TEX_BLACK, "Grey"));
        EngMiscSetTabletPlatformForTests(1);
        mwin->SetScreenLayout(1);
    }
    void TearDown() override
    {
        EngMiscSetTabletPlatformForTests(0);
        GuiTest::TearDown();
    }

    char Start(int kind, char hidden, char capitals, int size = sizeof(buffer), const char *title = "Name",
               const char *text = "Your name")
    {
        mwin->PopupGetTextSetEntryMode(kind, hidden, capitals);
        // The toolkit's text entry takes the keyboard on tablets.
        return mwin->PopupGetText(title, text, buffer, size, RecordAnswer, nullptr);
    }
    MWinButton *Control(const char *id) { return mwin->GetButtonFromIDs("MWIN_POPUP", "MainWin", id, 0); }
    // Clicks the key showing ch ("Space" for ' ').
    void Type(const std::string &keys)
    {
        for (char ch : keys) {
            char id[8];
            std::snprintf(id, sizeof(id), "KEY_%c", ch);
            MWinButton *key = Control(ch == '<' ? "Del" : ch == '^' ? "Shift" : id);
            ASSERT_NE(key, nullptr) << ch;
            const _Dimension *at = key->GetScreenDimensionP();
            Click(at->x + at->w / 2, at->y + at->h / 2);
        }
    }
    int CountKeys()
    {
        int keys = 0;
        for (MWinButton *b = mwin->GetWindowFromIDs("MWIN_POPUP", "MainWin", 0)->GetFirstButton(); b; b = b->GetNext())
            keys += std::strncmp(b->GetID(), "KEY_", 4) == 0 && b->IsShown();
        return keys;
    }
};

TEST_F(MWinKeyboardTest, OnTheDesktopTheKeyboardNeverStarts)
{
    EngMiscSetTabletPlatformForTests(0);
    EXPECT_FALSE(mwin->PopupGetText_Mobile("Name", "Your name", buffer, sizeof(buffer), RecordAnswer, nullptr));
    EXPECT_TRUE(LogHasLine("Not mobile."));
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->PopupRenderFullScreenTextEntryMobile(1));
    MWinPopupGetTextSetButtonText_Mobile(nullptr, "x");
    EXPECT_TRUE(LogHasLine("Bad parameters."));
}

TEST_F(MWinKeyboardTest, EachLayoutAndKindHasItsControlsAndKeys)
{
    struct Case {
        int layout, kind;
        _Dimension done;
        int keys;
        bool shift;
        _Dimension key_q;
    } cases[] = {
        {1, 0, {220, 430, 200, 40}, 47, true, {48, 202, 49, 48}},
        {2, 3, {220, 400, 200, 50}, 50, true, {0, 0, 0, 0}},
        {3, 1, {220, 435, 200, 35}, 12, false, {0, 0, 0, 0}},
        {4, 2, {220, 435, 200, 35}, 11, false, {0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.layout);
        mwin->SetScreenLayout(c.layout);
        ASSERT_TRUE(Start(c.kind, 0, 0));
        _Dimension done = *Control("Done")->GetDimensionP();
        EXPECT_FLOAT_EQ(done.x, c.done.x);
        EXPECT_FLOAT_EQ(done.y, c.done.y);
        EXPECT_FLOAT_EQ(done.h, c.done.h);
        EXPECT_EQ(CountKeys(), c.keys);
        EXPECT_EQ(Control("Shift")->IsShown(), c.shift);
        EXPECT_FALSE(Control("KeysBack")->IsShown());
        EXPECT_FALSE(Control("Text")->IsEnabled());
        if (c.key_q.w > 0) {
            _Dimension q = *Control("KEY_Q")->GetDimensionP();
            EXPECT_FLOAT_EQ(q.x, c.key_q.x);
            EXPECT_FLOAT_EQ(q.y, c.key_q.y);
            EXPECT_FLOAT_EQ(q.w, c.key_q.w);
            EXPECT_FLOAT_EQ(q.h, c.key_q.h);
            // The space bar spans four key steps.
            EXPECT_FLOAT_EQ(Control("KEY_ ")->GetDimensionP()->w, 49 + 3 * 55);
        }
        mwin->PopupCloseIfOn();
        mwin->RenderMain();
    }
}

TEST_F(MWinKeyboardTest, MissingLabelsLetTheControlsBelowMoveUp)
{
    struct Case {
        const char *title, *text;
        bool title_shown, message_shown;
        float message_y, text_y, keys_y, keys_h;
    } cases[] = {
        {"T", "M", true, true, 50, 90, 140, 280},
        {"T", nullptr, true, false, 50, 70, 140, 280},
        {nullptr, "M", false, true, 10, 70, 140, 280},
        {nullptr, "", false, false, 50, 10, 60, 360},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.title ? c.title : "-") + (c.text ? c.text : "-"));
        ASSERT_TRUE(Start(0, 0, 0, sizeof(buffer), c.title, c.text));
        EXPECT_EQ(Control("Title")->IsShown(), c.title_shown);
        EXPECT_EQ(Control("Message")->IsShown(), c.message_shown);
        EXPECT_FLOAT_EQ(Control("Message")->GetDimensionP()->y, c.message_y);
        EXPECT_FLOAT_EQ(Control("Text")->GetDimensionP()->y, c.text_y);
        EXPECT_FLOAT_EQ(Control("KeysBack")->GetDimensionP()->y, c.keys_y);
        EXPECT_FLOAT_EQ(Control("KeysBack")->GetDimensionP()->h, c.keys_h);
        mwin->PopupCloseIfOn();
    }
}

TEST_F(MWinKeyboardTest, ClicksTypeIntoTheEntryAndDoneAnswersOk)
{
    ASSERT_TRUE(Start(0, 0, 1));
    // Automatic capitals: a capital first and after a point or a space.
    Type("HI. AB");
    EXPECT_STREQ(buffer, "Hi. Ab");
    EXPECT_STREQ(Control("Text")->GetTextP(), "Hi. Ab");
    Type("<<<");
    EXPECT_STREQ(buffer, "Hi.");
    Type("^X");
    EXPECT_STREQ(buffer, "Hi.x");
    ASSERT_TRUE(mwin->PopupRenderFullScreenTextEntryMobile(1));
    Type("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(std::strlen(buffer), sizeof(buffer) - 1);

    Click(320, 450); // Done
    EXPECT_EQ(answers, std::vector<int>{1});
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->PopupRenderFullScreenTextEntryMobile(1));
}

TEST_F(MWinKeyboardTest, HiddenEntriesShowStarsAndStickyShiftStays)
{
    ASSERT_TRUE(Start(3, 1, 0));
    Type("^AB#");
    EXPECT_STREQ(buffer, "AB#");
    EXPECT_STREQ(Control("Text")->GetTextP(), "***");
}

TEST_F(MWinKeyboardTest, NumberKindsTakeOnlyWellFormedNumbers)
{
    struct Case {
        int kind;
        const char *keys, *typed;
    } cases[] = {
        {1, "-1.5", "-1.5"},
        {1, "1-2", "12"},
        {1, "1.2.3", "1.23"},
        {1, ".-5", ".5"},
        {2, "10.0.0.1", "10.0.0.1"},
        {2, "1234.5", "123.5"},
        {2, ".1..2", "1.2"},
    };
    // Kind 2 has no '-' key, and its rule refuses one as well.
    EXPECT_FALSE(MWinKeyboardAcceptsChar(2, "", '-'));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        buffer[0] = 0;
        ASSERT_TRUE(Start(c.kind, 0, 0));
        Type(c.keys);
        EXPECT_STREQ(buffer, c.typed);
        mwin->PopupCloseIfOn();
    }
}

TEST_F(MWinKeyboardTest, ThePressedKeyShowsABubbleThatFades)
{
    ASSERT_TRUE(Start(0, 0, 0));
    Type("Q");
    const double pressed_at = eng_main_program_time;
    _Dimension q = *Control("KEY_Q")->GetScreenDimensionP();
    struct Case {
        double after;
        float alpha; // below 0: no bubble
    } cases[] = {{0.05, 0.5f}, {0.2, 1}, {0.45, 0.5f}, {3.5, -1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.after);
        eng_main_program_time = pressed_at + c.after;
        D3D9RecordingReset();
        EXPECT_TRUE(mwin->RenderPopups());
        bool found = false;
        for (const DrawnQuad &d : DrawnQuads())
            if (std::fabs(d.w - q.w * 1.1f) < 0.5f && std::fabs(d.h - q.h * 1.6f) < 0.5f &&
                std::fabs(d.y + d.h - (q.y - 5)) < 0.5f) {
                found = true;
                EXPECT_NEAR((d.colour >> 24) / 255.0f, c.alpha, 0.02f);
            }
        EXPECT_EQ(found, c.alpha >= 0);
    }
}

TEST_F(MWinKeyboardTest, APopupClosedAnotherWayLeavesTheNextPopupWorking)
{
    // Closed as a screen change closes it, then a message box at once.
    ASSERT_TRUE(Start(0, 0, 0));
    mwin->PopupCloseIfOn();
    ASSERT_TRUE(mwin->PopupOk("Title", "Text", RecordAnswer, nullptr));
    EXPECT_FALSE(mwin->PopupRenderFullScreenTextEntryMobile(1));
    mwin->RenderMain();
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_FALSE(LogHasLine("Internal Error"));
    mwin->PopupCloseIfOn();

    // Closed by its time-out; the next keyboard starts afresh.
    ASSERT_TRUE(Start(0, 0, 0));
    mwin->PopupSetTimeout(1);
    eng_main_program_time = eng_main_program_time + 2.0;
    mwin->Tick();
    EXPECT_FALSE(mwin->IsPopupOn());
    mwin->RenderMain();
    ASSERT_TRUE(Start(1, 0, 0));
    EXPECT_FALSE(LogHasLine("Controller already created"));
    Type("7");
    EXPECT_STREQ(buffer, "7");
    EXPECT_TRUE(mwin->PopupRenderFullScreenTextEntryMobile(1));
}

// The desktop as the program runs it: the tablet paths off, no layout set.
class MWinKeyboardDesktopTest : public GuiTest {};

TEST_F(MWinKeyboardDesktopTest, AnEntryModeOpensNothingAndTheKeyboardNeverTakesTheScreen)
{
    EXPECT_FALSE(mwin->PopupRenderFullScreenTextEntryMobile(1));
    EXPECT_FALSE(mwin->PopupRenderFullScreenTextEntryMobile(0));
    mwin->PopupGetTextSetEntryMode(1, 1, 0);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_FALSE(mwin->PopupCloseIfOn());
}

} // namespace
