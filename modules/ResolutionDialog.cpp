// The start-up settings dialog: a native window with the banner, the
// version, the link buttons, the display mode (full screen with its list of
// modes, or windowed), anti-aliasing, music, cursor type and mouse
// synchronisation, and PLAY. Its controls hold what the settings block
// holds; PLAY reads them back, applies and saves them and ends the dialog
// with 1. After PLAY the internet test runs once, when it has not run yet.
//
// The dialog is laid out in dialog units and shown in pixels: the banner's
// 512 x 128 pixels over its 341 x 79 units give 1.5 pixels a unit across
// and 1.625 down. When no window can be made the dialog answers -1.
#include "modules/Resolution.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngPrefs.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngResModes.h"
#include "modules/ModulesHooks.h"
#include "modules/Updater.h"
#include "platform/ui/UiWindow.h"
#include "platform/win32/Win32MessageBox.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Control ids; 1 and 2 are the dialog manager's OK and Cancel commands.
enum {
    IDC_OK = 1,
    IDC_CANCEL = 2,
    IDC_PLAY = 1000,
    IDC_FULLSCREEN = 1001,
    IDC_WINDOWED = 1002,
    IDC_RESOLUTION = 1003,
    IDC_ANTIALIASING = 1006,
    IDC_ANTIALIASING_HELP = 1015,
    IDC_VERSION = 1016,
    IDC_MOUSE_SYNC = 1017,
    IDC_CURSOR_TYPE = 1018,
    IDC_MOUSE_SYNC_HELP = 1019,
    IDC_CURSOR_TYPE_HELP = 1020,
    IDC_MUSIC = 1022,
    IDC_CHECK_VERSION = 1023,
    IDC_HOME_PAGE = 1025,
    IDC_NOTE = 1031,
    IDC_FORUMS = 1032,
    IDC_FOUR_LEVELS = 2000,
    IDC_THREE_LEVELS = 2002,
    IDC_SOUND = 2004,
    IDC_LINK_FIRST = 2005,
    IDC_LINK_LAST = 2008,
    // The banner has no id of its own on the desktop; the window needs one.
    IDC_BANNER = 113,
};

const char BANNER_FILE[] = "Data\\Common\\StartupBanner.png";
const int DIALOG_WIDTH = 341, DIALOG_HEIGHT = 271;

struct DialogControl {
    int id;
    _UiControlKind kind;
    const char *caption;
    int x, y, width, height; // dialog units
};

// Group boxes come before what they hold, so that it is drawn over them.
const DialogControl DIALOG_CONTROLS[] = {
    {IDC_BANNER, UI_PICTURE, BANNER_FILE, 0, 0, 341, 79},
    {IDC_VERSION, UI_LABEL_BORDERED, "Version", 51, 82, 48, 16},
    {IDC_CHECK_VERSION, UI_PUSH_BUTTON, "Check For New Version", 105, 82, 82, 16},
    {IDC_HOME_PAGE, UI_PUSH_BUTTON, "Home Page", 192, 82, 47, 16},
    {IDC_FORUMS, UI_PUSH_BUTTON, "Forums", 244, 82, 46, 16},
    {1010, UI_GROUP_BOX, "Video Settings", 52, 106, 238, 64},
    {1011, UI_LABEL, "Display Mode", 85, 117, 86, 8},
    {IDC_FULLSCREEN, UI_RADIO_BUTTON, "Fullscreen", 84, 126, 86, 14},
    {IDC_WINDOWED, UI_RADIO_BUTTON, "Windowed", 172, 126, 86, 14},
    {1012, UI_LABEL, "Resolution", 86, 143, 74, 8},
    {IDC_RESOLUTION, UI_DROP_DOWN, "", 85, 152, 78, 143},
    {1014, UI_LABEL, "Anti-Aliasing", 178, 143, 74, 8},
    {IDC_ANTIALIASING, UI_DROP_DOWN, "", 177, 152, 62, 143},
    {IDC_ANTIALIASING_HELP, UI_PUSH_BUTTON, "?", 243, 153, 14, 13},
    {1013, UI_GROUP_BOX, "Other Settings", 33, 176, 274, 46},
    {1021, UI_LABEL, "Music", 51, 190, 20, 8},
    {IDC_MUSIC, UI_DROP_DOWN, "", 51, 200, 41, 59},
    {1027, UI_LABEL, "Cursor Type", 111, 191, 39, 8},
    {IDC_CURSOR_TYPE, UI_DROP_DOWN, "", 111, 200, 57, 59},
    {IDC_CURSOR_TYPE_HELP, UI_PUSH_BUTTON, "?", 171, 200, 14, 13},
    {1024, UI_LABEL, "Mouse Syncronisation", 208, 191, 70, 8},
    {IDC_MOUSE_SYNC, UI_DROP_DOWN, "", 209, 200, 62, 58},
    {IDC_MOUSE_SYNC_HELP, UI_PUSH_BUTTON, "?", 275, 200, 14, 13},
    {IDC_NOTE, UI_LABEL, "Note: This window can be turned off in the options menu within the game.", 55, 229, 232, 8},
    {IDC_PLAY, UI_DEFAULT_BUTTON, "&PLAY", 52, 242, 238, 24},
};

