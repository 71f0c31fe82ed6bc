// The tab panel: its page and column arithmetic, the scrollbar that exists
// only while the rows exceed the page, paging and selection by keys at the
// edges, clicks with and without modifiers, header sorting, and the report
// of an empty page made once rather than every frame.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinScrollbar.h"
#include "gui/MWinTabPanel.h"
#include "tests/support/TestLog.h"

#include <string>
#include <vector>

namespace {

const char *Entry(int row, int column, MWinTabPanel *)
{
    static std::string text;
    text = row < 0 ? "Col" + std::to_string(column) : std::to_string(row) + "." + std::to_string(column);
    return text.c_str();
}

// "Table" at (20, 20), 300 x 224 in a window over the screen; with a 20 high
// header, the border 2 and ten rows per page the rows are 20 high from y 40.
class MWinTabPanelTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    MWinTabPanel *panel = nullptr;
    TestController controller;
    struct Notice {
        int row, selected, value, header;
    };
    std::vector<Notice> notices;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 0, 0, 640, 480);
        window->SetController(&controller);
        controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *info) {
            notices.push_back({info->m_tab_row, info->m_tab_selected, info->m_tab_value, info->m_tab_header});
            return char(1);
        };
        panel = window->AddTabPanel("Table", "White", 20, 20, 300, 222);
        ASSERT_NE(panel, nullptr);
        ASSERT_TRUE(panel->SetFont("Main"));
    }

    void SetUp(int rows)
    {
        ASSERT_TRUE(panel->SetEntryCallback(rows, 3, 10, Entry));
        panel->SetOptions(1, 1, 1, 1, MWinTabPanel::SELECT_SINGLE, 1, 20);
    }

    float RowY(int row) { return panel->GetRowsArea()->y + (row - panel->GetScrollPos() + 0.5f) * 20; }
};

TEST_F(MWinTabPanelTest, PagesColumnsAndRefusals)
{
    EXPECT_FALSE(panel->SetEntryCallback(5, 0, 10, Entry));
    EXPECT_TRUE(LogHasLine("invalid num cols 0 (ID: Table)"));
    EXPECT_FALSE(panel->SetEntryCallback(-1, 2, 10, Entry));
    EXPECT_TRUE(LogHasLine("invalid num rows -1 (ID: Table)"));
    EXPECT_FALSE(panel->SetEntryCallback(5, 2, 10, nullptr));
    EXPECT_TRUE(LogHasLine("Null callback entry (ID: Table)"));

    // Rows per page from the height: 222 / (20 x factor).
    const struct {
        int asked, per_page;
    } pages[] = {{7, 7}, {0, 11}, {-1, 11}, {-2, 16}, {-3, 27}};
    for (const auto &p : pages) {
        ASSERT_TRUE(panel->SetEntryCallback(5, 3, p.asked, Entry));
        EXPECT_EQ(panel->GetRowsPerPage(), p.per_page) << p.asked;
    }
    ASSERT_TRUE(panel->SetEntryCallback(5, 3, 0, nullptr)) << "a null callback keeps the old one";

    // Column widths share W = rows area width less the border on each side.
    const float w = panel->GetRowsArea()->w - 4;
    const struct {
        int percentages[3];
        float shares[3];
    } widths[] = {{{50, 0, 0}, {0.5f, 0.25f, 0.25f}}, {{30, 30, 30}, {1 / 3.0f, 1 / 3.0f, 1 / 3.0f}},
                  {{60, 60, 80}, {0.3f, 0.3f, 0.4f}}};
    for (const auto &c : widths) {
        for (int i = 0; i < 3; i++)
            ASSERT_TRUE(panel->SetColumnWidthPercentage(i, c.percentages[i]));
        for (int i = 0; i < 3; i++)
            EXPECT_NEAR(panel->GetColumn(i)->m_width, c.shares[i] * w, 0.01f) << c.percentages[0] << " " << i;
        EXPECT_NEAR(panel->GetColumn(2)->m_x, (c.shares[0] + c.shares[1]) * w, 0.01f);
    }
    EXPECT_FALSE(panel->SetColumnWidthPercentage(3, 10));
    EXPECT_TRUE(LogHasLine("Column does not exist [3]"));
    EXPECT_FALSE(panel->SetColumnWidthPercentage(0, 101));
    EXPECT_TRUE(LogHasLine("Invalid percentage: [101]"));
}

TEST_F(MWinTabPanelTest, TheScrollbarExistsOnlyWhileTheRowsExceedThePage)
{
    SetUp(10);
    EXPECT_FALSE(panel->HasScrollbar(1));
    const float full = panel->GetRowsArea()->w;
    ASSERT_TRUE(panel->SetNumRows(11));
    ASSERT_TRUE(panel->HasScrollbar(1));
    EXPECT_EQ(panel->GetScrollbar()->GetMax(), 1);
    EXPECT_LT(panel->GetRowsArea()->w, full) << "the rows area gives the scrollbar its width";
    // The columns share the narrowed width: the last ends before the bar.
    _Dimension cell;
    ASSERT_TRUE(panel->GetCellArea(0, 2, &cell));
    EXPECT_LE(cell.x + cell.w, panel->GetScrollbar()->GetScreenDimensionP()->x);
    ASSERT_TRUE(panel->SetNumRows(3));
    EXPECT_FALSE(panel->HasScrollbar(1));
    ASSERT_TRUE(panel->GetCellArea(0, 2, &cell));
    EXPECT_NEAR(cell.x + cell.w, panel->GetRowsArea()->x + full - 4, 0.01f) << "the whole width again, less the borders";

    ASSERT_TRUE(panel->GetCellArea(2, 1, &cell));
    EXPECT_NEAR(cell.y, panel->GetRowsArea()->y + 40, 0.01f);
    EXPECT_NEAR(cell.h, 20, 0.01f);
    EXPECT_FALSE(panel->GetCellArea(-1, 0, &cell));
    EXPECT_FALSE(panel->GetCellArea(0, 3, &cell));
    EXPECT_FALSE(panel->GetCellArea(0, 0, nullptr));
}

