// Saved games: the whole play state (garden, difficulty, score, money,
// lives, level, every weapon, every bug of the wave and the wave's values)
// as one record of 64,096 bytes, little-endian at fixed offsets, enciphered
// into "<Users folder>\<player>_SavedGame<garden><slot>.dat" (64,112 bytes on
// disk). Garden 0 is the any-garden form; otherwise the current garden + 1.
// The game itself uses slot 0 in the any-garden form.
//
// Failures: a slot outside 0 to 10, no loaded player or a name that does not
// fit makes every operation answer false. A save is written whole or not at
// all: a failed write answers false and leaves the previous file as it was.
// A file that cannot be read, has the wrong size or version, or holds a
// record that does not describe a sane game is reported, deleted and
// answered false before any play state changes.
#pragma once

enum {
    SAVED_GAME_RECORD_SIZE = 64096,
    SAVED_GAME_MAX_SLOT = 10,
    SAVED_GAME_NAME_SIZE = 512,
};

// The file name in a static buffer that the next call overwrites; null
// (reported) when there is no player, the slot or garden is out of range or
// the name does not fit.
const char *SavedGameFileName(int slot, char any_garden);
char SavedGameExists(int slot, char any_garden);
// Refused while the game-over scene runs. Logs "GAME SAVED TO SLOT %d:%d".
char SaveGame(int slot, char any_garden);
// Restores the saved game into the play; the file stays on disk.
char LoadSavedGame(int slot, char any_garden);
// True when there was a file and it is gone.
char DeleteSavedGame(int slot, char any_garden);

