// A window's built-in content scrolling. With a scroll size above 0 on an
// axis, the window shows a track along its bottom (horizontal) or right
// edge (vertical) with a thumb whose length is the visible share of the
// content; dragging the thumb, pressing the track (one window size per
// release) or, vertically, the wheel moves the content. Every control's
// screen area includes the window's offsets, so scrolling is recomputing
// those areas. A window scrolls along one axis at a time: applying one axis
// returns the other's content to its start.
//
// Failures: a negative size turns scrolling off; nothing here reports.
#include "gui/MWinWindow.h"

#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinGroup.h"
#include "gui/MWinTextures.h"

#include <cstring>

namespace {

// The share of the scroll size one wheel click moves.
const float kWheelShare = 0.02f;

} // namespace

void MWinWindow::SetScrollSize(float w, float h)
{
    if (!m_mwin || w < 0 || h < 0 || (w == 0 && h == 0)) {
        bool update = m_mwin && w == 0 && h == 0;
        m_scrolling_on = 0;
        m_scroll_size[MWIN_AXIS_HORZ] = 0;
        m_scroll_size[MWIN_AXIS_VERT] = 0;
        m_scroller.TurnOff();
        if (update)
            UpdateAreas(0);
        return;
    }
    m_scrolling_on = 1;
    m_scroll_size[MWIN_AXIS_HORZ] = w;
    m_scroll_size[MWIN_AXIS_VERT] = h;
    UpdateAreas(0);
}

void MWinWindow::UpdateScrollbars()
{
    bool was_offset = m_offset_x != 0 || m_offset_y != 0;
    for (_MWinWindowScroll &axis : m_scroll) {
        std::memset(&axis, 0, sizeof(axis));
        axis.fraction = 1;
    }
    m_offset_x = 0;
    m_offset_y = 0;
    _MWinLayoutSettings *l = m_mwin ? GetScreenLayout() : nullptr;
    bool applied = false;
    if (m_scrolling_on && l) {
        float size = m_scroll_size[MWIN_AXIS_HORZ];
        if (size > 0) {
            _MWinWindowScroll &s = m_scroll[MWIN_AXIS_HORZ];
            s.track = {m_area.x, m_area.y + m_area.h - l->m_win_hscroll_h, m_area.w, l->m_win_hscroll_h};
            s.fraction = m_area.w / (size + m_area.w);
            float length = m_area.w * s.fraction;
            s.travel = m_area.w - length;
            s.thumb = {m_area.x, s.track.y + s.track.h / 2 - l->m_win_hthumb_h / 2, length, l->m_win_hthumb_h};
            ApplyScroll(MWIN_AXIS_HORZ, 1);
            applied = true;
        }
        size = m_scroll_size[MWIN_AXIS_VERT];
        if (size > 0) {
            _MWinWindowScroll &s = m_scroll[MWIN_AXIS_VERT];
            s.track = {m_area.x + m_area.w - l->m_win_vscroll_w, m_area.y, l->m_win_vscroll_w, m_area.h};
            s.fraction = m_area.h / (size + m_area.h);
            float length = m_area.h * s.fraction;
            s.travel = m_area.h - length;
            s.thumb = {s.track.x + s.track.w / 2 - l->m_win_vthumb_w / 2, m_area.y, l->m_win_vthumb_w, length};
            ApplyScroll(MWIN_AXIS_VERT, 1);
            applied = true;
        }
    }
    // Content left scrolled when scrolling went off comes back to its start.
    if (!applied && was_offset)
        for (MWinGroup *g = m_first_group; g; g = g->GetNext())
            g->UpdateButtonAreas();
}

void MWinWindow::ApplyScroll(int axis, char)
{
    const bool vertical = axis == MWIN_AXIS_VERT;
    _MWinWindowScroll &s = m_scroll[vertical];
    float size = m_scroll_size[vertical];
    if (vertical)
        m_offset_x = 0;
    else
        m_offset_y = 0;
    if (s.pos > size)
        s.pos = size;
    if (s.pos < 0)
        s.pos = 0;
    if (size > 0) {
        float along = s.travel * s.pos / size;
        if (vertical)
            s.thumb.y = along + m_area.y;
        else
            s.thumb.x = along + m_area.x;
    }
    if (vertical)
        m_offset_y = -s.pos;
    else
        m_offset_x = -s.pos;
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        g->UpdateButtonAreas();
    // The title-bar buttons are placed against the offset so they stay put.
    UpdateHideAndExtraButtons(0, 0, 1);
}

