// The headless desktop: no display at all. Windows are records only, their
// messages are posted by the test that drives them, and the desktop's work
// area, displays with their modes, the sample counts its graphics offer, the
// cursor position and mouse buttons are what the test describes. Chosen at
// run time, before the first window; every build has it.
#pragma once

#include "platform/win32/Win32Types.h"

struct PlatformHeadlessMode {
    int width;
    int height;
    int bits;
    int refresh_rate;
    // The Direct3D format number of the mode's pixels; 0 for the usual one
    // of its bits (32 X8R8G8B8, 24 R8G8B8, 16 R5G6B5, 15 X1R5G5B5).
    int format = 0;
};

// One display: its name, its modes and the desktop's mode on it.
struct PlatformHeadlessDisplay {
    const char *name;
    const PlatformHeadlessMode *modes;
    int mode_count;
    PlatformHeadlessMode desktop;
};

void PlatformSetHeadless(bool headless);
bool PlatformIsHeadless();

// The work area of the first display in desktop pixels (left, top, width, height).
void PlatformHeadlessSetWorkArea(int left, int top, int width, int height);
void PlatformHeadlessGetWorkArea(int *left, int *top, int *width, int *height);

// The displays, the first being the primary one (count 0 means none).
void PlatformHeadlessSetDisplays(const PlatformHeadlessDisplay *displays, int count);
// The first display's modes and desktop mode; count 0 means no modes.
void PlatformHeadlessSetModes(const PlatformHeadlessMode *modes, int count, const PlatformHeadlessMode *desktop);
int PlatformHeadlessGetDisplayCount();
// Null (or 0 modes) for a display that does not exist.
const char *PlatformHeadlessGetDisplayName(int display);
int PlatformHeadlessGetModeCount(int display);
const PlatformHeadlessMode *PlatformHeadlessGetMode(int display, int index);
const PlatformHeadlessMode *PlatformHeadlessGetDesktopMode(int display);

// The numbers of samples (2 to 16) a multisampled back buffer can have.
void PlatformHeadlessSetSampleCounts(const int *counts, int count);
bool PlatformHeadlessOffersSamples(int samples);

// The mouse: position in desktop pixels and the held buttons as a mask of
// 1 left, 2 right, 4 middle (their virtual key numbers).
void PlatformHeadlessSetMouse(int x, int y, unsigned buttons);
void PlatformHeadlessGetMouse(int *x, int *y, unsigned *buttons);

// Back to a display, with the default description (one display, "Headless
// Display", whose desktop is 1920 x 1080 at 32 bits and 60 Hz with a work
// area leaving 40 pixels to a panel, the modes 1920 x 1080, 1280 x 1024,
// 1024 x 768 and 800 x 600 at 32 bits and 60 Hz, back buffers of 2, 4 or 8
// samples, the mouse at 0, 0).
void PlatformResetHeadlessForTests();
