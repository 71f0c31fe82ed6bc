// The tab panel's set-up, layout, drawing and input. The rows store only
// their selection flags; the texts come from the entry callback at drawing
// time. Positions are in the same absolute 640 x 480 units as the panel's
// screen rectangle; the scroll position is the index of the top visible row.
#include "gui/MWinTabPanel.h"

#include "engine/core/EngDebug.h"
#include "engine/graphics/EngFont.h"
#include "engine/runtime/EngWindow.h"
#include "engine/runtime/EngWindowInput.h"
#include "gui/MWin.h"
#include "gui/MWinKeys.h"
#include "gui/MWinScrollbar.h"
#include "gui/MWinTextures.h"

#include <cstddef>
#include <new>

namespace {

const char *const kScrollbarId = "MWIN_TP_VS_ID";

// The row height each layout computes its page from, and the factor of
// each page mode (mode 0 is a fixed count).
const float kLayoutRowHeight[MWIN_NUM_LAYOUTS] = {20, 32, 44, 18, 26};
const float kPageModeFactor[4] = {0, 1, 0.66f, 0.4f};

// The toolkit's tab-panel defaults, in the settings' order.
enum { DEFAULT_SELECTABLE, DEFAULT_EQUAL_WIDTHS, DEFAULT_ONE_BACKGROUND, DEFAULT_ALTERNATE };

bool KeyHeld(int vk)
{
    return eng_main_key_states[vk] > 1;
}

} // namespace

MWinTabPanel::MWinTabPanel(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x, float y,
                           float w, float h)
    : MWinButton(mwin, id, group, MWBT_CLASS, texbut_id, "", x, y, w, h)
{
    ResetToDefaults();
}

MWinTabPanel::~MWinTabPanel()
{
    delete m_vscroll;
}

void MWinTabPanel::ResetToDefaults()
{
    const char *defaults = m_mwin->GetSettingsP()->m_tab_panel_flags;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    m_columns.clear();
    m_rows.clear();
    m_rows_per_page = 0;
    m_page_mode = 0;
    m_show_header = 1;
    m_header_h = layout ? layout->m_tab_header_h : 20.0f;
    m_header_top = 0;
    m_header_scale[0] = m_header_scale[1] = 1;
    m_header_colour = {1, 1, 1, 1};
    for (int parity = 0; parity < 2; parity++) {
        m_row_scale[parity][0] = m_row_scale[parity][1] = 1;
        m_row_colour[parity] = {1, 1, 1, 1};
    }
    m_selectable = defaults[DEFAULT_SELECTABLE];
    m_selection_mode = SELECT_SINGLE;
    m_header_sorts = 1;
    m_alternate = defaults[DEFAULT_ALTERNATE];
    m_fill_empty = 1;
    m_equal_widths = defaults[DEFAULT_EQUAL_WIDTHS];
    m_one_background = defaults[DEFAULT_ONE_BACKGROUND];
    m_border_x = m_border_y = 2;
    m_heading_alpha = 1;
    m_row_alpha = 0.75f;
    m_sort_column = m_prev_sort_column = -1;
    m_sort_direction = m_prev_sort_direction = 0;
}

// Set-up.

char MWinTabPanel::SetEntryCallback(int rows, int columns, int rows_per_page, MWinTabPanelEntryCallback callback)
{
    const char *where = "MWinTabPanel::SetEntryCallback";
    m_rows.clear();
    if (columns < 1) {
        DebugError(where, "invalid num cols %d (ID: %s)", columns, m_id);
        return 0;
    }
    if (rows < 0) {
        DebugError(where, "invalid num rows %d (ID: %s)", rows, m_id);
        return 0;
    }
    if (!callback && !m_entry) {
        DebugError(where, "Null callback entry (ID: %s)", m_id);
        return 0;
    }
    m_columns.assign(static_cast<size_t>(columns), _MWinTabPanelColumn{0, 0, 0, -1});
    m_set_up = 1;
    m_interactive = 1;
    if (rows_per_page > 0) {
        m_page_mode = 0;
        m_rows_per_page = rows_per_page;
    } else {
        m_page_mode = rows_per_page == -2 ? 2 : rows_per_page == -3 ? 3 : 1;
    }
    SetNumRows(rows);
    if (callback)
        m_entry = callback;
    m_uses_token = 0;
    m_scroll_pos = 0;
    CalcColumns();
    UpdateLayout();
    RequestRender();
    return 1;
}

