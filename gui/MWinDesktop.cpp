// The desktop: the collections, their activation, event routing, ticking
// and drawing.
#include "gui/MWinDesktop.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngDevice.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinIDs.h"
#include "gui/MWinWindow.h"

#include <cstring>
#include <new>

MWinDesktop::MWinDesktop(MWin *mwin)
    : m_valid(0), m_mwin(mwin), m_first(nullptr), m_dim_inactive(0), m_dim_alpha(0.5f)
{
    if (!mwin) {
        DebugFatal("MWinDesktop::MWinDesktop", "Internal Error (MWinDesktop)");
        return;
    }
    m_valid = 1;
}

MWinDesktop::~MWinDesktop()
{
    Destroy();
}

MWinCollection *MWinDesktop::GetLast()
{
    MWinCollection *last = m_first;
    while (last && last->GetNext())
        last = last->GetNext();
    return last;
}

MWinCollection *MWinDesktop::AddCollection(const char *id)
{
    if (GetCollectionFromID(id, 0)) {
        DebugError("MWinDesktop::AddCollection", "Collection already exists <%s>", id);
        return nullptr;
    }
    MWinCollection *collection = new (std::nothrow) MWinCollection(m_mwin, id, this);
    if (!collection) {
        DebugErrorCode("MWinDesktop::AddCollection", 'OMEM');
        return nullptr;
    }
    DeactivateAll();
    MWinCollection *last = GetLast();
    collection->SetLinks(last, nullptr);
    if (last)
        last->SetLinks(last->GetPrev(), collection);
    else
        m_first = collection;
    collection->Activate();
    return collection;
}

char MWinDesktop::RemoveCollection(const char *id)
{
    MWinCollection *collection = GetCollectionFromID(id, 1);
    if (!collection) {
        DebugError("MWinDesktop::RemoveCollection", "Could not find collection");
        return 0;
    }
    collection->DestroyGraphics();
    collection->RemoveAllWindows();
    MWinCollection *prev = collection->GetPrev(), *next = collection->GetNext();
    if (prev)
        prev->SetLinks(prev->GetPrev(), next);
    else
        m_first = next;
    if (next)
        next->SetLinks(prev, next->GetNext());
    delete collection;
    return 1;
}

void MWinDesktop::RemoveAllCollections()
{
    if (m_mwin->IsPopupOn()) {
        DebugError("MWinDesktop::RemoveAllCollections", "Popup was on - turning it off");
        m_mwin->PopupCloseIfOn();
    }
    // From the last to the first, each deleted while still in the list so
    // its controls can drop their queued messages.
    while (m_first) {
        MWinCollection *last = GetLast();
        MWinCollection *prev = last->GetPrev();
        delete last;
        if (prev)
            prev->SetLinks(prev->GetPrev(), nullptr);
        else
            m_first = nullptr;
    }
    m_mwin->RequestRender();
}

MWinCollection *MWinDesktop::GetCollectionFromID(const char *id, char report)
{
    if (MWinIsIDInvalid(id)) {
        if (report)
            DebugError("MWinDesktop::GetCollectionFromID", "No Collection ID");
        return nullptr;
    }
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        if (MWinAreIDsTheSame(c->GetID(), id))
            return c;
    if (report)
        DebugError("MWinDesktop::GetCollectionFromID", "ID <%s> not found", id);
    return nullptr;
}

char MWinDesktop::DoesCollectionExist(const char *id)
{
    if (MWinIsIDInvalid(id)) {
        DebugError("MWinDesktop::GetCollectionFromID", "No Collection ID");
        return 0;
    }
    return GetCollectionFromID(id, 0) != nullptr;
}

MWinCollection *MWinDesktop::GetActiveCollection()
{
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        if (c->IsActive())
            return c;
    return nullptr;
}

MWinWindow *MWinDesktop::GetActiveWindow()
{
    MWinCollection *collection = GetActiveCollection();
    return collection ? collection->GetActiveWindow() : nullptr;
}

MWinButton *MWinDesktop::GetActiveButton()
{
    MWinWindow *window = GetActiveWindow();
    return window ? window->GetActiveButton() : nullptr;
}

MWinCollection *MWinDesktop::ChooseCollectionUnderMouse()
{
    return GetLast();
}

void MWinDesktop::DeactivateAll()
{
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        if (c->IsActive())
            c->Deactivate();
}

char MWinDesktop::ActivateCollectionUnderMouse()
{
    MWinCollection *chosen = ChooseCollectionUnderMouse();
    if (!chosen) {
        DeactivateAll();
        return 0;
    }
    if (!chosen->IsActive())
        chosen->Activate();
    chosen->UpdateActiveWindow();
    return 1;
}

