#include "engine/core/EngMisc.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32SystemTime.h"
#include "platform/win32/Win32Time.h"
#include "platform/win32/Win32User.h"
#include "platform/win32/Win32Window.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

char eng_misc_main_window_created = 0;

namespace {

struct StoredPopup {
    _EngMiscPopupType type = EMPT_NONE;
    char title[100] = "";
    char text[400] = "";
};

// A worker thread may store the popup (a forced exit) while the main thread
// runs: the record changes and is copied only under its lock.
std::mutex stored_popup_mutex;
StoredPopup stored_popup;

StoredPopup CopyStoredPopup()
{
    std::lock_guard<std::mutex> lock(stored_popup_mutex);
    return stored_popup;
}

struct ProgramClock {
    bool have_counter = false;
    int64_t frequency = 0;
    int64_t start = 0;
};

ProgramClock program_clock;

_EngOrientation orientation = EO_PORTRAIT;

// The generator of the C standard's example: 15 bits a draw.
unsigned random_state = 1;

const float PI = 3.14159265f;
const float THROB_WRAP = 12.566371f; // 4 pi

bool IsBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// The folder csidl as 1252 text into buffer; the two texts name the two
// ways it can fail.
char GetSpecialFolder(int csidl, char *buffer, int size, const char *where, const char *no_folder,
                      const char *no_path)
{
    if (!buffer || size <= 255)
        return 0;
    ITEMIDLIST *folder = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &folder))) {
        DebugError(where, "%s", no_folder);
        return 0;
    }
    char path[MAX_PATH];
    bool ok = SHGetPathFromIDListA(folder, path) && std::strlen(path) < static_cast<size_t>(size);
    ILFree(folder);
    if (!ok) {
        DebugError(where, "%s", no_path);
        return 0;
    }
    EngSafeStrcpy(buffer, path, static_cast<unsigned>(size));
    return 1;
}

// Appends "\" and name to the path in buffer; false when it would not fit.
bool AppendFolder(char *buffer, int size, const char *name)
{
    size_t length = std::strlen(buffer);
    if (length + 1 + std::strlen(name) >= static_cast<size_t>(size))
        return false;
    buffer[length] = '\\';
    std::strcpy(buffer + length + 1, name);
    return true;
}

char CreateFolderIfNeeded(const char *path, const char *where)
{
    if (EngFileDirectoryExists(path) || EngFileCreateDirectory(path, 1))
        return 1;
    DebugError(where, "Could not create dir <%s>", path);
    return 0;
}

} // namespace

char EngMiscIsDesktopPlatform()
{
    return 1;
}

// This program runs on the desktop; tests switch the tablet paths on here.
static char tablet_for_tests = 0;

char EngMiscIsTabletPlatform()
{
    return tablet_for_tests;
}

void EngMiscSetTabletPlatformForTests(char on)
{
    tablet_for_tests = on;
}

const char *EngMiscGetPlatformName()
{
    return "Windows";
}

void EngMainSetOrientation(int value)
{
    orientation = static_cast<_EngOrientation>(value);
}

int EngMainGetOrientation()
{
    return orientation;
}

char EngMainIsPortrait()
{
    return orientation == EO_PORTRAIT || orientation == EO_PORTRAIT_FLIPPED;
}

char EngMainIsLandscape()
{
    return orientation == EO_LANDSCAPE || orientation == EO_LANDSCAPE_FLIPPED;
}

int EngLayoutGetLayoutNumber(int layout)
{
    if (layout >= 0)
        return layout;
    if (EngMiscIsDesktopPlatform())
        return 0;
    bool tablet = EngMiscIsTabletPlatform();
    if (EngMainIsPortrait())
        return tablet ? 3 : 1;
    if (EngMainIsLandscape())
        return tablet ? 4 : 2;
    return 0;
}

char EngLayoutIsNotNormalLayout(int layout)
{
    return EngLayoutGetLayoutNumber(layout) > 0;
}

void EngMiscRandSeed(unsigned seed)
{
    random_state = seed;
}

int EngMiscRand()
{
    random_state = random_state * 1103515245u + 12345u;
    return static_cast<int>((random_state / 65536u) % 32768u);
}

