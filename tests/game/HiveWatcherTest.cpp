// The play hub: set-up order, a new game, the adders, Space and the keyboard
// shortcuts, coordinates, mouse routing and the board transform.
#include "game/HiveWatcher.h"

#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>

namespace {

const int kKeyU = 'U';

class HiveWatcherTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        eng_screen_width = 640;
        eng_screen_height = 480;
    }
    void TearDown() override { ResetPlayForTest(); }

    // The recorded calls whose text starts with one of the prefixes.
    static std::vector<std::string> CallsOf(std::initializer_list<const char *> prefixes)
    {
        std::vector<std::string> kept;
        for (const std::string &call : NeighbourLog::Take())
            for (const char *prefix : prefixes)
                if (call.rfind(prefix, 0) == 0)
                    kept.push_back(call);
        return kept;
    }
};

}  // namespace

TEST_F(HiveWatcherTest, SetupRunsTheModulesInOrder)
{
    levels_garden = 2;
    levels_difficulty = 1;
    EXPECT_TRUE(HiveWatcherSetup());
    EXPECT_EQ(-1, levels_garden);
    EXPECT_EQ(0, levels_difficulty);
    EXPECT_TRUE(NeighbourLog::Take().empty());
    // The sidebar's buttons are laid out.
    EXPECT_FLOAT_EQ(205.3125f, sidebar_button_rects[4].y);
    // The weapon tables are resolved and the lists emptied.
    EXPECT_EQ(1.0f, weapons_type_info[0].upgrade_speed);
    EXPECT_EQ(0, weapons_count);
    EXPECT_EQ(0, effects_count);
}

TEST_F(HiveWatcherTest, ANewGameStartsFromFixedValues)
{
    play_level = 7;
    play_money = 3;
    play_lives = -2;
    play_bonus = 900;
    play_game_over = play_game_won = 1;
    play_run_state = 0;
    play_end_time = 55.0;
    sidebar_placing = 1;
    sidebar_placing_type = 4;
    AddTestWeapon(10, 0.0f, 0.0f)->m_level = 1;
    weapons_factory_level[1] = 2;
    EffectsAdd(0, 0.0f, 0.0f, 0.1f);
    levels_difficulty = 2;
    EngMiscRandSeed(5);

    EXPECT_TRUE(HiveWatcherStartNewGame(1));
    EXPECT_EQ(0, play_level);
    EXPECT_EQ(500, play_money);
    EXPECT_EQ(20, play_lives);
    EXPECT_EQ(0, play_score);
    EXPECT_EQ(0, play_bonus);
    EXPECT_EQ(0, play_game_over);
    EXPECT_EQ(0, play_game_won);
    EXPECT_EQ(2, play_run_state);
    EXPECT_EQ(0.0, play_end_time);
    EXPECT_EQ(0, sidebar_placing);
    EXPECT_EQ(-1, sidebar_placing_type);
    EXPECT_EQ(0, weapons_factory_level[1]);
    EXPECT_EQ(0, weapons_count);
    EXPECT_EQ(0, effects_count);
    EXPECT_STREQ("500", play_money_text);
    EXPECT_STREQ("0", play_score_text);
    EXPECT_STREQ("20", play_lives_text);
    // The sidebar sells the factories again; the player's hints are off.
    EXPECT_TRUE(sidebar_enabled[10]);
    EXPECT_FALSE(sidebar_enabled[3]);
    EXPECT_EQ(0, tutorial_on);
    EXPECT_TRUE(NeighbourLog::Take().empty());
    // Restoring: no wave yet; the title names the kind the saved game gives.
    EXPECT_EQ(0, bugs_count);
    bugs_kind = 7;
    bugs_hp = 12.43;
    HiveWatcherUpdateTitle();
    EXPECT_STREQ("1X: GAUROTES", play_title_text);
    EXPECT_STREQ("HP: 12", play_hp_text);
}

