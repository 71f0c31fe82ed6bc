// What the game object calls of the modules built beside it that are not in
// the program yet: the game sounds and music, the saved games, the local
// high scores with the Scores screen, the Options screen's CPU-usage choice,
// and the toolkit's popups.
//
// Each call is declared here under its module's own name and forwarded to
// the hook of the same name in `game_neighbours`; a module that is not there
// yet leaves its hook null, and the call then does what an absent module
// means: nothing to start, nothing saved, no saved game, no popup shown.
// When a module arrives it defines its functions itself and its lines leave
// this file; tests fill the hooks to watch the order of the game's calls.
#pragma once

class MWin;
class MWinScreens;

// A popup's answer: 1 OK or Yes, 0 Cancel, 2 No.
typedef void (*GamePopupDoneCB)(MWin *mwin, char result, void *user);

struct _GameNeighbours {
    // Game sounds and music.
    void (*sound_init_slots)();
    char (*sound_init)();
    void (*sound_shutdown)();
    void (*sound_update_music_for_current_state)();
    void (*sound_stop_all_music)(char now);
    void (*sound_set_game_sounds_volume)();
    // Saved games: slot, and the any-garden form.
    char (*saved_game_exists)(int slot, char any_garden);
    char (*save_game)(int slot, char any_garden);
    char (*load_saved_game)(int slot, char any_garden);
    char (*delete_saved_game)(int slot, char any_garden);
    // The world-scores object, the local scores and the Scores screen.
    void (*scores_create_world)();
    void (*scores_delete_world)();
    void (*scores_set_screen_garden)(int garden);
    void (*scores_record_finished_game)();
    void (*scores_set_show_last_game)();
    void (*scores_prompt_to_submit_last_score)();
    // The Options screen's CPU-usage choice, applied to the engine.
    void (*options_apply_cpu_usage)();
    // The Select screen's thumbnails.
    void (*select_destroy_graphics)();
    // The toolkit's popups: their style, the texts and widths of the next
    // popup's buttons, and the popups themselves (true when shown).
    void (*popup_set_style)(MWin *mwin, const char *window_texbut, const char *title_texbut,
                            const char *window_font, const char *text_texbut, const char *button_font,
                            const float numbers[12], int last);
    void (*popup_set_wide_buttons)(MWin *mwin);
    void (*popup_reset_button_widths)(MWin *mwin);
    void (*popup_set_button_texts)(MWin *mwin, const char *first, const char *second);
    void (*popup_set_yes_no_cancel_texts)(MWin *mwin, const char *yes, const char *no, const char *cancel);
    char (*popup_yes_no_cancel)(MWin *mwin, const char *title, const char *text, GamePopupDoneCB done, void *user);
    char (*popup_ok_cancel)(MWin *mwin, const char *title, const char *text, GamePopupDoneCB done, void *user);
    char (*popup_yes_no)(MWin *mwin, const char *title, const char *text, GamePopupDoneCB done, void *user);
    char (*popup_message)(MWin *mwin, const char *title, const char *text);
};

extern _GameNeighbours game_neighbours;

// Every hook null, as at start.
void GameNeighboursResetForTests();

void SoundInitSlots();
// True without sounds: the game goes on silent.
char SoundInit();
void SoundShutdown();
void SoundUpdateMusicForCurrentState();
void SoundStopAllMusic(char now);
void SoundSetGameSoundsVolume();

char SavedGameExists(int slot, char any_garden);
char SaveGame(int slot, char any_garden);
char LoadSavedGame(int slot, char any_garden);
char DeleteSavedGame(int slot, char any_garden);

void ScoresCreateWorld();
void ScoresDeleteWorld();
void ScoresSetScreenGarden(int garden);
void ScoresRecordFinishedGame();
void ScoresSetShowLastGame();
void ScoresPromptToSubmitLastScore();

void OptionsApplyCpuUsage();

void SelectCC_DestroyGraphics();

void PopupSetStyle(MWin *mwin, const char *window_texbut, const char *title_texbut, const char *window_font,
                   const char *text_texbut, const char *button_font, const float numbers[12], int last);
void PopupSetWideButtons(MWin *mwin);
void PopupResetButtonWidths(MWin *mwin);
void PopupSetButtonTexts(MWin *mwin, const char *first, const char *second);
void PopupSetYesNoCancelTexts(MWin *mwin, const char *yes, const char *no, const char *cancel);
char PopupYesNoCancel(MWin *mwin, const char *title, const char *text, GamePopupDoneCB done, void *user);
char PopupOkCancel(MWin *mwin, const char *title, const char *text, GamePopupDoneCB done, void *user);
char PopupYesNo(MWin *mwin, const char *title, const char *text, GamePopupDoneCB done, void *user);
char PopupMessage(MWin *mwin, const char *title, const char *text);
