// The display modes of the displays.
#pragma once

#include "platform/win32/Win32Types.h"

#define ENUM_CURRENT_SETTINGS ((DWORD)-1)
#define ENUM_REGISTRY_SETTINGS ((DWORD)-2)

// The fields of a display mode this program reads.
struct DEVMODEA {
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFrequency;
};

// Mode number 0, 1, ... of the display, or the desktop's mode for
// ENUM_CURRENT_SETTINGS and ENUM_REGISTRY_SETTINGS (the desktop keeps no
// other stored mode). The display is named as PlatformGetDisplayDeviceName
// names it; null is the first. FALSE past the last mode, for an unknown
// display or without a display. Four bytes a pixel count as 32 bits, as the
// desktop reports them.
BOOL EnumDisplaySettingsA(const char *device, DWORD mode_number, DEVMODEA *mode);

// The device name of display number `display` (from 0): "\\.\DISPLAY1",
// "\\.\DISPLAY2" and on.
void PlatformGetDisplayDeviceName(int display, char *name, int size);