TEST_F(HiveWatcherTest, AddersKeepTheirFloorsAndTheIntsTopAndStopDuringGameOver)
{
    struct Case {
        const char *name;
        std::function<void()> change;
        int score, bonus, money, lives;
        const char *text;
        char *text_field;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"score from level, weapons and bonus", [] { HiveWatcherAddToScore(15); }, 245, 15, 500, 20, "245",
         play_score_text, {}},
        {"negative bonus stops at 0", [] { HiveWatcherAddToScore(-50); }, 230, 0, 500, 20, "230", play_score_text, {}},
        // A saved game may carry any bonus that is not negative.
        {"a bonus at the int's top keeps the score there",
         [] {
             play_bonus = INT_MAX;
             HiveWatcherAddToScore(0);
         },
         INT_MAX, INT_MAX, 500, 20, "2147483647", play_score_text, {}},
        {"a bonus added past the int's top stops there",
         [] {
             play_bonus = INT_MAX - 5;
             HiveWatcherAddToScore(10);
         },
         INT_MAX, INT_MAX, 500, 20, "2147483647", play_score_text, {}},
        {"money stops at 0", [] { HiveWatcherAddToMoney(-600); }, 0, 0, 0, 20, "0", play_money_text, {}},
        {"money added past the int's top stops there",
         [] {
             play_money = INT_MAX - 5;
             HiveWatcherAddToMoney(1000);
         },
         0, 0, INT_MAX, 20, "2147483647", play_money_text, {}},
        {"lives added past the int's top stop there",
         [] {
             play_lives = INT_MAX - 1;
             HiveWatcherAddToLives(3);
         },
         0, 0, 500, INT_MAX, "2147483647", play_lives_text, {}},
        {"lives fall without a floor and start game over", [] { HiveWatcherAddToLives(-25); }, 0, 0, 500, -5, "-5",
         play_lives_text, {"SoundUpdateMusicForCurrentState"}},
        {"a life lost to exactly 0 starts game over", [] { HiveWatcherAddToLives(-20); }, 0, 0, 500, 0, "0",
         play_lives_text, {"SoundUpdateMusicForCurrentState"}},
        {"nothing changes during game over",
         [] {
             play_game_over = 1;
             HiveWatcherAddToScore(100);
             HiveWatcherAddToMoney(100);
             HiveWatcherAddToLives(-100);
         },
         0, 0, 500, 20, "", play_score_text, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HiveWatcherResetForTests();
        RecordNeighbours();
        play_level = 2;
        WeaponsDeleteAll();
        for (int i = 0; i < 3; i++)
            AddTestWeapon(0, 0.0f, 0.0f);
        play_money = 500;
        play_lives = 20;
        c.change();
        EXPECT_EQ(c.score, play_score);
        EXPECT_EQ(c.bonus, play_bonus);
        EXPECT_EQ(c.money, play_money);
        EXPECT_EQ(c.lives, play_lives);
        EXPECT_STREQ(c.text, c.text_field);
        EXPECT_EQ(c.calls, NeighbourLog::Take());
    }
}

TEST_F(HiveWatcherTest, SpaceStartsPausesAndResumes)
{
    const std::pair<char, char> cases[] = {{2, 0}, {0, 1}, {1, 0}};
    for (const auto &c : cases) {
        play_run_state = c.first;
        eng_main_key_states[VK_SPACE] = 2;
        // The hint is chosen again: with the player's hints off it goes.
        tutorial_on = 1;
        HiveWatcherTick();
        EXPECT_EQ(c.second, play_run_state) << (int)c.first;
        EXPECT_EQ(0, eng_main_key_states[VK_SPACE]);
        EXPECT_EQ(0, tutorial_on);
    }
    // A key still held from an earlier frame (1) is no new press.
    play_run_state = 2;
    eng_main_key_states[VK_SPACE] = 1;
    HiveWatcherTick();
    EXPECT_EQ(2, play_run_state);
}

TEST_F(HiveWatcherTest, TheEndScenesTickInsteadOfThePlay)
{
    UseStraightRoad(100);
    const struct {
        char *flag;
        const char *scene;
        std::function<bool()> ticked;
    } cases[] = {
        // A runner enters the parade.
        {&play_game_over, "game over", [] { return bugs_table[0] && bugs_table[0]->m_runner; }},
        // The show's first caption is set.
        {&play_game_won, "game won", [] { return gamewon_step == 1; }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.scene);
        BugsResetForTests();
        bugs_count = BUGS_MAX;
        gamewon_step = 0;
        play_game_over = play_game_won = 0;
        *c.flag = 1;
        play_run_state = 1;
        eng_main_key_states[VK_SPACE] = 2;
        eng_main_key_states[kKeyU] = 2;
        HiveWatcherTick();
        EXPECT_TRUE(c.ticked());
        // Neither Space nor the shortcuts are looked at.
        EXPECT_EQ(1, play_run_state);
        EXPECT_EQ(2, eng_main_key_states[VK_SPACE]);
        EXPECT_EQ(2, eng_main_key_states[kKeyU]);
    }
}

