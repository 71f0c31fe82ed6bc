// The on-screen keyboard: on phones and tablets the text-entry popup fills
// the screen with a title, a message, the text typed so far and a grid of
// keys for one of four entry kinds (free text, signed number, dotted digit
// groups, text with sticky shift). The screen comes in four layouts (phone
// and tablet, portrait and landscape), picked from the toolkit's layout
// number; the keys are made when the entry starts.
//
// One entry at a time, in module state: the caller's buffer, the shift
// state, the keyboard's controller and where its key area lies. That state
// is forgotten when Done is pressed and whenever the entry's popup is found
// closed by another road (time-out, screen change, a new popup), so a later
// popup never trips over a key area that is gone.
//
// On the desktop the entry never starts ("Not mobile."), and the frame's
// check finds no key area and leaves the normal screens drawing.
//
// Failures: each refused call logs its message and answers false or does
// nothing; a key area found out of place while drawing closes the popup.
#pragma once

#include "gui/MWinScreens.h"

class MWin;
class MWinButton;
class MWinCollection;
class MWinWindow;

class KeyInputCollectionController : public MWinCollectionController {
public:
    explicit KeyInputCollectionController(MWinScreens *screens);

    // Adds the collection "KeyInput" with the window of the toolkit's layout.
    char CreateCollection(MWin *mwin) override;
    void ClearPointers() override;
    char ButtonPressedCB(MWinButton *, _MWinButtonCallbackInfo *) override { return 0; }
};

// The four layouts' windows ("MainWin") and their controls; each window
// function answers the window, null when it could not be added.
MWinWindow *AddMainWinWindowToCollectionIPhonePortrait(MWinCollection *collection,
                                                        MWinCollectionController *controller);
MWinWindow *AddMainWinWindowToCollectionIPhoneLandscape(MWinCollection *collection,
                                                         MWinCollectionController *controller);
MWinWindow *AddMainWinWindowToCollectionIPadPortrait(MWinCollection *collection,
                                                      MWinCollectionController *controller);
MWinWindow *AddMainWinWindowToCollectionIPadLandscape(MWinCollection *collection,
                                                       MWinCollectionController *controller);
char AddMainWinWindowButtonsToWindowIPhonePortrait(MWinWindow *window);
char AddMainWinWindowButtonsToWindowIPhoneLandscape(MWinWindow *window);
char AddMainWinWindowButtonsToWindowIPadPortrait(MWinWindow *window);
char AddMainWinWindowButtonsToWindowIPadLandscape(MWinWindow *window);

// Every key's press: index in its row and character; Shift passes (-1,
// 254), Delete (-1, 255).
void MWinPopupGetTextKeyCB_Mobile(MWin *mwin, _MWinButtonCallbackInfo *info, int index, int character);
// Done: ends the entry and answers the popup as OK.
void MWinPopupGetTextDoneCB_Mobile(MWin *mwin, _MWinButtonCallbackInfo *info, int, int);
// Shows text in the control, as '*'s while the entry is hidden.
void MWinPopupGetTextSetButtonText_Mobile(MWinButton *button, const char *text);

// Whether the keyboard takes character ch into text for an entry kind
// (0 text, 1 signed number, 2 dotted digit groups, 3 sticky-shift text).
bool MWinKeyboardAcceptsChar(int kind, const char *text, unsigned char ch);