char MWinWindow::ScrollPress(char button, char pressed, char, char extra2)
{
    if (!m_scrolling_on || extra2 || button != 0)
        return 0;
    char taken = 0;
    for (int axis = MWIN_AXIS_HORZ; axis <= MWIN_AXIS_VERT; axis++) {
        _MWinWindowScroll &s = m_scroll[axis];
        if (m_scroll_size[axis] <= 0)
            continue;
        if (!pressed) {
            // Only a release that ends a thumb drag or a track press is the
            // scroll bar's: every other release belongs to the controls.
            if (s.dragging) {
                s.dragging = 0;
                taken = 1;
            } else if (s.page_dir) {
                s.pos += (axis == MWIN_AXIS_VERT ? m_area.h : m_area.w) * s.page_dir;
                s.page_dir = 0;
                ApplyScroll(axis, 0);
                taken = 1;
            }
            continue;
        }
        float pointer = axis == MWIN_AXIS_VERT ? m_mwin->GetPointerY() : m_mwin->GetPointerX();
        float thumb_start = axis == MWIN_AXIS_VERT ? s.thumb.y : s.thumb.x;
        if (m_mwin->IsPointerInDimension(&s.thumb, nullptr)) {
            s.drag_start_pos = s.pos;
            s.drag_start_pointer = pointer;
            s.dragging = 1;
            taken = 1;
        } else if (m_mwin->IsPointerInDimension(&s.track, nullptr)) {
            s.page_dir = pointer < thumb_start ? -1 : 1;
            taken = 1;
        }
    }
    return taken;
}

char MWinWindow::IsScrollPressPending() const
{
    for (const _MWinWindowScroll &s : m_scroll)
        if (s.dragging || s.page_dir)
            return 1;
    return 0;
}

void MWinWindow::EndScrollPress()
{
    for (_MWinWindowScroll &s : m_scroll) {
        s.dragging = 0;
        s.page_dir = 0;
    }
}

char MWinWindow::ScrollDrag()
{
    _MWinWindowScroll *dragged = nullptr;
    int axis = MWIN_AXIS_HORZ;
    // The axis whose thumb is held follows the pointer, whatever the other does.
    for (int a = MWIN_AXIS_HORZ; a <= MWIN_AXIS_VERT && !dragged; a++)
        if (m_scroll[a].dragging) {
            dragged = &m_scroll[a];
            axis = a;
        }
    if (!dragged)
        return 0;
    // Its release outside the program's window never reaches the window.
    if (!m_scrolling_on || MWinTakeReleasedOutside()) {
        m_scroll[MWIN_AXIS_HORZ].dragging = 0;
        m_scroll[MWIN_AXIS_VERT].dragging = 0;
        return 0;
    }
    if (dragged->travel > 0) {
        float pointer = axis == MWIN_AXIS_VERT ? m_mwin->GetPointerY() : m_mwin->GetPointerX();
        dragged->pos = m_scroll_size[axis] * (pointer - dragged->drag_start_pointer) / dragged->travel +
                       dragged->drag_start_pos;
        ApplyScroll(axis, 0);
    }
    return 1;
}

char MWinWindow::ScrollByWheel(int clicks)
{
    _MWinWindowScroll &s = m_scroll[MWIN_AXIS_VERT];
    float size = m_scroll_size[MWIN_AXIS_VERT];
    if (!m_scrolling_on || s.dragging || size <= 0)
        return 0;
    s.pos -= size * static_cast<float>(clicks) * kWheelShare;
    ApplyScroll(MWIN_AXIS_VERT, 0);
    return 1;
}

void MWinWindow::RenderScrollbars()
{
    MWinTextures *textures = m_mwin ? m_mwin->GetTextures() : nullptr;
    if (!m_scrolling_on || !textures)
        return;
    const struct {
        int axis, back, thumb;
    } bars[] = {
        {MWIN_AXIS_HORZ, MWIN_STD_TEX_SCROLL_BACK, MWIN_STD_TEX_SCROLL_BUTTON},
        {MWIN_AXIS_VERT, MWIN_STD_TEX_VSCROLL_BACK, MWIN_STD_TEX_VSCROLL_BUTTON},
    };
    for (const auto &bar : bars) {
        if (m_scroll_size[bar.axis] <= 0)
            continue;
        const _MWinWindowScroll &s = m_scroll[bar.axis];
        textures->DrawTexButInArea(textures->GetStandardTexButNum(bar.back), MWTS_NORMAL, &s.track, nullptr);
        textures->DrawTexButInArea(textures->GetStandardTexButNum(bar.thumb), MWTS_NORMAL, &s.thumb, nullptr);
    }
}
