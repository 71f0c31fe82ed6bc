// The panel: a scrolling page of text rows with a vertical scrollbar at its
// right edge when the entries do not fit, single or multiple selection
// (Control toggles, Shift selects ranges), keyboard navigation with
// type-ahead, and a per-row render callback for icons or columns.
// Entries come from a string callback. The selection goes into a bound
// char or int and, when asked, to the callback; the callback may delete
// the panel's window, so nothing of the panel is touched after it unless
// the panel is found again under its ids with the same serial.
//
// Failures: "invalid num entries", "Button is not a panel", "No default
// button height" and "NUM PER PAGE <= 0" are reported and change nothing;
// no memory for the selection array ('OMEM') leaves an empty panel.
#include "engine/core/EngDebug.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngWindowInput.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinKeys.h"
#include "gui/MWinTextures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const char *const kMultiPosTag = "MWinButton::PanelAllocateMultiPos";

// The panel's settings flags: highlight rows when active, draw the whole
// background, background highlighted.
enum { kHighlightRowsWhenActive = 0, kDrawWholeBackground = 1, kBackgroundHighlighted = 2 };

int FloorToInt(float v)
{
    return EngMathTruncateToInt(std::floor(v));
}

} // namespace

void MWinButton::PanelFreeArrays()
{
    if (m_panel_multi_pos)
        EngFree(m_panel_multi_pos, 0, kMultiPosTag);
    m_panel_multi_pos = nullptr;
}

void MWinButton::PanelSetUp()
{
    PanelFreeArrays();
    m_panel_num = m_panel_pos = m_panel_anchor = 0;
    m_panel_per_page = 0;
    m_panel_scroll = 0;
    m_panel_multi = m_panel_toggle = m_panel_allow_none = 0;
    m_panel_callback = nullptr;
    m_panel_row_cb = nullptr;
    m_panel_row_user = nullptr;
    m_panel_show_sel = 1;
    PanelUpdateNumPerPageVar(-1);
}

char MWinButton::PanelAllocateMultiPos()
{
    PanelFreeArrays();
    if (!m_panel_multi || m_panel_num <= 0)
        return 1;
    m_panel_multi_pos = static_cast<char *>(EngMalloc(m_panel_num + 1, kMultiPosTag, 1));
    if (m_panel_multi_pos)
        return 1;
    DebugErrorCode("MWinButton::PanelAllocateMultiPos", 'OMEM');
    PanelSetUp();
    return 0;
}

void MWinButton::PanelSetStringsCallback(int num, int per_page, StringCallback callback, void *context)
{
    PanelFreeArrays();
    if (context)
        m_context = context;
    if (num < 0) {
        DebugError("MWinButton::PanelSetStringsCallback", "invalid num entries %d (ID: %s)", num, m_id);
        return;
    }
    m_panel_pos = m_panel_allow_none ? -1 : 0;
    m_panel_num = num;
    PanelUpdateNumPerPageVar(per_page);
    m_panel_callback = callback;
    if (!PanelAllocateMultiPos())
        return;
    m_uses_token = 0;
    m_panel_scroll = 0;
    PanelRecompute();
    m_interactive = 1;
}

void MWinButton::PanelUpdateNumPerPageVar(int n)
{
    if (n > 0) {
        m_panel_per_page = n;
        m_panel_per_page_mode = 0;
    } else {
        _MWinLayoutSettings *layout = GetLayoutSettings();
        if (!layout || layout->m_button_h <= 0) {
            DebugError("MWinButton::PanelUpdateNumPerPageVar", "No default button height");
            return;
        }
        if (n != -99)
            m_panel_per_page_mode = static_cast<char>(-n);
        if (m_panel_per_page_mode != 0) {
            float row = layout->m_button_h * (m_panel_per_page_mode == 2 ? 0.66f : 1.0f);
            m_panel_per_page = FloorToInt(m_screen.h / row);
        }
    }
    PanelRecompute();
}

