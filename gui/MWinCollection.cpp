// A collection: its windows per layout, activation, the window focus rules,
// event routing to its windows, ticking and drawing.
#include "gui/MWinCollection.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngWindowInput.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinIDs.h"
#include "gui/MWinKeys.h"
#include "gui/MWinWindow.h"

#include <cstring>
#include <new>

MWinCollection::MWinCollection(MWin *mwin, const char *id, MWinDesktop *desktop)
    : m_was_active_before_popup(0), m_active(0), m_valid(0), m_bg_file{}, m_bg_load_alpha(0),
      m_bg_load_alpha_type(0), m_layout(0), m_layout_set(0), m_has_modal(0), m_mwin(mwin), m_desktop(desktop),
      m_id{}, m_windows{}, m_next(nullptr), m_prev(nullptr), m_scale_windows(1), m_escape_window(nullptr)
{
    if (!DebugCheckFatal(mwin != nullptr, "MWinCollection::MWinCollection", "Internal Error (MWinCollection)"))
        return;
    MWinCopyID(m_id, id);
    Deactivate();
    m_valid = 1;
}

MWinCollection::~MWinCollection()
{
    RemoveAllWindows();
    // The other layouts' windows go too, rather than leak.
    for (MWinWindow *&head : m_windows)
        while (head)
            delete head;
    DestroyGraphics();
    m_valid = 0;
    m_active = 0;
}

int MWinCollection::CheckedLayout()
{
    int layout = GetScreenLayout();
    if (MWinIsValidLayout(layout))
        return layout;
    DebugError("MWinCollection::CheckedLayout", "Invalid screen layout %d", layout);
    m_layout = 0;
    m_layout_set = 1;
    return 0;
}

MWinWindow *&MWinCollection::Head()
{
    return m_windows[CheckedLayout()];
}

int MWinCollection::GetScreenLayout()
{
    return m_layout_set ? m_layout : m_mwin->GetLayout();
}

void MWinCollection::DeactivateAllWindows()
{
    for (MWinWindow *w = Head(); w; w = w->GetNext())
        w->Deactivate();
}

void MWinCollection::Activate()
{
    CheckedLayout();
    if (m_desktop)
        for (MWinCollection *c = m_desktop->GetFirstCollection(); c; c = c->GetNext())
            if (c != this)
                c->Deactivate();
    m_active = 1;
}

void MWinCollection::Deactivate()
{
    DeactivateAllWindows();
    m_active = 0;
}

void MWinCollection::SetScreenLayout(int layout)
{
    char was_active = m_active;
    if (was_active)
        Deactivate();
    m_layout = layout;
    m_layout_set = 1;
    if (was_active)
        Activate();
}

// Windows.

MWinWindow *MWinCollection::AddWindow(const char *id, const _MWinWindowCreateInfo *info)
{
    if (GetWindowFromID(id, 0))
        DebugError("MWinCollection::AddWindow", "Window with id [%s] already exists.", id);
    MWinWindow *window = new (std::nothrow) MWinWindow(m_mwin, id, this, info);
    if (!window) {
        DebugErrorCode("MWinCollection::AddWindow", 'OMEM');
        return nullptr;
    }
    WindowsChanged();
    MWinWindow *&head = Head();
    if (!head) {
        head = window;
    } else {
        MWinWindow *last = head;
        last->Deactivate();
        while (last->GetNext()) {
            last = last->GetNext();
            last->Deactivate();
        }
        last->SetLinks(last->GetPrev(), window);
        window->SetLinks(last, nullptr);
    }
    WindowsChanged();
    // The new window is the only active one.
    DeactivateAllWindows();
    window->Activate();
    return window;
}

MWinWindow *MWinCollection::GetWindowFromID(const char *id, char report)
{
    if (MWinIsIDInvalid(id)) {
        if (report)
            DebugError("MWinCollection::GetWindowFromID", "No Window ID");
        return nullptr;
    }
    for (MWinWindow *w = Head(); w; w = w->GetNext())
        if (MWinAreIDsTheSame(w->GetID(), id))
            return w;
    if (report)
        DebugError("MWinCollection::GetWindowFromID", "Window <%s> not found in collection <%s>", id, m_id);
    return nullptr;
}

MWinWindow *MWinCollection::GetActiveWindow()
{
    for (MWinWindow *w = Head(); w; w = w->GetNext())
        if (w->IsActive())
            return w;
    return nullptr;
}

int MWinCollection::GetNumWindows()
{
    int count = 0;
    for (MWinWindow *w = Head(); w; w = w->GetNext())
        count++;
    return count;
}

MWinWindow *MWinCollection::GetNthWindow(int n)
{
    int i = 0;
    for (MWinWindow *w = Head(); w; w = w->GetNext(), i++)
        if (i == n)
            return w;
    DebugError("MWinCollection::GetNthWindow", "No %d'th window found.", n);
    return nullptr;
}

