// The tab panel: a table of rows and columns whose cell texts are asked
// from an entry callback whenever it is drawn (row -1 asks for a column
// title). It has an optional header row that sorts by the clicked column,
// selectable rows (one, several, or toggled), alternating row backgrounds,
// column dividers, and a vertical scrollbar of its own ("MWIN_TP_VS_ID")
// that exists only while the rows exceed the page.
//
// Failures: every refused call logs its reason with the panel's id where it
// has one and changes nothing. A page of no rows draws nothing and is
// reported once each time the panel enters that state. A receiver of a
// selection may delete the panel: nothing of it is touched afterwards.
#pragma once

#include "gui/MWinButton.h"

#include <vector>

class MWinTabPanel;
class MWinVertScrollbar;

typedef const char *(*MWinTabPanelEntryCallback)(int row, int column, MWinTabPanel *panel);

struct _MWinTabPanelColumn {
    unsigned char m_percentage; // 0 to 100, 0 none
    float m_width;
    float m_x;                  // from the rows area's left edge plus the border
    int m_align;                // -1 the panel's own
};

class MWinTabPanel : public MWinButton {
public:
    enum SelectionMode { SELECT_SINGLE = 0, SELECT_SEVERAL = 1, SELECT_TOGGLE = 2 };

    MWinTabPanel(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x, float y, float w,
                 float h);
    ~MWinTabPanel() override;

    // rows_per_page above 0 fixes the page; -2 and -3 and other values of 0
    // or less compute it from the height. A null callback keeps the old one.
    char SetEntryCallback(int rows, int columns, int rows_per_page, MWinTabPanelEntryCallback callback);
    char SetNumRows(int rows);
    void RemoveAllRows();
    void SetOptions(char show_header, char alternate_rows, char fill_empty_rows, char selectable,
                    char selection_mode, char header_sorts, float header_height);
    char SetColumnWidthPercentage(int column, int percent);
    char SetColumnTextAlign(int column, _MWinTextAlign align);
    // Negative values keep the current ones (r, g, b together).
    void SetHeaderTextStyle(float scale_x, float scale_y, float r, float g, float b, float a);
    // which 0 the even rows, 1 the odd rows, -1 both.
    void SetRowTextStyle(char which, float scale_x, float scale_y, float r, float g, float b, float a);

    // select 1 selects, 0 unselects, below 0 toggles; value tells the
    // receiver how (1 click, 2 release, 0 keys and wheel). False when
    // refused or when the receiver deleted the panel.
    char SelectRow(int row, char select, char notify, char value);
    void UnselectAllRows();
    int GetFirstSelectedRow();
    char IsRowSelected(int row) const;
    void SetFirstVisibleRow(int row);
    void ScrollRowToMiddle(int row);
    void ScrollToSelectedRow();
    int GetFirstVisibleRow();
    int GetLastVisibleRow();
    char GetCellArea(int row, int column, _Dimension *out);
    void CropToTableRowsArea(char with_header);
    char HasScrollbar(char vertical);

    int GetNumRows() const { return static_cast<int>(m_rows.size()); }
    int GetNumColumns() const { return static_cast<int>(m_columns.size()); }
    int GetRowsPerPage() const { return m_rows_per_page; }
    float GetScrollPos() const { return m_scroll_pos; }
    const _Dimension *GetRowsArea() const { return &m_rows_area; }
    const _MWinTabPanelColumn *GetColumn(int column) const;
    int GetSortColumn() const { return m_sort_column; }
    char GetSortDirection() const { return m_sort_direction; }
    MWinVertScrollbar *GetScrollbar() { return m_vscroll; }

    void AreaChanged() override;
    void Render() override;
    char HandleMouseButtonPressed(char button, char down, char extra) override;
    char HandleMouseButtonReleased(char button) override;
    char CancelPress() override;
    void HandleMouseMove() override;
    char HandleMouseWheel(int count) override;
    char HandleKeyDown(int key) override;
    char IsCapturingInput() override;
    void Activate() override;
    char Deactivate() override;

private:
    void ResetToDefaults();
    void CalcRowsPerPage();
    void CalcColumns();
    void UpdateLayout();
    void RenderBack();
    void RenderText();
    // False (and one report per entry into the state) without a page.
    bool HasPage();
    bool IsSetUp() const { return m_set_up; }
    // Moves the position by delta rows, clamped; true when it changed.
    bool ScrollBy(int delta);
    char ClickHeader();
    char ClickRow();

    std::vector<_MWinTabPanelColumn> m_columns;
    std::vector<char> m_rows;
    int m_rows_per_page = 0;
    char m_page_mode = 0;
    char m_show_header, m_set_up = 0;
    float m_header_h, m_header_top;
    float m_header_scale[2];
    _ColourRGBA m_header_colour;
    float m_row_scale[2][2];
    _ColourRGBA m_row_colour[2];
    char m_selectable, m_selection_mode, m_header_sorts, m_alternate, m_fill_empty, m_equal_widths,
        m_one_background;
    float m_border_x, m_border_y, m_heading_alpha, m_row_alpha;
    int m_sort_column, m_prev_sort_column;
    char m_sort_direction, m_prev_sort_direction;
    MWinTabPanelEntryCallback m_entry = nullptr;
    float m_scroll_pos = 0;
    float m_row_h = 0;
    _Dimension m_rows_area = {0, 0, 0, 0};
    char m_scrolling_needed = 0;
    bool m_no_page_reported = false;
    MWinVertScrollbar *m_vscroll = nullptr;
};
