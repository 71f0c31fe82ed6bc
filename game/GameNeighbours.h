// What the game object calls of the modules built beside it that are not in
// the program yet: the game sounds and music, the saved games, the local
// high scores with the Scores screen and the Options screen's CPU-usage
// choice.
//
// Each call is declared here under its module's own name and forwarded to
// the hook of the same name in `game_neighbours`; a module that is not there
// yet leaves its hook null, and the call then does what an absent module
// means: nothing to start, nothing saved, no saved game.
// When a module arrives it defines its functions itself and its lines leave
// this file; tests fill the hooks to watch the order of the game's calls.
#pragma once


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