float EngMiscRandFloat(float max, char random_sign)
{
    float m = std::fabs(max);
    // The steps are double constants: a max of 0.000001f is a hair below
    // 0.000001, so its count truncates to 0.
    double step;
    if (m < 0.01f)
        step = 0.000001;
    else if (m < 0.1f)
        step = 0.00001;
    else if (m < 1.0f)
        step = 0.0001;
    else if (m < 10.0f)
        step = 0.001;
    else if (m < 100.0f)
        step = 0.01;
    else
        step = 1.0;
    // Beyond INT_MAX steps the draw cannot reach further anyway; a max that
    // is not a number has no steps.
    int n = EngMathTruncateToInt(m / step);
    if (n <= 0)
        return 0.0f;
    float r = static_cast<float>(EngMiscRand() % n * step);
    if (r < 0.0f || r >= m)
        DebugError("EngMiscRandFloat", "Function not working properly");
    if (random_sign && EngMiscRand() % 2 == 0)
        r = -r;
    return r;
}

float EngMiscRandFloatFromDouble(double max, char random_sign)
{
    return EngMiscRandFloat(static_cast<float>(max), random_sign);
}

char EngMiscRandChance(int n)
{
    if (n <= 0)
        return 0;
    return EngMiscRand() % (static_cast<long long>(n) + 1) != 0;
}

char EngMiscRandOneIn(int n)
{
    if (n <= 1)
        return 1;
    return EngMiscRand() % n == 0;
}

float EngMiscRandFloatInRange(float min, float max, char random_sign)
{
    if (max <= min)
        return random_sign && !EngMiscRandChance(1) ? -min : min;
    float value = min + EngMiscRandFloat(max - min, 0);
    return random_sign && EngMiscRandChance(1) ? -value : value;
}

double EngMiscRandDoubleInRange(double min, double max, char random_sign)
{
    if (max <= min)
        return random_sign && !EngMiscRandChance(1) ? -min : min;
    double value = min + EngMiscRandFloat(static_cast<float>(max - min), 0);
    return random_sign && EngMiscRandChance(1) ? -value : value;
}

int EngMiscRandIntInRange(int min, int max, char random_sign)
{
    if (max <= min)
        return random_sign && !EngMiscRandChance(1) ? -min : min;
    long long range = static_cast<long long>(max) - min;
    int value = static_cast<int>(min + EngMiscRand() % range);
    return random_sign && EngMiscRandChance(1) ? -value : value;
}

char EngMiscAreFloatsNearlyEqual(float a, float b)
{
    if (a == b)
        return 1;
    float difference = b != 0.0f ? (b - a) / b : (b - a) / a;
    return std::fabs(difference) < 0.001f;
}

void EngMiscClampFloat(float *value, float min, float max)
{
    if (!value)
        return;
    if (*value < min)
        *value = min;
    if (*value > max)
        *value = max;
}

char EngMiscMoveFloatTowards(float *value, float target, float step)
{
    if (!value || *value == target)
        return 1;
    if (*value < target) {
        *value += step;
        if (*value > target) {
            *value = target;
            return 1;
        }
    } else {
        *value -= step;
        if (*value < target) {
            *value = target;
            return 1;
        }
    }
    return *value == target;
}

char EngMiscCheckRepeatTimer(double *next_time, double period)
{
    double now = eng_main_program_time;
    if (!next_time || now < *next_time)
        return 0;
    *next_time = now + period;
    return 1;
}

float EngMiscUpdateThrob(float *phase, float speed, char *cycle_done)
{
    if (cycle_done)
        *cycle_done = 0;
    if (!phase)
        return 0.0f;
    float old_phase = *phase;
    *phase += 2.0f * speed;
    bool wrapped = false;
    if (*phase >= THROB_WRAP) {
        *phase -= THROB_WRAP;
        wrapped = true;
    } else if (*phase < -PI / 2.0f) {
        *phase += THROB_WRAP;
        wrapped = true;
    }
    if (cycle_done) {
        *cycle_done = wrapped || *phase < old_phase || (old_phase < 2.0f * PI && *phase >= 2.0f * PI);
    }
    return (std::sin(*phase + 3.0f * PI / 2.0f) + 1.0f) / 2.0f;
}

char EngMiscRemoveAnyNewLinesFromEndOfString(char *text)
{
    if (!text || !text[0])
        return 0;
    size_t length = std::strlen(text);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n'))
        text[--length] = 0;
    return 1;
}

