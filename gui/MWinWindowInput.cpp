// How a window handles the events its collection passes on: presses go to
// the scroll bars, a title-bar button, the control under the pointer or a
// capturing control, or start a window drag; moves drag the window or move
// the hover (the control under the pointer is the active one); the wheel
// goes to the active control or scrolls the content; keys fire the escape
// and default buttons through the message queue, Tab and Shift+Tab move the
// pointer (and so the focus) to the next control that can take it, and
// other keys go to the active control.
// A control's handler may delete the window: nothing here touches the
// window or the control after handing an event on, and a walk over the
// controls that deactivates one (ending a text entry notifies the screen)
// stops when the notice removed it.
#include "gui/MWinWindow.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindow.h"
#include "engine/runtime/EngWindowInput.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinGroup.h"
#include "gui/MWinKeys.h"
#include "gui/MWinScreens.h"

namespace {

// A focus search that finds nothing gives up after this many steps.
const int kMaxFocusSteps = 1000;

} // namespace

char MWinWindow::IsPointerInWindow()
{
    if (m_mwin->IsPointerInDimension(&m_area, nullptr))
        return 1;
    if (!m_info.m_has_title_bar)
        return 0;
    _MWinLayoutSettings *l = GetScreenLayout();
    if (!l)
        return 0;
    _Dimension with_title = {m_area.x, m_area.y - l->m_title_h, m_area.w, m_area.h + l->m_title_h};
    return m_mwin->IsPointerInDimension(&with_title, nullptr);
}

char MWinWindow::IsCapturingInput()
{
    MWinButton *active = GetActiveButton();
    return active && active->IsCapturingInput();
}

char MWinWindow::ReleaseControls()
{
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        for (MWinButton *b = g->GetFirstButton(); b; b = b->GetNext()) {
            b->CancelPress();
            if (b->IsActive() && !b->DeactivateSurvives())
                return 0;
        }
    return 1;
}

char MWinWindow::HandleButtonPressed(char button, char pressed, char extra, char extra2)
{
    if (!m_mwin) {
        DebugErrorCode("MWinWindow::HandleButtonPressed", 'NOSU');
        return 0;
    }
    if (!m_shown)
        return 0;
    if (m_dragging) {
        if (button == 0 && !pressed)
            m_dragging = 0;
        return 1;
    }
    if (ScrollPress(button, pressed, extra, extra2))
        return 1;
    if (!m_valid || !m_collection)
        return 0;

    MWinButton *title_buttons[] = {m_hide_button, m_extra_button};
    for (MWinButton *title_button : title_buttons) {
        if (!title_button || !title_button->IsShown() ||
            !m_mwin->IsPointerInDimension(title_button->GetScreenDimensionP(), nullptr))
            continue;
        MWinCollectionController *controller = GetController(0);
        if (button == 0 && !pressed && title_button->IsActive() && title_button->IsEnabled() && controller) {
            _MWinButtonCallbackInfo info;
            title_button->FillCallbackInfo(&info);
            controller->ButtonPressedCB(title_button, &info);
        }
        return 1;
    }

    MWinButton *active = GetActiveButton();
    if (!pressed && active)
        return active->HandleMouseButtonPressed(button, 0, extra);
    if (active && active->IsCapturingInput())
        return active->HandleMouseButtonPressed(button, pressed, extra);

    for (MWinGroup *g = m_last_group; g; g = g->GetPrev()) {
        if (!g->IsEnabled())
            continue;
        for (MWinButton *b = g->GetLastButton(); b; b = b->GetPrev()) {
            if (!m_mwin || !m_id[0])
                return 0;
            if (b->IsShown() && m_mwin->IsPointerInDimension(b->GetScreenDimensionP(), nullptr))
                return b->HandleMouseButtonPressed(button, pressed, extra);
            // A press elsewhere ends a text entry, whose notice may remove
            // the screen.
            if (b->IsEditing() && !b->DeactivateSurvives())
                return 0;
        }
    }

    if (button != 0 || !pressed)
        return 0;
    bool in_title_text = false;
    if (m_info.m_has_title_bar) {
        _Vector2d corner = {m_area.x, m_area.y};
        in_title_text = m_mwin->IsPointerInDimension(&m_title_text_area, &corner);
    }
    if (m_info.m_drag_mode == 2 || (m_info.m_drag_mode == 1 && in_title_text)) {
        m_dragging = 1;
        m_drag_pointer_x = m_mwin->GetPointerX();
        m_drag_pointer_y = m_mwin->GetPointerY();
        m_drag_start_x = m_area.x;
        m_drag_start_y = m_area.y;
        return 1;
    }
    return 0;
}