void MWinButton::PanelClampScroll()
{
    m_panel_scroll = std::min(m_panel_scroll, static_cast<float>(m_panel_num - m_panel_per_page));
    m_panel_scroll = std::max(m_panel_scroll, 0.0f);
}

void MWinButton::PanelRecompute()
{
    m_panel_row_h = m_panel_per_page > 0 ? m_screen.h / m_panel_per_page : m_screen.h;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!layout || m_panel_per_page >= m_panel_num || m_panel_num <= 1) {
        m_panel_bar_on = 0;
        m_panel_text_w = m_screen.w;
        return;
    }
    m_panel_bar_on = 1;
    float bar_w = layout->m_panel_scrollbar_w;
    m_panel_text_w = m_screen.w - bar_w;
    m_panel_bar = {m_screen.x + m_screen.w - bar_w, m_screen.y, bar_w, m_screen.h};
    m_panel_thumb_w = layout->m_vscrollbar_w;
    m_panel_thumb_x = m_panel_bar.x + m_panel_bar.w / 2 - m_panel_thumb_w / 2;
    m_panel_track_top = m_screen.y + layout->m_vscroll_track_inset;
    m_panel_track_bottom = m_screen.y + m_screen.h - layout->m_vscroll_track_inset;
    m_panel_track_len = m_panel_track_bottom - m_panel_track_top;
    float len = m_panel_per_page * m_panel_track_len / m_panel_num;
    float extra = std::max(0.0f, layout->m_panel_min_thumb_h - len);
    m_panel_thumb_len = len + extra;
    float first = std::min(static_cast<float>(m_panel_num - m_panel_per_page), std::max(m_panel_scroll, 0.0f));
    m_panel_thumb_y = m_panel_track_top + (m_panel_track_len - extra) * first / m_panel_num;
}

char MWinButton::PanelIsSelected(int entry)
{
    if (m_panel_multi && m_panel_multi_pos && entry >= 0 && entry <= m_panel_num)
        return m_panel_multi_pos[entry];
    return entry == m_panel_pos;
}

void MWinButton::PanelSetPos(int pos, char notify, char mode)
{
    if (m_type != MWBT_PANEL) {
        DebugError("MWinButton::PanelSetPos", "Button is not a panel");
        return;
    }
    if (m_panel_num <= 0)
        return;
    if (!m_panel_allow_none)
        pos = std::max(0, std::min(pos, m_panel_num - 1));
    else if (pos < 0)
        pos = -1;
    else if (pos >= m_panel_num)
        pos = m_panel_num - 1;
    m_panel_pos = pos;

    if (m_panel_multi && m_panel_multi_pos && pos >= 0 && pos <= m_panel_num) {
        bool control = eng_main_key_states[kKeyControl] > 1, shift = eng_main_key_states[kKeyShift] > 1;
        bool range_ok = pos != m_panel_anchor && m_panel_anchor >= 0 && m_panel_anchor <= m_panel_num;
        int lo = std::min(pos, m_panel_anchor), hi = std::max(pos, m_panel_anchor);
        if (mode != 2 && (control || m_panel_toggle)) {
            m_panel_multi_pos[pos] = !m_panel_multi_pos[pos];
        } else if (shift && range_ok) {
            if (mode != 2)
                std::memset(m_panel_multi_pos, 0, m_panel_num + 1);
            for (int i = lo; i <= hi; i++)
                m_panel_multi_pos[i] = 1;
        } else if (!shift || mode == 2 || !range_ok) {
            std::memset(m_panel_multi_pos, 0, m_panel_num + 1);
            m_panel_multi_pos[pos] = 1;
        }
    }
    m_panel_anchor = pos;
    if (m_panel_scroll + m_panel_per_page <= pos)
        m_panel_scroll = static_cast<float>(pos - m_panel_per_page + 1);
    if (pos < m_panel_scroll)
        m_panel_scroll = static_cast<float>(std::max(pos, 0));
    PanelRecompute();
    WriteBoundValue(pos);
    RequestRender();
    if (notify && HasCallback()) {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.m_panel_mode = notify - 1;
        info.m_panel_pos = m_panel_pos;
        info.m_panel_arg = mode;
        CallCallback(&info);
    }
}

