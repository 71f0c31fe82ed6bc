// The game object's calls into modules not yet in the program (see the
// header): each forwards to its hook, or does what an absent module means.
#include "game/GameNeighbours.h"

#include "screens/ScoresCC.h"

_GameNeighbours game_neighbours = {};

void GameNeighboursResetForTests()
{
    game_neighbours = _GameNeighbours{};
}

// A call whose absent module does nothing.
#define FORWARD_VOID(hook, ...)                                                                                   \
    if (game_neighbours.hook)                                                                                      \
        game_neighbours.hook(__VA_ARGS__);

void SoundInitSlots() { FORWARD_VOID(sound_init_slots) }
char SoundInit() { return game_neighbours.sound_init ? game_neighbours.sound_init() : 1; }
void SoundShutdown() { FORWARD_VOID(sound_shutdown) }
void SoundUpdateMusicForCurrentState() { FORWARD_VOID(sound_update_music_for_current_state) }
void SoundStopAllMusic(char now) { FORWARD_VOID(sound_stop_all_music, now) }
void SoundSetGameSoundsVolume() { FORWARD_VOID(sound_set_game_sounds_volume) }

void ScoresSetScreenGarden(int garden)
{
    if (game_neighbours.scores_set_screen_garden)
        game_neighbours.scores_set_screen_garden(garden);
    else if (ScoresCC *scores = ScoresCC_Get("ScoresSetScreenGarden"))
        scores->SetShownGarden(static_cast<short>(garden));
}
void ScoresSetShowLastGame()
{
    if (game_neighbours.scores_set_show_last_game)
        game_neighbours.scores_set_show_last_game();
    else if (ScoresCC *scores = ScoresCC_Get("ScoresSetShowLastGame"))
        scores->ShowLastGame();
}

void OptionsApplyCpuUsage() { FORWARD_VOID(options_apply_cpu_usage) }

void GameAdsPrepareBrowse(MWinCollectionController *ads, const char *player_name, short *current_ad)
{
    FORWARD_VOID(game_ads_prepare_browse, ads, player_name, current_ad)
}
