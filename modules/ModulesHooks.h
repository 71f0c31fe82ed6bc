// What the shared modules need of the parts of the program above or beside
// them: the game core (the main window's create parameters, the step after
// a player is loaded), the player screens and the splash;
// and the settings record and data files that the program hands the shared
// modules at start (ModulesSetup), with the texture-name hook that sends five
// texture names of the shared pictures to the program's own files.
// The program connects these hooks once at start-up, before the settings
// are loaded; each is null until then. A module that finds the hook it
// needs missing reports "<what> not connected" and takes its failure path,
// so nothing is half done in silence.
#pragma once

#include <cstdint>

struct _EngCreateWindowParms;

struct _ModulesHooks {
    // The running program's version (MainGetProgramVersion), stamped into
    // every player record the program saves.
    float (*get_program_version)();
    // The main window's one create-parameter record (MainGetCreateWindowParms).
    _EngCreateWindowParms *(*get_create_window_parms)();
    // Game::AfterUserLoaded: the game's own steps after a player is loaded.
    void (*after_user_loaded)(char is_new, char quiet);
    // Frees the Load screen's list of player names.
    void (*free_load_list)();
    // Ends the splash picture.
    void (*splash_end)();
    // Tells the player that a file could not be written, in the program's
    // own way; without it a system message box tells.
    void (*show_write_failure)(const char *title, const char *text);
};

extern _ModulesHooks modules_hooks;

// Disconnects every hook and forgets the settings and callbacks, as at
// start; for tests.
void ModulesResetHooksForTests();

// The data files that the shared modules ask of the program by number.
enum _ModulesItem : int {
    MI_BACKGROUND_TEXTURE = 0,
    MI_BACKGROUND_PICTURE = 1,
    MI_BUTTON_TEXT = 2,
    MI_LOGO_PICTURE = 9,
    MI_MAKER_RING = 10,
    MI_MAKER_TEXT = 11,
    MI_TEX_EFFECTS = 12,
    MI_MISC = 13,
    MI_MENU_BG = 14,
};

// The program's file of an item: a name, or null or "" when it has none.
typedef const char *(*ModulesItemCB)(int item);
// A texture-name hook of the layered pictures: true when it wrote the file
// to load instead into out (at most out_size - 1 characters).
typedef char (*ModulesTextureFileCB)(const char *picture_file, const char *texture_file, char *out, int out_size);

// The settings record that the program hands to the shared modules at start,
// copied whole. Fields that no module reads are zero.
struct _ModulesParms {
    // The player screens' title control: background 1 a texture (item 0),
    // 2 a layered picture (item 1), other none; the texture's load option
    // (0 plain); styling on (the texture button, scale and colour below).
    uint8_t background_source;
    uint8_t background_load_option;
    uint8_t title_styling;
    char title_texbut[35];
    float title_scale_x, title_scale_y;
    float title_colour[4];
    // Logo 1 a texture (item 11), 2 a layered picture (item 9), other none.
    uint8_t logo_source;
    uint8_t no_countries;
    uint8_t show_splash;
    uint8_t language_button;
    float title_width_factor;
    float title_rect[4];
    char reserved[112];
};
static_assert(sizeof(_ModulesParms) == 200, "the modules' settings record is 200 bytes");

// Copies parms when given (null keeps the settings) and keeps item_cb; true.
char ModulesSetup(const _ModulesParms *parms, ModulesItemCB item_cb);
const _ModulesParms *ModulesGetParms();
// The program's item callback, null until ModulesSetup gives one.
ModulesItemCB ModulesGetItemCallback();
// The program's file of an item, "" without a callback or a name.
const char *ModulesGetItemFilename(int item);
// Keeps hook as the program's own (null keeps the one there) and installs
// ModulesEngPictureTextureFileOverwriteCB for every layered picture.
void ModulesInstallEngPictureTextureFileOverwriteCB(ModulesTextureFileCB hook);
// The five shared names ("LichenRing.png", "LwText.png", "TexEffects1.png",
// "Misc.png", "MenuBg.jpg", exact case) become the files of items 10 to 14;
// any other name goes to the program's hook; "Unexpected file <%s>" when it
// declines.
char ModulesEngPictureTextureFileOverwriteCB(const char *picture_file, const char *texture_file, char *out,
                                             int out_size);