MWinWindow *MWinCollection::GetFirstWindow()
{
    return Head();
}

void MWinCollection::WindowsChanged()
{
    int layout = GetScreenLayout();
    if (!MWinIsValidLayout(layout)) {
        DebugError("MWinCollection::WindowsChanged", "Invalid screen layout %d", layout);
        return;
    }
    MWinWindow *remembered = GetActiveWindow();
    m_has_modal = 0;
    for (MWinWindow *w = Head(); w; w = w->GetNext()) {
        w->UpdateAreas(0);
        if (w->IsShown() && w->IsModal())
            m_has_modal = 1;
    }
    if (m_has_modal) {
        bool deactivated = false;
        for (MWinWindow *w = Head(); w; w = w->GetNext())
            if (w->IsActive() && w->IsShown() && !w->IsModal()) {
                w->Deactivate();
                deactivated = true;
            }
        if (!GetActiveWindow() || deactivated)
            for (MWinWindow *w = Head(); w; w = w->GetNext())
                if (w->IsShown() && !w->IsActive() && w->IsModal()) {
                    w->Activate();
                    break;
                }
        return;
    }
    if (GetActiveWindow() && (!remembered || !remembered->IsModal()))
        return;
    UpdateActiveWindow();
}

void MWinCollection::UpdateActiveWindow()
{
    MWin *mwin = m_mwin;
    char id[MWIN_ID_SIZE];
    std::memcpy(id, m_id, sizeof(id));
    _MWinSettings *settings = mwin->GetSettingsP();
    char follows = settings->m_window_focus_follows_mouse;
    settings->m_window_focus_follows_mouse = 1;
    // A move may reach a receiver (a dragged scrollbar) that removes this
    // collection: afterwards only the collection found by its id is used.
    HandleMouseMove();
    settings->m_window_focus_follows_mouse = follows;
    MWinCollection *self = mwin->GetCollectionFromID(id, 0);
    if (self && !self->GetActiveWindow() && self->m_active && !follows && self->GetNumWindows() == 1)
        self->Head()->Activate();
}

void MWinCollection::RemoveAllWindows()
{
    // From the last to the first; each window's controls drop their queued
    // messages, then the window takes itself out of the list.
    while (MWinWindow *last = Head()) {
        while (last->GetNext())
            last = last->GetNext();
        delete last;
    }
    WindowsChanged();
}

void MWinCollection::ForgetWindow(MWinWindow *window)
{
    if (m_escape_window == window)
        m_escape_window = nullptr;
    MWinWindow *prev = window->GetPrev(), *next = window->GetNext();
    if (prev)
        prev->SetLinks(prev->GetPrev(), next);
    for (MWinWindow *&head : m_windows)
        if (head == window)
            head = next;
    if (next)
        next->SetLinks(prev, next->GetNext());
    window->SetLinks(nullptr, nullptr);
}

// Graphics.

void MWinCollection::SetBgFile(const char *file)
{
    size_t length = file ? strnlen(file, MWIN_FILE_SIZE) : 0;
    if (length >= MWIN_FILE_SIZE) {
        DebugError("MWinCollection::SetBgFile", "Filename too long");
        return;
    }
    std::memcpy(m_bg_file, file ? file : "", length);
    m_bg_file[length] = 0;
}

char MWinCollection::CreateBgTexture()
{
    DestroyBgTexture();
    if (!m_bg_file[0])
        return 1;
    if (!m_bg_texture.LoadFromFileUsingExt(m_bg_file, m_bg_load_alpha, m_bg_load_alpha_type,
                                           m_mwin->GetTextureFileExt())) {
        DebugError("MWinCollection::CreateBgTexture", "Could not load bg texture file <%s>", m_bg_file);
        m_bg_file[0] = 0;
        return 0;
    }
    m_bg_texture.PositionRatioed(0, 0, 640, 480);
    return 1;
}

void MWinCollection::DestroyBgTexture()
{
    m_bg_texture.Destroy();
}

char MWinCollection::CreateGraphics()
{
    char ok = CreateBgTexture();
    for (MWinWindow *w = Head(); w; w = w->GetNext())
        if (!w->CreateGraphics())
            ok = 0;
    return ok;
}

void MWinCollection::DestroyGraphics()
{
    for (MWinWindow *w = Head(); w; w = w->GetNext())
        w->DestroyGraphics();
    DestroyBgTexture();
}

// Ticking and drawing.

char MWinCollection::Tick()
{
    char changed = 0;
    for (MWinWindow *w = Head(); w; w = w->GetNext())
        if (w->IsActive() && w->Tick())
            changed = 1;
    return changed;
}