char EngMiscRemoveAnySpacesFromStartOrEndOfString(char *text)
{
    const char *where = "EngMiscRemoveAnySpacesFromStartOrEndOfString";
    if (!text || !text[0])
        return 0;
    size_t length = std::strlen(text);
    char *copy = static_cast<char *>(EngMalloc(static_cast<unsigned>(length + 1), where, 0));
    if (!copy)
        return 0;
    size_t start = 0;
    while (start < length && IsBlankOrTab(text[start]))
        start++;
    size_t end = length;
    while (end > start && IsBlankOrTab(text[end - 1]))
        end--;
    std::memcpy(copy, text + start, end - start);
    copy[end - start] = 0;
    std::memcpy(text, copy, end - start + 1);
    EngFree(copy, 0, where);
    return 1;
}

char EngMiscIsCharAlphanumeric(char c, char allow_space, char allow_full_stop, char allow_comma, char allow_hyphen)
{
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return 1;
    return (allow_space && c == ' ') || (allow_full_stop && c == '.') || (allow_comma && c == ',') ||
           (allow_hyphen && c == '-');
}

char EngMiscIsStringAlphanumeric(const char *text, char allow_space, char allow_full_stop, char allow_comma,
                                 char allow_hyphen)
{
    if (!text || !text[0])
        return 0;
    for (const char *p = text; *p; p++)
        if (!EngMiscIsCharAlphanumeric(*p, allow_space, allow_full_stop, allow_comma, allow_hyphen))
            return 0;
    return 1;
}

void EngMiscConvertStringToUpperCase(char *text)
{
    if (!text)
        return;
    for (char *p = text; *p; p++)
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
}

const char *EngMiscGetExtensionFromFilename(const char *name)
{
    const char *where = "EngMiscGetExtensionFromFilename";
    if (!name || !name[0]) {
        DebugError(where, "No filename.");
        return nullptr;
    }
    const char *dot = std::strrchr(name, '.');
    if (!dot || dot == name || !dot[1]) {
        DebugError(where, "No extension in [%s].", name);
        return nullptr;
    }
    return dot + 1;
}

void EngMiscGetLocalTime_PC(_EngMiscDateAndTime *now)
{
    if (!now) {
        DebugErrorCode("EngMiscGetLocalTime_PC", 'BAPA');
        return;
    }
    SYSTEMTIME local;
    GetLocalTime(&local);
    now->date.year = local.wYear;
    now->date.month = static_cast<char>(local.wMonth);
    now->date.day = static_cast<char>(local.wDay);
    now->hour = local.wHour;
    now->minute = static_cast<char>(local.wMinute);
    now->second = static_cast<char>(local.wSecond);
}

void EngMiscGetCurrentDate(_EngMiscDate *date)
{
    if (!date) {
        DebugErrorCode("EngMiscGetCurrentDate", 'BAPA');
        return;
    }
    _EngMiscDateAndTime now;
    EngMiscGetLocalTime_PC(&now);
    *date = now.date;
}

void EngMiscGetCurrentTime(_EngMiscDateAndTime *time)
{
    if (!time) {
        DebugErrorCode("EngMiscGetCurrentTime", 'BAPA');
        return;
    }
    _EngMiscDateAndTime now;
    EngMiscGetLocalTime_PC(&now);
    time->hour = now.hour;
    time->minute = now.minute;
    time->second = now.second;
}

void EngMiscGetCurrentDateAndTime(_EngMiscDateAndTime *date_and_time)
{
    if (!date_and_time) {
        DebugErrorCode("EngMiscGetCurrentDateAndTime", 'BAPA');
        return;
    }
    EngMiscGetLocalTime_PC(date_and_time);
}