char MWinButton::PanelSetMultiSelect(char on, char toggle_without_modifiers)
{
    m_panel_multi = on;
    m_panel_toggle = toggle_without_modifiers;
    return PanelAllocateMultiPos();
}

int MWinButton::PanelGetNumMultiPos()
{
    if (!m_panel_multi || !m_panel_multi_pos)
        return 0;
    int n = 0;
    for (int i = 0; i < m_panel_num; i++)
        n += m_panel_multi_pos[i] ? 1 : 0;
    return n;
}

int MWinButton::PanelGetNthMultiPos(int n)
{
    if (!m_panel_multi || !m_panel_multi_pos)
        return -1;
    for (int i = 0; i < m_panel_num; i++)
        if (m_panel_multi_pos[i] && n-- == 0)
            return i;
    return -1;
}

void MWinButton::PanelSetScrollPos(float first)
{
    if (m_panel_num <= 0 || first < 0 || first > m_panel_num - 1)
        return;
    m_panel_scroll = first;
    PanelClampScroll();
    PanelRecompute();
}

void MWinButton::PanelCenterOnPos()
{
    m_panel_scroll = static_cast<float>(std::max(m_panel_pos, 0) - m_panel_per_page / 2);
    PanelClampScroll();
    PanelRecompute();
}

void MWinButton::PanelRemoveAllEntries()
{
    PanelFreeArrays();
    m_panel_callback = nullptr;
    m_panel_pos = m_panel_anchor = m_panel_num = 0;
    m_panel_scroll = 0;
    PanelRecompute();
}

void MWinButton::PanelRegisterIntVariable(int *variable, char notify)
{
    if (m_type != MWBT_PANEL)
        return;
    RegisterIntVariable(variable, 1);
    if (variable)
        PanelSetPos(*variable, notify, 0);
}

void MWinButton::PanelSetExtraRenderCallback(MWinButtonRenderCallback callback, void *user)
{
    m_panel_row_cb = callback;
    m_panel_row_user = user;
}

char MWinButton::PanelGetVisibleRange(int *first, int *end)
{
    if (m_panel_per_page < 1)
        return 0;
    int f = std::max(0, std::min(FloorToInt(m_panel_scroll), m_panel_num));
    int e = std::max(0, std::min(f + m_panel_per_page, m_panel_num));
    if (first)
        *first = f;
    if (end)
        *end = e;
    return 1;
}

int MWinButton::PanelGetNumVisible()
{
    int first, end;
    return PanelGetVisibleRange(&first, &end) ? end - first : 0;
}

int MWinButton::PanelGetPosFromVisibleRow(int row)
{
    int first, end;
    if (!PanelGetVisibleRange(&first, &end) || end <= first)
        return -1;
    return row + first;
}

char MWinButton::PanelGetVisibleRowDimension(int row, _Dimension *out)
{
    int first, end;
    if (!out || !PanelGetVisibleRange(&first, &end) || row < 0 || row >= end - first)
        return 0;
    float fraction = m_panel_scroll - std::floor(m_panel_scroll);
    *out = {m_screen.x, m_screen.y + (row - fraction) * m_panel_row_h, m_panel_text_w, m_panel_row_h};
    return 1;
}

char MWinButton::PanelGetPosDimension(int entry, _Dimension *out)
{
    int first, end;
    if (!PanelGetVisibleRange(&first, &end) || entry < first || entry >= end)
        return 0;
    return PanelGetVisibleRowDimension(entry - first, out);
}

const char *MWinButton::PanelGetEntryText(int index)
{
    if (index < 0 || index >= m_panel_num || !m_panel_callback)
        return "";
    const char *text = m_panel_callback(index, this, m_context);
    return text ? text : "";
}

