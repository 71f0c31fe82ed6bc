// The debugger console. The desktop program runs without one, so lines sent
// here are dropped, as they are on a desktop machine with no debugger attached.
#pragma once

void OutputDebugStringA(const char *text);