void MWinCollection::Render()
{
    if (!eng_device || !Head())
        return;
    if (m_bg_texture.IsCreated())
        m_bg_texture.Draw();
    // Normal windows below modal ones; inactive below active.
    const int kinds[] = {MWWK_NORMAL, MWWK_MODAL};
    for (int kind : kinds) {
        if (kind == MWWK_MODAL && !m_has_modal)
            break;
        for (int active = 0; active <= 1; active++)
            for (MWinWindow *w = Head(); w; w = w->GetNext())
                if (w->GetKind() == kind && w->IsShown() && w->IsActive() == active)
                    w->Render();
    }
}

// Input.

char MWinCollection::HandleMouseMove()
{
    if (!m_valid)
        return 0;
    MWinWindow *previous = GetActiveWindow();
    if (previous && previous->ScrollDrag())
        return 1;
    char follows = m_mwin->GetSettingsP()->m_window_focus_follows_mouse;
    if (follows && (!previous || (!previous->IsCapturingInput() && !previous->IsDragging()))) {
        MWinWindow *chosen = nullptr;
        for (MWinWindow *w = Head(); w; w = w->GetNext())
            if (w->IsShown() && (!m_has_modal || w->IsModal()) && w->IsPointerInWindow())
                chosen = w;
        if (chosen) {
            if (!chosen->IsActive())
                chosen->Activate();
            for (MWinWindow *w = Head(); w; w = w->GetNext())
                if (w != chosen && w->IsActive())
                    w->Deactivate();
        }
    }
    MWinWindow *active = GetActiveWindow();
    if (previous && active != previous && !previous->ReleaseControls())
        return 1;

    if (m_has_modal) {
        if (active && active->IsModal())
            return active->HandleMouseMove();
        if (active)
            active->Deactivate();
        for (MWinWindow *w = Head(); w; w = w->GetNext())
            if (w->IsModal()) {
                w->Activate();
                return w->HandleMouseMove();
            }
        return 0;
    }
    return active ? active->HandleMouseMove() : 0;
}

char MWinCollection::HandleButtonPressed(char button, char pressed, char extra)
{
    if (!m_valid || !Head())
        return 0;
    MWinWindow *active = GetActiveWindow();
    if (active && active->IsPointerInWindow() && (!m_has_modal || active->IsModal()))
        return active->HandleButtonPressed(button, pressed, extra, 0);
    if (active && active->IsDragging()) {
        active->EndDrag();
        return 1;
    }
    // A scroll thumb let go outside its window must not stay held.
    if (active && button == 0 && !pressed && active->IsScrollPressPending()) {
        active->EndScrollPress();
        return 1;
    }
    if (active && !active->ReleaseControls())
        return 1;
    if (button != 0 || !pressed)
        return 0;
    // A press outside the active window only moves the focus.
    if (active && !active->IsModal())
        active->Deactivate();
    for (MWinWindow *w = Head(); w; w = w->GetNext()) {
        if (!m_mwin->IsOn())
            break;
        if (w->IsShown() && (!m_has_modal || w->IsModal()) && w->IsPointerInWindow()) {
            w->Activate();
            return 1;
        }
    }
    return 0;
}

char MWinCollection::HandleMouseWheel(int clicks)
{
    if (!m_valid)
        return 0;
    MWinWindow *active = GetActiveWindow();
    return active ? active->HandleMouseWheel(clicks) : 0;
}

char MWinCollection::HandleKeyDown(int key)
{
    if (!m_mwin) {
        DebugErrorCode("MWinCollection::HandleKeyDown", 'NOSU');
        return 0;
    }
    if (!m_valid)
        return 0;
    MWinWindow *active = GetActiveWindow();
    if (m_escape_window && key == kKeyEscape) {
        MWinButton *escape = m_escape_window->GetEscapeButton();
        MWinButton *focused = active ? active->GetActiveButton() : nullptr;
        if (escape && escape->IsShown() && !m_mwin->IsAnyButtonEditing() && !MWinIsOpenList(focused)) {
            eng_main_key_states[kKeyEscape] = 0;
            m_escape_window->SendButtonCallCallbackMessage(escape, 1);
            return 1;
        }
    }
    // Only the first active window hears the key; its handler may delete the
    // window or this whole collection, so nothing is read afterwards.
    return active ? active->HandleKeyDown(key) : 0;
}

char MWinCollection::HandleKeyDownChar(int ch)
{
    if (!m_valid)
        return 0;
    MWinWindow *active = GetActiveWindow();
    return active ? active->HandleKeyDownChar(ch) : 0;
}

char MWinCollection::HandleKeyUp(int key)
{
    if (!m_valid)
        return 0;
    MWinWindow *active = GetActiveWindow();
    return active ? active->HandleKeyUp(key) : 0;
}
