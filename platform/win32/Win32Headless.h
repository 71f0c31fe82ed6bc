// The headless desktop: no display at all. Windows are records only, their
// messages are posted by the test that drives them, and the desktop's work
// area, display modes, cursor position and mouse buttons are what the test
// describes. Chosen at run time, before the first window; every build has it.
#pragma once

#include "platform/win32/Win32Types.h"

struct PlatformHeadlessMode {
    int width;
    int height;
    int bits;
    int refresh_rate;
};

void PlatformSetHeadless(bool headless);
bool PlatformIsHeadless();

// The work area in desktop pixels (left, top, width, height).
void PlatformHeadlessSetWorkArea(int left, int top, int width, int height);
void PlatformHeadlessGetWorkArea(int *left, int *top, int *width, int *height);

// The display's modes and the desktop's own mode; count 0 means no modes.
void PlatformHeadlessSetModes(const PlatformHeadlessMode *modes, int count, const PlatformHeadlessMode *desktop);
int PlatformHeadlessGetModeCount();
const PlatformHeadlessMode *PlatformHeadlessGetMode(int index);
const PlatformHeadlessMode *PlatformHeadlessGetDesktopMode();

// The mouse: position in desktop pixels and the held buttons as a mask of
// 1 left, 2 right, 4 middle (their virtual key numbers).
void PlatformHeadlessSetMouse(int x, int y, unsigned buttons);
void PlatformHeadlessGetMouse(int *x, int *y, unsigned *buttons);

// Back to a display, with the default description (a 1920 x 1080 desktop at
// 32 bits and 60 Hz whose work area leaves 40 pixels to a panel, the modes
// 1920 x 1080, 1280 x 1024, 1024 x 768 and 800 x 600, the mouse at 0, 0).
void PlatformResetHeadlessForTests();
