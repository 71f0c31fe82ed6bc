// World score answers: the score server's answer taken into a table as a
// finished download is, and the cache it leaves read back by a second table.
#include "engine/core/EngPrefs.h"
#include "modules/ScoresHooks.h"
#include "modules/ScoresMain.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

namespace {

void SetUpOnce()
{
    FuzzSetup();
    PrefFolderSetup("Hive Watcher", 0, nullptr, 0);
    // Two-letter codes are countries.
    scores_hooks.country_num_from_code = [](const char *code) {
        return code && code[0] && code[1] && !code[2] ? 1 : -1;
    };
}

void ReadAll(ScoresMain &scores)
{
    for (int i = 0; i < scores.GetNumberOfScores(); i++)
        scores.GetScore(i);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    // Longer answers are refused whole, as the reader's own limit does.
    unsigned length = static_cast<unsigned>(std::min<size_t>(size, SCORES_MAIN_ANSWER_SIZE));
    {
        ScoresMain scores;
        scores.Setup(SP_THIS_GAME, 150, 100, 1001, SR_ALL, nullptr, 0, 60);
        const char *message = nullptr;
        scores.TakeAnswer(reinterpret_cast<const char *>(data), length, nullptr, &message);
        ReadAll(scores);
    }
    {
        // Forced, with no automatic download: the cache is read or nothing.
        ScoresMain cached;
        cached.Setup(SP_THIS_GAME, 150, 100, 1001, SR_ALL, nullptr, 0, 60);
        if (cached.UpdateIfNeeded(1) == 2)
            ReadAll(cached);
        cached.DeleteScoresFile();
    }
    FuzzEndInput();
    return 0;
}
