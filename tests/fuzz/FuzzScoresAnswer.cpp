// World score answers: the score server's answer downloaded into a table,
// and the cache it leaves read back by a second table.
#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "modules/ScoresHooks.h"
#include "modules/ScoresMain.h"
#include "tests/fuzz/FuzzSupport.h"

#include <chrono>
#include <thread>

namespace {

void SetUpOnce()
{
    FuzzSetup();
    PrefFolderSetup("Hive Watcher", 0, nullptr, 0);
    EngServersSetScoreServerAddressForTests(FuzzServerAddress().c_str());
    ScoresMain::SetReadTimeoutForTests(2);
    // Two-letter codes are countries.
    scores_hooks.country_num_from_code = [](const char *code) {
        return code && code[0] && code[1] && !code[2] ? 1 : -1;
    };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    FuzzServeAnswer(data, size);
    {
        ScoresMain scores;
        scores.Setup(SP_THIS_GAME, 150, 100, 1001, SR_ALL, nullptr, 0, 60);
        if (scores.Update()) {
            while (scores.IsUpdateFinished(nullptr, nullptr) == SCORES_UPDATE_RUNNING) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                EngMainUpdateProgramTime();
            }
        }
        for (int i = 0; i < scores.GetNumberOfScores(); i++)
            scores.GetScore(i);
    }
    {
        ScoresMain cached;
        cached.Setup(SP_THIS_GAME, 150, 100, 1001, SR_ALL, nullptr, 0, 60);
        if (cached.UpdateIfNeeded(0) == 1)
            cached.StopUpdating();
        cached.DeleteScoresFile();
    }
    FuzzEndInput();
    return 0;
}
