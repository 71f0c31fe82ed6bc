// The engine's miscellaneous services: the platform tests and the layout
// number behind every layout choice, the screen orientation, random numbers,
// small float and text functions, calendar dates, the program clock and
// waits, system popups including the one shown after the program has
// closed, the ways to end the program from anywhere, and the user's folders
// and name. Everything runs on the main thread except EngMiscSleep.
#pragma once

enum _EngMiscPopupType : int {
    EMPT_NONE = 0,
    EMPT_INFO = 1,
    EMPT_WARNING = 2,
    EMPT_ERROR = 3,
};

enum _EngOrientation : int {
    EO_PORTRAIT = 0,
    EO_PORTRAIT_FLIPPED = 1,
    EO_LANDSCAPE = 2,
    EO_LANDSCAPE_FLIPPED = 3,
};

struct _EngMiscDate {
    int year; // valid from 1900
    char month; // 1..12
    char day; // 1..31
};

struct _EngMiscDateAndTime {
    _EngMiscDate date;
    int hour;
    char minute;
    char second;
};

// Set once the main window has been created; popups then discard pending
// window messages and show the cursor first.
extern char eng_misc_main_window_created;

// Platform, orientation and layout. This program is a desktop program.
char EngMiscIsDesktopPlatform();
char EngMiscIsTabletPlatform();
// For tests: takes the tablet paths on this desktop build.
void EngMiscSetTabletPlatformForTests(char on);
const char *EngMiscGetPlatformName();
void EngMainSetOrientation(int orientation);
int EngMainGetOrientation();
char EngMainIsPortrait();
char EngMainIsLandscape();
// Layouts: 0 Normal, 1 IPhonePortrait, 2 IPhoneLandscape, 3 IPadPortrait,
// 4 IPadLandscape. A negative layout asks for the current device's.
int EngLayoutGetLayoutNumber(int layout);
char EngLayoutIsNotNormalLayout(int layout);

// The engine's random generator: values 0..ENG_MISC_RAND_MAX. The program
// object seeds it from the clock; tests seed it to fix a sequence.
enum { ENG_MISC_RAND_MAX = 32767 };
void EngMiscRandSeed(unsigned seed);
int EngMiscRand();

// A value from 0 up to (not including) |max| in steps chosen by its size;
// with random_sign, negative half of the time.
float EngMiscRandFloat(float max, char random_sign);
float EngMiscRandFloatFromDouble(double max, char random_sign);
// True n times in n + 1 (false for n of 0 or less).
char EngMiscRandChance(int n);
// True once in n.
char EngMiscRandOneIn(int n);
float EngMiscRandFloatInRange(float min, float max, char random_sign);
double EngMiscRandDoubleInRange(double min, double max, char random_sign);
// A value in min..max-1; min when max is not above min.
int EngMiscRandIntInRange(int min, int max, char random_sign);

// Float functions.
char EngMiscAreFloatsNearlyEqual(float a, float b);
void EngMiscClampFloat(float *value, float min, float max);
// True once *value has reached target.
char EngMiscMoveFloatTowards(float *value, float target, float step);
// True at most once per period of program time.
char EngMiscCheckRepeatTimer(double *next_time, double period);
// Advances *phase and returns a pulse 0..1 (0 at phase 0, 1 at pi).
float EngMiscUpdateThrob(float *phase, float speed, char *cycle_done);

// Text functions, in place.
char EngMiscRemoveAnyNewLinesFromEndOfString(char *text);
char EngMiscRemoveAnySpacesFromStartOrEndOfString(char *text);
char EngMiscIsCharAlphanumeric(char c, char allow_space, char allow_full_stop, char allow_comma, char allow_hyphen);
char EngMiscIsStringAlphanumeric(const char *text, char allow_space, char allow_full_stop, char allow_comma,
                                 char allow_hyphen);
void EngMiscConvertStringToUpperCase(char *text);
// The text after the last '.', or null.
const char *EngMiscGetExtensionFromFilename(const char *name);

// Dates and times from the local clock.
void EngMiscGetLocalTime_PC(_EngMiscDateAndTime *now);
void EngMiscGetCurrentDate(_EngMiscDate *date);
// Fills the hour, minute and second.
void EngMiscGetCurrentTime(_EngMiscDateAndTime *time);
void EngMiscGetCurrentDateAndTime(_EngMiscDateAndTime *date_and_time);
int EngMiscGetNumberOfDaysInMonth(char month, unsigned year);
int EngMiscGetNumberOfDaysInMonthForDate(const _EngMiscDate *date);
int EngMiscGetDayOfYearForDate(const _EngMiscDate *date);
void EngMiscGetPreviousDay(_EngMiscDate *date);
char EngMiscIsDateLaterThan(_EngMiscDate date, _EngMiscDate other);
// These order moments; they are not counts of calendar days.
unsigned EngMiscGetDaysFromDate(const _EngMiscDate *date);
unsigned EngMiscGetMinutesFromDateAndTime(const _EngMiscDateAndTime *date_and_time);
char EngMiscIsDateValid(const _EngMiscDate *date, char report);

// Program clock.
void EngMiscInitTimer_PC();
double EngMiscGetTime_PC();
void EngMiscWait(double seconds);
void EngMiscSleep(double seconds);
void EngMiscDiscardWindowMessages_PC(double max_seconds);

// Popups.
void EngMiscSetPopupToShowAfterExit(_EngMiscPopupType type, const char *title, const char *text);
char EngMiscIsPopupSetToShowAfterExit();
char EngMiscShowPopupMessage(_EngMiscPopupType type, const char *title, const char *text);
void EngMiscShowPopupMessage_PC(_EngMiscPopupType type, const char *title, const char *text);

// Ending the program.
char EngMiscExitProgramNow(char return_to_caller);
void EngMiscQuitMainLoop();
// Draws one frame from inside a waiting loop.
void EngMiscRenderFrameNow(char render, char update_frame_time);

// The desktop, the user's folders and name. The folder queries need a
// buffer of more than 255 bytes and answer false silently otherwise.
char EngMiscGetDesktopArea(int *left, int *top, int *width, int *height, char work_area);
char EngMiscGetDesktopArea_PC(int *left, int *top, int *width, int *height, char work_area);
char EngMiscGetDesktopDirectory(char *buffer, int size);
char EngMiscGetDesktopDirectory_PC(char *buffer, int size);
char EngMiscGetUserApplicationDataDirectory(char *buffer, int size);
char EngMiscGetUserApplicationDataDirectory_PC(char *buffer, int size);
// The application-data folder, "\" and sub.
char EngMiscGetUserApplicationDataFolderPath(const char *sub, char *buffer, int size);
char EngMiscCreateUserApplicationDataSubDirectoryIfNeeded(const char *sub, char *buffer, int size);
char EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded(const char *sub, const char *sub_sub, char *buffer,
                                                            int size);
char EngMiscGetDefaultUsersName(char *buffer, int size);
char EngMiscGetDefaultUsersName_PC(char *buffer, int size);

// A wide-character copy of a narrow (1252) text. On the desktop every
// interface takes the narrow text, so both getters give that back.
class EngUnicode {
public:
    EngUnicode(const char *text, char no_conversion);
    ~EngUnicode();
    EngUnicode(const EngUnicode &) = delete;
    EngUnicode &operator=(const EngUnicode &) = delete;

    const char *GetAsciiString(char allow_missing, char report) const;
    const char *GetString(char allow_missing, char report) const;

private:
    wchar_t *m_wide;
    bool m_no_conversion;
    const char *m_text;
};