char MWinTabPanel::SetNumRows(int rows)
{
    if (!m_set_up) {
        DebugErrorCode("MWinTabPanel::SetNumRows", 'NOSU');
        return 0;
    }
    m_rows.assign(static_cast<size_t>(rows > 0 ? rows : 0), 0);
    CalcRowsPerPage();
    // The layout first: a scrollbar that comes or goes changes the width the columns share.
    UpdateLayout();
    CalcColumns();
    return 1;
}

void MWinTabPanel::RemoveAllRows()
{
    m_rows.clear();
    m_scroll_pos = 0;
    UpdateLayout();
    RequestRender();
}

void MWinTabPanel::SetOptions(char show_header, char alternate_rows, char fill_empty_rows, char selectable,
                              char selection_mode, char header_sorts, float header_height)
{
    m_show_header = show_header;
    m_alternate = alternate_rows;
    m_fill_empty = fill_empty_rows;
    m_selectable = selectable;
    m_selection_mode = selection_mode;
    m_header_sorts = header_sorts;
    if (header_height > 0)
        m_header_h = header_height;
    if (!show_header)
        m_header_h = 0;
    CalcRowsPerPage();
    CalcColumns();
    UpdateLayout();
}

char MWinTabPanel::SetColumnWidthPercentage(int column, int percent)
{
    if (column < 0 || column >= GetNumColumns()) {
        DebugError("MWinTabPanel::SetColumnWidthPercentage", "Column does not exist [%d]", column);
        return 0;
    }
    if (percent < 0 || percent > 100) {
        DebugError("MWinTabPanel::SetColumnWidthPercentage", "Invalid percentage: [%d]", percent);
        return 0;
    }
    m_columns[column].m_percentage = static_cast<unsigned char>(percent);
    m_equal_widths = 0;
    CalcColumns();
    return 1;
}

char MWinTabPanel::SetColumnTextAlign(int column, _MWinTextAlign align)
{
    if (column < 0 || column >= GetNumColumns()) {
        DebugError("MWinTabPanel::SetColumnTextAlign", "Column does not exist [%d]", column);
        return 0;
    }
    m_columns[column].m_align = align;
    return 1;
}

void MWinTabPanel::SetHeaderTextStyle(float scale_x, float scale_y, float r, float g, float b, float a)
{
    if (scale_x >= 0)
        m_header_scale[0] = scale_x;
    if (scale_y >= 0)
        m_header_scale[1] = scale_y;
    if (r >= 0 && g >= 0 && b >= 0) {
        m_header_colour.r = r;
        m_header_colour.g = g;
        m_header_colour.b = b;
    }
    if (a >= 0)
        m_header_colour.a = a;
}

void MWinTabPanel::SetRowTextStyle(char which, float scale_x, float scale_y, float r, float g, float b, float a)
{
    for (int parity = 0; parity < 2; parity++) {
        if (which != -1 && which != parity)
            continue;
        m_row_scale[parity][0] = scale_x;
        m_row_scale[parity][1] = scale_y;
        m_row_colour[parity] = {r, g, b, a};
    }
}

const _MWinTabPanelColumn *MWinTabPanel::GetColumn(int column) const
{
    return column >= 0 && column < GetNumColumns() ? &m_columns[column] : nullptr;
}

// Layout.

void MWinTabPanel::CalcRowsPerPage()
{
    if (m_page_mode < 1 || m_page_mode > 3)
        return;
    int layout = m_mwin->GetLayout();
    float row_h = kLayoutRowHeight[layout >= 0 && layout < MWIN_NUM_LAYOUTS ? layout : 0];
    m_rows_per_page = EngMathTruncateToInt(m_screen.h / (row_h * kPageModeFactor[static_cast<int>(m_page_mode)]));
}