char MWinButton::PanelHandleMouseButtonPressed(char button, char down)
{
    if (!m_mwin) {
        DebugErrorCode("MWinButton::PanelHandleMouseButtonPressed", 'NOSU');
        return 0;
    }
    MWin *mwin = m_mwin;
    float mx = mwin->GetPointerX(), my = mwin->GetPointerY();
    bool inside = mx >= m_screen.x && mx < m_screen.x + m_screen.w && my >= m_screen.y && my < m_screen.y + m_screen.h;
    if (!inside || m_panel_per_page <= 0) {
        m_dragging = 0;
        return 0;
    }
    float g = m_screen.h / m_panel_per_page;
    if (m_panel_bar_on && mx >= m_panel_bar.x) {
        if (!down || button != 0) {
            if (down)
                mwin->CallEventHook(2);
            m_dragging = 0;
            return 1;
        }
        if (my >= m_panel_thumb_y && my <= m_panel_thumb_y + m_panel_thumb_len) {
            m_dragging = 1;
            float span = static_cast<float>(m_panel_num - m_panel_per_page + 1);
            float thumb_y = m_panel_track_top + (m_panel_track_len - m_panel_thumb_len) *
                                                    std::min(static_cast<float>(m_panel_num - m_panel_per_page), m_panel_scroll) / span;
            m_panel_grab = my - thumb_y - m_panel_thumb_len / 2;
        } else {
            m_panel_scroll += my < m_panel_thumb_y ? -m_panel_per_page : m_panel_per_page;
            PanelClampScroll();
            PanelRecompute();
        }
        mwin->CallEventHook(2);
        RequestRender();
        return 1;
    }
    if (down) {
        m_dragging = 0;
        return 1;
    }
    if (button != 0)
        return 1;
    if (m_dragging) {
        m_dragging = 0;
        return 1;
    }
    int entry = FloorToInt((my - m_screen.y) / g + m_panel_scroll);
    if (entry >= 0 && entry < m_panel_num) {
        mwin->CallEventHook(2);
        PanelSetPos(entry, 1, 1);
    }
    return 1;
}

void MWinButton::PanelHandleMouseMove()
{
    if (!m_panel_bar_on || !m_mwin) {
        m_dragging = 0;
        return;
    }
    float y = m_mwin->GetPointerY() - m_panel_grab;
    float room = m_panel_track_len - m_panel_thumb_len;
    m_panel_scroll = room > 0 ? (y - m_panel_thumb_len / 2 - m_panel_track_top) *
                                    (m_panel_num - m_panel_per_page + 1) / room
                              : 0;
    PanelClampScroll();
    PanelRecompute();
    RequestRender();
}

char MWinButton::PanelHandleKeyDown(int key)
{
    const MWinButtonIdentity self(this);
    switch (key) {
    case kKeyEnter:
        PanelSetPos(m_panel_pos, 2, 0);
        break;
    case kKeyPageUp:
        if (m_panel_pos <= 0)
            return 1;
        PanelSetPos(m_panel_pos - m_panel_per_page, 1, 2);
        break;
    case kKeyPageDown:
        if (m_panel_pos >= m_panel_num - 1)
            return 1;
        PanelSetPos(m_panel_pos + m_panel_per_page, 1, 2);
        break;
    case kKeyUp:
        PanelSetPos(m_panel_pos - 1, 1, 2);
        break;
    case kKeyDown:
        PanelSetPos(m_panel_pos + 1, 1, 2);
        break;
    default: {
        if (m_panel_multi || m_panel_num <= 0)
            return 0;
        // Type-ahead: the next entry starting with the key's letter, wrapping.
        int found = -1;
        for (int step = 1; step <= m_panel_num && found < 0; step++) {
            int i = ((m_panel_pos < 0 ? -1 : m_panel_pos) + step) % m_panel_num;
            if (static_cast<unsigned char>(PanelGetEntryText(i)[0]) == key)
                found = i;
        }
        if (found < 0)
            return 0;
        PanelSetPos(found, 1, 0);
        if (MWinButton *still = self.FindInPlace())
            still->PanelCenterOnPos();
        break;
    }
    }
    if (self.FindInPlace())
        self.mwin->CallEventHook(2);
    return 1;
}

