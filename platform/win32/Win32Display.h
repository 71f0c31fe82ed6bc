// The display modes of the first display.
#pragma once

#include "platform/win32/Win32Types.h"

#define ENUM_CURRENT_SETTINGS ((DWORD)-1)

// The fields of a display mode this program reads.
struct DEVMODEA {
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFrequency;
};

// Mode number 0, 1, ... of the display (device null), or the desktop's mode
// for ENUM_CURRENT_SETTINGS. FALSE past the last mode or without a display.
// Four bytes a pixel count as 32 bits, as the desktop reports them.
BOOL EnumDisplaySettingsA(const char *device, DWORD mode_number, DEVMODEA *mode);
