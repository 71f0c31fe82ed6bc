// A game lost on purpose on the real program: nothing that shoots is
// built, the waves are started with Space, every bug reaches the end of the road, the
// game-over scene shows, and a click leads to the local high scores, where
// the game's score stands at its place among the scores seeded before,
// highlighted.
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"

#include "engine/core/EngMisc.h"
#include "game/PlayNeighbours.h"
#include "game/Scores.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace {

using namespace e2e;

class GameOverE2eTest : public PlayingE2eTest {
protected:
    // The first garden's local scores as the game writes them: one score
    // above and one below the 10 the lost game will make.
    static void SeedGardenZeroScores()
    {
        play_neighbours.scores_screen_get_garden = [] { return 0; };
        const struct {
            int score;
            const char *name;
        } seeded[] = {{5000, "Bea"}, {5, "Cyd"}};
        _EngMiscDate today = {};
        EngMiscGetCurrentDate(&today);
        scores_count = 0;
        for (const auto &s : seeded) {
            _ScoresScore &entry = scores_table[scores_count++];
            entry = _ScoresScore{};
            entry.score = s.score;
            entry.level = 1;
            entry.date = today;
            entry.user_id = static_cast<uint16_t>(100 + scores_count);
            std::strcpy(entry.name, s.name);
            std::strcpy(entry.country, "GB");
        }
        ASSERT_TRUE(ScoresWriteToFile());
        PlayNeighboursResetForTests();
    }
};

TEST_F(GameOverE2eTest, ALostGameEndsInTheGameOverSceneAndTheHighlightedScore)
{
    SeedPlayer("Ada", "GB", true);
    SeedGardenZeroScores();
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    EnterFirstGarden();
    SaveShot("GameOverPlayStart");
    ASSERT_TRUE(LoseTheGame());
    SaveShot("GameOver");

    // A click more than a second after the end leads to the scores, with
    // the question whether to submit the score.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Screen screen = Shot();
    Click(320, 240);
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("GameOverScoresQuestion");
    Click(349, 292); // Cancel
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    // The player's table is the online one; the local one shows the game.
    Click(196, 133); // Local
    // The game's score stands between the two seeded ones, highlighted.
    ASSERT_TRUE(WaitFor([](const Screen &shot) { return ScoreRowHighlighted(shot, SCORE_ROWS[1]); }));
    SaveShot("GameOverScores");
    screen = Shot();
    for (int row = 0; row < 3; row++) {
        SCOPED_TRACE(row);
        EXPECT_EQ(row == 1, ScoreRowHighlighted(screen, SCORE_ROWS[row]));
        EXPECT_GT(TextPointsInRow(screen, SCORE_ROWS[row]), 20);
    }

    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
