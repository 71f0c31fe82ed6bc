// A local score file whose tail was lost (cut in half, as a disk that filled
// or a crash mid-copy leaves it) on the real program: the Scores screen
// shows the entries before the damage, and the file on disk holds them
// whole afterwards.
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"

#include "engine/core/EngMisc.h"
#include "game/PlayNeighbours.h"
#include "game/Scores.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

using namespace e2e;
namespace fs = std::filesystem;

bool ScoresScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 10, 440, 70, 30) > 20 && LitPoints(screen, 565, 440, 65, 30) > 20;
}

class ScoreFileE2eTest : public E2eTest {
protected:
    void TearDown() override
    {
        E2eTest::TearDown();
        PlayNeighboursResetForTests();
    }

    // The first garden's local scores as the game writes them: seven
    // players' games of today, 700 down to 100 points.
    static void SeedSevenScores()
    {
        play_neighbours.scores_screen_get_garden = [] { return 0; };
        ScoresInit();
        _EngMiscDate today = {};
        EngMiscGetCurrentDate(&today);
        for (int i = 0; i < 7; i++) {
            _ScoresScore &entry = scores_table[i];
            entry = _ScoresScore{};
            entry.score = 700 - 100 * i;
            entry.level = 3;
            entry.date = today;
            entry.user_id = static_cast<uint16_t>(100 + i);
            std::snprintf(entry.name, sizeof(entry.name), "Player %c", 'A' + i);
            std::strcpy(entry.country, "GB");
        }
        scores_count = 7;
        ASSERT_TRUE(ScoresWriteToFile());
    }

    static fs::path ScoreFile()
    {
        return fs::path(std::getenv("XDG_DATA_HOME")) / "Lichenware" / "Hive Watcher" / "Scores" / "LG_0.sco";
    }
};

// The rows below the table's first three, 17 units apart.
const float FOURTH_ROW = 236;

TEST_F(ScoreFileE2eTest, AScoreFileCutInHalfKeepsItsGoodEntries)
{
    SeedPlayer("Ada", "GB", true);
    SeedSevenScores();
    // 36 + 7 x 132 bytes, cut to 480: three whole entries and part of a fourth.
    fs::resize_file(ScoreFile(), fs::file_size(ScoreFile()) / 2);

    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    Click(235, 295); // High Scores
    ASSERT_TRUE(WaitFor(ScoresScreenDrawn));
    Click(196, 133); // Local
    ASSERT_TRUE(WaitFor([](const Screen &shot) { return TextPointsInRow(shot, SCORE_ROWS[2]) > 20; }));
    SaveShot("ScoreFileCutInHalf");
    const Screen screen = Shot();
    for (float row : SCORE_ROWS)
        EXPECT_GT(TextPointsInRow(screen, row), 20) << row;
    EXPECT_EQ(TextPointsInRow(screen, FOURTH_ROW), 0);
    EXPECT_EQ(StopProgram(), 0);

    // The file holds the three entries whole, in their order.
    EXPECT_EQ(fs::file_size(ScoreFile()), 36u + 3u * 132u);
    ScoresReadCurrentGardenScores();
    ASSERT_EQ(scores_count, 3);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(scores_table[i].score, 700 - 100 * i);
}

} // namespace
