// The weapons module: resolved tables, refunds, factory levels, the
// placement test on the grid, buying, selling (the ground given back and the
// neighbours stamped again), the list's limit and clicks while placing.
#include "game/Weapons.h"

#include "tests/game/PlayTestSupport.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

class WeaponsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        memset(&traverse_data, 0, sizeof(traverse_data));
        play_level = 0;
        play_money = 100000;
    }
    void TearDown() override { ResetPlayForTest(); }

    static uint8_t CellAt(float x, float y)
    {
        int cx = 0, cy = 0;
        HiveWatcherBoardToGrid(x, y, &cx, &cy);
        return play_grid[cx * ROAD_GRID_SIDE + cy];
    }
    // Marks the cell of (x, y) as road, in the ground map and on the grid.
    static void MakeRoadCell(float x, float y)
    {
        int cx = 0, cy = 0;
        HiveWatcherBoardToGrid(x, y, &cx, &cy);
        traverse_data.ground_map[cx * ROAD_GRID_SIDE + cy] = 1;
        play_grid[cx * ROAD_GRID_SIDE + cy] = 1;
    }
};

}  // namespace

TEST_F(WeaponsTest, TablesInheritFromTheLevelBeforeButNeverTheCost)
{
    for (int t = 0; t < WEAPON_TYPES; t++) {
        SCOPED_TRACE(weapons_type_names[t]);
        EXPECT_GT(weapons_type_info[t].upgrade_speed, 0.0f);
        for (int l = 0; l < WEAPON_LEVELS; l++)
            EXPECT_EQ(t < WEAPON_FIRST_FACTORY ? 50 : 0, weapons_level_info[t][l].sell_percent) << l;
    }
    EXPECT_EQ(1.0f, weapons_type_info[0].upgrade_speed);
    EXPECT_EQ(0.7f, weapons_type_info[3].upgrade_speed);
    EXPECT_EQ(275, weapons_level_info[1][3].cost);
    EXPECT_EQ(1.4f, weapons_level_info[8][3].range);
    EXPECT_FLOAT_EQ(0.14f * -0.1f, weapons_type_geometry[2].muzzle_offset_y);
    EXPECT_FLOAT_EQ(0.1f, weapons_type_geometry[9].half_size);

    // A -99 in a later level takes the value resolved before it.
    weapons_level_info[0][2] = {60, -99, -99.0f, -99.0f, 12, -99.0f};
    WeaponsSetupTables();
    EXPECT_EQ(22.0f, weapons_level_info[0][2].reload_rate);
}

