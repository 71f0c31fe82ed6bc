// The start-up settings block and its file (see the header); the dialog is
// in ResolutionDialog.cpp.
#include "modules/Resolution.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngPrefs.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "modules/ModulesFiles.h"
#include "modules/ModulesHooks.h"
#include "modules/Updater.h"

#include <cstdio>
#include <cstring>

namespace {

_ResolutionSetup setup = {};
_ResolutionSettings settings = {};
char filename[RESOLUTION_FILENAME_SIZE] = "Resolution.dat";

bool Terminated(const char *field, size_t size) { return std::memchr(field, 0, size) != nullptr; }

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

// What a stored block must hold before any of it is used: the names end
// within their fields and every number the program acts on is in its range.
bool IsBlockValid(const _ResolutionSettings &s)
{
    const _EngMiscDate &date = s.last_update_check;
    bool date_ok = (date.year == 0 && date.month == 0 && date.day == 0) || EngMiscIsDateValid(&date, 0);
    return InRange(s.show_dialog, 0, 1) && date_ok && InRange(s.windowed, 0, 1) &&
           InRange(s.window_x, -100000, 100000) && InRange(s.window_y, -100000, 100000) &&
           InRange(s.windowed_width, 1, 16384) && InRange(s.windowed_height, 1, 16384) &&
           InRange(s.windowed_bits, 1, 64) && InRange(s.full_screen_width, 1, 16384) &&
           InRange(s.full_screen_height, 1, 16384) && InRange(s.full_screen_bits, 1, 64) &&
           InRange(s.full_screen_refresh_rate, 0, 1000) && InRange(s.windowed_aa_type, 0, 16) &&
           InRange(s.windowed_aa_quality, 0, 1024) && InRange(s.full_screen_aa_type, 0, 16) &&
           InRange(s.full_screen_aa_quality, 0, 1024) && InRange(s.three_level, 0, 2) &&
           InRange(s.four_level, 0, 3) && Terminated(s.language, sizeof(s.language)) &&
           InRange(s.mouse_sync, 0, 2) && InRange(s.cursor_type, 0, 1) && InRange(s.sound_on, 0, 1) &&
           InRange(s.music_on, 0, 1) && InRange(s.internet_test[0], -1, 1) && InRange(s.internet_test[1], -1, 1) &&
           Terminated(s.player_name, sizeof(s.player_name));
}

} // namespace

char ResolutionSetup(int program_id, int program_type, float program_version, float settings_version,
                     ResolutionLinkCB link, char reserved, char music_choice, char sound_choice,
                     char three_level_choice, char four_level_choice)
{
    setup = _ResolutionSetup{program_id,   program_type, program_version,    settings_version,  link,
                             reserved,     music_choice, sound_choice,       three_level_choice, four_level_choice};
    return 1;
}

const _ResolutionSetup *ResolutionGetSetup() { return &setup; }

_ResolutionSettings *ResolutionGetSettings() { return &settings; }

const char *ResolutionGetSettingsFilename()
{
    std::snprintf(filename, sizeof(filename), "%s%sResolution.dat", PrefFolderGetMainFolder(), "\\");
    return filename;
}

void ResolutionSetDefaults()
{
    int left = 0, top = 0, width = 1024, height = 768;
    EngMiscGetDesktopArea(&left, &top, &width, &height, 0);

    settings.settings_version = setup.settings_version;
    settings.program_version = setup.program_version;
    settings.show_dialog = 1;
    std::memset(&settings.last_update_check, 0, sizeof(settings.last_update_check));
    settings.windowed = 0;
    settings.window_x = -1;
    settings.window_y = -1;
    settings.windowed_width = 1024;
    settings.windowed_height = 768;
    settings.windowed_bits = 32;
    settings.full_screen_width = width;
    settings.full_screen_height = height;
    settings.full_screen_bits = 32;
    settings.full_screen_refresh_rate = 60;
    settings.windowed_aa_type = 0;
    settings.windowed_aa_quality = 0;
    settings.full_screen_aa_type = 0;
    settings.full_screen_aa_quality = 0;
    settings.three_level = 1;
    settings.four_level = 1;
    EngLanguagesSetLangNameStringToEnglish(settings.language, 0, 0);
    settings.language_chosen = 1;
    settings.mouse_sync = 2;
    settings.cursor_type = 1;
    settings.sound_on = 1;
    settings.reserved_text_150[0] = 0;
    settings.reserved_text_231[0] = 0;
    settings.music_on = 1;
    settings.internet_test[0] = settings.internet_test[1] = -1;
    settings.internet_extra[0] = settings.internet_extra[1] = 0;
    settings.player_name[0] = 0;
    settings.reserved_352 = 0;
    settings.reserved_356[0] = 0;
    settings.reserved_356[1] = 1;
    settings.reserved_356[2] = 0;
}

void ResolutionKeepWindowInsideWorkArea()
{
    if (!eng_screen_windowed)
        return;
    int left, top, width, height;
    if (!EngMiscGetDesktopArea(&left, &top, &width, &height, 1))
        return;
    if (eng_screen_width > width)
        eng_screen_width = width;
    if (eng_screen_height > height)
        eng_screen_height = height;
}

