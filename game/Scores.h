// The local high scores: for each of the four gardens one table of at most
// 100 `_ScoresScore` entries, kept in "<Scores folder>\LG_<garden>.sco". The
// file is a row of enciphered blocks, each with its own 16-byte IV: a 20-byte
// header (int16 version 200, int16 garden) and one 116-byte block per entry
// (36 + 132 x n bytes on disk). The module adds every finished game while
// thinning out the player's older entries, answers the Scores screen's
// questions, and after a game asks whether the score should go to the world
// list.
//
// The current garden is the one the Scores screen shows. Every query, every
// addition and every deletion reads the file again first. The first flag of
// an entry is its newest mark: 1 on the game finished last; it lives only in
// memory and in `scores_last_score`.
//
// Failures: any fault in a score file (a block that cannot be read, a wrong
// version or garden, an entry out of bounds) deletes the whole file with a
// log line naming it, and leaves the entries read before the fault in the
// table. A table is written whole or not at all: a failed write leaves the
// previous file as it was. Queries without a
// loaded player log "User not loaded." and answer null. Main thread only.
#pragma once

#include "modules/ScoresScore.h"

struct _UserInfo;

enum {
    SCORES_MAX = 100,
    SCORES_FILE_NAME_SIZE = 512,
    SCORES_FILE_VERSION = 200,
    SCORES_HEADER_SIZE = 20,
    SCORES_BLOCK_SIZE = 116,
    // The first flag marks the newest entry, and during thinning one to drop.
    SCORES_NEWEST = 1,
    SCORES_DROP = 99,
};

extern _ScoresScore scores_table[SCORES_MAX];
extern int scores_count;
// The entries of one date range (ScoresGetSubsetForRange); null when none.
extern _ScoresScore *scores_subset;
extern int scores_subset_count;
extern _ScoresScore scores_last_score;
// The row holding the newest entry after the last write, and its garden; -1
// when none. The Scores screen highlights it and sets it back to -1.
extern int scores_last_added_index;
extern int scores_last_added_garden;
extern char scores_file_name[SCORES_FILE_NAME_SIZE];
// Today's date for thinning and ranges; the system's date unless a test
// sets another.
extern void (*scores_get_today)(_EngMiscDate *date);

// The local state as at start ("Unset.sco", nothing read, no newest entry).
void ScoresInit();
short ScoresGetGarden();
// The current garden's file name in scores_file_name, the folder created
// with create; null with "Invalid garden %d" outside 0 to 3.
char *ScoresGetFilename(char create);
void ScoresReadCurrentGardenScores();
char ScoresWriteToFile();
// Same score, level, date bytes, user id, name, country and platform.
char ScoresAreScoresTheSame(const _ScoresScore *a, const _ScoresScore *b);
// Higher score first, then higher level, then the name that is greater byte
// by byte; the order of full ties is not defined.
void ScoresSortTable();

// The country the player's scores are stored under: the player's own code,
// or "US" for a player whose country is unknown ("??", a locale that names
// none). Every comparison of a score with the player goes by it.
const char *ScoresGetPlayersCountry(const _UserInfo *player);

void ScoresRecordFinishedGame();
char ScoresAddGameScore();
void ScoresPromptToSubmitLastScore();

// The flags are not used.
char ScoresGetSubsetForRange(_ScoresRange range, char, char);
// The records returned point into scores_table or scores_subset and stay
// valid until the next read or subset; their second name is emptied.
_ScoresScore *ScoresGetUsersBestScoreForCurrentGardenAndRange(_ScoresRange range);
_ScoresScore *ScoresGetUsersBestScoreForCurrentGardenNotLastScore(_ScoresRange range);
_ScoresScore *ScoresGetUsersLastScoreForCurrentGarden();
void ScoresDeleteUsersScoresForCurrentGarden();

// Frees the subset and comes back as at start, the system's date in use.
void ScoresResetForTests();