TEST_F(WeaponsTest, SellingRefundsHalfOfWhatWasSpentAndFactoriesNothing)
{
    const struct {
        int type, level, refund;
    } cases[] = {
        {1, 2, 450},   // (350 + 275 + 275) / 2
        {0, 0, 40},    {0, 3, 130}, {5, 3, 7750},
        {9, 2, 0},     {11, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(weapons_type_names[c.type]);
        WeaponsDeleteAll();
        AddTestWeapon(c.type, 0.0f, 0.0f)->m_level = c.level;
        EXPECT_EQ(c.refund, WeaponsGetRefund(0));
        play_money = 1000;
        WeaponsSell(0);
        EXPECT_EQ(1000 + c.refund, play_money);
        EXPECT_EQ(nullptr, weapons_list[0]);
    }
    // Empty and negative slots sell nothing.
    play_money = 5;
    WeaponsSell(0);
    WeaponsSell(-1);
    EXPECT_EQ(5, play_money);
}

TEST_F(WeaponsTest, FactoryLevelsCountTheBestFactoryOfEachFamily)
{
    const struct {
        std::vector<std::pair<int, int>> factories;  // type, level
        int levels[3];
    } cases[] = {
        {{}, {0, 0, 0}},
        {{{9, 1}}, {2, 0, 0}},
        {{{10, 0}, {10, 2}, {11, 0}}, {0, 3, 1}},
        {{{0, 3}, {5, 3}}, {0, 0, 0}},
    };
    for (const auto &c : cases) {
        WeaponsDeleteAll();
        for (auto [type, level] : c.factories)
            AddTestWeapon(type, 0.0f, 0.0f)->m_level = level;
        WeaponsCountFactoryLevels();
        for (int f = 0; f < 3; f++)
            EXPECT_EQ(c.levels[f], weapons_factory_level[f]) << c.factories.size() << " family " << f;
    }
}

TEST_F(WeaponsTest, OnlyBoardCellsThirtyTwoToFourSeventyNineAreClear)
{
    const struct {
        int cx, cy;
        bool clear;
    } cases[] = {{31, 100, false}, {32, 100, true}, {479, 100, true}, {480, 100, false},
                 {100, 31, false}, {100, 32, true}, {100, 479, true}, {100, 480, false}};
    for (const auto &c : cases) {
        DebugClearLogs();
        EXPECT_EQ(c.clear, (bool)IsGridClearAtPos(c.cx, c.cy, 1)) << c.cx << "," << c.cy;
        if (c.clear)
            EXPECT_TRUE(StoredLines().empty());
        else
            EXPECT_EQ(ErrorLine("IsGridClearAtPos", "Bad pos [" + std::to_string(c.cx) + "," + std::to_string(c.cy) +
                                                         "]."),
                      StoredLines().at(0));
    }
    DebugClearLogs();
    EXPECT_FALSE(IsGridClearAtPos(480, 480, 0));
    EXPECT_TRUE(StoredLines().empty());
    play_grid[100 * ROAD_GRID_SIDE + 100] = 2;
    EXPECT_FALSE(IsGridClearAtPos(100, 100, 1));

    // A square weapon whose tested square reaches cell 31 or 480 does not fit.
    const struct {
        float x;
        bool fits;
    } squares[] = {{-0.94f, true}, {-0.943f, false}, {0.93f, true}, {0.945f, false}};
    for (const auto &s : squares)
        EXPECT_EQ(s.fits, (bool)WeaponsCanPlaceAt(6, s.x, 0.0f, 0)) << s.x;
}

TEST_F(WeaponsTest, ATurretTakesItsDiscAndTheLenientTestEscapesBlockedSamples)
{
    ASSERT_TRUE(WeaponsCanPlaceAt(0, 0.0f, 0.0f, 0));
    play_money = 500;
    ASSERT_TRUE(WeaponsCreateNew(0, 0.0f, 0.0f, 0, 0));
    EXPECT_EQ(420, play_money);
    EXPECT_EQ(1, weapons_count);
    EXPECT_EQ(10, play_score);
    EXPECT_EQ(std::vector<std::string>{"SoundPlay 21"}, NeighbourLog::Take());
    EXPECT_EQ(2, CellAt(0.0f, 0.0f));
    EXPECT_EQ(2, CellAt(0.05f, 0.0f));
    EXPECT_EQ(2, CellAt(0.0f, -0.05f));
    EXPECT_EQ(0, CellAt(0.07f, 0.0f));

    // A sample one cell into the Turret: refused, unless leniently with free
    // ground two cells further out.
    DebugClearLogs();
    EXPECT_FALSE(WeaponsCanPlaceAt(0, 0.0f, 0.115f, 0));
    EXPECT_FALSE(WeaponsCreateNew(0, 0.0f, 0.115f, 0, 0));
    EXPECT_EQ(ErrorLine("WeaponsCreateNew", "Cannot place weapon of type 0 at 0.0,0.1"), StoredLines().at(0));
    EXPECT_TRUE(WeaponsCanPlaceAt(0, 0.0f, 0.115f, 1));
    // The centre itself is never escaped.
    EXPECT_FALSE(WeaponsCanPlaceAt(0, 0.0f, 0.0f, 1));

    // Free weapons (a saved game's) cost nothing and make no sound.
    play_money = 0;
    EXPECT_FALSE(WeaponsCreateNew(0, 0.5f, 0.5f, 0, 0));
    EXPECT_TRUE(WeaponsCreateNew(0, 0.5f, 0.5f, 0, 1));
    EXPECT_EQ(0, play_money);
    EXPECT_TRUE(NeighbourLog::Take().empty());
}

TEST_F(WeaponsTest, SellingGivesBackOnlyTheGroundThatWasFree)
{
    // A road cell inside the Turret's disc, between its six samples.
    MakeRoadCell(0.03f, 0.0f);
    ASSERT_TRUE(WeaponsCreateNew(0, 0.0f, 0.0f, 0, 0));
    EXPECT_EQ(2, CellAt(0.03f, 0.0f));
    WeaponsSell(0);
    EXPECT_EQ(1, CellAt(0.03f, 0.0f));
    EXPECT_EQ(0, CellAt(0.0f, 0.0f));
    EXPECT_FALSE(WeaponsCanPlaceAt(0, 0.03f, 0.0f, 0));
    EXPECT_EQ(std::vector<std::string>({"SoundPlay 21"}), NeighbourLog::Take());

    // Two overlapping discs: selling one keeps the other's cells taken.
    ASSERT_TRUE(WeaponsCreateNew(0, -0.3f, 0.5f, 0, 0));
    ASSERT_TRUE(WeaponsCreateNew(0, -0.19f, 0.5f, 0, 0));
    EXPECT_EQ(2, CellAt(-0.245f, 0.5f));
    WeaponsSell(2);
    EXPECT_EQ(2, CellAt(-0.245f, 0.5f));
    EXPECT_EQ(0, CellAt(-0.15f, 0.5f));
    EXPECT_EQ(-1, weapons_selected);
}

// Whatever was sold in whatever order, the grid is the garden's ground with
// every weapon still standing marked on it: compared with the same weapons
// placed afresh, on random layouts of discs and squares that overlap each
// other and patches of road.
TEST_F(WeaponsTest, AfterSalesTheGridIsTheGroundWithTheStandingWeaponsMarked)
{
    struct Standing {
        int type;
        float x, y;
    };
    std::mt19937 random(52);
    std::uniform_real_distribution<float> spot(-0.45f, 0.45f);
    for (int layout = 0; layout < 6; layout++) {
        SCOPED_TRACE(layout);
        WeaponsClearForNewGame();
        memset(traverse_data.ground_map, 0, sizeof(traverse_data.ground_map));
        for (int patch = 0; patch < 15; patch++) {
            const int px = 160 + static_cast<int>(random() % 190), py = 160 + static_cast<int>(random() % 190);
            for (int cx = px; cx < px + 8; cx++)
                for (int cy = py; cy < py + 8; cy++)
                    traverse_data.ground_map[cx * ROAD_GRID_SIDE + cy] = 1;
        }
        HiveWatcherBuildGrid();
        // Placed leniently, as a saved game's are.
        for (int i = 0; i < 150; i++)
            WeaponsCreateNew(static_cast<int>(random() % WEAPON_TYPES), spot(random), spot(random), 0, 1);
        ASSERT_GE(weapons_count, 20);
        std::vector<int> slots(weapons_count);
        std::iota(slots.begin(), slots.end(), 0);
        std::shuffle(slots.begin(), slots.end(), random);
        for (size_t i = 0; i < slots.size() / 2; i++)
            WeaponsSell(slots[i]);
        ASSERT_TRUE(WeaponsSellLast());
        const std::vector<uint8_t> after_sales(play_grid, play_grid + ROAD_GRID_SIDE * ROAD_GRID_SIDE);

        std::vector<Standing> standing;
        for (int i = 0; i < weapons_count; i++)
            if (weapons_list[i])
                standing.push_back({weapons_list[i]->m_type, weapons_list[i]->m_x, weapons_list[i]->m_y});
        WeaponsClearForNewGame();
        HiveWatcherBuildGrid();
        for (const Standing &w : standing)
            ASSERT_TRUE(WeaponsCreateNew(w.type, w.x, w.y, 0, 1));
        int differing = 0;
        for (int cell = 0; cell < ROAD_GRID_SIDE * ROAD_GRID_SIDE; cell++)
            differing += after_sales[cell] != play_grid[cell];
        EXPECT_EQ(0, differing) << standing.size() << " standing";
    }
}

TEST_F(WeaponsTest, AThousandWeaponsPerGameEvenAfterSales)
{
    // 998 weapons built and sold already.
    weapons_count = 998;
    ASSERT_TRUE(WeaponsCreateNew(0, -0.5f, 0.0f, 0, 0));
    ASSERT_TRUE(WeaponsCreateNew(0, 0.5f, 0.0f, 0, 0));
    EXPECT_EQ(1000, weapons_count);
    WeaponsSell(999);
    EXPECT_FALSE(WeaponsCreateNew(0, 0.5f, 0.0f, 0, 0));

    // Selling the last ones empties the list and only then resets the count.
    EXPECT_TRUE(WeaponsSellLast());
    EXPECT_EQ(1000, weapons_count);
    EXPECT_FALSE(WeaponsSellLast());
    EXPECT_EQ(0, weapons_count);
    EXPECT_TRUE(WeaponsCreateNew(0, 0.5f, 0.0f, 0, 0));
}

TEST_F(WeaponsTest, ClicksSelectOrPlace)
{
    AddTestWeapon(0, 0.0f, 0.0f);
    AddTestWeapon(0, 0.05f, 0.0f);
    // The last weapon containing the point wins; a release or a repeat does nothing.
    play_board_x = 0.02f;
    EXPECT_TRUE(WeaponsHandleClick(0, 1));
    EXPECT_EQ(1, weapons_selected);
    EXPECT_FALSE(WeaponsHandleClick(0, 1));
    EXPECT_FALSE(WeaponsHandleClick(0, 0));
    EXPECT_FALSE(WeaponsHandleClick(0, 2));
    // The mouse leaving drops the selection.
    play_board_x = 0.5f;
    WeaponsUpdateMouseOver();
    EXPECT_EQ(-1, weapons_selected);

    WeaponsDeleteAll();
    sidebar_placing = 1;
    sidebar_placing_type = 3;
    EXPECT_FALSE(WeaponsUpgradeSelected(0));
    EXPECT_TRUE(WeaponsHandleClick(1, 0));
    EXPECT_EQ(0, sidebar_placing);
    sidebar_placing = 1;
    EXPECT_FALSE(WeaponsHandleClick(0, 1));
    EXPECT_EQ(1, sidebar_placing);
    // Placing ends the placing and chooses the hint again.
    NeighbourLog::hints = 1;
    EXPECT_TRUE(WeaponsHandleClick(0, 0));
    ASSERT_EQ(1, weapons_count);
    EXPECT_EQ(3, weapons_list[0]->m_type);
    EXPECT_EQ(0, sidebar_placing);
    EXPECT_EQ(std::vector<std::string>{"SoundPlay 21"}, NeighbourLog::Take());
    EXPECT_STREQ("Place a factory in the garden.", tutorial_text);
    // Where it does not fit, the release is not taken.
    sidebar_placing = 1;
    EXPECT_FALSE(WeaponsHandleClick(0, 0));
    EXPECT_EQ(1, weapons_count);
}
