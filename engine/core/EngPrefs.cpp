#include "engine/core/EngPrefs.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Time.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char MAKER_FOLDER[] = "Lichenware";
const char DEFAULT_LOG_FILE[] = "LogFile.txt";
const char FALLBACK_FILE[] = "Temp.dat";

// Names appended to the main folder stay below this length.
const size_t NAME_SIZE = 128;
const int FOLDER_SIZE = 768;

char pref_folder_name[NAME_SIZE] = "";
char pref_main_folder[FOLDER_SIZE] = ".";
char pref_composed[FOLDER_SIZE] = "";

// Addresses of this length or more are refused.
const size_t ADDRESS_LIMIT = 507;
const unsigned ONLINE_WAIT_MS = 10000;

// The per-user folder's lock while this program holds it, else below 0.
int pref_lock = PLATFORM_LOCK_FAILED;

char online_address[512] = "";
bool exiting_to_go_online = false;
_VariousPopups online_popups = {nullptr, nullptr};

// The question's own text when the caller gives none: the language's, when
// its token exists, else English.
const char *DefaultQuestion(bool exit)
{
    const char *token = exit ? "Misc_ExitProgramAndGoOnline" : "Misc_GoOnline";
    if (EngLanguagesDoesTokenExist(token))
        return EngLanguagesGetStringForToken(token);
    return exit ? "Exit Program and Go Online ?" : "Go Online ?";
}

// "%s\%s" of folder and name into the composed buffer; a path that does not
// fit is reported and refused.
bool Compose(const char *where, const char *folder, const char *name)
{
    int length = snprintf(pref_composed, sizeof(pref_composed), "%s\\%s", folder, name);
    if (length < 0 || length >= static_cast<int>(sizeof(pref_composed))) {
        DebugError(where, "Path too long <%s\\%s>", folder, name);
        EngSafeStrcpy(pref_composed, folder, sizeof(pref_composed));
        return false;
    }
    return true;
}

} // namespace

const char *PrefFolderSetup(const char *name, char set_log_file, const char *log_name, char)
{
    if (name && name[0] && std::strlen(name) < NAME_SIZE) {
        EngSafeStrcpy(pref_folder_name, name, sizeof(pref_folder_name));
    } else {
        DebugError("PrefFolderSetup", "Invalid folder name");
        pref_folder_name[0] = 0;
    }
    if (set_log_file)
        PrefFolderSetLogFile(log_name);
    return PrefFolderGetMainFolder();
}

const char *PrefFolderGetMainFolder()
{
    const char *where = "PrefFolderGetMainFolder";
    if (!pref_folder_name[0]) {
        DebugError(where, "Folder name is empty");
        EngSafeStrcpy(pref_main_folder, ".", sizeof(pref_main_folder));
        return pref_main_folder;
    }
    if (!EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(MAKER_FOLDER, pref_folder_name, pref_main_folder,
                                                                sizeof(pref_main_folder))) {
        DebugError(where, "Could not create/get directory");
        EngSafeStrcpy(pref_main_folder, ".", sizeof(pref_main_folder));
    }
    return pref_main_folder;
}

const char *PrefFolderGetMainFolderWithFileAppended(const char *file)
{
    const char *where = "PrefFolderGetMainFolderWithFileAppended";
    const char *main_folder = PrefFolderGetMainFolder();
    if (!file || !file[0]) {
        DebugError(where, "No file specified");
        return main_folder;
    }
    if (std::strlen(file) >= NAME_SIZE) {
        DebugError(where, "Filename too long");
        file = FALLBACK_FILE;
    }
    Compose(where, main_folder, file);
    return pref_composed;
}

const char *PrefFolderGetSubFolder(const char *name, char create)
{
    const char *where = "PrefFolderGetSubFolder";
    const char *main_folder = PrefFolderGetMainFolder();
    if (!name || !name[0] || std::strlen(name) >= NAME_SIZE) {
        DebugError(where, "Invalid sub folder name");
        EngSafeStrcpy(pref_composed, main_folder, sizeof(pref_composed));
        return pref_composed;
    }
    if (!Compose(where, main_folder, name))
        return pref_composed;
    if (create && !EngFileDirectoryExists(pref_composed) && !EngFileCreateDirectory(pref_composed, 1)) {
        DebugError(where, "Could not create directory <%s>", pref_composed);
        EngSafeStrcpy(pref_composed, main_folder, sizeof(pref_composed));
    }
    return pref_composed;
}

const char *PrefFolderGetDesktopFolder()
{
    if (!EngMiscGetDesktopDirectory(pref_main_folder, sizeof(pref_main_folder))) {
        DebugError("PrefFolderGetDesktopFolder", "Could not get directory");
        EngSafeStrcpy(pref_main_folder, ".", sizeof(pref_main_folder));
    }
    return pref_main_folder;
}

char PrefFolderSetLogFile(const char *name)
{
    const char *main_folder = PrefFolderGetMainFolder();
    if (!Compose("PrefFolderSetLogFile", main_folder, name ? name : DEFAULT_LOG_FILE))
        return 0;
    return DebugSetLogFilename(pref_composed, 1);
}

