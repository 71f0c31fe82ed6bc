// Shared by the world-score tests: a country list of four codes for the
// scores hooks, a valid score record, and polling a list download the way
// the main loop does.
#pragma once

#include "engine/runtime/EngMain.h"
#include "modules/ScoresHooks.h"
#include "modules/ScoresMain.h"
#include "tests/fixtures/LoopbackServer.h"

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace scores_test {

// "UK" stands for "GB", as in the program's country list.
inline int CountryNum(const char *code)
{
    const char *known[] = {"GB", "FR", "DE", "US"};
    std::string c = strcmp(code, "UK") == 0 ? "GB" : code;
    for (int i = 0; i < 4; i++)
        if (c == known[i])
            return i;
    return -1;
}

inline _ScoresScore ValidScore()
{
    _ScoresScore s = {};
    s.score = 12345;
    s.level = 107;
    s.date = {2015, 10, 8};
    s.user_id = 4242;
    strcpy(s.name, "Ann Smith");
    strcpy(s.country, "FR");
    s.platform = 'W';
    return s;
}

// Polls once a frame until the download settles (or 10 s pass).
inline unsigned char PollUntilFinished(ScoresMain &scores, _EngInternetThreadReadResult *status,
                                       const char **message = nullptr)
{
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        EngMainUpdateProgramTime();
        unsigned char result = scores.IsUpdateFinished(status, message);
        if (result != SCORES_UPDATE_RUNNING || SecondsSince(start) > 10)
            return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
}

} // namespace scores_test
