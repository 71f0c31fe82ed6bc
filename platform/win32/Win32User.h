// The user who runs the program: the name they logged on with and the
// locale their session asks for.
#pragma once

#include "platform/win32/Win32Types.h"

// Writes the name as 1252 text into buffer; *size holds the buffer's size in
// bytes and receives the name's length plus one. FALSE when the name is
// unknown or does not fit.
BOOL GetUserNameA(char *buffer, DWORD *size);

// The name of the locale the user's messages are shown in, as the C library
// chooses it: LC_ALL, else LC_MESSAGES, else LANG, the first that is set and
// not empty (for example "en_GB.UTF-8"). FALSE, with an empty buffer, when
// none is set or the name does not fit in size - 1 characters.
BOOL PlatformGetUserLocale(char *buffer, DWORD size);