char PrefFolderTakeLock(const char *name)
{
    if (pref_lock >= 0)
        return 1;
    const char *path = PrefFolderGetMainFolderWithFileAppended(name);
    pref_lock = PlatformLockFile(path);
    if (pref_lock == PLATFORM_LOCK_HELD)
        return 0;
    if (pref_lock == PLATFORM_LOCK_FAILED)
        DebugError("PrefFolderTakeLock", "Could not lock <%s> (%s)", path, std::strerror(errno));
    return 1;
}

void PrefFolderReleaseLock()
{
    PlatformUnlockFile(pref_lock);
    pref_lock = PLATFORM_LOCK_FAILED;
}

void PrefFolderResetForTests()
{
    PrefFolderReleaseLock();
    pref_folder_name[0] = 0;
    EngSafeStrcpy(pref_main_folder, ".", sizeof(pref_main_folder));
    pref_composed[0] = 0;
}

DirList::DirList()
    : m_path(nullptr), m_name(nullptr), m_filter(nullptr), m_user(nullptr), m_state(0), m_size(0), m_count(0),
      m_search(INVALID_HANDLE_VALUE), m_found()
{
}

DirList::~DirList()
{
    CloseDir();
}

char DirList::AllocBuffers(int path_length)
{
    const char *where = "DirList::AllocBuffers";
    FreeBuffers();
    if (path_length <= 0) {
        DebugError(where, "Invalid path len");
        return 0;
    }
    // Room for the path, the search pattern after it, and any name.
    m_size = path_length + 512;
    m_path = static_cast<char *>(EngMalloc(static_cast<unsigned>(m_size + 1), where, 1));
    m_name = static_cast<char *>(EngMalloc(static_cast<unsigned>(m_size + 1), where, 1));
    if (!m_path || !m_name) {
        FreeBuffers();
        return 0;
    }
    return 1;
}

void DirList::FreeBuffers()
{
    EngFree(m_path, 0, "DirList::FreeBuffers");
    EngFree(m_name, 0, "DirList::FreeBuffers");
    m_path = nullptr;
    m_name = nullptr;
    m_size = 0;
}

void DirList::CloseSearch()
{
    if (m_search != INVALID_HANDLE_VALUE)
        FindClose(m_search);
    m_search = INVALID_HANDLE_VALUE;
}

char DirList::OpenDir(const char *path, DirListFilterCB filter, void *user)
{
    const char *where = "DirList::OpenDir";
    CloseDir();
    if (!path || !path[0]) {
        DebugError(where, "Invalid Path Passed In");
        return 0;
    }
    if (!AllocBuffers(static_cast<int>(std::strlen(path))))
        return 0;
    if (!EngFileDirectoryExists(path)) {
        DebugError(where, "Directory does not exist [%s]", path);
        return 0;
    }
    EngSafeStrcpy(m_path, path, static_cast<unsigned>(m_size + 1));
    m_filter = filter;
    m_user = user;
    m_count = 0;
    m_state = 1;
    return 1;
}

char DirList::PrepareToGetFilenamesInDir()
{
    const char *where = "DirList::PrepareToGetFilenamesInDir";
    if (m_state == 0 || !m_path) {
        DebugError(where, "Directory not opened - call DirList::OpenDir() first.");
        return 0;
    }
    if (m_state == 2) {
        DebugError(where, "Error - get filenames in progress");
        return 0;
    }
    m_count = 0;
    if (std::strcmp(m_path, "\\") == 0)
        snprintf(m_name, static_cast<size_t>(m_size + 1), "\\*.*");
    else
        snprintf(m_name, static_cast<size_t>(m_size + 1), "%s\\*.*", m_path);
    m_search = FindFirstFileA(m_name, &m_found);
    m_state = 2;
    return 1;
}

const char *DirList::GetNextFilenameInDir()
{
    if (m_state != 2) {
        DebugError("DirList::GetNextFilenameInDir", "Call DirList::PrepareToGetFilenamesInDir() first.");
        return "";
    }
    while (m_search != INVALID_HANDLE_VALUE) {
        const char *name = m_found.cFileName;
        bool accepted = std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 &&
                        (!m_filter || m_filter(m_count, name, m_path, m_user));
        if (accepted) {
            EngSafeStrcpy(m_name, name, static_cast<unsigned>(m_size + 1));
            m_count++;
        }
        if (!FindNextFileA(m_search, &m_found))
            CloseSearch();
        if (accepted)
            return m_name;
    }
    return "";
}

void DirList::CleanupAfterGettingFilenamesInDir()
{
    if (m_state != 2) {
        DebugError("DirList::CleanupAfterGettingFilenamesInDir", "Not getting files in dir");
        return;
    }
    CloseSearch();
    m_state = 1;
}

void DirList::CloseDir()
{
    FreeBuffers();
    CloseSearch();
    m_state = 0;
    m_filter = nullptr;
    m_user = nullptr;
    m_count = 0;
}

