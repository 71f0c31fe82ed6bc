// What the game object calls of the modules built beside it that are not in
// the program yet: the game sounds and music, the Scores screen's garden and
// highlight, the Options screen's CPU-usage choice and the cross-promotion
// screen.
//
// Each call is declared here under its module's own name and forwarded to
// the hook of the same name in `game_neighbours`; a module that is not there
// yet leaves its hook null, and the call then does what an absent module
// means: nothing to start or to show.
// When a module arrives it defines its functions itself and its lines leave
// this file; tests fill the hooks to watch the order of the game's calls.
#pragma once

class Game;
class MWinCollectionController;

struct _GameNeighbours {
    // Game sounds and music.
    void (*sound_init_slots)();
    char (*sound_init)();
    void (*sound_shutdown)();
    void (*sound_update_music_for_current_state)();
    void (*sound_stop_all_music)(char now);
    void (*sound_set_game_sounds_volume)();
    // The Scores screen's garden and its highlight of the game just
    // finished: the screen's own unless a test fills the hook.
    void (*scores_set_screen_garden)(int garden);
    void (*scores_set_show_last_game)();
    // The Options screen's CPU-usage choice, applied to the engine.
    void (*options_apply_cpu_usage)();
    // The cross-promotion screen made ready for browsing from the Main
    // screen: its included titles, the links path with the player's name,
    // the current title kept in the player's record, the picture files.
    void (*game_ads_prepare_browse)(MWinCollectionController *ads, const char *player_name, short *current_ad);
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

void ScoresSetScreenGarden(int garden);
void ScoresSetShowLastGame();

void OptionsApplyCpuUsage();

void GameAdsPrepareBrowse(MWinCollectionController *ads, const char *player_name, short *current_ad);