char ResolutionSetSettings()
{
    const _ResolutionSettings &s = settings;
    if (s.windowed_width <= 0 || s.windowed_height <= 0 || s.full_screen_width <= 0 || s.full_screen_height <= 0 ||
        s.windowed_bits <= 0 || s.full_screen_bits <= 0) {
        DebugError("ResolutionSetSettings", "Bad resolution values");
        return 0;
    }
    eng_screen_windowed = s.windowed;
    if (s.windowed) {
        eng_screen_width = s.windowed_width;
        eng_screen_height = s.windowed_height;
        eng_screen_bits = s.windowed_bits;
        eng_screen_aa_type = s.windowed_aa_type;
        eng_screen_aa_quality = s.windowed_aa_quality;
    } else {
        eng_screen_width = s.full_screen_width;
        eng_screen_height = s.full_screen_height;
        eng_screen_bits = s.full_screen_bits;
        eng_screen_refresh_rate = s.full_screen_refresh_rate;
        eng_screen_aa_type = s.full_screen_aa_type;
        eng_screen_aa_quality = s.full_screen_aa_quality;
    }
    ResolutionKeepWindowInsideWorkArea();
    if (eng_main_program)
        eng_main_program->SetSyncWithGpuMethod(static_cast<char>(s.mouse_sync), s.mouse_sync - 1, 1);

    _EngCreateWindowParms *parms =
        modules_hooks.get_create_window_parms ? modules_hooks.get_create_window_parms() : nullptr;
    if (parms) {
        parms->windowed = eng_screen_windowed;
        if (eng_screen_windowed) {
            parms->x = s.window_x;
            parms->y = s.window_y;
        }
        parms->width = eng_screen_width;
        parms->height = eng_screen_height;
        parms->bits = eng_screen_bits;
        parms->refresh_rate = eng_screen_refresh_rate;
        parms->aa_type = eng_screen_aa_type;
        parms->aa_quality = eng_screen_aa_quality;
    }
    return 1;
}

char ResolutionSaveSettings()
{
    settings.program_version = setup.program_version;
    const char *name = ResolutionGetSettingsFilename();
    ResolutionKeepWindowInsideWorkArea();

    _ModulesWriteResult result = ModulesWriteFileWhole(name, &settings, sizeof(settings), 0);
    if (result == MWR_CREATE_FAILED) {
        ModulesReportWriteFailure("Problem Creating to Resolution File",
                                  "Could not create file  %s  . \n\n Ensure the disk is not full and has writing permission.",
                                  name);
        return 0;
    }
    if (result == MWR_WRITE_FAILED) {
        ModulesReportWriteFailure("Problem Writing to Resolution File", "Could not write to file  %s  .", name);
        return 0;
    }
    return 1;
}

void ResolutionUpdateSettingsFromCurrent()
{
    ResolutionKeepWindowInsideWorkArea();
    _ResolutionSettings &s = settings;
    s.windowed = eng_screen_windowed;
    if (eng_screen_windowed) {
        if (eng_main_window)
            eng_main_window->GetWindowPos(&s.window_x, &s.window_y);
        s.windowed_width = eng_screen_width;
        s.windowed_height = eng_screen_height;
        s.windowed_bits = eng_screen_bits;
        s.windowed_aa_type = eng_screen_aa_type;
        s.windowed_aa_quality = eng_screen_aa_quality;
    } else {
        s.full_screen_width = eng_screen_width;
        s.full_screen_height = eng_screen_height;
        s.full_screen_bits = eng_screen_bits;
        s.full_screen_refresh_rate = eng_screen_refresh_rate;
        s.full_screen_aa_type = eng_screen_aa_type;
        s.full_screen_aa_quality = eng_screen_aa_quality;
    }
    if (eng_main_program)
        s.mouse_sync = eng_main_program->GetSyncWithGpuMethod() + 1;
    else
        DebugError("ResolutionUpdateSettingsFromCurrent", "No main program");
}

char ResolutionLoadSettings()
{
    const char *where = "ResolutionLoadSettings";
    if (setup.program_id == RESOLUTION_PROGRAM_NOT_SET) {
        DebugError(where, "Module not setup");
        return 0;
    }
    const char *name = ResolutionGetSettingsFilename();
    // Read beside the block, so that a refused file changes none of it.
    _ResolutionSettings read = {};
    bool used = false;
    EngFile file;
    if (file.OpenForReadingQuietly(name, 0)) {
        if (file.GetSize() == sizeof(read) && file.Read(&read, sizeof(read), 0) &&
            read.settings_version == setup.settings_version) {
            if (IsBlockValid(read)) {
                settings = read;
                used = true;
            } else {
                DebugError(where, "Bad resolution values");
            }
        }
        file.Close();
    }
    if (!used || !ResolutionSetSettings()) {
        ResolutionSetDefaults();
        return 0;
    }
    if (settings.program_version != setup.program_version) {
        settings.internet_test[0] = settings.internet_test[1] = -1;
        settings.internet_extra[0] = settings.internet_extra[1] = 0;
    }
    return 1;
}

char ResolutionDoWeeklyVersionCheck()
{
    const char *where = "ResolutionDoWeeklyVersionCheck";
    if (setup.program_id == RESOLUTION_PROGRAM_NOT_SET) {
        DebugError(where, "Module not setup");
        return 0;
    }
    if (setup.program_id == RESOLUTION_PROGRAM_WITHOUT_UPDATES)
        return 0;
    ResolutionLoadSettings();
    char result = UpdaterDoWeeklyVersionCheck(&settings.last_update_check, setup.program_id, setup.program_version,
                                              setup.program_type);
    ResolutionSaveSettings();
    return result;
}

signed char ResolutionDoDialog()
{
    if (setup.program_id == RESOLUTION_PROGRAM_NOT_SET) {
        DebugError("ResolutionDoDialog", "Module not setup");
        return 0;
    }
    ResolutionGetSettingsFilename();
    ResolutionLoadSettings();
    signed char result = ResolutionRunDialog();
    if (result > 0) {
        ResolutionSetSettings();
        ResolutionSaveSettings();
    }
    return result;
}

void ResolutionResetForTests()
{
    setup = _ResolutionSetup{};
    settings = _ResolutionSettings{};
    EngSafeStrcpy(filename, "Resolution.dat", sizeof(filename));
}