int EngMiscGetNumberOfDaysInMonth(char month, unsigned year)
{
    switch (month) {
    case 2: {
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    default:
        DebugError("EngMiscGetNumberOfDaysInMonth", "Invalid month %d", month);
        return 0;
    }
}

int EngMiscGetNumberOfDaysInMonthForDate(const _EngMiscDate *date)
{
    if (!date)
        return 0;
    return EngMiscGetNumberOfDaysInMonth(date->month, static_cast<unsigned>(date->year));
}

int EngMiscGetDayOfYearForDate(const _EngMiscDate *date)
{
    const char *where = "EngMiscGetDayOfYearForDate";
    if (!date) {
        DebugError(where, "No date.");
        return 0;
    }
    if (date->month < 1 || date->month > 12) {
        DebugError(where, "Invalid month %d.", date->month);
        return 0;
    }
    int day = date->day;
    for (char month = 1; month < date->month; month++)
        day += EngMiscGetNumberOfDaysInMonth(month, static_cast<unsigned>(date->year));
    return day;
}

void EngMiscGetPreviousDay(_EngMiscDate *date)
{
    const char *where = "EngMiscGetPreviousDay";
    if (!date) {
        DebugErrorCode(where, 'BAPA');
        return;
    }
    if (date->month < 1 || date->month > 12 || date->day < 1 || date->day > 31) {
        DebugError(where, "Invalid date %04d:%02d:%02d", date->year, date->month, date->day);
        return;
    }
    if (date->day > 1) {
        date->day--;
        return;
    }
    switch (date->month) {
    case 1:
        date->year--;
        date->month = 12;
        date->day = 31;
        break;
    case 3:
        date->month = 2;
        date->day = static_cast<char>(EngMiscGetNumberOfDaysInMonth(2, static_cast<unsigned>(date->year)));
        break;
    case 5:
    case 7:
    case 10:
    case 12:
        date->month--;
        date->day = 30;
        break;
    default:
        date->month--;
        date->day = 31;
        break;
    }
}

char EngMiscIsDateLaterThan(_EngMiscDate date, _EngMiscDate other)
{
    if (date.year != other.year)
        return date.year > other.year;
    if (date.month != other.month)
        return date.month > other.month;
    return date.day > other.day;
}

unsigned EngMiscGetDaysFromDate(const _EngMiscDate *date)
{
    if (!date) {
        DebugErrorCode("EngMiscGetDaysFromDate", 'BAPA');
        return 0;
    }
    return static_cast<unsigned>(EngMiscGetDayOfYearForDate(date)) + 366u * static_cast<unsigned>(date->year);
}

unsigned EngMiscGetMinutesFromDateAndTime(const _EngMiscDateAndTime *date_and_time)
{
    if (!date_and_time) {
        DebugErrorCode("EngMiscGetMinutesFromDateAndTime", 'BAPA');
        return 0;
    }
    unsigned days = EngMiscGetDaysFromDate(&date_and_time->date);
    return static_cast<unsigned>(date_and_time->minute) +
           60u * (static_cast<unsigned>(date_and_time->hour) + 24u * days);
}

char EngMiscIsDateValid(const _EngMiscDate *date, char report)
{
    const char *where = "EngMiscIsDateValid";
    if (!date) {
        if (report)
            DebugErrorCode(where, 'BAPA');
        return 0;
    }
    if (date->year <= 1899) {
        if (report)
            DebugError(where, "Invalid year %d.", date->year);
        return 0;
    }
    if (date->month < 1 || date->month > 12) {
        if (report)
            DebugError(where, "Invalid month %d.", date->month);
        return 0;
    }
    int days = EngMiscGetNumberOfDaysInMonth(date->month, static_cast<unsigned>(date->year));
    if (date->day < 1 || date->day > days) {
        if (report)
            DebugError(where, "Invalid day %d (%d).", date->day, days);
        return 0;
    }
    return 1;
}

void EngMiscInitTimer_PC()
{
    int64_t frequency = 0;
    program_clock.have_counter = QueryPerformanceFrequency(&frequency) && frequency > 0;
    program_clock.frequency = frequency;
    if (program_clock.have_counter)
        QueryPerformanceCounter(&program_clock.start);
}

double EngMiscGetTime_PC()
{
    if (program_clock.have_counter) {
        int64_t count = 0;
        QueryPerformanceCounter(&count);
        return static_cast<double>(count - program_clock.start) / static_cast<double>(program_clock.frequency);
    }
    return static_cast<double>(GetTickCount()) / 1000.0;
}

void EngMiscWait(double seconds)
{
    if (seconds <= 0)
        return;
    double end = EngMainUpdateProgramTime() + seconds;
    while (EngMainUpdateProgramTime() < end)
        Sleep(10);
}

void EngMiscSleep(double seconds)
{
    if (seconds <= 0)
        return;
    Sleep(static_cast<DWORD>(seconds * 1000));
}

void EngMiscDiscardWindowMessages_PC(double max_seconds)
{
    double end = EngMainUpdateProgramTime() + max_seconds;
    MSG msg;
    while (EngMainUpdateProgramTime() < end && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void EngMiscSetPopupToShowAfterExit(_EngMiscPopupType type, const char *title, const char *text)
{
    std::lock_guard<std::mutex> lock(stored_popup_mutex);
    stored_popup.type = type;
    EngSafeStrcpy(stored_popup.title, title, sizeof(stored_popup.title));
    EngSafeStrcpy(stored_popup.text, text, sizeof(stored_popup.text));
}

char EngMiscIsPopupSetToShowAfterExit()
{
    std::lock_guard<std::mutex> lock(stored_popup_mutex);
    return stored_popup.type != EMPT_NONE;
}

char EngMiscShowPopupMessage(_EngMiscPopupType type, const char *title, const char *text)
{
    if (type != EMPT_NONE || title || text)
        EngMiscSetPopupToShowAfterExit(type, title, text);
    // No box is shown over the graphics device: the program closes down
    // first. When it cannot (full screen), the box waits for the close-down
    // after the main loop.
    if (eng_device && eng_device->IsCreated()) {
        StoredPopup popup = CopyStoredPopup();
        DebugError("EngMiscShowPopupMessage", "POPUP: No device <%s> <%s>", popup.title, popup.text);
        if (!EngMiscExitProgramNow(1))
            return 0;
    }
    // The box is shown without the lock held: it waits for the user.
    StoredPopup popup = CopyStoredPopup();
    EngMiscShowPopupMessage_PC(popup.type, popup.title, popup.text);
    std::lock_guard<std::mutex> lock(stored_popup_mutex);
    stored_popup.type = EMPT_NONE;
    return 1;
}

void EngMiscShowPopupMessage_PC(_EngMiscPopupType type, const char *title, const char *text)
{
    // Without a display the box cannot be shown; the log keeps the text.
    if (PlatformIsDisplayLost())
        return;
    if (eng_misc_main_window_created) {
        EngMiscDiscardWindowMessages_PC(2.0);
        for (int i = 0; i < 4; i++)
            ShowCursor(TRUE);
    }
    UINT icon = 0;
    if (type == EMPT_ERROR)
        icon = MB_ICONERROR;
    else if (type == EMPT_WARNING)
        icon = MB_ICONWARNING;
    MessageBoxA(nullptr, text, title, MB_OK | icon);
}

// Set while EngMiscExitProgramNow closes the program down. The close-down
// runs the program's exit hooks (its exit save among them); a popup or an
// exit asked for from inside them must not start a second close-down under
// the first, which would free the program while its hooks still run.
static bool exiting_program = false;

char EngMiscExitProgramNow(char return_to_caller)
{
    if (exiting_program) {
        DebugError("EngMiscExitProgramNow", "Already exiting.");
        return 0;
    }
    exiting_program = true;
    if (eng_device) {
        if (eng_main_window)
            eng_main_window->Destroy();
        else
            DebugError("EngMiscExitProgramNow", "Device created but no window created");
    }
    DebugInfoWithName("EngMiscExitProgramNow", "Exiting main program.");
    if (eng_main_program)
        eng_main_program->CloseDown(1);
    exiting_program = false;
    if (return_to_caller)
        return (eng_device && !eng_screen_windowed) ? 0 : 1;

    // Let the queue drain for a moment so the desktop sees the window go.
    double end = EngMainUpdateProgramTime() + 4.0;
    MSG msg;
    while (EngMainUpdateProgramTime() < end && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
        EngMiscSleep(0.01);
    std::exit(0);
}

void EngMiscQuitMainLoop()
{
    if (eng_main_program)
        eng_main_program->SetExitFlag();
}

void EngMiscRenderFrameNow(char render, char)
{
    if (!render || !eng_main_program)
        return;
    // As the main loop draws a frame: the game's cursor goes on top, before
    // the swap, so a popup's own loop shows it too.
    eng_main_program->RenderCB();
    if (eng_main_program && eng_main_program->GetWindow())
        eng_main_program->GetWindow()->DrawTextureCursor_PC();
    if (eng_device)
        eng_device->SwapBuffers();
}

char EngMiscGetDesktopArea(int *left, int *top, int *width, int *height, char work_area)
{
    return EngMiscGetDesktopArea_PC(left, top, width, height, work_area);
}

char EngMiscGetDesktopArea_PC(int *left, int *top, int *width, int *height, char work_area)
{
    RECT area = {};
    bool known = work_area && SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    if (!known) {
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        known = area.right > 0 && area.bottom > 0;
    }
    // Without a display the outputs are left as they were.
    if (!known)
        return 1;
    if (left)
        *left = static_cast<int>(area.left);
    if (top)
        *top = static_cast<int>(area.top);
    if (width)
        *width = static_cast<int>(area.right - area.left);
    if (height)
        *height = static_cast<int>(area.bottom - area.top);
    return 1;
}

char EngMiscGetDesktopDirectory(char *buffer, int size)
{
    return EngMiscGetDesktopDirectory_PC(buffer, size);
}

char EngMiscGetDesktopDirectory_PC(char *buffer, int size)
{
    return GetSpecialFolder(CSIDL_DESKTOPDIRECTORY, buffer, size, "EngMiscGetDesktopDirectory_PC",
                            "Could not get desktop directory", "Could not get desktop path");
}

char EngMiscGetUserApplicationDataDirectory(char *buffer, int size)
{
    return EngMiscGetUserApplicationDataDirectory_PC(buffer, size);
}

char EngMiscGetUserApplicationDataDirectory_PC(char *buffer, int size)
{
    return GetSpecialFolder(CSIDL_APPDATA, buffer, size, "EngMiscGetUserApplicationDataDirectory_PC",
                            "Could not get app data directory", "Could not get app data path");
}

char EngMiscGetUserApplicationDataFolderPath(const char *sub, char *buffer, int size)
{
    if (!sub) {
        DebugErrorCode("EngMiscGetUserApplicationDataFolderPath", 'BAPA');
        return 0;
    }
    // The folder gets the room that sub and its separator leave.
    long long room = static_cast<long long>(size) - static_cast<long long>(std::strlen(sub)) - 1;
    if (room <= 0 || !EngMiscGetUserApplicationDataDirectory(buffer, static_cast<int>(room)))
        return 0;
    return AppendFolder(buffer, size, sub);
}

char EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(const char *sub, char *buffer, int size)
{
    if (!EngMiscGetUserApplicationDataFolderPath(sub, buffer, size))
        return 0;
    return CreateFolderIfNeeded(buffer, "EngMiscCreateUserApplicationDataSubDirectoryIfNeeded");
}

char EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(const char *sub, const char *sub_sub, char *buffer,
                                                            int size)
{
    const char *where = "EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded";
    if (!sub_sub) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    if (!EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(sub, buffer, size))
        return 0;
    if (!AppendFolder(buffer, size, sub_sub)) {
        DebugError(where, "Path too long <%s> + <%s>", buffer, sub_sub);
        return 0;
    }
    return CreateFolderIfNeeded(buffer, where);
}

char EngMiscGetDefaultUsersName(char *buffer, int size)
{
    return EngMiscGetDefaultUsersName_PC(buffer, size);
}

char EngMiscGetDefaultUsersName_PC(char *buffer, int size)
{
    const char *where = "EngMiscGetDefaultUsersName_PC";
    if (!buffer || size <= 0) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    DWORD length = static_cast<DWORD>(size);
    if (!GetUserNameA(buffer, &length)) {
        DebugError(where, "Could not get user name.");
        buffer[0] = 0;
        return 0;
    }
    return 1;
}

EngUnicode::EngUnicode(const char *text, char no_conversion)
    : m_wide(nullptr), m_no_conversion(no_conversion != 0), m_text(text)
{
    if (!text || !text[0] || m_no_conversion)
        return;
    size_t length = std::strlen(text);
    m_wide = static_cast<wchar_t *>(
        EngMalloc(static_cast<unsigned>((length + 1) * sizeof(wchar_t)), "EngUnicode::EngUnicode", 0));
    if (!m_wide) {
        DebugError("EngUnicode::EngUnicode", "No memory (A2U)");
        return;
    }
    for (size_t i = 0; i <= length; i++)
        m_wide[i] = static_cast<wchar_t>(PlatformCp1252ToUnicode(static_cast<unsigned char>(text[i])));
}

EngUnicode::~EngUnicode()
{
    EngFree(m_wide, 0, "EngUnicode::~EngUnicode");
}

const char *EngUnicode::GetAsciiString(char allow_missing, char report) const
{
    const char *where = "EngUnicode::GetAsciiString";
    if (m_no_conversion) {
        if (m_text || allow_missing)
            return m_text;
        if (report)
            DebugError(where, "No string (NCN)");
        return "";
    }
    if (m_text && m_text[0])
        return m_text;
    // No narrow copy is ever made here: every text arrives narrow.
    if (allow_missing)
        return nullptr;
    if (report)
        DebugError(where, "No string");
    return "";
}

const char *EngUnicode::GetString(char allow_missing, char report) const
{
    return GetAsciiString(allow_missing, report);
}
