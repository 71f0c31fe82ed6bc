// What the shared modules need of the parts of the program above or beside
// them: the game core (the main window's create parameters, the step after
// a player is loaded), the player screens and the splash.
// The program connects these hooks once at start-up, before the settings
// are loaded; each is null until then. A module that finds the hook it
// needs missing reports "<what> not connected" and takes its failure path,
// so nothing is half done in silence.
#pragma once

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
};

extern _ModulesHooks modules_hooks;

// Disconnects every hook, as at start; for tests.
void ModulesResetHooksForTests();
