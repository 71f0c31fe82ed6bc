// The updater (see the header).
#include "modules/Updater.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/net/EngInternetReadURL.h"
#include "engine/runtime/EngProgram.h"
#include "modules/CurlInterface.h"
#include "modules/SWin.h"
#include "platform/curl/PlatformCurl.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Shell.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

struct ProgramRow {
    int id;
    const char *short_name;
};

const ProgramRow PROGRAMS[] = {
    {UPN_LANTERNFLY, "lanternfly"},      {UPN_PEBBLE_COVE, "pebblecove"},   {UPN_HIVE_WATCHER, "hivewatcher"},
    {UPN_TARNWICK, "tarnwick"},          {UPN_GLOAMWOOD, "gloamwood"},      {UPN_SPORE_DRIFT, "sporedrift"},
    {UPN_FERN_CASTLE, "ferncastle"},     {UPN_DEW_RUNNER, "dewrunner"},     {UPN_THISTLEDOWN, "thistledown"},
    {UPN_MIRE_LIGHTS, "mirelights"},     {UPN_BRAMBLE_RUSH, "bramblerush"}, {UPN_ROOT_QUEST, "rootquest"},
    {UPN_PUDDLE_JUMP, "puddlejump"},     {UPN_COPPER_BEETLE, "copperbeetle"},
    {UPN_NETTLEBROOK, "nettlebrook"},
};

struct TypeRow {
    int type;
    const char *word;
};

const TypeRow TYPES[] = {{UPT_FULL, "full"}, {UPT_TRIAL, "trial"}, {UPT_DISC, "disc"}};

const char kDownloadMarker[] = "#DL:<";
const char kOutOfDate[] = "is out of date.";
const char kCustomerLogin[] = "custlogin";
const char kPartFile[] = "Download.part";
const int kReadTimeout = 5;
// A generous bound on an installer: a broken server cannot fill the disk.
const int64_t kDownloadLimit = 512LL * 1024 * 1024;
const long kMaxRedirects = 10;
const double kResultSeconds = 2.0, kResultStepSeconds = 0.01;
const int kMaxPumpPasses = 100;
const double kPumpPassSeconds = 0.0001;
const int kStatusTextSize = 6024;
const int kStatusTextKept = 4999;
const int kMessageNameLength = 63;

const char kCustomerText[] =
    "Your copy of this program was bought from Lichenware, so its new versions come from your "
    "customer account rather than from a direct download.\r\n\r\n"
    "Open the Lichenware online customer login pages in your web browser, log in with the e-mail "
    "address you bought the program with, and download the latest version from your list of "
    "orders or from the downloads page.";

char answer[UPDATER_ANSWER_SIZE];
char last_error[UPDATER_ERROR_SIZE];
char download_link[UPDATER_LINK_SIZE];
char request[UPDATER_REQUEST_SIZE];
char downloaded_file[1024];
// What a finished download tells the player.
char message[UPDATER_LINK_SIZE];
bool download_asked;
int read_timeout = kReadTimeout;
int64_t download_limit = kDownloadLimit;
bool new_program;
int status_index = -1;

// What a running download needs in its progress callback.
struct Transfer {
    EngFile file;
    const char *name;
    int64_t expected;
    int64_t written;
    // The server sent more than the download limit.
    bool too_large;
};

const char *ShortName(int program)
{
    for (const ProgramRow &row : PROGRAMS)
        if (row.id == program)
            return row.short_name;
    return nullptr;
}

const char *TypeWord(int type)
{
    for (const TypeRow &row : TYPES)
        if (row.type == type)
            return row.word;
    return nullptr;
}

void SetLastError(const char *text) { std::snprintf(last_error, sizeof(last_error), "%s", text); }

// Only web links are fetched: a link of another scheme could read the
// player's own files or write to other services of the machine.
bool IsWebLink(const char *link)
{
    return strncasecmp(link, "http://", 7) == 0 || strncasecmp(link, "https://", 8) == 0;
}

// A close-down asked for by the system (SIGTERM) ends the updater's windows
// and transfer at once rather than when the player answers.
bool ClosingDown() { return EngProgram::IsCloseDownSignalled(); }

// A language text, or its English default.
const char *Text(const char *key, const char *english) { return EngLanguagesGetStringOrDefault(key, english); }

