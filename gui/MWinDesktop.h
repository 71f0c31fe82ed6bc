// The desktop: the ordered list of all collections (the last is the
// top-most), owned here. It decides which collection gets an event: an open
// drop-down list takes everything; a press goes to the top-most collection
// (activating it), a move to the active one, keys and the wheel to every
// active one. It ticks the active collections and draws them all, dimming
// what lies below an open popup.
//
// Failures: a missing root is fatal; a duplicate or unknown collection id is
// reported and refused. A handler that removes its own collection (a screen
// change on a key) ends the routing at once: the collection's id is copied
// before the call and looked up again after it, so a freed collection is
// never touched.
#pragma once

#include "gui/MWinTypes.h"

class MWin;
class MWinButton;
class MWinCollection;
class MWinWindow;

class MWinDesktop {
public:
    explicit MWinDesktop(MWin *mwin);
    ~MWinDesktop();
    MWinDesktop(const MWinDesktop &) = delete;
    MWinDesktop &operator=(const MWinDesktop &) = delete;

    MWinCollection *AddCollection(const char *id);
    char RemoveCollection(const char *id);
    void RemoveAllCollections();
    MWinCollection *GetCollectionFromID(const char *id, char report);
    char DoesCollectionExist(const char *id);
    MWinCollection *GetFirstCollection() { return m_first; }
    MWinCollection *GetActiveCollection();
    MWinWindow *GetActiveWindow();
    MWinButton *GetActiveButton();
    char ActivateCollectionUnderMouse();
    char ReactivateCollectionUnderMouse();

    // Input; each true when the event was used.
    char ButtonPressed(char button, char pressed, char extra);
    char MouseMove();
    char MouseWheel(int clicks);
    char KeyDown(int key);
    char KeyDownChar(int ch);
    char KeyUp(int key);
    char Tick();

    void RenderMain();
    char RenderPopupCollection();
    char CreateGraphics();
    void DestroyBgTextures();
    void DestroyGraphics();
    void Destroy();

    void SetDimInactive(char on) { m_dim_inactive = on; }
    char GetDimInactive() const { return m_dim_inactive; }
    void SetDimAlpha(float alpha) { m_dim_alpha = alpha; }
    char IsValid() const { return m_valid; }

private:
    MWinCollection *GetLast();
    // The collection a press goes to: the last one (no collection has an
    // input area of its own).
    MWinCollection *ChooseCollectionUnderMouse();
    void DeactivateAll();
    MWinButton *GetOpenList();
    // The common routing of keys and the wheel: every active collection in
    // list order, stopping once a handler removed its own collection.
    template <typename Handler> char RouteToActiveCollections(Handler handle);

    char m_valid;
    MWin *m_mwin;
    MWinCollection *m_first;
    char m_dim_inactive;
    float m_dim_alpha;
};