void MWinTabPanel::CalcColumns()
{
    const int count = GetNumColumns();
    if (count == 0)
        return;
    const float total_w = m_rows_area.w - 2 * m_border_x;
    int total = 0, without = 0;
    for (const _MWinTabPanelColumn &c : m_columns) {
        total += c.m_percentage;
        without += c.m_percentage == 0 ? 1 : 0;
    }
    if (total == 0)
        m_equal_widths = 1;
    float x = 0;
    for (_MWinTabPanelColumn &c : m_columns) {
        if (m_equal_widths)
            c.m_width = total_w / count;
        else if (total >= 100 || without == 0)
            c.m_width = c.m_percentage * (100.0f / total) * total_w / 100;
        else if (c.m_percentage > 0)
            c.m_width = c.m_percentage * total_w / 100;
        else
            c.m_width = (100 - total) * total_w / 100 / without;
        c.m_x = x;
        x += c.m_width;
    }
    RequestRender();
}

void MWinTabPanel::UpdateLayout()
{
    const _Dimension &s = m_screen;
    m_rows_area.x = s.x + m_border_x;
    m_rows_area.w = s.w - 2 * m_border_x;
    if (m_show_header) {
        m_rows_area.y = s.y + m_header_top + m_header_h;
        m_rows_area.h = s.h - m_header_top - m_header_h - m_border_y;
    } else {
        m_rows_area.y = s.y + m_border_y + m_header_h;
        m_rows_area.h = s.h - 2 * m_border_y - m_header_h;
    }
    m_row_h = m_rows_per_page >= 1 ? m_rows_area.h / m_rows_per_page : m_rows_area.h;

    if (GetNumRows() > m_rows_per_page && m_rows_per_page >= 1) {
        _MWinLayoutSettings *layout = GetLayoutSettings();
        const float sw = layout ? layout->m_vscrollbar_w : 16.0f;
        const float top = m_show_header ? m_header_top : m_border_y;
        const float bar_x = m_dim.x + m_dim.w - m_border_x - sw, bar_y = m_dim.y + top + m_header_h;
        const float bar_h = m_dim.h - top - m_border_y - m_header_h;
        if (!m_vscroll) {
            m_vscroll = new (std::nothrow)
                MWinVertScrollbar(m_mwin, kScrollbarId, m_group, "MWIN_TEXBUT_DEFAULT", "", bar_x, bar_y, sw, bar_h);
            if (m_vscroll)
                m_vscroll->SetOwned();
            else
                DebugErrorCode("MWinTabPanel::UpdateLayout", 'OMEM');
        }
        if (m_vscroll) {
            m_vscroll->SetPosAndSize(bar_x, bar_y, sw, bar_h);
            m_vscroll->m_shown = 1;
            m_vscroll->SetRangeInt(0, GetNumRows() - m_rows_per_page, m_rows_per_page, 1);
            m_vscroll->MWinScrollbar::RegisterFloatVariable(&m_scroll_pos, 1.0f, 0);
            m_rows_area.w -= sw;
            if (m_active)
                m_vscroll->Activate();
        }
        m_scrolling_needed = 1;
    } else {
        m_scrolling_needed = 0;
        delete m_vscroll;
        m_vscroll = nullptr;
    }
}

void MWinTabPanel::AreaChanged()
{
    MWinButton::AreaChanged();
    CalcRowsPerPage();
    UpdateLayout();
    CalcColumns();
    RequestRender();
}

// Rows and the page.

char MWinTabPanel::IsRowSelected(int row) const
{
    return row >= 0 && row < GetNumRows() ? m_rows[row] : 0;
}

void MWinTabPanel::UnselectAllRows()
{
    for (char &row : m_rows)
        row = 0;
    RequestRender();
}

int MWinTabPanel::GetFirstSelectedRow()
{
    for (int row = 0; row < GetNumRows(); row++)
        if (m_rows[row])
            return row;
    return -1;
}

void MWinTabPanel::SetFirstVisibleRow(int row)
{
    if (row < 0 || row >= GetNumRows())
        return;
    m_scroll_pos = static_cast<float>(row);
    if (m_vscroll)
        m_vscroll->UpdateFromBoundVariable(0);
    RequestRender();
}