// The clipboard is opened for the main window; without one it stays closed.
static HWND MainWindowHandle()
{
    return eng_main_window ? eng_main_window->GetWindowHandle() : nullptr;
}

char VariousCopyClipboardFromString(const char *text)
{
    if (!text) {
        DebugError("VariousCopyClipboardFromString", "Invalid parameters");
        return 0;
    }
    if (!text[0] || !OpenClipboard(MainWindowHandle()))
        return 0;
    EmptyClipboard();
    size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    char *data = block ? static_cast<char *>(GlobalLock(block)) : nullptr;
    if (!data) {
        GlobalFree(block);
        CloseClipboard();
        return 0;
    }
    std::memcpy(data, text, size);
    GlobalUnlock(block);
    // The clipboard owns the block once it has taken it.
    bool taken = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!taken)
        GlobalFree(block);
    CloseClipboard();
    return taken;
}

char VariousPasteClipboardToString(char *buffer, int size)
{
    if (!buffer || size < 2) {
        DebugError("VariousPasteClipboardToString", "Invalid parameters");
        return 0;
    }
    if (!OpenClipboard(MainWindowHandle()))
        return 0;
    HANDLE block = IsClipboardFormatAvailable(CF_TEXT) ? GetClipboardData(CF_TEXT) : nullptr;
    const char *text = block ? static_cast<const char *>(GlobalLock(block)) : nullptr;
    if (text) {
        EngSafeStrcpy(buffer, text, static_cast<unsigned>(size));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text != nullptr;
}

void VariousGoOnlineNow(const char *address)
{
    const char *where = "VariousGoOnlineNow";
    if (!address || !address[0]) {
        DebugError(where, "No url");
        return;
    }
    HINSTANCE result = ShellExecuteA(nullptr, "open", address, nullptr, "C:\\", SW_SHOWNORMAL);
    if (reinterpret_cast<intptr_t>(result) <= 32)
        DebugError(where, "Could not open <%s>", address);
    // Gives the browser time to start before the process ends.
    if (exiting_to_go_online)
        Sleep(ONLINE_WAIT_MS);
}

void VariousSetPopups(const _VariousPopups *popups)
{
    online_popups = popups ? *popups : _VariousPopups{nullptr, nullptr};
}

void VariousGoOnline(MWin *mwin, const char *question, const char *address, char ask_full_screen, char ask_window,
                     char exit_full_screen, char exit_window)
{
    if (!address)
        address = "";
    if (std::strlen(address) >= ADDRESS_LIMIT) {
        DebugError("VariousGoOnline", "Path too long");
        return;
    }
    if (address != online_address)
        EngSafeStrcpy(online_address, address, sizeof(online_address));
    char ask = eng_screen_windowed ? ask_window : ask_full_screen;
    char exit = eng_screen_windowed ? exit_window : exit_full_screen;
    if (ask && mwin && online_popups.ask) {
        if (!question)
            question = DefaultQuestion(exit != 0);
        online_popups.ask(mwin, question, exit ? VariousExitAndGoOnlineCB : VariousGoOnlineCB);
    } else if (exit) {
        VariousExitAndGoOnlineCB(mwin, 1, nullptr);
    } else {
        VariousOpenBrowser(mwin);
    }
}

void VariousGoOnlineToHomeSite(MWin *mwin, const char *question, const char *path, char ask_full_screen,
                               char ask_window, char exit_full_screen, char exit_window)
{
    // Room beyond the address limit, so an address cut here is still refused
    // by VariousGoOnline rather than opened cut.
    char address[ADDRESS_LIMIT * 2];
    if (path && path[0])
        snprintf(address, sizeof(address), "%s/%s", EngServersGetMakerSiteAddress(), path);
    else
        snprintf(address, sizeof(address), "%s", EngServersGetMakerSiteAddress());
    VariousGoOnline(mwin, question, address, ask_full_screen, ask_window, exit_full_screen, exit_window);
}

void VariousGoOnlineCB(MWin *mwin, char result, void *)
{
    if (result != 1)
        return;
    // The browser would open behind a full-screen game: leave full screen
    // first.
    if (!eng_screen_windowed && eng_main_window)
        eng_main_window->ToggleFullscreenMode();
    VariousOpenBrowser(mwin);
}

void VariousExitAndGoOnlineCB(MWin *mwin, char result, void *)
{
    if (result != 1)
        return;
    exiting_to_go_online = true;
    if (!eng_main_program) {
        VariousOpenBrowser(mwin);
        return;
    }
    eng_main_program->SetAfterExitCB(VariousGoOnlineAfterExitCB);
    eng_main_program->CloseDown(1);
}

void VariousGoOnlineAfterExitCB()
{
    VariousGoOnlineNow(online_address);
}

void VariousOpenBrowser(MWin *mwin)
{
    if (mwin && online_popups.show_now)
        online_popups.show_now(mwin, "Opening browser...");
    VariousGoOnlineNow(online_address);
}

void VariousResetForTests()
{
    online_address[0] = 0;
    exiting_to_go_online = false;
}