void MWinButton::PanelRenderBack(_MWinTextureState state)
{
    const char *flags = m_mwin->GetSettingsP()->m_panel_flags;
    bool highlight_rows = flags[kHighlightRowsWhenActive], whole = flags[kDrawWholeBackground];
    if (whole)
        RenderBack(highlight_rows ? state
                   : flags[kBackgroundHighlighted] ? MWTS_HIGHLIGHTED
                   : m_enabled ? MWTS_NORMAL
                               : MWTS_DISABLED);
    if (m_panel_per_page <= 0) {
        DebugError("MWinButton::PanelRenderBack", "%s: NUM PER PAGE <= 0", m_id);
        return;
    }
    int first = FloorToInt(m_panel_scroll);
    float fraction = m_panel_scroll - static_cast<float>(first);
    for (int k = first; k <= first + m_panel_per_page; k++) {
        bool past = k >= m_panel_num;
        if (past && !whole)
            continue;
        if (!m_enabled && whole)
            break;
        _MWinTextureState row;
        bool selected = PanelIsSelected(k);
        if (m_active && highlight_rows) {
            if (!m_panel_show_sel)
                row = MWTS_HIGHLIGHTED;
            else if (past)
                row = MWTS_NORMAL;
            else if (!m_enabled && k != m_panel_pos)
                row = MWTS_DISABLED;
            else
                row = selected ? MWTS_PRESSED : MWTS_HIGHLIGHTED;
        } else {
            if (!m_panel_show_sel)
                row = MWTS_NORMAL;
            else if (past)
                continue; // only reached with the whole background drawn
            else if (!m_enabled && k != m_panel_pos)
                row = MWTS_DISABLED;
            else
                row = selected ? MWTS_HIGHLIGHTED : MWTS_NORMAL;
        }
        _Dimension area = {m_screen.x, m_screen.y + (k - first - fraction) * m_panel_row_h, m_panel_text_w,
                           m_panel_row_h};
        MWinTextures *textures = m_mwin->GetTextures();
        if (textures)
            textures->DrawTexButInArea(m_texbut, row, &area, nullptr);
        if (m_panel_row_cb)
            m_panel_row_cb(this, &area, row, k, m_panel_row_user);
    }
    MWinTextures *textures = m_mwin->GetTextures();
    if (m_panel_bar_on && textures) {
        textures->DrawTexButInArea(textures->GetStandardTexButNum(MWIN_STD_TEX_VSCROLL_BACK), state, &m_panel_bar,
                                   nullptr);
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TEX_VSCROLL_BUTTON), MWTS_NORMAL,
                             m_panel_thumb_x, m_panel_thumb_y, m_panel_thumb_w, m_panel_thumb_len, nullptr);
    }
}

void MWinButton::PanelRenderText()
{
    if (m_panel_per_page <= 0) {
        DebugError("MWinButton::PanelRenderText", "%s: NUM PER PAGE <= 0", m_id);
        return;
    }
    if (m_panel_row_h <= 0 || m_panel_num <= 0)
        return;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    float inset = layout ? layout->m_panel_text_inset : 0;
    // Long entries are cut at the text area, clear of the scrollbar.
    RECT saved;
    bool narrowed = eng_device && eng_device->GetCrop(&saved);
    if (narrowed) {
        float left = 0;
        GetTextHorzRange(&left, nullptr, inset);
        _Dimension text_area = {left, m_screen.y, m_panel_text_w - 2 * inset, m_screen.h};
        TurnOnCropWithin(&text_area);
    }
    int first = FloorToInt(m_panel_scroll);
    float fraction = m_panel_scroll - static_cast<float>(first);
    for (int k = first; k <= first + m_panel_per_page && k < m_panel_num; k++) {
        _Dimension area = {m_screen.x, m_screen.y + (k - first - fraction) * m_panel_row_h, m_panel_text_w,
                           m_panel_row_h};
        m_mwin->DrawTextLineInDimension(m_font_num, m_text_align, inset, &area, nullptr, PanelGetEntryText(k), 0, 1,
                                        m_shrink_to_fit);
    }
    if (narrowed)
        eng_device->SetCrop(&saved);
}
