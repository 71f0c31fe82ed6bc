// Sending one score of the player to the world high-score list: the score is
// packed into a JSON object, the JSON text is enciphered, compressed and
// encoded into URL-safe text, POSTed to the score script, and the server's
// short answer is read. Runs on the main thread and blocks it for the length
// of the request (at most 15 seconds).
//
// Every failure is logged and returned as one of the negative results. When
// a toolkit object is given and popups may be shown on it, the player is
// told the outcome in popups (through the scores hooks, ScoresHooks.h).
#pragma once

#include "modules/ScoresScore.h"

class MWin;

enum _ScoresSubmitResult : int {
    SSR_SUBMITTED = 4,
    SSR_BETTER_SCORE_EXISTS = 6,
    SSR_OUT_OF_DATE = 7,
    SSR_FAILED = -1,
    SSR_NO_INTERNET = -2,
    SSR_COMMUNICATION_PROBLEM = -3,
};

_ScoresSubmitResult ScoresSubmitScore(_ScoresProgram program, unsigned short scores_version, unsigned set,
                                      const _ScoresScore *score, MWin *mwin);

// The JSON text sent for a score (before enciphering), in a new EngMalloc
// block (free it with EngFree), or null.
char *ScoresSubmitMakeJsonText(_ScoresProgram program, unsigned short scores_version, unsigned set,
                               const _ScoresScore *score);

// Shortens the request's time-out (15 s) for tests; 0 restores it.
void ScoresSubmitSetTimeoutForTests(int seconds);
