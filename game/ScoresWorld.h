// The world high scores bound to the game: the one world-list object
// (ScoresMain) set up for the Scores screen's garden and the player's range,
// the submission of the player's best or last local score, and whether the
// player allows the game to go online for its scores.
//
// The list operations report the code 'NOSU' and fail when the world object
// does not exist (between ScoresDeleteWorld and ScoresCreateWorld). The
// submission shows its outcome in the game's popups and records in the
// start-up settings what follows from it (an out-of-date program makes the
// next start look for an update). Main thread only.
#pragma once

#include "modules/ScoresScore.h"

class Game;
class ScoresMain;

extern ScoresMain *scores_world;
// The player allowed online scores for the rest of this run.
extern char scores_internet_allowed;

// Makes the world object anew, and connects the world scores to the country
// list and the game's popups.
void ScoresCreateWorld();
void ScoresDeleteWorld();

// The list set up for the current garden and the player's range and
// auto-update, 15 minutes between downloads.
char ScoresWorldSetupNew();
// 0 nothing done, 1 a download runs, 2 the list came from its cache file.
unsigned char ScoresWorldUpdateIfNeeded();
char ScoresWorldUpdate();
char ScoresWorldIsUpdating();
// 0 while nothing arrived, 1 when a list arrived, 254 when the reader had
// nothing, 255 (-1 as a signed byte) otherwise. A message of the server, or
// the notice of a newer program, goes to the Scores screen's info text.
unsigned char ScoresWorldIsUpdateFinished();
int ScoresWorldGetNumScores();
// Valid until the next ScoresWorldRelease.
_ScoresScore *ScoresWorldGetScoresList();
void ScoresWorldRelease();
// Deletes the cached lists of every range of the current garden, so the
// next look downloads them again; the object is left not set up.
void ScoresWorldAllScoresForCurrentGardenNeedToBeUpdated();

// Sends score to the world list; true when the server took it or holds a
// score as good.
char ScoresCallSubmitScore(const _ScoresScore *score);
char ScoresSubmitUsersBestScoreForCurrentGardenAndRange(_ScoresRange range);
char ScoresSubmitUsersLastScoreForCurrentGarden();
// True when online scores are allowed; with ask, a popup lets the player
// test the connection at the next start or allow them for this run.
char ScoresIsInternetAccessAllowed(Game *game, char ask);

// No world object and online scores not allowed, as at start.
void ScoresWorldResetForTests();
