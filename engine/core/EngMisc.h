// The engine's miscellaneous services: the program clock and waits, system
// popups including the one shown after the program has closed, and the ways
// to end the program from anywhere.
#pragma once

enum _EngMiscPopupType : int {
    EMPT_NONE = 0,
    EMPT_INFO = 1,
    EMPT_WARNING = 2,
    EMPT_ERROR = 3,
};

enum _EngOrientation : int {
    EO_PORTRAIT = 0,
    EO_PORTRAIT_FLIPPED = 1,
    EO_LANDSCAPE = 2,
    EO_LANDSCAPE_FLIPPED = 3,
};

// Set once the main window has been created; popups then discard pending
// window messages and show the cursor first.
extern char eng_misc_main_window_created;

// Program clock.
void EngMiscInitTimer_PC();
double EngMiscGetTime_PC();
void EngMiscWait(double seconds);
void EngMiscSleep(double seconds);
void EngMiscDiscardWindowMessages_PC(double max_seconds);

// Popups.
void EngMiscSetPopupToShowAfterExit(_EngMiscPopupType type, const char *title, const char *text);
char EngMiscIsPopupSetToShowAfterExit();
char EngMiscShowPopupMessage(_EngMiscPopupType type, const char *title, const char *text);
void EngMiscShowPopupMessage_PC(_EngMiscPopupType type, const char *title, const char *text);

// Ending the program.
char EngMiscExitProgramNow(char return_to_caller);
void EngMiscQuitMainLoop();