int PixelsX(int units) { return (units * 3 + 1) / 2; }
int PixelsY(int units) { return (units * 13 + 4) / 8; }

const char *const OFF_ON[] = {"Off", "On", nullptr};
const char *const THREE_LEVELS[] = {"Low", "Medium", "High", nullptr};
const char *const FOUR_LEVELS[] = {"Low", "Medium", "High", "High Blurred", nullptr};
const char *const CURSOR_TYPES[] = {"Texture", "Windows", nullptr};
const char *const MOUSE_SYNC_METHODS[] = {"Off", "Method 1", "Method 2", nullptr};

// The lists that only some programs show, each with its set-up flag and
// the byte of the block it stands for.
struct OptionalList {
    int id;
    char _ResolutionSetup::*flag;
    signed char _ResolutionSettings::*value;
    const char *const *items;
};

const OptionalList OPTIONAL_LISTS[] = {
    {IDC_THREE_LEVELS, &_ResolutionSetup::three_level_choice, &_ResolutionSettings::three_level, THREE_LEVELS},
    {IDC_FOUR_LEVELS, &_ResolutionSetup::four_level_choice, &_ResolutionSettings::four_level, FOUR_LEVELS},
    {IDC_SOUND, &_ResolutionSetup::sound_choice, &_ResolutionSettings::sound_on, OFF_ON},
    {IDC_MUSIC, &_ResolutionSetup::music_choice, &_ResolutionSettings::music_on, OFF_ON},
};

// The "?" buttons: language key and English text of the box and its caption.
struct HelpBox {
    int id;
    const char *text_key;
    const char *text;
    const char *caption_key;
    const char *caption;
};

const HelpBox HELP_BOXES[] = {
    {IDC_ANTIALIASING_HELP, "Startup_AntialiasingMessage",
     "Anti-aliasing removes the jagged edges that appear when running the game in low resolutions.\n\n"
     "It is not generally needed for this game and it is recommended that you keep this option turned off as it "
     "can slow down the graphics.\n\nSome systems do not support anti-aliasing.",
     "Startup_Antialiasing", "Anti-Aliasing"},
    {IDC_MOUSE_SYNC_HELP, "Startup_MouseSyncMessage",
     "If the movement response of the mouse is slow as you move it around while playing, turning on this option "
     "should fix this problem.\n\nThe two different methods are two different ways to solve the problem - if one "
     "does not work, try the other.",
     "Startup_MouseSync", "Mouse Synchronisation"},
    {IDC_CURSOR_TYPE_HELP, "Startup_CursorTypeMessage",
     "Select between two different cursor (or mouse pointer) types :\n\nOne uses a texture as a cursor, the other "
     "uses the default windows cursor.",
     "Startup_CursorType", "Cursor Type"},
};

// The dialog while it runs.
struct Dialog {
    UiWindow *window = nullptr;
    EngResModes *modes = nullptr;
    _EngResMode *selected_mode = nullptr;
    bool done = false;
    signed char result = -1;
};

Dialog dialog;

void FillList(int id, const char *const *items, int selection)
{
    UiListClear(dialog.window, id);
    for (int i = 0; items[i]; i++)
        UiListAddItem(dialog.window, id, items[i]);
    UiListSetSelection(dialog.window, id, selection);
}