TEST_F(MWinTabPanelTest, PagingAndKeysStopAtTheEdges)
{
    SetUp(25);
    Click(100, RowY(0));
    ASSERT_TRUE(panel->IsActive());
    Key(33);
    Key(38);
    EXPECT_EQ(panel->GetScrollPos(), 0) << "nothing above the top";
    Key(34);
    EXPECT_EQ(panel->GetScrollPos(), 10);
    Key(34);
    EXPECT_EQ(panel->GetScrollPos(), 15) << "the last page ends at the last row";
    Key(40);
    Key(34);
    EXPECT_EQ(panel->GetScrollPos(), 15);
    EXPECT_EQ(panel->GetScrollbar()->GetPos(), 15) << "the scrollbar follows";
    Key(33);
    Key(38);
    EXPECT_EQ(panel->GetScrollPos(), 4);

    // A table that does not scroll moves its selection instead.
    ASSERT_TRUE(panel->SetNumRows(5));
    ASSERT_TRUE(panel->SelectRow(3, 1, 0, 0));
    notices.clear();
    Key(40);
    EXPECT_EQ(panel->GetFirstSelectedRow(), 4);
    EXPECT_FALSE(panel->IsRowSelected(3));
    Key(40);
    Key(34);
    EXPECT_EQ(panel->GetFirstSelectedRow(), 4) << "nothing below the last row";
    Key(33);
    EXPECT_EQ(panel->GetFirstSelectedRow(), 0);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].row, 4);
    EXPECT_EQ(notices[0].value, 0) << "keys report value 0";
}

TEST_F(MWinTabPanelTest, ClicksSelectRowsAndSortColumns)
{
    SetUp(5);
    Click(100, RowY(1));
    Click(100, RowY(3));
    EXPECT_FALSE(panel->IsRowSelected(1));
    EXPECT_TRUE(panel->IsRowSelected(3));
    KeyDown(17);
    Click(100, RowY(2));
    KeyUp(17);
    EXPECT_TRUE(panel->IsRowSelected(2));
    EXPECT_TRUE(panel->IsRowSelected(3)) << "Ctrl keeps the others";
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.back().row, 2);
    EXPECT_EQ(notices.back().selected, 1);
    EXPECT_EQ(notices.back().value, 1);

    panel->SetOptions(1, 1, 1, 1, MWinTabPanel::SELECT_TOGGLE, 1, 20);
    Click(100, RowY(2));
    EXPECT_FALSE(panel->IsRowSelected(2)) << "toggle mode";
    EXPECT_TRUE(panel->IsRowSelected(3));

    EXPECT_FALSE(panel->SelectRow(5, 1, 0, 0));
    EXPECT_TRUE(LogHasLine("Row does not exits [5]"));
    EXPECT_FALSE(panel->SelectRow(-1, 1, 0, 0));
    EXPECT_TRUE(LogHasLine("Bad row number [-1]"));

    // The header: the first click sorts down, the second flips it.
    notices.clear();
    const float header_y = 30;
    Click(300, header_y);
    EXPECT_EQ(panel->GetSortColumn(), 2);
    EXPECT_EQ(panel->GetSortDirection(), 0);
    Click(300, header_y);
    EXPECT_EQ(panel->GetSortDirection(), 1);
    Click(40, header_y);
    EXPECT_EQ(panel->GetSortColumn(), 0);
    EXPECT_EQ(panel->GetSortDirection(), 0);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].header, 1);

    // Drawn with its header arrow, row backgrounds, dividers and cell texts.
    D3D9RecordingReset();
    mwin->RenderMain();
    EXPECT_GT(D3D9RecordingGetDraws().size(), 30u);
}

TEST_F(MWinTabPanelTest, AnEmptyPageIsReportedOncePerEntry)
{
    MWinTabPanel *tiny = window->AddTabPanel("Tiny", "White", 400, 20, 100, 30);
    ASSERT_TRUE(tiny->SetFont("Main"));
    ASSERT_TRUE(tiny->SetEntryCallback(3, 2, 0, Entry));
    ASSERT_EQ(tiny->GetRowsPerPage(), 1);
    tiny->SetPosAndSize(400, 20, 100, 10);
    ASSERT_EQ(tiny->GetRowsPerPage(), 0);
    for (int frame = 0; frame < 30; frame++)
        mwin->RenderMain();
    EXPECT_EQ(LogCount("Tiny: NUM PER PAGE <= 0"), 1);
    tiny->SetPosAndSize(400, 20, 100, 30);
    mwin->RenderMain();
    tiny->SetPosAndSize(400, 20, 100, 10);
    mwin->RenderMain();
    mwin->RenderMain();
    EXPECT_EQ(LogCount("Tiny: NUM PER PAGE <= 0"), 2) << "once more after the page came back and went again";
}

} // namespace
