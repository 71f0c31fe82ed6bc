// Text edits, panels and lists on a real window: paste and copy through
// the system clipboard (bytes 22 and 3 in the clipboard neither paste again
// nor copy, an over-long clipboard reads only what fits), the blinking
// caret, a panel's selected row and an open list's hovered row, read back
// from the back buffer.
#include "tests/support/GuiTestKit.h"
#include "engine/core/EngPrefs.h"
#include "engine/runtime/EngWindowInput.h"
#include "gui/MWinTabPanel.h"
#include "platform/d3d9/D3D9GL.h"
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "tests/support/TestPixels.h"

#include <string>

namespace {

const int kControl = 0x11, kEnter = 13;

class MWinControlsDisplayTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;

    void SetUp() override
    {
        StartKit(true);
        window = AddWindow(AddCollection("Main"), "Win", 100, 100, 300, 250);
    }

    void TearDown() override
    {
        eng_main_key_states[kControl] = 0;
        GuiTest::TearDown();
    }

    DWORD Pixel(int x, int y)
    {
        RECT rect = {x, y, x + 1, y + 1};
        DWORD argb = 0;
        EXPECT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &rect, &argb), S_OK);
        return argb & 0xFFFFFF;
    }

    // Pixels darker than mid grey in the rectangle.
    int DarkPixels(int x0, int y0, int x1, int y1)
    {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                n += (Pixel(x, y) & 0xFF) < 0x80 ? 1 : 0;
        return n;
    }

    MWinButton *AddEdit(int limit)
    {
        MWinButton *edit = window->AddButton("Name", MWBT_TEXT_EDIT, "White", "", 10, 10, 200, 30);
        edit->SetFont("Main");
        edit->SetTextAlign(MWTA_LEFT);
        edit->TextEditSetLength(limit);
        return edit;
    }
};

TEST_F(MWinControlsDisplayTest, PasteFeedsOnlyPrintableCharactersThatFit)
{
    MWinButton *edit = AddEdit(20);
    ASSERT_TRUE(VariousCopyClipboardFromString("ab\x16" "cd\x03" "ef"));
    ASSERT_TRUE(edit->TextEditTurnOnEditing(1));
    Char(22); // Ctrl+V arrives as byte 22
    EXPECT_STREQ(edit->GetTextP(), "abcdef") << "the 22 and 3 in the clipboard neither paste nor copy";
    char back[32] = {};
    ASSERT_TRUE(VariousPasteClipboardToString(back, sizeof(back)));
    EXPECT_STREQ(back, "ab\x16" "cd\x03" "ef") << "and the clipboard is left as it was";

    // Limit 5 with the caret at 3: two characters of a long clipboard come in.
    Key(kEnter);
    edit->TextEditSetText("xyz");
    edit->TextEditSetLength(5);
    ASSERT_TRUE(edit->TextEditTurnOnEditing(1));
    ASSERT_TRUE(VariousCopyClipboardFromString(std::string(2000, 'Q').c_str()));
    eng_main_key_states[kControl] = 2;
    Char('v');
    EXPECT_EQ(eng_main_key_states[kControl], 0) << "a paste lets go of Control";
    EXPECT_STREQ(edit->GetTextP(), "xyzQQ");

    // Copy (byte 3) puts the edited text on the clipboard, accents kept.
    Key(kEnter);
    edit->TextEditSetText("\xE9t\xE9");
    ASSERT_TRUE(edit->TextEditTurnOnEditing(1));
    Char(3);
    ASSERT_TRUE(VariousPasteClipboardToString(back, sizeof(back)));
    EXPECT_STREQ(back, "\xE9t\xE9");
}

TEST_F(MWinControlsDisplayTest, TheCaretBlinksAfterTheTypedText)
{
    VirtualClock::Install(); // the blink follows the program clock
    MWinButton *edit = AddEdit(20);
    ASSERT_TRUE(edit->TextEditTurnOnEditing(1));
    Char('W');
    Char('W');
    float left, right;
    edit->GetTextHorzRange(&left, &right, -1);
    int caret_x = static_cast<int>(left + font.GetStringWidth("WW"));
    auto caret_area = [&] { return DarkPixels(caret_x - 2, 114, caret_x + 3, 136); };

    VirtualClock::Advance(400);
    edit->Tick(0);
    mwin->RenderMain();
    int shown = caret_area();
    int text = DarkPixels(static_cast<int>(left), 114, caret_x - 3, 136);
    VirtualClock::Advance(400);
    edit->Tick(0);
    mwin->RenderMain();
    int hidden = caret_area();
    EXPECT_GT(text, 0) << "the typed text is drawn";
    // The area touches the last letter's edge: the caret adds its stroke to it.
    EXPECT_GE(shown, hidden + 4) << "the caret shows after the text in one phase and not in the other";
}