TEST_F(HiveWatcherTest, ShortcutsActOnNewPressesUnlessCtrlIsHeld)
{
    struct Case {
        int key;
        char ctrl;
        char placing;
        int factory_level;  // of the key's family
        const char *call;   // "" for none
        int placing_type;   // the type placing started with, -1 for none
        int key_after;
    };
    const Case cases[] = {
        // U and F upgrade the selected weapon; F while placing is taken but refused.
        {'U', 0, 0, 0, "SoundPlay 18", -1, 0}, {'F', 0, 0, 0, "SoundPlay 19", -1, 0}, {'F', 0, 1, 0, "", -1, 0},
        {'G', 0, 0, 0, "SoundPlay 20", 9, 0},  {'G', 0, 0, 2, "SoundPlay 20", 1, 0},
        {'S', 0, 0, 0, "SoundPlay 20", 10, 0}, {'S', 0, 0, 3, "SoundPlay 20", 5, 0},
        {'P', 0, 0, 0, "SoundPlay 20", 11, 0}, {'P', 0, 0, 1, "SoundPlay 20", 6, 0},
        {'G', 0, 1, 0, "", -1, 2},  {'S', 0, 1, 1, "", -1, 2}, {'P', 0, 1, 2, "", -1, 2},
        {'U', 1, 0, 0, "", -1, 2},  {'F', 1, 0, 0, "", -1, 2}, {'G', 1, 0, 0, "", -1, 2}, {'S', 1, 0, 0, "", -1, 2},
        {'P', 1, 0, 0, "", -1, 2},
    };
    const std::map<int, int> family = {{'U', 0}, {'F', 0}, {'G', 0}, {'S', 1}, {'P', 2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(1, (char)c.key) + (c.ctrl ? " with Ctrl" : "") + (c.placing ? " placing" : ""));
        memset(eng_main_key_states, 0, sizeof(eng_main_key_states));
        memset(weapons_factory_level, 0, sizeof(weapons_factory_level));
        weapons_factory_level[family.at(c.key)] = c.factory_level;
        WeaponsDeleteAll();
        AddTestWeapon(0, 0.0f, 0.0f);
        weapons_selected = 0;
        play_money = 5000;
        sidebar_placing = c.placing;
        sidebar_placing_type = -1;
        eng_main_key_states[c.key] = 2;
        eng_main_key_states[VK_CONTROL] = c.ctrl ? 2 : 0;
        NeighbourLog::Take();
        HiveWatcherTick();
        std::vector<std::string> expected;
        if (*c.call)
            expected.push_back(c.call);
        EXPECT_EQ(expected, CallsOf({"SoundPlay 18", "SoundPlay 19", "SoundPlay 20"}));
        EXPECT_EQ(c.placing_type, sidebar_placing_type);
        EXPECT_EQ(c.key_after, eng_main_key_states[c.key]);
        SidebarCancelPlacing();
    }
}

TEST_F(HiveWatcherTest, BoardUnitsMapToGridCells)
{
    struct Case {
        float board;
        int cell;
    };
    // Exact halves go toward zero: b + 1 of 1/64 is 3.5 cells, of 3/64 10.5.
    const Case cases[] = {
        {-1.0f, 32}, {1.0f, 480}, {0.0f, 256}, {-1.0f + 1.0f / 64.0f, 35}, {-1.0f + 3.0f / 64.0f, 42},
        {-1.0f - 1.0f / 64.0f, 29}, {0.5f, 368},
    };
    for (const Case &c : cases) {
        int x = 0, y = 0;
        EXPECT_EQ(c.cell, HiveWatcherBoardToGrid(c.board, 0.0f, &x, nullptr)) << c.board;
        EXPECT_EQ(c.cell, x);
        EXPECT_EQ(c.cell, HiveWatcherBoardToGrid(0.0f, c.board, nullptr, &y)) << c.board;
        EXPECT_EQ(c.cell, y);
        // The road data's layout maps board points to cells by the same rule.
        EXPECT_EQ(c.cell, RoadDataCellOf(c.board)) << c.board;
    }
    EXPECT_EQ(-1, HiveWatcherBoardToGrid(0.0f, 0.0f, nullptr, nullptr));
}

