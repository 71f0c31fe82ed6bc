#include "platform/win32/Win32Debug.h"

void OutputDebugStringA(const char *)
{
}