char MWinDesktop::ReactivateCollectionUnderMouse()
{
    DeactivateAll();
    return ActivateCollectionUnderMouse();
}

MWinButton *MWinDesktop::GetOpenList()
{
    MWinButton *button = GetActiveButton();
    return button && button->GetType() == MWBT_LIST && button->IsCapturingInput() ? button : nullptr;
}

// Input.

char MWinDesktop::ButtonPressed(char button, char pressed, char extra)
{
    if (MWinButton *list = GetOpenList()) {
        list->HandleMouseButtonPressed(button, pressed, extra);
        return 1;
    }
    MWinCollection *chosen = ChooseCollectionUnderMouse();
    if (!chosen)
        return 0;
    if (!chosen->IsActive())
        chosen->Activate();
    return chosen->HandleButtonPressed(button, pressed, extra);
}

char MWinDesktop::MouseMove()
{
    if (MWinButton *list = GetOpenList()) {
        list->HandleMouseMove();
        return 1;
    }
    if (m_mwin->GetSettingsP()->m_collection_focus_follows_mouse && !ActivateCollectionUnderMouse())
        return 0;
    MWinCollection *active = GetActiveCollection();
    return active ? active->HandleMouseMove() : 0;
}

template <typename Handler> char MWinDesktop::RouteToActiveCollections(Handler handle)
{
    int sum = 0;
    MWinCollection *c = m_first;
    while (c) {
        if (!c->IsActive()) {
            c = c->GetNext();
            continue;
        }
        char id[MWIN_ID_SIZE];
        std::memcpy(id, c->GetID(), sizeof(id));
        char result = handle(c);
        // The handler may have removed this collection (or every one).
        if (!m_valid || !m_mwin->IsOn())
            return 1;
        c = GetCollectionFromID(id, 0);
        if (!c)
            return 1;
        sum += result;
        c = c->GetNext();
    }
    return sum > 0;
}

char MWinDesktop::MouseWheel(int clicks)
{
    if (MWinButton *list = GetOpenList())
        return list->HandleMouseWheel(clicks);
    return RouteToActiveCollections([clicks](MWinCollection *c) { return c->HandleMouseWheel(clicks); });
}

char MWinDesktop::KeyDown(int key)
{
    if (MWinButton *list = GetOpenList())
        return list->HandleKeyDown(key);
    return RouteToActiveCollections([key](MWinCollection *c) { return c->HandleKeyDown(key); });
}

char MWinDesktop::KeyDownChar(int ch)
{
    if (MWinButton *list = GetOpenList())
        return list->HandleKeyDownUChar(static_cast<unsigned char>(ch));
    return RouteToActiveCollections([ch](MWinCollection *c) { return c->HandleKeyDownChar(ch); });
}

char MWinDesktop::KeyUp(int key)
{
    if (MWinButton *list = GetOpenList())
        return list->HandleKeyUp(key);
    return RouteToActiveCollections([key](MWinCollection *c) { return c->HandleKeyUp(key); });
}

char MWinDesktop::Tick()
{
    char changed = 0;
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        if (c->IsActive() && c->Tick())
            changed = 1;
    return changed;
}

// Drawing.

void MWinDesktop::RenderMain()
{
    MWinCollection *popup = m_mwin->GetPopupCollection();
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        if (!c->IsActive() && c != popup)
            c->Render();
    if (m_first && m_dim_inactive)
        EngDimDraw(m_dim_alpha);
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        if (c->IsActive() && c != popup)
            c->Render();
}

char MWinDesktop::RenderPopupCollection()
{
    MWinCollection *popup = m_mwin->GetPopupCollection();
    if (!popup)
        return 0;
    if (popup->GetID()[0] != 'M') {
        DebugError("MWinDesktop::RenderPopupCollection", "Invalid popup collection");
        return 0;
    }
    popup->Render();
    return 1;
}

char MWinDesktop::CreateGraphics()
{
    char ok = 1;
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        if (!c->CreateGraphics())
            ok = 0;
    return ok;
}

void MWinDesktop::DestroyBgTextures()
{
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        c->DestroyBgTexture();
}

void MWinDesktop::DestroyGraphics()
{
    for (MWinCollection *c = m_first; c; c = c->GetNext())
        c->DestroyGraphics();
}

void MWinDesktop::Destroy()
{
    if (!m_valid)
        return;
    m_valid = 0;
    RemoveAllCollections();
    DestroyBgTextures();
}
