// The screen stack and the base of every screen controller. The toolkit's
// root holds the stack (set once) and asks it for the current screen; a
// window with a controller sends its controls' presses to the controller's
// ButtonPressedCB instead of the controls' own callbacks.
#pragma once

#include "gui/MWinTypes.h"

class MWin;
class MWinButton;
class MWinScreens;

class MWinCollectionController {
public:
    MWinCollectionController() : m_screens(nullptr) {}
    virtual ~MWinCollectionController() {}

    // The six operations, in this order.
    virtual char CreateCollection(MWin *) { return 1; }
    virtual void ClearPointers() {}
    virtual void StartingCB(void *) {}
    virtual void TickCB() {}
    virtual void RenderCB(int) {}
    // True when the press was handled.
    virtual char ButtonPressedCB(MWinButton *, _MWinButtonCallbackInfo *) { return 0; }

protected:
    MWinScreens *m_screens;
};

class MWinScreens {
public:
    MWinScreens(MWin *mwin, char fade);
    virtual ~MWinScreens() {}
    MWinScreens(const MWinScreens &) = delete;
    MWinScreens &operator=(const MWinScreens &) = delete;

    // True when the toolkit is on and the stack has been turned on.
    char IsOn();
    // The current screen's four-character id, 0 when none.
    unsigned int GetCurrentScreen() const { return m_current; }

protected:
    MWin *m_mwin;
    char m_fade;
    char m_on;
    unsigned int m_current;
};