void MWinTabPanel::ScrollRowToMiddle(int row)
{
    int first = row - m_rows_per_page / 2;
    const int last_first = GetNumRows() - m_rows_per_page;
    if (first > last_first)
        first = last_first;
    SetFirstVisibleRow(first < 0 ? 0 : first);
}

void MWinTabPanel::ScrollToSelectedRow()
{
    int row = GetFirstSelectedRow();
    if (row >= 0)
        ScrollRowToMiddle(row);
}

int MWinTabPanel::GetFirstVisibleRow()
{
    return m_scroll_pos > 0 ? EngMathTruncateToInt(m_scroll_pos) : 0;
}

int MWinTabPanel::GetLastVisibleRow()
{
    int last = GetFirstVisibleRow() + m_rows_per_page - 1;
    return last < GetNumRows() - 1 ? last : GetNumRows() - 1;
}

char MWinTabPanel::GetCellArea(int row, int column, _Dimension *out)
{
    if (!out || row < 0 || column < 0 || column >= GetNumColumns() || m_rows_per_page < 1)
        return 0;
    const int position = EngMathTruncateToInt(m_scroll_pos);
    if (row < position - 1 || row > m_rows_per_page + position)
        return 0;
    const float row_h = m_rows_area.h / m_rows_per_page;
    out->x = m_columns[column].m_x + m_border_x + m_screen.x;
    out->w = m_columns[column].m_width;
    out->y = (row - m_scroll_pos) * row_h + m_rows_area.y;
    out->h = row_h;
    return 1;
}

void MWinTabPanel::CropToTableRowsArea(char with_header)
{
    if (!m_mwin) {
        DebugError("MWinTabPanel::CropToTableRowsArea", "No mwin.");
        return;
    }
    if (with_header && m_show_header)
        TurnOnCropToArea(m_rows_area.x, m_screen.y + m_header_top, m_rows_area.w,
                         m_screen.h - m_header_top - m_border_y);
    else
        TurnOnCropToDimension(&m_rows_area);
}

char MWinTabPanel::HasScrollbar(char vertical)
{
    return vertical == 1 && m_vscroll != nullptr;
}

bool MWinTabPanel::ScrollBy(int delta)
{
    float pos = m_scroll_pos + delta;
    const float last = static_cast<float>(GetNumRows() - m_rows_per_page);
    if (pos > last)
        pos = last;
    if (pos < 0)
        pos = 0;
    if (pos == m_scroll_pos)
        return false;
    m_scroll_pos = pos;
    if (m_vscroll)
        m_vscroll->UpdateFromBoundVariable(0);
    RequestRender();
    return true;
}

// Selection.

char MWinTabPanel::SelectRow(int row, char select, char notify, char value)
{
    const char *where = "MWinTabPanel::SelectRow";
    if (m_type != MWBT_CLASS) {
        DebugError(where, "Button is not a panel");
        return 0;
    }
    if (m_rows.empty()) {
        DebugError(where, "No rows");
        return 0;
    }
    if (row < 0) {
        DebugError(where, "Bad row number [%d]", row);
        return 0;
    }
    if (row >= GetNumRows()) {
        DebugError(where, "Row does not exits [%d]", row);
        return 0;
    }
    m_rows[row] = select >= 1 ? 1 : select == 0 ? 0 : !m_rows[row];
    if (row < GetFirstVisibleRow())
        m_scroll_pos = static_cast<float>(row);
    else if (row >= GetFirstVisibleRow() + m_rows_per_page)
        m_scroll_pos = static_cast<float>(row - m_rows_per_page + 1);
    UpdateLayout();
    if (m_var_kind == VAR_INT && m_var_int)
        *m_var_int = row;
    else if (m_var_kind == VAR_CHAR && m_var_char)
        *m_var_char = static_cast<char>(row);
    RequestRender();
    if (!notify || !HasCallback())
        return 1;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.m_tab_row = row;
    info.m_tab_selected = m_rows[row];
    info.m_tab_value = value;
    return CallCallback(&info);
}

