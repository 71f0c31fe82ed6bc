// The updater: asks the maker's update script whether a newer version of a
// program exists, tells the player in small native windows (SWin), and on
// request downloads the newer version's installer to the player's desktop.
// It runs on the main thread in modal loops of its own, outside the game's
// screens: at start before the main window (the weekly check), from the
// start-up settings dialog, and after the program has closed (the
// cross-promotion's download).
//
// The request is "<update script>?platform=PC&program=<short name>
// &program_type=<edition>&version=<x.xxx>". The answer is a text for the
// player; " X..." or nothing is an error, "is out of date." means a newer
// version exists, and "#DL:<link>" may carry its download link.
//
// Only http and https links are fetched, redirects included (at most ten,
// never from https to http). The download goes to "Download.part" in the
// per-user folder and is moved to the desktop only once it is whole: an
// answer other than 2xx after the redirects, an empty file, a transfer that
// ends short or passes 512 MB, or a disk with less than that free is
// refused, and a failed or cancelled download leaves no file behind. A
// close-down signalled to the program (SIGTERM) ends the windows and the
// transfer as Cancel would, without the closing message box. The file is named by the link's last part, reduced to a safe
// base name. A downloaded file is never run: the folder holding it is opened
// with the desktop's opener instead.
//
// Every failure is logged and ends the operation with false; the player sees
// "Check Failed.", "The download was not completed." or "Internal Error 3.".
#pragma once

struct _EngMiscDate;
class SWin;

// The maker's programs, as the update script knows them. Every id from 1 to
// 16 but 15 has a short name; the others have none.
enum _UpdaterProgramName : int {
    UPN_NONE = 0,
    UPN_LANTERNFLY = 1,
    UPN_PEBBLE_COVE = 2,
    UPN_HIVE_WATCHER = 3,
    UPN_TARNWICK = 4,
    UPN_GLOAMWOOD = 5,
    UPN_SPORE_DRIFT = 6,
    UPN_FERN_CASTLE = 7,
    UPN_DEW_RUNNER = 8,
    UPN_THISTLEDOWN = 9,
    UPN_MIRE_LIGHTS = 10,
    UPN_BRAMBLE_RUSH = 11,
    UPN_ROOT_QUEST = 12,
    UPN_PUDDLE_JUMP = 13,
    UPN_COPPER_BEETLE = 14,
    UPN_NETTLEBROOK = 16,
};

// The program's edition, sent as a word.
enum _UpdaterProgramType : int {
    UPT_FULL = 0,
    UPT_TRIAL = 1,
    UPT_DISC = 2,
};

enum {
    UPDATER_ANSWER_SIZE = 2048,
    UPDATER_LINK_SIZE = 256,
    UPDATER_REQUEST_SIZE = 512,
    UPDATER_ERROR_SIZE = 256,
};

// Writes the request address; an id without a name logs "Unknown program
// name" (an unknown edition "Unknown program type") and gives false.
bool UpdaterSetupUrl(int program, float version, int type);
// Reads address into the answer (at most 2,047 bytes; 5 seconds at most
// for the whole read, connecting included).
// Unless raw, an empty or " X" answer fails, and a "#DL:<link>" marker is
// taken off the answer and its link kept for the download.
bool UpdaterReadURL(const char *address, char raw);
// What UpdaterReadURL does with an answer once read (length bytes, not
// terminated, cut to 2,047), for an answer that comes without a download.
bool UpdaterTakeAnswer(const char *data, unsigned length, char raw);
// The check with its windows; true when the player went on to a download
// (or to the customer-login window).
bool UpdaterCheckForNewVersion(int program, float version, int type);
// Runs the check when last_check is at least seven days back, after
// setting it to today; the caller stores the date.
bool UpdaterDoWeeklyVersionCheck(_EngMiscDate *last_check, int program, float version, int type);
// The download window around UpdaterDoDownload; a null link downloads the
// link of the last check. False only for a link that is not http or https
// or has no usable file name; a download that fails is shown to the player
// and still gives true.
bool UpdaterStartDownload(const char *link);
// The transfer into "Download.part" and its move to the desktop.
bool UpdaterDoDownload();
// Reads the update script once. On success message gets "Internet Test Ok"
// (when size is above 32); on failure the reason (when size is above 1).
bool UpdaterDoInternetTest(char *message, int size);

// The windows' buttons.
void UpdaterCloseWindowCB(SWin *swin);
void UpdaterDownloadButtonCB(SWin *swin);
void UpdaterCancelDownloadCB(SWin *swin);
void UpdaterCustomerOrdersCB(SWin *swin);
void UpdaterCustomerDownloadsCB(SWin *swin);

// Handles the window's pending messages (at most 100).
void UpdaterPumpMessages();
// Empties the status text, or appends to it; both then pump.
void UpdaterClearText();
void UpdaterAddText(const char *text);

// The file name a download link gives: its last part after '/', without a
// query or fragment, its last part again after '\' (which the file layer
// would take as a folder), and with every character other than letters,
// digits, '.', '-', '_' and blank made '_'. False (name empty) for a link
// without '/', and for a name that comes out empty, too long for size, or
// starting with '.'.
bool UpdaterGetSafeFileName(const char *link, char *name, int size);

// The module's buffers, for tests.
const char *UpdaterGetAnswer();
const char *UpdaterGetLastError();
const char *UpdaterGetDownloadLink();
const char *UpdaterGetRequestAddress();
// Where the last download was put ("" when none).
const char *UpdaterGetDownloadedFile();
// Clears the buffers and restores the time-out and the download limit.
void UpdaterResetForTests();
// Shortens the check's time-out (5 s); 0 restores it.
void UpdaterSetReadTimeoutForTests(int seconds);
// Lowers the download limit (512 MB); 0 restores it.
void UpdaterSetDownloadLimitForTests(long long bytes);
