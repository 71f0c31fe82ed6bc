// Comparing pixels read back from the screen.
#pragma once

#include "platform/win32/Win32Types.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Each colour channel of an 0xRRGGBB value within the tolerance; alpha is
// left out (the back buffer has none).
inline testing::AssertionResult Near(DWORD expected, DWORD actual, int tolerance = 2)
{
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (expected >> shift) & 0xFF, b = (actual >> shift) & 0xFF;
        if (std::abs(a - b) > tolerance)
            return testing::AssertionFailure() << std::hex << "expected " << (expected & 0xFFFFFF) << ", read "
                                               << (actual & 0xFFFFFF);
    }
    return testing::AssertionSuccess();
}
