// The local calendar time.
#pragma once

#include "platform/win32/Win32Types.h"

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth; // 1..12
    WORD wDayOfWeek; // 0 Sunday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

void GetLocalTime(SYSTEMTIME *time);
