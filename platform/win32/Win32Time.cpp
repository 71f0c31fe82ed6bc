#include "platform/win32/Win32Time.h"

#include <atomic>
#include <ctime>

static std::atomic<PlatformClockNowCB> clock_now_hook{nullptr};
static std::atomic<PlatformClockSleepCB> clock_sleep_hook{nullptr};

static int64_t MonotonicNanoseconds()
{
    PlatformClockNowCB hook = clock_now_hook;
    if (hook)
        return hook();
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void PlatformSetClockHooks(PlatformClockNowCB now, PlatformClockSleepCB sleep)
{
    clock_now_hook = now;
    clock_sleep_hook = sleep;
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
    PlatformClockSleepCB hook = clock_sleep_hook;
    if (hook) {
        hook(milliseconds);
        return;
    }
    timespec wait = {static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000};
    while (nanosleep(&wait, &wait) != 0) {
    }
}
