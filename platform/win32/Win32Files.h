// Files and folders by name, and the directory search.
//
// Names inside the program are Windows-1252 text and may use '\' as the
// separator ("Data\Common\English.txt"). Every function here takes such a
// name and turns it into the system's form (UTF-8, '/') itself; code that
// calls the C library directly converts with PlatformPathFromAnsi first.
#pragma once

#include "platform/win32/Win32Types.h"

#include <cstddef>

#define MAX_PATH 260

#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

// Writes the system's form of a program path into out. False when path is
// null or the result does not fit in size bytes.
bool PlatformPathFromAnsi(const char *path, char *out, size_t size);

// FILE_ATTRIBUTE_DIRECTORY or FILE_ATTRIBUTE_NORMAL; INVALID_FILE_ATTRIBUTES
// when the path cannot be examined.
DWORD GetFileAttributesA(const char *path);
// One level; fails when the parent is missing or the path exists.
BOOL CreateDirectoryA(const char *path, void *security);
BOOL DeleteFileA(const char *path);
// Renames a file; never replaces an existing target. Between two file
// systems the file is copied and the original deleted, as the desktop does.
BOOL MoveFileA(const char *existing, const char *new_name);
// With MOVEFILE_REPLACE_EXISTING an existing target is replaced in one step
// (within one file system), so readers see the old file or the new one whole.
#define MOVEFILE_REPLACE_EXISTING 0x00000001u
BOOL MoveFileExA(const char *existing, const char *new_name, DWORD flags);

// The bytes of the folder's file system that the program may still fill.
// FALSE when the folder cannot be examined.
BOOL PlatformGetDiskFreeBytes(const char *folder, uint64_t *free_bytes);

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    char cFileName[MAX_PATH];
};

// Lists the folder of pattern, which is "<folder>\*.*" (or "<folder>\*"):
// every name, "." and ".." included, in the order of a case-blind comparison
// (the same on every machine, close to the desktop's file system). Names that
// 1252 cannot spell are left out. INVALID_HANDLE_VALUE when there is nothing.
HANDLE FindFirstFileA(const char *pattern, WIN32_FIND_DATAA *data);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA *data);
BOOL FindClose(HANDLE search);

// The call MoveFileA renames with (null restores the system's rename), so a
// test can play a move between two file systems.
typedef int (*PlatformRenameFunction)(const char *from, const char *to);
void PlatformSetRenameFunction(PlatformRenameFunction function);

// One program at a time on a folder: an exclusive lock on a file (created
// when missing; its bytes are never touched), held until PlatformUnlockFile
// or the end of the process, a crash included. It is not inherited by the
// programs this one starts. Answers the lock (0 or more), PLATFORM_LOCK_HELD
// when another holds it (another process, or another lock of this one), or
// PLATFORM_LOCK_FAILED, with errno set, when the file cannot be opened.
enum { PLATFORM_LOCK_HELD = -1, PLATFORM_LOCK_FAILED = -2 };
int PlatformLockFile(const char *path);
void PlatformUnlockFile(int lock);

// Makes the folder that holds the program's own file the working folder, so
// "Data/..." and the log are found beside the program from wherever it was
// started. False, with errno set, when that folder cannot be had or entered;
// the working folder is then left as it was.
BOOL PlatformEnterProgramFolder();
// A test names the folder to enter in place of the program's own (system
// form); null returns to the program's own.
void PlatformSetProgramFolderForTests(const char *folder);