char MWinTabPanel::ClickHeader()
{
    if (!m_show_header || !m_header_sorts)
        return 0;
    const float mx = m_mwin->GetMouseX() - m_rows_area.x - m_border_x;
    int column = -1;
    for (int c = 0; c < GetNumColumns(); c++)
        if (mx >= m_columns[c].m_x && mx < m_columns[c].m_x + m_columns[c].m_width)
            column = c;
    if (column < 0)
        return 0;
    m_prev_sort_column = m_sort_column;
    m_prev_sort_direction = m_sort_direction;
    if (column == m_sort_column) {
        m_sort_direction = !m_sort_direction;
    } else {
        m_sort_column = column;
        m_sort_direction = 0;
    }
    RequestRender();
    if (!HasCallback())
        return 1;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.m_tab_row = -1;
    info.m_tab_header = 1;
    CallCallback(&info);
    return 1;
}

char MWinTabPanel::ClickRow()
{
    if (!m_selectable || m_row_h <= 0)
        return 1;
    const int row = EngMathTruncateToInt((m_mwin->GetMouseY() - m_rows_area.y) / m_row_h + m_scroll_pos);
    if (row < 0 || row >= GetNumRows())
        return 1;
    if (m_selection_mode != SELECT_TOGGLE && !KeyHeld(kKeyShift) && !KeyHeld(kKeyControl))
        for (int other = 0; other < GetNumRows(); other++)
            if (other != row)
                m_rows[other] = 0;
    SelectRow(row, m_selection_mode == SELECT_TOGGLE ? -1 : 1, 1, 1);
    return 1;
}

// Input.

char MWinTabPanel::HandleMouseButtonPressed(char button, char down, char extra)
{
    if (m_vscroll && (m_vscroll->IsDraggingThumb() ||
                      m_mwin->IsMouseInDimension(m_vscroll->GetScreenDimensionP(), nullptr)))
        return m_vscroll->HandleMouseButtonPressed(button, down, extra);
    if (!m_set_up || !m_active || !m_enabled || !m_shown || button != 0)
        return 0;
    if (m_columns.empty() || down)
        return 1;
    if (!m_mwin->IsMouseInDimension(&m_rows_area, nullptr))
        return ClickHeader();
    return ClickRow();
}

char MWinTabPanel::HandleMouseButtonReleased(char button)
{
    if (m_vscroll)
        m_vscroll->HandleMouseButtonReleased(button);
    const int row = GetFirstSelectedRow();
    if (m_selectable && m_selection_mode == SELECT_SINGLE && row >= 0)
        SelectRow(row, 1, 1, 2);
    return 1;
}

char MWinTabPanel::CancelPress()
{
    return m_vscroll ? m_vscroll->CancelPress() : 0;
}

void MWinTabPanel::HandleMouseMove()
{
    if (!m_vscroll)
        return;
    m_vscroll->HandleMouseMove();
    if (m_vscroll->IsDraggingThumb())
        UpdateLayout();
}

char MWinTabPanel::HandleMouseWheel(int count)
{
    if (m_vscroll) {
        m_vscroll->HandleMouseWheel(count);
        UpdateLayout();
        return 1;
    }
    const int row = GetFirstSelectedRow();
    if (m_selectable && m_selection_mode == SELECT_SINGLE && row >= 0 && count != 0) {
        int next = count > 0 ? row - 1 : row + 1;
        if (next >= 0 && next < GetNumRows()) {
            m_rows[row] = 0;
            SelectRow(next, 1, 1, 0);
        }
    }
    return 1;
}

char MWinTabPanel::HandleKeyDown(int key)
{
    if (!m_set_up || !m_active || !m_shown)
        return 0;
    int delta = 0;
    if (key == kKeyPageUp)
        delta = -m_rows_per_page;
    else if (key == kKeyPageDown)
        delta = m_rows_per_page;
    else if (key == kKeyUp)
        delta = -1;
    else if (key == kKeyDown)
        delta = 1;
    else
        return MWinButton::HandleKeyDown(key);
    if (m_scrolling_needed) {
        ScrollBy(delta);
        return 1;
    }
    const int row = GetFirstSelectedRow();
    if (m_selectable && m_selection_mode == SELECT_SINGLE && row >= 0) {
        int next = row + delta;
        if (next < 0)
            next = 0;
        if (next > GetNumRows() - 1)
            next = GetNumRows() - 1;
        if (next != row) {
            m_rows[row] = 0;
            SelectRow(next, 1, 1, 0);
        }
    }
    return 1;
}

