// The system clock and sleeps.
#pragma once

#include "platform/win32/Win32Types.h"

// The high-resolution counter: a monotonic count and its ticks per second.
BOOL QueryPerformanceFrequency(int64_t *frequency);
BOOL QueryPerformanceCounter(int64_t *count);

// Milliseconds since the system started, wrapping as an unsigned 32-bit value.
DWORD GetTickCount();

void Sleep(DWORD milliseconds);

// A test replaces the system clock with its own: now answers the monotonic
// time in nanoseconds and sleep waits (or pretends to wait) the milliseconds.
// Both null restore the system clock.
typedef int64_t (*PlatformClockNowCB)();
typedef void (*PlatformClockSleepCB)(DWORD milliseconds);
void PlatformSetClockHooks(PlatformClockNowCB now, PlatformClockSleepCB sleep);