TEST_F(HiveWatcherTest, MouseMovesGiveScreenAndBoardUnits)
{
    struct Case {
        float x, y;
        float pointer_x, pointer_y, board_x, board_y;
    };
    // A 1280 x 960 window: two pixels per virtual unit.
    eng_screen_width = 1280;
    eng_screen_height = 960;
    const Case cases[] = {
        {0.0f, 0.0f, -1.0f, -1.0f, -100.0f / 270.0f - 1.0f, -1.0f},
        {200.0f, 0.0f, -1.0f + 100.0f / 320.0f, -1.0f, -1.0f, -1.0f},
        {1280.0f, 900.0f, 1.0f, 450.0f / 240.0f - 1.0f, 1.0f, 1.0f},
        {740.0f, 450.0f, 370.0f / 320.0f - 1.0f, 225.0f / 240.0f - 1.0f, 0.0f, 0.0f},
        {470.0f, 112.5f, 235.0f / 320.0f - 1.0f, 56.25f / 240.0f - 1.0f, -0.5f, -0.75f},
    };
    for (const Case &c : cases) {
        HiveWatcherMouseMove(c.x, c.y);
        EXPECT_FLOAT_EQ(c.pointer_x, play_pointer_x) << c.x;
        EXPECT_FLOAT_EQ(c.pointer_y, play_pointer_y) << c.y;
        EXPECT_FLOAT_EQ(c.board_x, play_board_x) << c.x;
        EXPECT_FLOAT_EQ(c.board_y, play_board_y) << c.y;
    }
}

