#include "platform/win32/Win32Time.h"

#include <ctime>

static int64_t MonotonicNanoseconds()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

BOOL QueryPerformanceFrequency(int64_t *frequency)
{
    if (!frequency)
        return FALSE;
    *frequency = 1000000000;
    return TRUE;
}

BOOL QueryPerformanceCounter(int64_t *count)
{
    if (!count)
        return FALSE;
    *count = MonotonicNanoseconds();
    return TRUE;
}

DWORD GetTickCount()
{
    return static_cast<DWORD>(MonotonicNanoseconds() / 1000000);
}

void Sleep(DWORD milliseconds)
{
    timespec wait = {static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000};
    while (nanosleep(&wait, &wait) != 0) {
    }
}
