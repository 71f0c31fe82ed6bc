// Clock readings and medians shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <ctime>
#include <vector>

// The clock's reading in seconds (CLOCK_MONOTONIC for wall time,
// CLOCK_THREAD_CPUTIME_ID for the calling thread's CPU).
inline double BenchSeconds(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The middle value (the upper one of an even count); 0 for none.
inline double BenchMedian(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}