// The full-screen mode nearest the stored one: a difference in colour depth
// weighs ten times a difference in pixels; the first of equals wins.
int NearestModeIndex(const _ResolutionSettings &s)
{
    int best = 0, best_distance = -1;
    for (int i = 0; i < dialog.modes->GetNumModes(); i++) {
        const _EngResMode *mode = dialog.modes->GetMode(i);
        int distance = std::abs(mode->width - s.full_screen_width) + std::abs(mode->height - s.full_screen_height) +
                       10 * std::abs(mode->bits - s.full_screen_bits);
        if (best_distance < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

bool SelectedModeIsWindowed()
{
    return dialog.modes && dialog.selected_mode == dialog.modes->GetWindowedMode();
}

void FillAntiAliasingList()
{
    const _ResolutionSettings &s = *ResolutionGetSettings();
    UiListClear(dialog.window, IDC_ANTIALIASING);
    const _EngResMode *mode = dialog.selected_mode;
    bool offered = mode && mode->multisample_count > 0;
    if (offered) {
        bool windowed = SelectedModeIsWindowed();
        int type = windowed ? s.windowed_aa_type : s.full_screen_aa_type;
        int quality = windowed ? s.windowed_aa_quality : s.full_screen_aa_quality;
        int best = 0, best_distance = -1;
        for (int i = 0; i < mode->multisample_count; i++) {
            const _EngResModeMultisample &pair = mode->multisamples[i];
            UiListAddItem(dialog.window, IDC_ANTIALIASING, EngResModesGetMultisampleText_DX9(&pair));
            int distance = std::abs(pair.type - type) + std::abs(pair.quality - quality);
            if (best_distance < 0 || distance < best_distance) {
                best = i;
                best_distance = distance;
            }
        }
        UiListSetSelection(dialog.window, IDC_ANTIALIASING, best);
    }
    UiControlEnable(dialog.window, IDC_ANTIALIASING, offered);
}

void SetupControls()
{
    const _ResolutionSetup &setup = *ResolutionGetSetup();
    const _ResolutionSettings &s = *ResolutionGetSettings();
    UiControlSetChecked(dialog.window, s.windowed == 1 ? IDC_WINDOWED : IDC_FULLSCREEN, true);
    for (const OptionalList &list : OPTIONAL_LISTS)
        if (setup.*list.flag)
            FillList(list.id, list.items, s.*list.value);
    FillList(IDC_CURSOR_TYPE, CURSOR_TYPES, s.cursor_type);
    FillList(IDC_MOUSE_SYNC, MOUSE_SYNC_METHODS, s.mouse_sync);

    UiListClear(dialog.window, IDC_RESOLUTION);
    if (s.windowed) {
        UiControlEnable(dialog.window, IDC_PLAY, true);
        UiControlEnable(dialog.window, IDC_RESOLUTION, false);
        dialog.selected_mode = dialog.modes ? dialog.modes->GetWindowedMode() : nullptr;
    } else if (dialog.modes && dialog.modes->GetNumModes() > 0) {
        for (int i = 0; i < dialog.modes->GetNumModes(); i++) {
            const _EngResMode *mode = dialog.modes->GetMode(i);
            char text[64];
            std::snprintf(text, sizeof(text), "%d x %d x %d", mode->width, mode->height, mode->bits);
            UiListAddItem(dialog.window, IDC_RESOLUTION, text);
        }
        int index = NearestModeIndex(s);
        UiListSetSelection(dialog.window, IDC_RESOLUTION, index);
        UiControlEnable(dialog.window, IDC_PLAY, true);
        UiControlEnable(dialog.window, IDC_RESOLUTION, true);
        dialog.selected_mode = dialog.modes->GetMode(index);
    } else {
        UiControlEnable(dialog.window, IDC_PLAY, false);
        UiControlEnable(dialog.window, IDC_RESOLUTION, false);
        dialog.selected_mode = nullptr;
    }
    FillAntiAliasingList();
}

void ShowVersion()
{
    char text[32];
    std::snprintf(text, sizeof(text), "Version %.2f", ResolutionGetSetup()->program_version);
    UiControlSetText(dialog.window, IDC_VERSION, text);
}

// The controls back into the block, which is then applied and written.
void ReadControls()
{
    const _ResolutionSetup &setup = *ResolutionGetSetup();
    _ResolutionSettings &s = *ResolutionGetSettings();
    s.windowed = UiControlIsChecked(dialog.window, IDC_FULLSCREEN) ? 0 : 1;
    for (const OptionalList &list : OPTIONAL_LISTS)
        if (setup.*list.flag)
            s.*list.value = static_cast<signed char>(UiListGetSelection(dialog.window, list.id));

    bool have_mode = true;
    if (!s.windowed) {
        int index = UiListGetSelection(dialog.window, IDC_RESOLUTION);
        if (dialog.modes && index >= 0 && index < dialog.modes->GetNumModes()) {
            _EngResMode *mode = dialog.modes->GetMode(index);
            s.full_screen_width = mode->width;
            s.full_screen_height = mode->height;
            s.full_screen_bits = mode->bits;
            dialog.selected_mode = mode;
        }
    } else if (dialog.modes) {
        dialog.selected_mode = dialog.modes->GetWindowedMode();
    } else {
        have_mode = false;
    }

    if (have_mode && dialog.selected_mode) {
        const _EngResMode *mode = dialog.selected_mode;
        int index = UiListGetSelection(dialog.window, IDC_ANTIALIASING);
        _EngResModeMultisample pair = {0, 0};
        if (index >= 0 && index < mode->multisample_count)
            pair = mode->multisamples[index];
        bool windowed = SelectedModeIsWindowed();
        (windowed ? s.windowed_aa_type : s.full_screen_aa_type) = pair.type;
        (windowed ? s.windowed_aa_quality : s.full_screen_aa_quality) = pair.quality;
    }
    ResolutionSetSettings();
    ResolutionSaveSettings();
}

void EndDialog(signed char result)
{
    dialog.result = result;
    dialog.done = true;
}

void ShowHelp(int id)
{
    for (const HelpBox &box : HELP_BOXES)
        if (box.id == id)
            MessageBoxA(nullptr, EngLanguagesGetStringOrDefault(box.text_key, box.text),
                        EngLanguagesGetStringOrDefault(box.caption_key, box.caption), MB_OK | MB_ICONINFORMATION);
}

void GoToLink(int which)
{
    ResolutionLinkCB link = ResolutionGetSetup()->link;
    const char *address = link ? link(which) : nullptr;
    if (address)
        VariousGoOnline(nullptr, nullptr, address, 0, 0, 0, 0);
}

void CheckForNewVersion()
{
    const _ResolutionSetup &setup = *ResolutionGetSetup();
    UpdaterCheckForNewVersion(setup.program_id, setup.program_version, setup.program_type);
}

void Play(int)
{
    ReadControls();
    EndDialog(1);
}

void Cancel(int) { EndDialog(-1); }

void ChooseDisplayMode(int id)
{
    ResolutionGetSettings()->windowed = id == IDC_WINDOWED ? 1 : 0;
    SetupControls();
}

// The resolution and anti-aliasing lists write the file at once.
void ChooseVideoSetting(int)
{
    ReadControls();
    SetupControls();
}

void ChooseMouseSync(int id) { ResolutionGetSettings()->mouse_sync = UiListGetSelection(dialog.window, id); }

void ChooseCursorType(int id)
{
    ResolutionGetSettings()->cursor_type = static_cast<signed char>(UiListGetSelection(dialog.window, id));
}

void ChooseOptional(int id)
{
    for (const OptionalList &list : OPTIONAL_LISTS) {
        if (list.id == id && ResolutionGetSetup()->*list.flag) {
            ResolutionGetSettings()->*list.value = static_cast<signed char>(UiListGetSelection(dialog.window, id));
            SetupControls();
        }
    }
}

void HomePage(int) { GoToLink(1); }
void Forums(int) { GoToLink(2); }
void ExtraLink(int) { GoToLink(4); }
void CheckForNewVersionCommand(int) { CheckForNewVersion(); }

// Commands from the controls, by control id alone (whatever the user did).
struct CommandRow {
    int first_id, last_id;
    void (*handle)(int id);
};

const CommandRow COMMANDS[] = {
    {IDC_PLAY, IDC_PLAY, Play},
    {IDC_OK, IDC_CANCEL, Cancel},
    {IDC_FULLSCREEN, IDC_WINDOWED, ChooseDisplayMode},
    {IDC_RESOLUTION, IDC_RESOLUTION, ChooseVideoSetting},
    {IDC_ANTIALIASING, IDC_ANTIALIASING, ChooseVideoSetting},
    {IDC_MOUSE_SYNC, IDC_MOUSE_SYNC, ChooseMouseSync},
    {IDC_CURSOR_TYPE, IDC_CURSOR_TYPE, ChooseCursorType},
    {IDC_MUSIC, IDC_MUSIC, ChooseOptional},
    {IDC_FOUR_LEVELS, IDC_FOUR_LEVELS, ChooseOptional},
    {IDC_THREE_LEVELS, IDC_THREE_LEVELS, ChooseOptional},
    {IDC_SOUND, IDC_SOUND, ChooseOptional},
    {IDC_ANTIALIASING_HELP, IDC_ANTIALIASING_HELP, ShowHelp},
    {IDC_MOUSE_SYNC_HELP, IDC_MOUSE_SYNC_HELP, ShowHelp},
    {IDC_CURSOR_TYPE_HELP, IDC_CURSOR_TYPE_HELP, ShowHelp},
    {IDC_CHECK_VERSION, IDC_CHECK_VERSION, CheckForNewVersionCommand},
    {IDC_HOME_PAGE, IDC_HOME_PAGE, HomePage},
    {IDC_FORUMS, IDC_FORUMS, Forums},
    {IDC_LINK_FIRST, IDC_LINK_LAST, ExtraLink},
};

void Command(int id)
{
    for (const CommandRow &row : COMMANDS)
        if (id >= row.first_id && id <= row.last_id)
            row.handle(id);
}

void DialogEventCB(UiWindow *, const _UiEvent *event, void *)
{
    switch (event->type) {
    case UI_EVENT_CLICKED:
    case UI_EVENT_SELECTION_CHANGED:
        Command(event->control_id);
        break;
    case UI_EVENT_ESCAPE:
        Command(IDC_CANCEL);
        break;
    case UI_EVENT_CLOSE:
        EndDialog(-1);
        break;
    }
}

bool CreateDialogWindow()
{
    _UiWindowParms parms = {"Hive Watcher", -1, -1, PixelsX(DIALOG_WIDTH), PixelsY(DIALOG_HEIGHT), 1, -1, -1, -1};
    dialog.window = UiWindowCreate(&parms, DialogEventCB, nullptr);
    if (!dialog.window)
        return false;
    for (const DialogControl &c : DIALOG_CONTROLS)
        UiWindowAddControl(dialog.window, c.kind, c.id, PixelsX(c.x), PixelsY(c.y), PixelsX(c.width),
                           PixelsY(c.height), c.caption);
    UiControlSetAlign(dialog.window, IDC_VERSION, UI_ALIGN_CENTRE);
    // The note's box spans the settings above it: its text, which the
    // desktop's font may make wider than the box, stays under their middle.
    UiControlSetAlign(dialog.window, IDC_NOTE, UI_ALIGN_CENTRE);
    return true;
}

void FreeModes()
{
    delete dialog.modes;
    dialog.modes = nullptr;
    dialog.selected_mode = nullptr;
}

// After PLAY, once per program type: tells the player what is coming, then
// tries until the test works or the player gives up.
void DoInternetTest()
{
    _ResolutionSettings &s = *ResolutionGetSettings();
    signed char &tested = s.internet_test[ResolutionGetSetup()->program_type == 0 ? 0 : 1];
    if (tested != -1)
        return;
    const char *caption = "Internet Test";
    MessageBoxA(nullptr, "Performing a test needed for the game's online features.", caption,
                MB_OK | MB_ICONINFORMATION);
    MessageBoxA(nullptr,
                "If your firewall system pops up a message, be sure to choose   ALLOW   or   UNBLOCK   to give the "
                "program access to the internet.",
                caption, MB_OK | MB_ICONINFORMATION);
    for (;;) {
        // A close-down asked for meanwhile leaves the test for the next start.
        if (EngProgram::IsCloseDownSignalled())
            return;
        char message[256] = {};
        if (UpdaterDoInternetTest(message, 200)) {
            MessageBoxA(nullptr, "Connection to the internet okay.", caption, MB_OK | MB_ICONINFORMATION);
            tested = 1;
            return;
        }
        MessageBoxA(nullptr, message, "Internet Test Failed", MB_OK | MB_ICONERROR);
        int again = MessageBoxA(nullptr,
                                "Try Again ?\n\nIf you select no, you may have problems using the internet "
                                "features of the game.",
                                "Internet Test Failed", MB_YESNO | MB_ICONWARNING);
        if (again != IDYES) {
            tested = 0;
            return;
        }
    }
}

} // namespace

signed char ResolutionRunDialog()
{
    if (!eng_main_program)
        return 0;
    FreeModes();
    dialog.modes = new EngResModes;
    if (!dialog.modes->IsSetup())
        FreeModes();

    dialog.done = false;
    dialog.result = -1;
    if (!CreateDialogWindow()) {
        DebugError("ResolutionRunDialog", "Could not create the start-up dialog");
        FreeModes();
        return -1;
    }
    SetupControls();
    ShowVersion();
    // A close-down asked for by the system (SIGTERM) ends the dialog as
    // Escape does.
    while (!dialog.done && !EngProgram::IsCloseDownSignalled())
        UiWindowPump(dialog.window, true);
    UiWindowDestroy(dialog.window);
    dialog.window = nullptr;
    FreeModes();
    if (dialog.result < 1)
        return dialog.result;
    DoInternetTest();
    return 1;
}