bool OpenWindow(int width, int height)
{
    if (modules_swin.IsCreated())
        modules_swin.DestroyMainWindow();
    _SWinCreateInfo info = {};
    info.x = info.y = -1;
    info.width = width;
    info.height = height;
    info.red = info.green = info.blue = 0.94f;
    return modules_swin.CreateMainWindow(&info);
}

void CloseWindow()
{
    if (modules_swin.IsCreated())
        modules_swin.DestroyMainWindow();
    status_index = -1;
}

void SetStatusText(const char *text)
{
    if (status_index >= 0 && modules_swin.IsCreated())
        modules_swin.SetButtonText(status_index, text);
}

// The modal loop of a window with buttons: until a button ends it or the
// player closes the window. Idle passes sleep a moment rather than spin.
void RunWindowLoop()
{
    while (modules_swin.IsCreated() && !ClosingDown()) {
        int result = modules_swin.ProcessAnyWindowsMessages();
        if (result == 0)
            break;
        if (result == 1)
            EngMiscSleep(0.01);
    }
}

// Leaves the check's result on screen for its time, the window pumped all
// along so that it stays drawn and answers the player (who may close it).
void ShowResult()
{
    const int steps = static_cast<int>(kResultSeconds / kResultStepSeconds + 0.5);
    for (int step = 0; step < steps && modules_swin.IsCreated() && !ClosingDown(); step++) {
        UpdaterPumpMessages();
        EngMiscSleep(kResultStepSeconds);
    }
}

bool AskAboutNewVersion()
{
    CloseWindow();
    if (!OpenWindow(640, 420))
        return false;
    int text = modules_swin.AddButtonToWindow(SWBT_EDIT_BOX, 20, 20, 600, 320, answer);
    modules_swin.SetButtonTextAlign(text, SWTA_LEFT);
    modules_swin.AddPushButtonToWindow(480, 360, 140, 20, "Close", UpdaterCloseWindowCB);
    modules_swin.AddPushButtonToWindow(20, 360, 140, 20, "Download", UpdaterDownloadButtonCB);
    RunWindowLoop();
    CloseWindow();
    return download_asked;
}

void ShowCustomerLogin()
{
    if (!OpenWindow(640, 420))
        return;
    int text = modules_swin.AddButtonToWindow(SWBT_EDIT_BOX, 20, 20, 600, 170, kCustomerText);
    modules_swin.SetButtonTextAlign(text, SWTA_LEFT);
    int label = modules_swin.AddButtonToWindow(SWBT_STATIC_TEXT, 20, 285, 600, 25, "Online Customer Login Pages:");
    modules_swin.SetButtonTextAlign(label, SWTA_LEFT);
    modules_swin.AddPushButtonToWindow(20, 315, 300, 20, "Customer Login: My Orders", UpdaterCustomerOrdersCB);
    modules_swin.AddPushButtonToWindow(20, 360, 300, 20, "Customer Login: My Downloads", UpdaterCustomerDownloadsCB);
    modules_swin.AddPushButtonToWindow(480, 360, 140, 20, "Close", UpdaterCloseWindowCB);
    RunWindowLoop();
    CloseWindow();
}

size_t WriteCB(char *data, size_t size, size_t count, void *object)
{
    Transfer *transfer = static_cast<Transfer *>(object);
    size_t bytes = size * count;
    if (transfer->written + static_cast<int64_t>(bytes) > download_limit) {
        transfer->too_large = true;
        return 0;
    }
    if (bytes && !transfer->file.Write(data, static_cast<unsigned>(bytes)))
        return 0;
    transfer->written += static_cast<int64_t>(bytes);
    return bytes;
}

// Shows the progress, and ends the transfer when the player cancelled or
// the window is gone.
int ProgressCB(void *object, int64_t total, int64_t now, int64_t, int64_t)
{
    Transfer *transfer = static_cast<Transfer *>(object);
    if (total > 0)
        transfer->expected = total;
    if (!modules_swin.IsCreated() || modules_swin.IsQuitting() || status_index < 0 || ClosingDown())
        return 1;
    double percent = total > 0 ? static_cast<double>(now) * 100.0 / static_cast<double>(total) : 0.0;
    percent = std::floor(percent * 10.0 + 0.5) / 10.0;
    char text[UPDATER_LINK_SIZE + 64];
    if (transfer->name && transfer->name[0])
        std::snprintf(text, sizeof(text), "Downloading %s (%.1f%%) ...", transfer->name, percent);
    else
        std::snprintf(text, sizeof(text), "Downloading (%.1f%%) ...", percent);
    modules_swin.SetButtonText(status_index, text);
    UpdaterPumpMessages();
    return 0;
}