char MWinWindow::HandleMouseMove()
{
    if (!m_mwin) {
        DebugErrorCode("MWinWindow::HandleMouseMove", 'NOSU');
        return 0;
    }
    if (!m_shown)
        return 0;
    // The release of a title-bar drag outside the program's window never
    // reaches the window.
    if (m_dragging && MWinTakeReleasedOutside())
        EndDrag();
    if (m_dragging) {
        float virtual_w = 640, virtual_h = 480;
        m_mwin->GetVirtualSize(&virtual_w, &virtual_h);
        _MWinLayoutSettings *l = GetScreenLayout();
        float min_y = m_info.m_has_title_bar && l ? l->m_title_h : 0;
        float x = m_mwin->GetPointerX() - m_drag_pointer_x + m_drag_start_x;
        float y = m_mwin->GetPointerY() - m_drag_pointer_y + m_drag_start_y;
        if (x + m_area.w > virtual_w)
            x = virtual_w - m_area.w;
        if (y + m_area.h > virtual_h)
            y = virtual_h - m_area.h;
        if (x < 0)
            x = 0;
        if (y < min_y)
            y = min_y;
        if (x + m_area.w <= virtual_w && y + m_area.h <= virtual_h) {
            m_area.x = x;
            m_area.y = y;
            for (MWinGroup *g = m_first_group; g; g = g->GetNext())
                g->UpdateButtonAreas();
            UpdateAreas(0);
        }
        return 1;
    }

    MWinButton *active = GetActiveButton();
    if (active && active->IsCapturingInput()) {
        active->HandleMouseMove();
        return 1;
    }

    MWinButton *title_buttons[] = {m_hide_button, m_extra_button};
    for (MWinButton *title_button : title_buttons) {
        if (!title_button || !title_button->IsShown() || !title_button->IsEnabled())
            continue;
        if (m_mwin->IsPointerInDimension(title_button->GetScreenDimensionP(), nullptr))
            title_button->Activate();
        else if (title_button->IsActive())
            title_button->Deactivate();
    }

    MWinButton *hovered = nullptr;
    bool newly_active = false;
    for (MWinGroup *g = m_last_group; g; g = g->GetPrev()) {
        if (!g->IsEnabled())
            continue;
        for (MWinButton *b = g->GetLastButton(); b; b = b->GetPrev()) {
            if (!hovered && b->IsShown() && m_mwin->IsPointerInDimension(b->GetScreenDimensionP(), nullptr)) {
                hovered = b;
                if (!b->IsActive()) {
                    b->Activate();
                    newly_active = true;
                }
                continue;
            }
            if (b->IsActive() && !b->DeactivateSurvives())
                return 0;
            b->CancelPress();
        }
    }
    if (newly_active)
        return 0;
    if (hovered) {
        hovered->HandleMouseMove();
        return 1;
    }
    return 0;
}

void MWinWindow::UpdateMouseOver()
{
    HandleMouseMove();
}

char MWinWindow::HandleMouseWheel(int clicks)
{
    if (!m_shown)
        return 0;
    MWinButton *active = GetActiveButton();
    return active ? active->HandleMouseWheel(clicks) : ScrollByWheel(clicks);
}

