// The calling thread's last system error and its text. The error numbers are
// the system's own (errno): a missing file is 2 here as on the desktop.
#pragma once

#include "platform/win32/Win32Types.h"

#include <cstdarg>

#define ERROR_FILE_NOT_FOUND 2u

#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000u

#define LANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define MAKELANGID(primary, sub) ((((WORD)(sub)) << 10) | (WORD)(primary))

DWORD GetLastError();
void SetLastError(DWORD code);

// Writes the system's text for message_id (FORMAT_MESSAGE_FROM_SYSTEM) into
// buffer, at most size - 1 characters. Returns the length written, 0 when the
// system has no text for the code.
DWORD FormatMessageA(DWORD flags, const void *source, DWORD message_id, DWORD language_id, char *buffer,
                     DWORD size, va_list *arguments);
