// A window's group of controls: adding, removing, drawing and ticking them.
#include "gui/MWinGroup.h"

#include "engine/core/EngDebug.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinProgressCircle.h"
#include "gui/MWinRangeSlider.h"
#include "gui/MWinWindow.h"

#include <new>

MWinGroup::MWinGroup(MWin *mwin, MWinWindow *window)
    : m_mwin(mwin), m_enabled(1), m_created(1), m_window(window), m_first(nullptr), m_last(nullptr), m_prev(nullptr),
      m_next(nullptr)
{
    DebugCheckFatal(mwin != nullptr, "MWinGroup::MWinGroup", "No mw");
}

MWinGroup::~MWinGroup()
{
    RemoveAllButtons();
    m_created = 0;
}

MWinButton *MWinGroup::PreAddButton(const char *id, _MWinButtonType type, const char *texbut_id, const char *text,
                                    float x, float y, float w, float h)
{
    if (!m_window) {
        DebugErrorCode("MWinGroup::AddButton", 'NOSU');
        return nullptr;
    }
    // The progress circle and the range slider are kinds with classes of
    // their own, made here so that adding them by kind gives a working control.
    MWinButton *button;
    if (type == MWBT_PROGRESS_CIRCLE)
        button = new (std::nothrow) MWinProgressCircle(m_mwin, id, this, texbut_id, x, y, w, h);
    else if (type == MWBT_RANGE_SLIDER)
        button = new (std::nothrow) MWinRangeSlider(m_mwin, id, this, texbut_id, x, y, w, h);
    else
        button = new (std::nothrow) MWinButton(m_mwin, id, this, type, texbut_id, text, x, y, w, h);
    if (!button)
        DebugErrorCode("MWinGroup::AddButton", 'OMEM');
    else if ((type == MWBT_PROGRESS_CIRCLE || type == MWBT_RANGE_SLIDER) && text && text[0])
        button->SetText(text);
    return button;
}

MWinButton *MWinGroup::CompleteAddButton(MWinButton *button)
{
    if (!button) {
        DebugError("MWinGroup::CompleteAddButton", "No button (no memory)");
        return nullptr;
    }
    button->SetLinks(m_last, nullptr);
    if (m_last)
        m_last->SetLinks(m_last->GetPrev(), button);
    else
        m_first = button;
    m_last = button;
    return button;
}

MWinButton *MWinGroup::AddButton(const char *id, _MWinButtonType type, const char *texbut_id, const char *text,
                                 float x, float y, float w, float h)
{
    // These kinds have classes of their own; a plain control is made all the same.
    if (type == MWBT_HORZ_SCROLLBAR || type == MWBT_VERT_SCROLLBAR || type == MWBT_KIND_12 || type == MWBT_CLASS)
        DebugError("MWinGroup::AddButton", "Use individual class buttons instead");
    MWinButton *button = PreAddButton(id, type, texbut_id, text, x, y, w, h);
    return button ? CompleteAddButton(button) : nullptr;
}

MWinButton *MWinGroup::AddButtonWithCallback(const char *id, _MWinButtonType type, const char *texbut_id,
                                             const char *text, float x, float y, float w, float h,
                                             void (*callback)(MWin *, _MWinButtonCallbackInfo *, int, int), int a,
                                             int b)
{
    MWinButton *button = AddButton(id, type, texbut_id, text, x, y, w, h);
    if (button)
        button->SetCallback(callback, a, b, 1);
    return button;
}

char MWinGroup::CreateGraphics()
{
    char ok = 1;
    for (MWinButton *b = m_first; b; b = b->GetNext())
        if (!b->CreateGraphics())
            ok = 0;
    return ok;
}

void MWinGroup::DestroyGraphics()
{
    for (MWinButton *b = m_first; b; b = b->GetNext())
        b->DestroyGraphics();
}

void MWinGroup::UpdateButtonAreas()
{
    for (MWinButton *b = m_first; b; b = b->GetNext())
        b->RecalculateArea();
}

void MWinGroup::RemoveAllButtons()
{
    // Each control drops its queued message and unlinks itself as it goes.
    while (m_last)
        delete m_last;
}

void MWinGroup::Unlink(MWinButton *button)
{
    MWinButton *prev = button->GetPrev(), *next = button->GetNext();
    if (!prev && !next && m_first != button)
        return;
    if (prev)
        prev->SetLinks(prev->GetPrev(), next);
    else
        m_first = next;
    if (next)
        next->SetLinks(prev, next->GetNext());
    else
        m_last = prev;
    button->SetLinks(nullptr, nullptr);
}

void MWinGroup::Render()
{
    if (!m_created || !m_window || !m_mwin->GetTextures() || !m_enabled)
        return;
    for (MWinButton *b = m_first; b; b = b->GetNext())
        b->Render();
    // Open lists go over every other control of the group.
    for (MWinButton *b = m_first; b; b = b->GetNext())
        if (b->GetType() == MWBT_LIST && b->ListIsOpen())
            b->RenderOpenList();
}

char MWinGroup::Tick()
{
    char changed = 0;
    for (MWinButton *b = m_first; b; b = b->GetNext())
        if (b->IsEnabled() && b->Tick(0))
            changed = 1;
    return changed;
}
