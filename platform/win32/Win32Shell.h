// The shell's "open" of a file or address, backed by xdg-open. Tests install
// a hook that records the request instead of starting a program.
#pragma once

#include "platform/win32/Win32Types.h"

// Answers an open request in place of the desktop; true when it was handled.
typedef bool (*PlatformShellOpenHookCB)(const char *verb, const char *file, const char *parameters,
                                        const char *directory, int show);

void PlatformSetShellOpenHook(PlatformShellOpenHookCB hook);

// Returns a value above 32 on success, as the desktop shell does.
HINSTANCE ShellExecuteA(HWND hwnd, const char *verb, const char *file, const char *parameters,
                        const char *directory, int show);