char MWinWindow::HandleKeyDown(int key)
{
    if (!m_shown || eng_main_key_states[kKeyAlt] > 1)
        return 0;
    MWinButton *active = GetActiveButton();
    bool nothing_open = !m_mwin->IsAnyButtonEditing() && !MWinIsOpenList(active);

    if (key == kKeyEscape && nothing_open) {
        MWinButton *candidates[] = {m_escape_button, m_hide_button};
        for (MWinButton *target : candidates)
            if (target && target->IsShown() && target->IsEnabled()) {
                eng_main_key_states[kKeyEscape] = 0;
                SendButtonCallCallbackMessage(target, 1);
                return 1;
            }
    }
    if (key == kKeyEnter && nothing_open && m_default_button && m_default_button->IsShown() &&
        m_default_button->IsEnabled()) {
        eng_main_key_states[kKeyEnter] = 0;
        SendButtonCallCallbackMessage(m_default_button, 1);
        return 1;
    }
    if (key == kKeyTab)
        return MoveFocus(eng_main_key_states[kKeyShift] == 0);
    // The control's handler may delete this window: its answer is the last thing read.
    return active ? active->HandleKeyDown(key) : 0;
}

char MWinWindow::HandleKeyDownChar(int ch)
{
    if (!m_shown)
        return 0;
    MWinButton *active = GetActiveButton();
    return active ? active->HandleKeyDownUChar(static_cast<unsigned char>(ch)) : 0;
}

char MWinWindow::HandleKeyUp(int key)
{
    if (!m_shown)
        return 0;
    MWinButton *active = GetActiveButton();
    return active ? active->HandleKeyUp(key) : 0;
}

// Keyboard focus. The walk runs over every group's list in order and wraps
// from the last group to the first (and back, backwards).

MWinButton *MWinWindow::StepFocus(MWinButton *button, bool forward)
{
    MWinButton *next = forward ? button->GetNext() : button->GetPrev();
    if (next)
        return next;
    MWinGroup *group = button->GetGroup();
    for (int i = 0; group && i < kMaxFocusSteps; i++) {
        group = forward ? group->GetNext() : group->GetPrev();
        if (!group)
            group = forward ? m_first_group : m_last_group;
        MWinButton *end = forward ? group->GetFirstButton() : group->GetLastButton();
        if (end)
            return end;
    }
    return nullptr;
}

MWinButton *MWinWindow::FindFocusCandidate(bool forward)
{
    MWinButton *button = GetActiveButton();
    if (!button && m_first_group)
        button = forward ? m_first_group->GetFirstButton() : m_last_group->GetLastButton();
    if (!button)
        return nullptr;
    for (int i = 0; i < kMaxFocusSteps; i++) {
        button = StepFocus(button, forward);
        if (!button)
            return nullptr;
        if (button->CanBeActive())
            return button;
    }
    DebugError("MWinWindow::HandleKeyDown", forward ? "Could not get next button" : "Coult not get prev button");
    return nullptr;
}

char MWinWindow::MoveFocus(bool forward)
{
    MWinButton *found = FindFocusCandidate(forward);
    if (!found)
        return 0;
    // Ending a text entry and moving the pointer may notify a screen that
    // then leaves: the control found is touched only while the toolkit still
    // finds it, and this window not at all after them.
    const MWinButtonIdentity next(found);
    MWin *mwin = m_mwin;
    MWinButton *active = GetActiveButton();
    if (active && active->IsEditing()) {
        active->Deactivate();
        if (!next.StillAlive())
            return 1;
    }
    const _Dimension *area = found->GetScreenDimensionP();
    float x = area->x + area->w / 2, y = area->y + area->h / 2;
    const bool text_edit = found->GetType() == MWBT_TEXT_EDIT;
    if (eng_main_window)
        eng_main_window->SetMousePos(x, y);
    // The toolkit hears of the pointer now, not when the system sends the
    // motion (some send none for a warp): the next move activates the control.
    if (eng_screen_width > 0 && eng_screen_height > 0)
        mwin->MouseMove(x * static_cast<float>(eng_screen_width) / 640.0f,
                        y * static_cast<float>(eng_screen_height) / 480.0f);
    if (text_edit && next.StillAlive())
        found->TextEditTurnOnEditing(1);
    return 1;
}