TEST_F(MWinControlsDisplayTest, APanelDrawsItsSelectedRow)
{
    MWinTextures *textures = mwin->GetTextures();
    // The highlighted state (a selected row) has its own, red, record.
    ASSERT_NE(textures->AddTextureButton("Rows", "Skin", 0, 0, 1, 1, "Skin", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0,
                                         0),
              nullptr);
    ASSERT_TRUE(textures->SetTextureButtonStateColourMultiplierRGBA("Rows", MWTS_HIGHLIGHTED, 1, 0, 0, 1));
    MWinButton *panel = window->AddButton("List", MWBT_PANEL, "Rows", "", 10, 10, 200, 200);
    panel->PanelSetStringsCallback(4, 10, [](int, MWinButton *, void *) { return ""; }, nullptr);
    panel->PanelSetPos(2, 0, 0);
    mwin->RenderMain();
    // Rows of 20 from 110: row 2 covers 150..170.
    EXPECT_TRUE(Near(0xFF0000, Pixel(150, 160))) << "the selected row";
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(150, 140))) << "the row above";
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(150, 180))) << "the row below";
}

TEST_F(MWinControlsDisplayTest, AnOpenListDrawsItsSelectedRowOverTheWindow)
{
    MWinTextures *textures = mwin->GetTextures();
    ASSERT_TRUE(textures->SetStandardTextureToTexBut(MWIN_STD_TEX_LIST_OPEN_MAIN, "Blue"));
    ASSERT_TRUE(textures->SetStandardTextureToTexBut(MWIN_STD_TEX_LIST_OPEN_SEL, "Red"));
    MWinButton *list = window->AddButton("Pick", MWBT_LIST, "White", "", 10, 100, 200, 20);
    const char *names[] = {"", "", "", ""};
    list->ListSetStrings(4, names);
    list->ListSetPos(1, 0);
    // The control sits at 110, 200; opened on entry 1, the rows of 20 run
    // from 180 (entry 0) to 260 with entry 1 where the control is.
    list->ListOpen();
    mwin->RenderMain();
    EXPECT_TRUE(Near(0xFF0000, Pixel(150, 210))) << "the selected row";
    EXPECT_TRUE(Near(0x0000FF, Pixel(150, 190))) << "the row above";
    EXPECT_TRUE(Near(0x0000FF, Pixel(150, 250))) << "a row below";
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(150, 300))) << "the window under the list";
}

} // namespace

// A right-aligned column beside a left-aligned one: each text keeps the
// layout's inset from the edge between them, so "10" and "ADA" never run
// together.
TEST_F(MWinControlsDisplayTest, NeighbouringTableCellsKeepAGap)
{
    MWinTabPanel *table = window->AddTabPanel("Table", "White", 10, 10, 200, 200);
    ASSERT_NE(table, nullptr);
    ASSERT_TRUE(table->SetFont("Main"));
    ASSERT_TRUE(table->SetEntryCallback(1, 2, 5, [](int row, int column, MWinTabPanel *) {
        return row < 0 ? (column == 0 ? "Pos" : "Name") : (column == 0 ? "10" : "ADA");
    }));
    table->SetOptions(1, 0, 0, 0, MWinTabPanel::SELECT_SINGLE, 0, 0);
    ASSERT_TRUE(table->SetColumnWidthPercentage(0, 30));
    ASSERT_TRUE(table->SetColumnWidthPercentage(1, 70));
    ASSERT_TRUE(table->SetColumnTextAlign(0, MWTA_RIGHT));
    ASSERT_TRUE(table->SetColumnTextAlign(1, MWTA_LEFT));
    mwin->RenderMain();
    _Dimension left, right;
    ASSERT_TRUE(table->GetCellArea(0, 0, &left));
    ASSERT_TRUE(table->GetCellArea(0, 1, &right));
    const int edge = (int)(right.x + 0.5f);
    const DWORD ground = Pixel(edge, (int)left.y + 1);
    auto ink = [&](int x) {
        for (int y = (int)left.y + 1; y < (int)(left.y + left.h) - 1; y++)
            if (!Near(ground, Pixel(x, y), 40))
                return true;
        return false;
    };
    bool ink_left = false, ink_right = false;
    for (int x = edge - 12; x < edge - 2; x++)
        ink_left = ink_left || ink(x);
    for (int x = edge + 2; x < edge + 12; x++)
        ink_right = ink_right || ink(x);
    EXPECT_TRUE(ink_left && ink_right) << "both texts are drawn beside the edge";
    for (int x = edge - 1; x < edge + 1; x++)
        EXPECT_FALSE(ink(x)) << "ink at " << x << ", the edge at " << edge;
}
