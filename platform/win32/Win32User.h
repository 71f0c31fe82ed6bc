// The name the user logged on with.
#pragma once

#include "platform/win32/Win32Types.h"

// Writes the name as 1252 text into buffer; *size holds the buffer's size in
// bytes and receives the name's length plus one. FALSE when the name is
// unknown or does not fit.
BOOL GetUserNameA(char *buffer, DWORD *size);