// Sets the options in order, each only while the earlier ones took; the
// number of the first that failed (its code in *code), or -1. Redirects are
// followed as the engine's reader follows them: web links only, https never
// to http, at most ten.
int SetDownloadOptions(PlatformCurl *curl, Transfer *transfer, int *code)
{
    *code = PlatformCurlSetWriteData(curl, transfer);
    if (*code != PLATFORM_CURL_OK)
        return 0;
    *code = PlatformCurlSetWriteFunction(curl, WriteCB);
    if (*code != PLATFORM_CURL_OK)
        return 1;
    *code = PlatformCurlSetUrl(curl, download_link);
    if (*code != PLATFORM_CURL_OK)
        return 2;
    *code = PlatformCurlSetProgressFunction(curl, ProgressCB, transfer);
    if (*code != PLATFORM_CURL_OK)
        return 3;
    // An error page is not the installer.
    *code = PlatformCurlSetFailOnError(curl, 1);
    if (*code != PLATFORM_CURL_OK)
        return 4;
    *code = PlatformCurlSetWebOnly(curl, download_link);
    if (*code != PLATFORM_CURL_OK)
        return 5;
    *code = PlatformCurlSetFollowRedirects(curl, kMaxRedirects);
    if (*code != PLATFORM_CURL_OK)
        return 6;
    PlatformCurlSetIpResolveV4(curl);
    return -1;
}

// Refuses a download that the per-user folder's disk may not hold whole.
bool HasRoomForDownload()
{
    const char *folder = PrefFolderGetMainFolder();
    uint64_t free_bytes = 0;
    // A disk that cannot be examined is tried: the write reports any failure.
    if (!PlatformGetDiskFreeBytes(folder, &free_bytes) || free_bytes >= static_cast<uint64_t>(download_limit))
        return true;
    DebugError("UpdaterDoDownload", "Not enough free space for a download in <%s> (%llu bytes free)", folder,
               static_cast<unsigned long long>(free_bytes));
    return false;
}

// The transfer into part; false (the part file deleted) unless the whole
// file arrived.
bool DownloadToPart(PlatformCurl *curl, const char *part, const char *name)
{
    const char *where = "UpdaterDoDownload";
    EngFileDelete(part, 0);
    if (!HasRoomForDownload())
        return false;
    Transfer transfer;
    transfer.name = name;
    transfer.expected = 0;
    transfer.written = 0;
    transfer.too_large = false;
    if (!transfer.file.CreateForWriting(part, 0)) {
        DebugError(where, "Could not create file for downloading <%s>", part);
        return false;
    }
    int code = PLATFORM_CURL_OK;
    int step = SetDownloadOptions(curl, &transfer, &code);
    if (step < 0) {
        step = 8;
        code = PlatformCurlPerform(curl);
    }
    transfer.file.Close();
    if (code == PLATFORM_CURL_ABORTED_BY_CALLBACK) {
        EngFileDelete(part, 0);
        return false;
    }
    if (transfer.too_large) {
        EngFileDelete(part, 0);
        DebugError(where, "The download is larger than %lld bytes <%s>", static_cast<long long>(download_limit),
                   download_link);
        return false;
    }
    if (code != PLATFORM_CURL_OK) {
        EngFileDelete(part, 0);
        DebugError(where, "Problem (from: %d  error: %d)", step, code);
        return false;
    }
    // The answer at the end of the redirects must be the file itself: a
    // redirect without a target, or any other status, is not an installer.
    long status = PlatformCurlGetResponseCode(curl);
    if (status < 200 || status > 299 || transfer.written == 0) {
        EngFileDelete(part, 0);
        DebugError(where, "No file received <%s> (status %ld, %lld bytes)", download_link, status,
                   static_cast<long long>(transfer.written));
        return false;
    }
    // A transfer may end cleanly yet short, or the file may have lost bytes
    // on its way to the disk: only the whole length counts.
    int64_t on_disk = EngFileGetFileSize(part, 0);
    if ((transfer.expected > 0 && transfer.written != transfer.expected) || on_disk != transfer.written) {
        EngFileDelete(part, 0);
        DebugError(where, "Incomplete download <%s> (%lld of %lld bytes, %lld on disk)", part,
                   static_cast<long long>(transfer.written), static_cast<long long>(transfer.expected),
                   static_cast<long long>(on_disk));
        return false;
    }
    return true;
}

