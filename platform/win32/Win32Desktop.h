// The desktop's size and the work area left free by panels, from the first
// display, and the mouse wheel's scrolling setting.
#pragma once

#include "platform/win32/Win32Types.h"

#define SPI_GETWORKAREA 0x0030u
#define SPI_GETWHEELSCROLLLINES 0x0068u

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1

// SPI_GETWORKAREA fills the RECT at param_pointer (FALSE without a display);
// SPI_GETWHEELSCROLLLINES the UINT lines one wheel notch scrolls (3: this
// desktop keeps no such setting).
BOOL SystemParametersInfoA(UINT action, UINT param, void *param_pointer, UINT update);
// The desktop's width or height in pixels; 0 without a display.
int GetSystemMetrics(int index);
