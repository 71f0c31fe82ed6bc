// The start-up settings: the machine-wide choices that must be known before
// the main window exists (window or full screen, sizes, colour depth,
// refresh rate, anti-aliasing, mouse synchronisation, cursor type, sound and
// music, the language, the player to continue with, the last weekly update
// check and the internet test's result), kept in one 424-byte block that the
// file "Resolution.dat" in the per-user folder holds byte for byte. The
// module applies the block to the engine's screen settings and the main
// window's create parameters, copies the running state back, runs the
// weekly update check and shows the start-up settings dialog
// (ResolutionDialog.cpp).
//
// A file that is not exactly 424 bytes, carries another settings version or
// holds a value out of its range is refused whole: the defaults are taken
// and loading answers false, which brings the dialog up. The file is written
// whole or not at all; a failed write shows an error box and keeps the
// previous file. Module state lives for the run; main thread only.
#pragma once

#include "engine/core/EngMisc.h"

#include <cstddef>

enum {
    RESOLUTION_SETTINGS_SIZE = 424,
    RESOLUTION_LANGUAGE_SIZE = 64,
    RESOLUTION_PLAYER_NAME_SIZE = 32,
    RESOLUTION_FILENAME_SIZE = 512,
};

// The block, laid out as the file holds it (little-endian). Padding and
// unused bytes are named so that every byte has its place.
struct _ResolutionSettings {
    float settings_version;          // 0
    float program_version;           // 4: the program that last wrote the file
    unsigned char show_dialog;       // 8: show the dialog at the next start
    unsigned char pad_9[3];
    _EngMiscDate last_update_check;  // 12: the weekly check's last day
    unsigned char windowed;          // 20: 1 window, 0 full screen
    unsigned char pad_21[3];
    int window_x;                    // 24: -1 lets the engine choose
    int window_y;                    // 28
    int windowed_width;              // 32
    int windowed_height;             // 36
    int windowed_bits;               // 40
    int full_screen_width;           // 44
    int full_screen_height;          // 48
    int full_screen_bits;            // 52
    int full_screen_refresh_rate;    // 56
    int windowed_aa_type;            // 60: anti-aliasing (multisample type, quality)
    int windowed_aa_quality;         // 64
    int full_screen_aa_type;         // 68
    int full_screen_aa_quality;      // 72
    signed char three_level;         // 76: list 2002, "Low" "Medium" "High"
    signed char four_level;          // 77: list 2000, also "High Blurred"
    char language[RESOLUTION_LANGUAGE_SIZE]; // 78
    unsigned char language_chosen;   // 142
    unsigned char pad_143;
    int mouse_sync;                  // 144: 0 off, 1 "Method 1", 2 "Method 2"
    signed char cursor_type;         // 148: 0 "Texture", 1 "Windows"
    signed char sound_on;            // 149
    char reserved_text_150[81];
    char reserved_text_231[80];
    signed char music_on;            // 311
    signed char internet_test[2];    // 312 program type 0, 313 the others: -1 untested, 0 failed, 1 working
    unsigned char internet_extra[2]; // 314, 315: cleared with the internet test
    char player_name[RESOLUTION_PLAYER_NAME_SIZE]; // 316: the player to continue with
    unsigned char unused_348[4];
    int reserved_352;
    unsigned char reserved_356[3];   // defaults 0, 1, 0
    unsigned char unused_359[65];
};

static_assert(sizeof(_ResolutionSettings) == RESOLUTION_SETTINGS_SIZE, "Resolution.dat is 424 bytes");
static_assert(offsetof(_ResolutionSettings, show_dialog) == 8, "layout");
static_assert(offsetof(_ResolutionSettings, last_update_check) == 12, "layout");
static_assert(offsetof(_ResolutionSettings, windowed) == 20, "layout");
static_assert(offsetof(_ResolutionSettings, window_x) == 24, "layout");
static_assert(offsetof(_ResolutionSettings, full_screen_width) == 44, "layout");
static_assert(offsetof(_ResolutionSettings, full_screen_aa_quality) == 72, "layout");
static_assert(offsetof(_ResolutionSettings, three_level) == 76, "layout");
static_assert(offsetof(_ResolutionSettings, language) == 78, "layout");
static_assert(offsetof(_ResolutionSettings, language_chosen) == 142, "layout");
static_assert(offsetof(_ResolutionSettings, mouse_sync) == 144, "layout");
static_assert(offsetof(_ResolutionSettings, cursor_type) == 148, "layout");
static_assert(offsetof(_ResolutionSettings, reserved_text_150) == 150, "layout");
static_assert(offsetof(_ResolutionSettings, reserved_text_231) == 231, "layout");
static_assert(offsetof(_ResolutionSettings, music_on) == 311, "layout");
static_assert(offsetof(_ResolutionSettings, internet_test) == 312, "layout");
static_assert(offsetof(_ResolutionSettings, player_name) == 316, "layout");
static_assert(offsetof(_ResolutionSettings, reserved_352) == 352, "layout");
static_assert(offsetof(_ResolutionSettings, reserved_356) == 356, "layout");

// Gives the web address of a link button: 1 "Home Page", 2 "Forums", 4 the
// extra links; null when there is none.
typedef const char *(*ResolutionLinkCB)(int which);

// Program ids that the module treats apart.
enum { RESOLUTION_PROGRAM_NOT_SET = 0, RESOLUTION_PROGRAM_WITHOUT_UPDATES = 17 };

// Stores the program's parameters; the optional lists of the dialog are
// shown when their flag is set. Called once at start, before anything else.
char ResolutionSetup(int program_id, int program_type, float program_version, float settings_version,
                     ResolutionLinkCB link, char reserved, char music_choice, char sound_choice,
                     char three_level_choice, char four_level_choice);

// The module's one block.
_ResolutionSettings *ResolutionGetSettings();
// "<per-user folder>\Resolution.dat", in the module's 512-byte buffer.
const char *ResolutionGetSettingsFilename();

void ResolutionSetDefaults();
// Windowed: the engine's size is cut to the desktop's work area.
void ResolutionKeepWindowInsideWorkArea();
// Applies the block to the engine's screen settings, the program's mouse
// synchronisation and the main window's create parameters; false with
// "Bad resolution values" when a size or depth is not above 0.
char ResolutionSetSettings();
// Writes the file; false (after an error box) when it could not.
char ResolutionSaveSettings();
void ResolutionUpdateSettingsFromCurrent();
// True when the file was used; the defaults otherwise.
char ResolutionLoadSettings();
// True when the player went on to download a new version.
char ResolutionDoWeeklyVersionCheck();
// 1 after PLAY; -1 when the dialog was closed otherwise or could not be
// made; 0 when the module is not set up or there is no program object.
signed char ResolutionDoDialog();
// The dialog itself, then the internet test (ResolutionDialog.cpp).
signed char ResolutionRunDialog();

// Forgets the set-up and the block, as at start; for tests.
void ResolutionResetForTests();

// The module's parameters, for the dialog.
struct _ResolutionSetup {
    int program_id;
    int program_type;
    float program_version;
    float settings_version;
    ResolutionLinkCB link;
    char reserved;
    char music_choice;
    char sound_choice;
    char three_level_choice;
    char four_level_choice;
};
const _ResolutionSetup *ResolutionGetSetup();