char MWinTabPanel::IsCapturingInput()
{
    return m_vscroll ? m_vscroll->IsCapturingInput() : 0;
}

void MWinTabPanel::Activate()
{
    MWinButton::Activate();
    if (m_vscroll)
        m_vscroll->Activate();
}

char MWinTabPanel::Deactivate()
{
    char result = MWinButton::Deactivate();
    if (m_vscroll)
        m_vscroll->Deactivate();
    return result;
}

// Drawing.

bool MWinTabPanel::HasPage()
{
    if (m_rows_per_page >= 1) {
        m_no_page_reported = false;
        return true;
    }
    if (!m_no_page_reported) {
        m_no_page_reported = true;
        DebugError("MWinTabPanel::Render", "%s: NUM PER PAGE <= 0", m_id);
    }
    return false;
}

void MWinTabPanel::Render()
{
    if (!m_on_screen || !IsRenderable())
        return;
    _MWinTextureState state = GetTextureState();
    MWinButton::RenderBack(state);
    RenderPicture();
    RenderBack();
    RenderText();
    if (m_render_callback)
        m_render_callback(this, &m_screen, state, m_render_value, m_render_user);
    if (m_vscroll) {
        m_vscroll->TurnOnCropToWindow();
        m_vscroll->Render();
    }
    TurnOffCrop();
}

void MWinTabPanel::RenderBack()
{
    MWinTextures *textures = m_mwin->GetTextures();
    if (!textures)
        return;
    auto std_tex = [textures](int num) { return textures->GetStandardTexButNum(num); };
    const _Dimension &s = m_screen;
    if (m_show_header) {
        CropToTableRowsArea(1);
        const _ColourRGBA heading = {1, 1, 1, m_heading_alpha};
        textures->DrawTexBut(std_tex(MWIN_STD_TEX_TABPANEL_HEADING), m_enabled ? MWTS_NORMAL : MWTS_DISABLED,
                             s.x + m_border_x, s.y + m_header_top, s.w - 2 * m_border_x, m_header_h, &heading);
        if (m_sort_column >= 0 && m_sort_column < GetNumColumns()) {
            const _MWinTabPanelColumn &c = m_columns[m_sort_column];
            const float side = m_header_h / 3;
            const float right = m_rows_area.x + m_border_x + c.m_x + c.m_width;
            textures->DrawTexBut(std_tex(m_sort_direction ? MWIN_STD_TEX_UP_ARROW : MWIN_STD_TEX_DOWN_ARROW),
                                 MWTS_NORMAL, right - side, s.y + m_header_top + (m_header_h - side) / 2, side, side,
                                 nullptr);
        }
    }
    if (!HasPage())
        return;

    TurnOnCropToDimension(&m_rows_area);
    const _ColourRGBA row_colour = {1, 1, 1, m_row_alpha};
    const _ColourRGBA *colour = m_row_alpha > 0 && m_row_alpha < 1 ? &row_colour : nullptr;
    const int first = GetFirstVisibleRow();
    int last = GetLastVisibleRow() + 1;
    if (last < first + m_rows_per_page + 1)
        last = first + m_rows_per_page + 1;
    const bool whole_rows = m_columns.empty() || m_one_background;
    const int passes = whole_rows ? 1 : GetNumColumns();
    for (int row = first; row < last; row++) {
        int tex;
        if (row < GetNumRows())
            tex = m_rows[row] ? MWIN_STD_TEX_TABPANEL_ROW_SEL
                  : m_alternate && row % 2 ? MWIN_STD_TEX_TABPANEL_ROW_BACK_2
                                           : MWIN_STD_TEX_TABPANEL_ROW_BACK_1;
        else if (m_fill_empty)
            tex = MWIN_STD_TEX_TABPANEL_ROW_EMPTY;
        else
            continue;
        const float y = (row - m_scroll_pos) * m_row_h + m_rows_area.y;
        for (int c = 0; c < passes; c++) {
            float x = m_rows_area.x, w = m_rows_area.w;
            if (!whole_rows) {
                x += m_border_x + m_columns[c].m_x;
                w = m_columns[c].m_width;
            }
            textures->DrawTexBut(std_tex(tex), MWTS_NORMAL, x, y, w, m_row_h, colour);
        }
    }

    _MWinLayoutSettings *layout = GetLayoutSettings();
    const float divider_w = layout ? layout->m_tab_divider_w : 0.0f;
    if (m_one_background && GetNumColumns() > 1 && divider_w > 0) {
        CropToTableRowsArea(1);
        const float inset = layout->m_tab_row_gap;
        const _ColourRGBA half = {1, 1, 1, 0.5f};
        // Over an unfilled page the dividers stop below the last row.
        float bottom = s.y + s.h - inset;
        if (!m_fill_empty && GetNumRows() < m_rows_per_page)
            bottom = m_rows_area.y + (GetNumRows() - m_scroll_pos) * m_row_h;
        for (int c = 0; c + 1 < GetNumColumns(); c++) {
            const float x = m_rows_area.x + m_border_x + m_columns[c].m_x + m_columns[c].m_width - divider_w / 2;
            textures->DrawTexBut(std_tex(MWIN_STD_TEX_TABPANEL_VERT_DIV), MWTS_NORMAL, x, s.y + inset, divider_w,
                                 bottom - s.y - inset, &half);
        }
    }
    TurnOffCrop();
}

