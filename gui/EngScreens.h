// The registry of screens and the current-screen logic under the toolkit's
// screen set. Each screen is a four-character id with the controller that
// builds and drives it, and the id of the screen it was entered from.
// Starting a screen runs, in order: the pre-changing callback (the screen
// set's hook, then every collection of the desktop is deleted), the
// controller's CreateCollection, the stack on, its StartingCB with the
// caller's data, the toolkit's ButtonsChanged, and the post-changing
// callback.
//
// Failures: unregistered ids, duplicates, a missing toolkit object and a
// stopped toolkit are reported and leave the stack as it was; a screen
// without controller, and a toolkit that cannot be started, are fatal.
#pragma once

#include "engine/core/EngIndexedList.h"

class MWin;
class MWinCollectionController;

struct _EngScreen {
    unsigned int m_id;
    MWinCollectionController *m_controller;
    // The screen GoBack returns to; 0 when none.
    unsigned int m_back_id;
};

// Called around every screen start with the toolkit and the stack's owner.
typedef void (*EngScreensChangingCB)(MWin *mwin, void *owner);

class EngScreens {
public:
    EngScreens(MWin *mwin, void *owner);
    ~EngScreens();
    EngScreens(const EngScreens &) = delete;
    EngScreens &operator=(const EngScreens &) = delete;

    char Add(unsigned int id, MWinCollectionController *controller);
    // The first record with the id (its index through index, optional).
    _EngScreen *GetScreenFromID(unsigned int id, int *index);
    char SetCurrentScreenID(unsigned int id);
    void SetChangingCallbacks(EngScreensChangingCB pre, EngScreensChangingCB post);

    void StartCurrent(void *data);
    void EndCurrent();
    void SetBackScreen(unsigned int id);

    // A start_toolkit or stop_toolkit with the top bit set (0x80 and above)
    // starts the toolkit only when it is off, and stops it only when TurnOn
    // started it. TurnOff(2) also forgets the current screen.
    void TurnOn(char start_toolkit);
    void TurnOff(char stop_toolkit);
    void Goto(unsigned int id, void *data);
    void GoBack();
    void ReloadCurrent();

    // The current screen's TickCB, then one tick of the toolkit; false when
    // the stack is off.
    char Tick();
    void Render(int pass);
    char IsOn() const { return m_on; }
    unsigned int GetCurrentScreenID() const { return m_current_id; }

    void RemoveScreen(int index);
    void RemoveAll();
    void Clear();

private:
    // The common screen start: pre-changing, StartCurrent, post-changing.
    void StartScreen(void *data);
    _EngScreen *GetCurrent();

    MWin *m_mwin;
    void *m_owner;
    EngIndexedList m_screens;
    char m_on;
    unsigned int m_current_id;
    int m_current_index;
    EngScreensChangingCB m_pre_changing;
    EngScreensChangingCB m_post_changing;
    // 255 not decided, 1 when TurnOn started the toolkit, 0 when not.
    unsigned char m_toolkit_started;
};
