// Loading the Direct3D runtime by name, as the engine does at start. The
// runtime is built into the program: the one library these calls know is
// "d3d9.dll", found in the folder GetSystemDirectoryA names, whose entry point
// "Direct3DCreate9" is Direct3DCreate9 (D3D9Object.h).
#pragma once

#include "platform/win32/Win32Types.h"

typedef struct HMODULE__ *HMODULE;
typedef void (*FARPROC)();

#define ERROR_MOD_NOT_FOUND 126u
#define ERROR_PROC_NOT_FOUND 127u

// The system folder (the program's own folder) into the buffer. Returns its
// length, or the size needed when the buffer is too small, or 0 on failure.
UINT GetSystemDirectoryA(char *buffer, UINT size);
// A handle counting one more load of the library the path ends in; null with
// ERROR_MOD_NOT_FOUND for any other library, or while the runtime is missing.
HMODULE LoadLibraryA(const char *path);
FARPROC GetProcAddress(HMODULE module, const char *name);
// Counts one load less.
BOOL FreeLibrary(HMODULE module);

// Tests: the loads not yet freed, and a runtime that is missing (false) or
// present again (true).
int D3D9RuntimeGetLoadCount();
void D3D9RuntimeSetPresent(bool present);
