// The user's special folders, after the XDG base directories:
// - CSIDL_APPDATA: $XDG_DATA_HOME, or ~/.local/share (made when missing);
// - CSIDL_DESKTOPDIRECTORY: XDG_DESKTOP_DIR of the user's user-dirs.dirs, or
//   ~/Desktop; the home folder when that folder does not exist.
// Home is $HOME, or the account's home folder when that is not set.
#pragma once

#include "platform/win32/Win32Types.h"

#define CSIDL_DESKTOPDIRECTORY 0x0010
#define CSIDL_APPDATA 0x001a

// A located folder; free it with ILFree.
struct ITEMIDLIST;

// S_OK and *folder set when the folder is known; E_FAIL otherwise.
HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, ITEMIDLIST **folder);
// Writes the folder's path as 1252 text into path, which has MAX_PATH bytes.
// FALSE when it does not fit or 1252 cannot spell it.
BOOL SHGetPathFromIDListA(const ITEMIDLIST *folder, char *path);
void ILFree(ITEMIDLIST *folder);