// Moves part to the desktop as name, or as "Latest_" + name when name is
// taken there (an older "Latest_" file making way).
bool MoveToDesktop(const char *part, const char *name)
{
    char desktop[768];
    std::snprintf(desktop, sizeof(desktop), "%s", PrefFolderGetDesktopFolder());
    char target[sizeof(downloaded_file)];
    std::snprintf(target, sizeof(target), "%s/%s", desktop, name);
    if (EngFileExists(target, 0)) {
        std::snprintf(target, sizeof(target), "%s/Latest_%s", desktop, name);
        if (EngFileExists(target, 0))
            EngFileDelete(target, 1);
    }
    if (!EngFileMoveFile(part, target)) {
        EngFileDelete(part, 0);
        DebugError("UpdaterDoDownload", "There was a problem moving the file to the folder <%s> ( <%s> -> <%s> )",
                   desktop, part, target);
        return false;
    }
    std::snprintf(downloaded_file, sizeof(downloaded_file), "%s", target);
    return true;
}

// The player's look at a finished download: the folder holding it opens
// with the desktop's opener; the file itself is never run.
void OpenDownloadFolder()
{
    char folder[sizeof(downloaded_file)];
    std::snprintf(folder, sizeof(folder), "%s", downloaded_file);
    char *slash = std::strrchr(folder, '/');
    if (slash)
        *slash = 0;
    HINSTANCE opened = ShellExecuteA(nullptr, "open", folder, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<intptr_t>(opened) <= 32) {
        DebugError("UpdaterStartDownload", "Could not open the folder <%s>", folder);
        return;
    }
    char text[sizeof(folder) + 64];
    std::snprintf(text, sizeof(text), "Download complete. Opened the folder holding it: %s", folder);
    SetStatusText(text);
    UpdaterPumpMessages();
}

} // namespace

bool UpdaterSetupUrl(int program, float version, int type)
{
    const char *where = "UpdaterSetupUrl";
    const char *name = ShortName(program);
    if (!name) {
        DebugError(where, "Unknown program name");
        return false;
    }
    const char *word = TypeWord(type);
    if (!word) {
        DebugError(where, "Unknown program type");
        return false;
    }
    std::snprintf(request, sizeof(request), "%s?platform=%s&program=%s&program_type=%s&version=%.3f",
                  EngServersGetUpdateScriptAddress(), "PC", name, word, static_cast<double>(version));
    return true;
}

namespace {

// Checks the answer just read; unless raw, takes its download link off.
bool CheckAnswer(char raw)
{
    const char *where = "UpdaterReadURL";
    if (raw)
        return true;
    if (!answer[0] || (answer[0] == ' ' && answer[1] == 'X')) {
        DebugError(where, "Got result <%s>", answer);
        SetLastError("Error returned from the URL");
        return false;
    }
    char *marker = std::strstr(answer, kDownloadMarker);
    if (!marker)
        return true;
    size_t length = std::strlen(marker);
    if (length >= UPDATER_LINK_SIZE) {
        char shown[UPDATER_LINK_SIZE];
        std::snprintf(shown, sizeof(shown), "%s", marker);
        DebugError(where, "Link too long <%s...>", shown);
        return true;
    }
    if (length > 10) {
        const char *start = marker + std::strlen(kDownloadMarker);
        size_t end = std::strcspn(start, ">");
        std::snprintf(download_link, sizeof(download_link), "%.*s", static_cast<int>(end), start);
    }
    *marker = 0;
    return true;
}

} // namespace

bool UpdaterReadURL(const char *address, char raw)
{
    const char *where = "UpdaterReadURL";
    answer[0] = 0;
    if (!EngInternetIsConnected()) {
        SetLastError("No connection to the internet found");
        return false;
    }
    char reason[ENG_INTERNET_ERROR_TEXT_SIZE] = {};
    if (!EngInternetReadURL(address, answer, sizeof(answer), nullptr, reason, nullptr, read_timeout)) {
        answer[0] = 0;
        DebugError(where, "Could not read <%s>: %s", address, reason);
        SetLastError("Could not read result from the URL");
        return false;
    }
    return CheckAnswer(raw);
}

bool UpdaterTakeAnswer(const char *data, unsigned length, char raw)
{
    length = data ? std::min<unsigned>(length, sizeof(answer) - 1) : 0;
    if (length)
        std::memcpy(answer, data, length);
    answer[length] = 0;
    return CheckAnswer(raw);
}

