// Four small services at the platform's edge:
// - PrefFolder: the product's per-user folder (the application-data folder,
//   "Lichenware", the product's name), its sub-folders, the log file's
//   place and the lock that keeps it to one program at a time. Paths are returned in static buffers that the next call of the
//   family overwrites; callers copy what they keep. The folder functions
//   never fail outright: they report and fall back to "." or to the main
//   folder.
// - DirList: the names in a folder, through a filter.
// - The Various clipboard functions: 8-bit text to and from the system
//   clipboard.
// - The Various online functions: a web address opened in the user's
//   browser, optionally after ending the program.
// Everything runs on the main thread.
#pragma once

#include "platform/win32/Win32Files.h"

class MWin;

const char *PrefFolderSetup(const char *name, char set_log_file, const char *log_name, char unused);
// Created when missing, on every call; "." when it cannot be had.
const char *PrefFolderGetMainFolder();
const char *PrefFolderGetMainFolderWithFileAppended(const char *file);
const char *PrefFolderGetSubFolder(const char *name, char create);
// The user's desktop folder, or "."; it shares the main folder's buffer.
const char *PrefFolderGetDesktopFolder();
// Sends the log to name (null: "LogFile.txt") in the main folder.
char PrefFolderSetLogFile(const char *name);
// One program at a time on the per-user folder: locks the file name (in
// the main folder) for as long as this program runs. 1 when this program
// holds it (from now or from before); 0 when another program does. A lock
// file that cannot be had (a folder that cannot be written) is reported and
// answered 1: the program then runs as it would alone.
char PrefFolderTakeLock(const char *name);
void PrefFolderReleaseLock();
// Forgets the product's name and releases the lock, as at start; for tests.
void PrefFolderResetForTests();

// Asked for each candidate name with the count of names accepted so far;
// true accepts the name.
typedef char (*DirListFilterCB)(int count, const char *name, const char *dir, void *user);

// A listing goes closed -> open (OpenDir) -> listing (Prepare...) -> open
// (Cleanup...) -> closed (CloseDir). Names come sorted, the same on every
// machine; "." and ".." never come.
class DirList {
public:
    DirList();
    ~DirList();
    DirList(const DirList &) = delete;
    DirList &operator=(const DirList &) = delete;

    // A null filter accepts every name.
    char OpenDir(const char *path, DirListFilterCB filter, void *user);
    char PrepareToGetFilenamesInDir();
    // The next accepted name, or "" at the end.
    const char *GetNextFilenameInDir();
    void CleanupAfterGettingFilenamesInDir();
    void CloseDir();
    void FreeBuffers();

private:
    char AllocBuffers(int path_length);
    void CloseSearch();

    char *m_path;
    char *m_name; // also holds the search pattern
    DirListFilterCB m_filter;
    void *m_user;
    int m_state; // 0 closed, 1 open, 2 listing
    int m_size;
    int m_count;
    HANDLE m_search;
    WIN32_FIND_DATAA m_found;
};

char VariousCopyClipboardFromString(const char *text);
// At most size - 1 characters; size must be 2 or more.
char VariousPasteClipboardToString(char *buffer, int size);

// Opens address in the browser.
void VariousGoOnlineNow(const char *address);

// The toolkit's popups, which the engine below it cannot call: the toolkit
// installs them when it is made. ask shows an OK/Cancel question without
// title and calls done with 1 for OK; show_now shows a message in the next
// frames when the toolkit is on and no popup is open.
struct _VariousPopups {
    char (*ask)(MWin *mwin, const char *question, void (*done)(MWin *, char, void *));
    void (*show_now)(MWin *mwin, const char *text);
};
void VariousSetPopups(const _VariousPopups *popups);

// The ask and exit flags of the current mode (window or full screen) apply.
// With asking on and an mwin, the question is the caller's, or "Exit
// Program and Go Online ?" / "Go Online ?" (or their language texts);
// Cancel does nothing. Without asking (or without an mwin) the address is
// opened, or the program left, at once as if OK had been pressed, without
// the full-screen switch of an OK.
void VariousGoOnline(MWin *mwin, const char *question, const char *address, char ask_full_screen,
                     char ask_window, char exit_full_screen, char exit_window);
void VariousGoOnlineToHomeSite(MWin *mwin, const char *question, const char *path, char ask_full_screen,
                               char ask_window, char exit_full_screen, char exit_window);
// Popup answers: 1 is OK. An OK to go online without leaving switches a
// full-screen game to a window before the browser opens.
void VariousGoOnlineCB(MWin *mwin, char result, void *user);
void VariousExitAndGoOnlineCB(MWin *mwin, char result, void *user);
void VariousGoOnlineAfterExitCB();
void VariousOpenBrowser(MWin *mwin);
// Clears the address and the exiting-to-go-online flag; for tests.
void VariousResetForTests();
