// The game object's calls into modules not yet in the program (see the
// header): each forwards to its hook, or does what an absent module means.
#include "game/GameNeighbours.h"

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

char SavedGameExists(int slot, char any_garden)
{
    return game_neighbours.saved_game_exists ? game_neighbours.saved_game_exists(slot, any_garden) : 0;
}
char SaveGame(int slot, char any_garden)
{
    return game_neighbours.save_game ? game_neighbours.save_game(slot, any_garden) : 0;
}
char LoadSavedGame(int slot, char any_garden)
{
    return game_neighbours.load_saved_game ? game_neighbours.load_saved_game(slot, any_garden) : 0;
}
char DeleteSavedGame(int slot, char any_garden)
{
    return game_neighbours.delete_saved_game ? game_neighbours.delete_saved_game(slot, any_garden) : 0;
}

void ScoresCreateWorld() { FORWARD_VOID(scores_create_world) }
void ScoresDeleteWorld() { FORWARD_VOID(scores_delete_world) }
void ScoresSetScreenGarden(int garden) { FORWARD_VOID(scores_set_screen_garden, garden) }
void ScoresRecordFinishedGame() { FORWARD_VOID(scores_record_finished_game) }
void ScoresSetShowLastGame() { FORWARD_VOID(scores_set_show_last_game) }
void ScoresPromptToSubmitLastScore() { FORWARD_VOID(scores_prompt_to_submit_last_score) }

void OptionsApplyCpuUsage() { FORWARD_VOID(options_apply_cpu_usage) }

void SelectCC_DestroyGraphics() { FORWARD_VOID(select_destroy_graphics) }
