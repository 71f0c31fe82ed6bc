// The program's log over a run as a player makes one, by a player whose
// locale named no country, with the world scores answered by the loopback
// score server: started, every screen of the main menu opened and left,
// the player screens, a level of the first garden played and won, the pause
// screen, and the program left by "Save Game & Exit". The log says what went
// wrong and only that: no error line, and fewer than 200 lines.
#include "tests/e2e/PlayE2eSteps.h"
#include "tests/fixtures/ScoreServer.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

using namespace e2e;

struct MenuScreen {
    const char *name;
    float x, y;  // its button's middle on the main screen
    bool escape; // left with Escape rather than its Back button
};

class LogE2eTest : public PlayingE2eTest {
protected:
    void SetUp() override
    {
        PlayingE2eTest::SetUp();
        ASSERT_TRUE(server.Start());
        server.Script({{"GET /cgi-bin/common/scores/Scores.fcgi", {{"list", true}}}});
        m_command = {HW_LOOPBACK_SCORES_PROGRAM, server.Base()};
    }
    void TearDown() override
    {
        PlayingE2eTest::TearDown();
        server.Stop();
    }

    ScoreServer server;
};

TEST_F(LogE2eTest, ARunThroughTheMenusAndALevelLogsNoErrorAndFewLines)
{
    SeedPlayer("Ada", "??", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    Screen screen;
    ASSERT_TRUE(WaitForNewScreen(Screen(), &screen));

    const MenuScreen menus[] = {
        {"Help", 405, 295, false},   {"Scores", 235, 295, false}, {"Options", 235, 335, false},
        {"Sounds", 405, 335, false}, {"About", 405, 375, false},  {"OtherGames", 235, 415, true},
    };
    for (const MenuScreen &menu : menus) {
        SCOPED_TRACE(menu.name);
        Click(menu.x, menu.y);
        ASSERT_TRUE(WaitForNewScreen(screen, &screen));
        SaveShot(std::string("Log_") + menu.name);
        if (menu.escape)
            Key("Escape");
        else
            Click(597, 455); // Back
        ASSERT_TRUE(WaitFor(MainScreenDrawn));
        ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    }
    Click(235, 375); // Change Player
    ASSERT_TRUE(WaitForMovingScreen(PlayersScreenDrawn, &screen));
    SaveShot("Log_Players");
    Click(320, 448); // Continue Player
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));

    ASSERT_NO_FATAL_FAILURE(EnterFirstGarden());
    ASSERT_TRUE(PlaceWeapon(GUN_FACTORY_BUTTON, FACTORY_SPOT));
    for (const BoardPoint &spot : TURRET_SPOTS)
        ASSERT_TRUE(PlaceWeapon(TURRET_BUTTON, spot));
    Key("space");
    const Screen level_one = Shot();
    ASSERT_TRUE(WaitFor([&](const Screen &now) { return TitleChange(level_one, now) > 0.03; }, 120));
    SaveShot("Log_LevelWon");

    screen = Shot();
    Key("Escape");
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("Log_Pause");
    Click(320, 437); // Save Game & Exit
    ASSERT_EQ(WaitForExit(), 0);

    std::ifstream file(modules_test::ProductFolder() / "LogFile.txt");
    std::string line, errors;
    int lines = 0;
    while (std::getline(file, line)) {
        lines++;
        if (line.find("<ERROR>") != std::string::npos)
            errors += line + "\n";
    }
    std::cout << "The run's log: " << lines << " lines\n";
    RecordProperty("log_lines", lines);
    EXPECT_EQ(errors, "");
    EXPECT_GT(lines, 0);
    EXPECT_LT(lines, 200) << ProgramLogTail();
}

} // namespace