bool UpdaterCheckForNewVersion(int program, float version, int type)
{
    if (!OpenWindow(400, 90))
        return false;
    status_index = modules_swin.AddButtonToWindow(SWBT_STATIC_TEXT, 0, 22, 400, 20, "Updating");
    modules_swin.SetButtonTextAlign(status_index, SWTA_CENTRE);
    UpdaterClearText();
    UpdaterAddText(Text("Updater_CheckingForUpdates", "Checking for updates ..."));

    const char *result = nullptr;
    if (!UpdaterSetupUrl(program, version, type) || !UpdaterReadURL(request, 0))
        result = Text("Updater_CheckFailed", "Check Failed.");
    else if (!std::strstr(answer, kOutOfDate))
        result = Text("Updater_NoNewVersionExists", "No new version exists at this time.");
    if (result) {
        UpdaterClearText();
        UpdaterAddText(result);
        ShowResult();
        CloseWindow();
        return false;
    }

    if (!AskAboutNewVersion())
        return false;
    download_asked = false;
    if (std::strcmp(download_link, kCustomerLogin) != 0)
        return UpdaterStartDownload(nullptr);
    ShowCustomerLogin();
    return true;
}

bool UpdaterDoWeeklyVersionCheck(_EngMiscDate *last_check, int program, float version, int type)
{
    if (!last_check)
        return false;
    _EngMiscDate today, week_ago;
    EngMiscGetCurrentDate(&today);
    week_ago = today;
    for (int day = 0; day < 7; day++)
        EngMiscGetPreviousDay(&week_ago);
    if (EngMiscIsDateLaterThan(*last_check, week_ago))
        return false;
    *last_check = today;
    return UpdaterCheckForNewVersion(program, version, type);
}

bool UpdaterStartDownload(const char *link)
{
    if (link) {
        std::snprintf(download_link, sizeof(download_link), "%s", link);
        new_program = true;
    } else {
        new_program = false;
    }
    char name[UPDATER_LINK_SIZE];
    if (!IsWebLink(download_link) || !UpdaterGetSafeFileName(download_link, name, sizeof(name))) {
        EngMiscShowPopupMessage(EMPT_ERROR, nullptr, "Internal Error 3.");
        DebugError("UpdaterStartDownload", "Invalid link name");
        return false;
    }
    downloaded_file[0] = 0;
    if (OpenWindow(450, 90)) {
        status_index = modules_swin.AddButtonToWindow(SWBT_STATIC_TEXT, 10, 22, 330, 20, "Downloading...");
        modules_swin.SetButtonTextAlign(status_index, SWTA_LEFT);
        int cancel = modules_swin.AddPushButtonToWindow(360, 20, 80, 20, "Cancel", UpdaterCancelDownloadCB);
        modules_swin.SetButtonTextAlign(cancel, SWTA_CENTRE);
        UpdaterPumpMessages();
    }
    bool done = UpdaterDoDownload();
    if (done)
        OpenDownloadFolder();
    CloseWindow();
    if (ClosingDown())
        DebugInfoWithName("UpdaterStartDownload", "The program is closing: the download ends unannounced.");
    else if (done)
        EngMiscShowPopupMessage(EMPT_INFO, "Download Complete", message);
    else
        EngMiscShowPopupMessage(EMPT_ERROR, nullptr, "The download was not completed.");
    return true;
}

bool UpdaterDoDownload()
{
    const char *where = "UpdaterDoDownload";
    size_t length = std::strlen(download_link);
    if (length == 0 || length >= UPDATER_LINK_SIZE)
        return false;
    char part[1024];
    std::snprintf(part, sizeof(part), "%s", PrefFolderGetMainFolderWithFileAppended(kPartFile));
    if (!IsWebLink(download_link)) {
        DebugError(where, "Invalid link name");
        return false;
    }
    char name[UPDATER_LINK_SIZE];
    if (!UpdaterGetSafeFileName(download_link, name, sizeof(name))) {
        DebugError(where, "Internal Error 1 <%s>", part);
        return false;
    }
    bool setup_here = !CurlInterface_IsCurlSetup();
    if (setup_here && !CurlInterface_InitCurl())
        return false;
    bool done = false;
    PlatformCurl *curl = CurlInterface_CallCurlEasyInit();
    if (!curl) {
        DebugError(where, "CurlInterface_CallCurlEasyInit() failed");
    } else {
        done = DownloadToPart(curl, part, name);
        PlatformCurlEasyCleanup(curl);
    }
    if (setup_here)
        CurlInterface_ExitCurl();
    if (!done || !MoveToDesktop(part, name))
        return false;
    if (new_program)
        std::snprintf(message, sizeof(message),
                      "The file \"%.*s\" has been downloaded %s.\n\nDouble click it to install the program.",
                      kMessageNameLength, name, "on your Desktop");
    else
        std::snprintf(message, sizeof(message),
                      "The file \"%.*s\" has been placed on your Desktop.\n\nPlease remove any older versions of the "
                      "program, then install the program as you did the previous version.",
                      kMessageNameLength, name);
    return true;
}