void MWinTabPanel::RenderText()
{
    EngFont *font = GetFont();
    if (!font || m_columns.empty() || (m_rows.empty() && !m_show_header) || m_row_h <= 0 || !m_entry)
        return;
    if (!HasPage())
        return;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    const float inset = layout ? layout->m_tab_text_inset : 0.0f;
    auto draw_cell = [&](const char *text, const _MWinTabPanelColumn &c, float y, float h, const float *scale,
                         const _ColourRGBA &colour) {
        if (!text)
            return;
        font->SetScale(m_text_scale_x * scale[0] * GetXScale(), m_text_scale_y * scale[1] * GetYScale());
        const _ColourRGBA c2 = {m_text_colour.r * colour.r, m_text_colour.g * colour.g, m_text_colour.b * colour.b,
                                m_text_colour.a * colour.a};
        ApplyTextColour(font, &c2);
        const float x = m_rows_area.x + m_border_x + c.m_x;
        const _MWinTextAlign align = c.m_align >= 0 ? static_cast<_MWinTextAlign>(c.m_align) : m_text_align;
        // A right-aligned cell keeps the inset from its right edge as a
        // left-aligned one does from its left, so that the texts of two
        // neighbouring cells ("Pos" and "Name") never run together.
        const float w = align == MWTA_RIGHT ? c.m_width - inset * eng_font_scale_x : c.m_width;
        m_mwin->DrawTextLine(m_font_num, align, inset, x, y, w, h, nullptr, text, 0, 1, 0);
    };

    if (m_show_header) {
        for (int c = 0; c < GetNumColumns(); c++) {
            const _MWinTabPanelColumn &col = m_columns[c];
            if (col.m_width <= 0)
                continue;
            TurnOnCropToArea(m_rows_area.x + m_border_x + col.m_x, m_screen.y + m_header_top, col.m_width,
                             m_header_h);
            draw_cell(m_entry(-1, c, this), col, m_screen.y + m_header_top, m_header_h, m_header_scale,
                      m_header_colour);
        }
    }
    TurnOnCropToDimension(&m_rows_area);
    const int first = GetFirstVisibleRow();
    for (int c = 0; c < GetNumColumns(); c++) {
        const _MWinTabPanelColumn &col = m_columns[c];
        if (col.m_width <= 0)
            continue;
        for (int row = first; row <= GetLastVisibleRow() + 1 && row < GetNumRows(); row++) {
            const float y = (row - m_scroll_pos) * m_row_h + m_rows_area.y;
            if (y < 0)
                continue;
            draw_cell(m_entry(row, c, this), col, y, m_row_h, m_row_scale[row % 2], m_row_colour[row % 2]);
        }
    }
    TurnOffCrop();
}