TEST_F(HiveWatcherTest, MouseMovesSetThePointerAndReachTheSidebar)
{
    struct Case {
        const char *name;
        char placing, can_place;
        float x, y;
        signed char pointer;
        int hovered;
    };
    // Window pixels of a 640 x 480 window: the board's middle, and the middle
    // of sidebar button 3 (x 14 to 84, y 438 to 518 of the 256 x 1024 picture).
    const Case cases[] = {
        {"placing where it fits", 1, 1, 320, 240, 0, -1},
        {"placing where it does not", 1, 0, 320, 240, 1, -1},
        {"not placing", 0, 0, 320, 240, 0, -1},
        {"over a sidebar button", 0, 0, 19, 210, 0, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // A Turret fits on free ground only.
        memset(play_grid, c.can_place ? 0 : 1, sizeof(play_grid));
        sidebar_placing = c.placing;
        sidebar_placing_type = 0;
        play_pointer = 1 - c.pointer;
        HiveWatcherMouseMove(c.x, c.y);
        EXPECT_EQ(c.pointer, play_pointer);
        EXPECT_EQ(c.hovered, sidebar_hovered);
    }
    // Nothing during the end scenes.
    play_game_won = 1;
    HiveWatcherMouseMove(10.0f, 10.0f);
    EXPECT_EQ(3, sidebar_hovered);
    EXPECT_FLOAT_EQ(19.0f / 320.0f - 1.0f, play_pointer_x);
}

TEST_F(HiveWatcherTest, ClicksGoToTheFirstModuleThatTakesThem)
{
    // A press on a weapon selects it: the weapons take the click.
    AddTestWeapon(0, play_board_x, play_board_y);
    HiveWatcherMouseButton(0, 1);
    EXPECT_EQ(0, weapons_selected);
    // A press on a sidebar button the weapons do not take starts placing.
    weapons_factory_level[0] = 1;
    SidebarRefresh(SIDEBAR_REFRESH_ENABLED_ONLY);
    HiveWatcherMouseMove(19.0f, 110.0f);
    ASSERT_EQ(0, sidebar_hovered);
    HiveWatcherMouseButton(0, 1);
    EXPECT_EQ(1, sidebar_placing);
    EXPECT_EQ(0, sidebar_placing_type);
    EXPECT_EQ(std::vector<std::string>{"SoundPlay 20"}, CallsOf({"SoundPlay"}));
}

TEST_F(HiveWatcherTest, AfterTheGameEndsOnlyALateClickLeadsToTheScores)
{
    play_game_over = 1;
    play_end_time = 10.0;
    eng_main_program_time = 11.0;
    HiveWatcherMouseButton(0, 1);
    EXPECT_EQ(1, play_game_over);
    EXPECT_TRUE(NeighbourLog::Take().empty());

    eng_main_program_time = 11.01;
    HiveWatcherMouseButton(0, 1);
    EXPECT_EQ(0, play_game_over);
    EXPECT_EQ(std::vector<std::string>{"GameGotoScoresAfterGame"}, NeighbourLog::Take());

    // A game-won show before its final score keeps the player on the board.
    play_game_won = 1;
    gamewon_step = 17;
    HiveWatcherMouseButton(0, 1);
    EXPECT_EQ(1, play_game_won);
    EXPECT_TRUE(NeighbourLog::Take().empty());
}

namespace {

// The board transform needs a device: the recording one.
class BoardTransformTest : public RecordingDeviceTest {
protected:
    void SetUp() override
    {
        RecordingDeviceTest::SetUp();
        ResetPlayForTest();
    }
    void TearDown() override
    {
        ResetPlayForTest();
        RecordingDeviceTest::TearDown();
    }

    static std::vector<float> World()
    {
        EngMatrix m;
        eng_device->GetTransformMatrix(&m);
        return std::vector<float>(m.m_elements, m.m_elements + 16);
    }

    static void ExpectMatrix(const std::vector<float> &expected, const std::vector<float> &actual)
    {
        for (int i = 0; i < 16; i++)
            EXPECT_NEAR(expected[i], actual[i], 1e-6) << "element " << i;
    }
};

}  // namespace

TEST_F(BoardTransformTest, SpritesArePlacedTurnedAndSqueezedOnTheBoard)
{
    // Facing pi/2 leaves the sprite unturned; y flips.
    HiveWatcherSetBoardTransform(0.5f, 0.25f, 0.0f, 0.0f, 1.5707963705062866f, 0, 0);
    ExpectMatrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.5f, -0.25f, 0, 1}, World());

    // Facing 0 turns a quarter: (px, py) goes to (-py, px).
    HiveWatcherSetBoardTransform(0.5f, 0.25f, 0.0f, 0.0f, 0.0f, 0, 0);
    ExpectMatrix({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0.5f, -0.25f, 0, 1}, World());

    // Squeezed, about the pivot (0.1, 0.2), facing 0, at (0.3, 0.4):
    // (0.84375 px, py) - pivot, turned to (-(py - 0.2), 0.84375 px - 0.1),
    // then moved by (0.3 + 0.1, 0.2 - 0.4).
    HiveWatcherSetBoardTransform(0.3f, 0.4f, 0.1f, 0.2f, 0.0f, 1, 0);
    ExpectMatrix({0, 0.84375f, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0.6f, -0.3f, 0, 1}, World());

    // The game-won picture: squeezed, pivot (0, -0.59), unturned, at (-0.2, 0.2).
    HiveWatcherSetBoardTransform(-0.2f, 0.2f, 0.0f, -0.59f, 1.5707963705062866f, 1, 0);
    ExpectMatrix({0.84375f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -0.2f, -0.2f, 0, 1}, World());
}

TEST_F(BoardTransformTest, TheSavedTransformComesBack)
{
    EngMatrix before;
    before.SetTranslation(7.0f, 8.0f, 9.0f);
    eng_device->SetTransformMatrix(&before);
    HiveWatcherSetBoardTransform(0.1f, 0.1f, 0.0f, 0.0f, 0.3f, 0, 1);
    // A later call that does not save keeps the saved one.
    HiveWatcherSetBoardTransform(0.2f, 0.2f, 0.0f, 0.0f, 0.3f, 1, 0);
    HiveWatcherRestoreTransform();
    ExpectMatrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1}, World());
}