bool UpdaterDoInternetTest(char *text, int size)
{
    if (UpdaterReadURL(EngServersGetUpdateScriptAddress(), 1)) {
        if (text && size > 32)
            std::snprintf(text, static_cast<size_t>(size), "Internet Test Ok");
        return true;
    }
    if (text && size > 1)
        std::snprintf(text, static_cast<size_t>(size), "%s", last_error);
    return false;
}

void UpdaterCloseWindowCB(SWin *swin) { swin->QuitWindowLoop(); }

void UpdaterDownloadButtonCB(SWin *swin)
{
    download_asked = true;
    swin->QuitWindowLoop();
}

void UpdaterCancelDownloadCB(SWin *swin)
{
    DebugInfoWithName("UpdaterCancelDownloadCB", "CANCEL");
    swin->QuitWindowLoop();
}

// The customer-login pages are reached by the player's own browser; the
// buttons only end the window.
void UpdaterCustomerOrdersCB(SWin *swin)
{
    swin->QuitWindowLoop();
    DebugInfoWithName("UpdaterCustomerOrdersCB", "No link");
}

void UpdaterCustomerDownloadsCB(SWin *swin)
{
    swin->QuitWindowLoop();
    DebugInfoWithName("UpdaterCustomerDownloadsCB", "No link");
}

void UpdaterPumpMessages()
{
    for (int pass = 0; pass < kMaxPumpPasses && modules_swin.IsCreated(); pass++) {
        if (modules_swin.ProcessAnyWindowsMessages() != 2)
            break;
        EngMiscSleep(kPumpPassSeconds);
    }
}

void UpdaterClearText()
{
    SetStatusText("");
    UpdaterPumpMessages();
}

void UpdaterAddText(const char *text)
{
    if (status_index < 0 || !modules_swin.IsCreated() || !text)
        return;
    static char work[kStatusTextSize];
    work[0] = 0;
    modules_swin.GetButtonText(status_index, work, kStatusTextKept + 1);
    size_t used = std::strlen(work);
    std::snprintf(work + used, sizeof(work) - used, "%s", text);
    modules_swin.SetButtonText(status_index, work);
    UpdaterPumpMessages();
}

bool UpdaterGetSafeFileName(const char *link, char *name, int size)
{
    if (!name || size < 2)
        return false;
    name[0] = 0;
    const char *slash = link ? std::strrchr(link, '/') : nullptr;
    if (!slash)
        return false;
    const char *start = slash + 1;
    size_t length = std::strcspn(start, "?#");
    // A '\' is a folder separator to the file layer.
    for (size_t i = length; i > 0; i--)
        if (start[i - 1] == '\\') {
            start += i;
            length -= i;
            break;
        }
    if (length == 0 || length >= static_cast<size_t>(size) || start[0] == '.')
        return false;
    for (size_t i = 0; i < length; i++) {
        char c = start[i];
        bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                    c == '-' || c == '_' || c == ' ';
        name[i] = safe ? c : '_';
    }
    name[length] = 0;
    return true;
}

const char *UpdaterGetAnswer() { return answer; }
const char *UpdaterGetLastError() { return last_error; }
const char *UpdaterGetDownloadLink() { return download_link; }
const char *UpdaterGetRequestAddress() { return request; }
const char *UpdaterGetDownloadedFile() { return downloaded_file; }

void UpdaterResetForTests()
{
    CloseWindow();
    answer[0] = last_error[0] = download_link[0] = request[0] = downloaded_file[0] = message[0] = 0;
    download_asked = false;
    new_program = false;
    read_timeout = kReadTimeout;
    download_limit = kDownloadLimit;
}

void UpdaterSetReadTimeoutForTests(int seconds) { read_timeout = seconds > 0 ? seconds : kReadTimeout; }

void UpdaterSetDownloadLimitForTests(long long bytes) { download_limit = bytes > 0 ? bytes : kDownloadLimit; }
