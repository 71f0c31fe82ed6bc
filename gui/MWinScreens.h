// The toolkit's screen set and the base of every screen controller.
//
// MWinScreens owns the screen registry (EngScreens), fades the display to
// black and back around every switch when made with fade on, and has six
// hooks that the program's screen set overrides (five of them called). A switch runs, in order:
// the old controller's ClearPointers, the new current id, the screen set's
// PreChangingScreenCB, the removal of every collection of the desktop, the
// new controller's CreateCollection and StartingCB (with the data given to
// GotoScreen; null for a start, a reload or GoBack), and the screen set's
// PostChangingScreenCB. GotoScreen closes an open popup first, without its
// answer. A handler may switch screens from inside a press: the toolkit
// finds its controls again by id afterwards and never touches the deleted
// ones.
//
// Failures: an operation without its registry reports 'NOSU' under its own
// name and does nothing; the registry reports unknown ids and duplicates.
// The fade draws its own frames: no ticks and no window messages meanwhile.
// Main thread only.
#pragma once

#include "gui/MWinTypes.h"

class EngScreens;
class Game;
class MWin;
class MWinButton;
class MWinScreens;

class MWinCollectionController {
public:
    MWinCollectionController() : m_screens(nullptr), m_mwin(nullptr), m_game(nullptr) {}
    virtual ~MWinCollectionController() {}

    // Builds the screen's collection on the desktop; the result is not read.
    virtual char CreateCollection(MWin *) { return 1; }
    // Forgets every pointer into the collection it built (the toolkit
    // deletes the collection itself).
    virtual void ClearPointers() {}
    virtual void StartingCB(void *) {}
    virtual void TickCB() {}
    // pass: 0 before the toolkit draws, 1 after it, 2 after the popups.
    virtual void RenderCB(int) {}
    // A press on a control of one of its windows; true when handled.
    virtual char ButtonPressedCB(MWinButton *, _MWinButtonCallbackInfo *) { return 0; }

    // Binds the controller to the screen set, its toolkit and the toolkit's
    // owner; a missing screen set or toolkit is fatal.
    void SetScreens(MWinScreens *screens);
    MWinScreens *GetScreens(char allow_null);

protected:
    MWinScreens *m_screens;
    MWin *m_mwin;
    Game *m_game;
};

class MWinScreens {
public:
    MWinScreens(MWin *mwin, char fade);
    // A subclass that owns its controllers removes the screens in its own
    // destructor (RemoveAllScreens), while they still exist.
    virtual ~MWinScreens();
    MWinScreens(const MWinScreens &) = delete;
    MWinScreens &operator=(const MWinScreens &) = delete;

    // The hooks, empty in the base.
    // Registers every screen with AddScreen; false fails SetupAllScreens.
    virtual char SetupScreensCB() { return 1; }
    // After the fade to black of StartScreen, before the first screen starts.
    virtual void StartScreenCB() {}
    // The third of the six hooks, which the stack itself never calls; it
    // keeps its place so that a screen set overrides the same six hooks.
    virtual void SpareCB(int) {}
    // Before every screen start while a screen is current, before the
    // desktop's collections are removed.
    virtual void PreChangingScreenCB() {}
    virtual void PostChangingScreenCB(unsigned int) {}
    // By End, after the stack is off and the collections are gone.
    virtual void EndCB() {}

    char AddScreen(unsigned int id, MWinCollectionController *controller);
    char SetupAllScreens();
    // start_toolkit: 0 leaves the toolkit as it is, another value starts it;
    // with the top bit set (0x80 and above, -1 included) only when it is off.
    void StartScreen(unsigned int id, char start_toolkit);
    // stop_toolkit: 0 keeps the toolkit on, another value stops it; with the
    // top bit set only when StartScreen started it; 2 also forgets the
    // current screen.
    void End(char stop_toolkit);
    void GotoScreen(unsigned int id, void *data);
    // Back to the screen the current one was entered from; nothing (but a
    // report) when there is none.
    void GoBack();
    // Rebuilds the current screen in place, without fade.
    void ReloadCurrentScreen();
    // Makes the id current without starting it.
    char SetCurrentScreen(unsigned int id);
    // The current screen's four-character id, 0 when none.
    unsigned int GetCurrentScreen() const;
    char Tick();
    void Render(int pass);
    // True when the toolkit is on and the stack has been turned on.
    char IsOn();
    void RemoveAllScreens();

    // The changing steps the registry calls around every screen start.
    void PreChangingCB();
    void PostChangingCB();

    // A fade of 0.15 s: -1 towards black, 1 back from black.
    void Fade(char direction);
    void FadeScreen(char direction, double seconds);
    MWin *GetMWin() { return m_mwin; }

private:
    // Reports 'NOSU' under where when the registry is missing.
    char HasRegistry(const char *where) const;

    EngScreens *m_screens;
    char m_fade;
    MWin *m_mwin;
};

void MWinScreens_PreChangingCB(MWin *mwin, void *user);
void MWinScreens_PostChangingCB(MWin *mwin, void *user);
