// Gardens and levels: the road data reader over damaged and generated files,
// the tuning per garden and difficulty, the banner and the garden picture.
#include "game/Levels.h"

#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <memory>

namespace {

// A small valid road for garden 0: twenty steps across the middle, a cell
// of the ground map blocked.
std::vector<unsigned char> SmallRoadFile()
{
    std::unique_ptr<_TraverseData> data(new _TraverseData());
    memset(data.get(), 0, sizeof(*data));
    data->num_steps = 20;
    data->end_steps = 20;
    for (int i = 0; i < 20; i++) {
        data->point[i] = {-1.1f + i * 0.1f, 0.0f};
        data->heading[i] = std::atan2(0.0f, -1.0f);
    }
    data->ground_map[40 * 512 + 256] = 1;
    data->reserved = 1.0f;
    data->step_length = 0.1f;
    std::vector<unsigned char> bytes(ROAD_DATA_FILE_SIZE);
    RoadDataEncode(*data, bytes.data());
    return bytes;
}

void WriteFile(const std::string &path, const std::vector<unsigned char> &bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteWhole(path, std::string(bytes.begin(), bytes.end()));
}

class LevelsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        std::filesystem::remove_all("Data");
    }
    void TearDown() override
    {
        ResetPlayForTest();
        std::filesystem::remove_all("Data");
    }

    // The road as after a refusal, and no grid built.
    static void ExpectNoRoad()
    {
        EXPECT_EQ(0, traverse_data.num_steps);
        EXPECT_EQ(0, traverse_data.end_steps);
        EXPECT_EQ(0.0f, traverse_data.point[0].x);
        EXPECT_EQ(1.0f, traverse_data.step_length);
        EXPECT_EQ(7, play_grid[40 * 512 + 256]);
    }
};

}  // namespace

TEST_F(LevelsTest, TheRoadReaderRefusesDamagedFiles)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto put_int = [](std::vector<unsigned char> &b, size_t at, int32_t v) { memcpy(&b[at], &v, 4); };
    auto put_float = [](std::vector<unsigned char> &b, size_t at, float v) { memcpy(&b[at], &v, 4); };
    const char *damaged = "Damaged road data in <Data/1130.dat>: ";
    struct Case {
        const char *name;
        std::function<void(std::vector<unsigned char> &)> damage;
        std::string log;  // "" when the file layer reports
    };
    const Case cases[] = {
        {"version 1.2000001", [&](std::vector<unsigned char> &b) { put_float(b, 0, std::nextafter(1.2f, 2.0f)); },
         ErrorLine("TraverseSetup", "Incorrect version [1.200000] not [1.200000] in file")},
        {"one byte short", [](std::vector<unsigned char> &b) { b.pop_back(); }, ""},
        {"no steps", [&](std::vector<unsigned char> &b) { put_int(b, 4, 0); },
         ErrorLine("TraverseSetup", std::string(damaged) + "Bad step count 0")},
        {"16001 steps", [&](std::vector<unsigned char> &b) { put_int(b, 4, 16001); },
         ErrorLine("TraverseSetup", std::string(damaged) + "Bad step count 16001")},
        {"end step 0", [&](std::vector<unsigned char> &b) { put_int(b, 64008, 0); },
         ErrorLine("TraverseSetup", std::string(damaged) + "Bad end step 0 of 20")},
        {"end step N + 1", [&](std::vector<unsigned char> &b) { put_int(b, 64008, 21); },
         ErrorLine("TraverseSetup", std::string(damaged) + "Bad end step 21 of 20")},
        {"a point far off the board", [&](std::vector<unsigned char> &b) { put_float(b, 64012 + 19 * 8, 1e9f); },
         ErrorLine("TraverseSetup", std::string(damaged) + "Point too far from the board at step 19")},
        {"a heading not a number", [&](std::vector<unsigned char> &b) { put_float(b, 8 + 3 * 4, nan); },
         ErrorLine("TraverseSetup", std::string(damaged) + "Bad value at step 3")},
    };
    levels_garden = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes = SmallRoadFile();
        c.damage(bytes);
        WriteFile("Data/1130.dat", bytes);
        memset(play_grid, 7, sizeof(play_grid));
        DebugClearLogs();
        EXPECT_FALSE(LevelsSetupGarden());
        ExpectNoRoad();
        if (!c.log.empty())
            EXPECT_EQ(c.log, LastStored());
        else
            EXPECT_GT(DebugGetNumMessages(), 0);
    }

    // A missing file too.
    std::filesystem::remove("Data/1130.dat");
    memset(play_grid, 7, sizeof(play_grid));
    EXPECT_FALSE(LevelsSetupGarden());
    ExpectNoRoad();
}

TEST_F(LevelsTest, AnUnusableStepLengthBecomesOne)
{
    levels_garden = 0;
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), 0.0f, -1.0f}) {
        std::vector<unsigned char> bytes = SmallRoadFile();
        memcpy(&bytes[454168], &bad, 4);
        WriteFile("Data/1130.dat", bytes);
        ASSERT_TRUE(TraverseSetup()) << bad;
        EXPECT_EQ(20, traverse_data.num_steps);
        EXPECT_EQ(1.0f, traverse_data.step_length) << bad;
    }
}

TEST_F(LevelsTest, AGoodRoadBuildsTheGrid)
{
    levels_garden = 0;
    std::vector<unsigned char> bytes = SmallRoadFile();
    bytes.resize(bytes.size() + 100, 0xAB);  // bytes past the block are not read
    WriteFile("Data/1130.dat", bytes);
    memset(play_grid, 7, sizeof(play_grid));
    // No device: the picture cannot be made, after the grid.
    EXPECT_FALSE(LevelsSetupGarden());
    EXPECT_EQ(20, traverse_data.num_steps);
    EXPECT_EQ(0.1f, traverse_data.step_length);
    EXPECT_EQ(4.0f, levels_step_rate);
    EXPECT_EQ(1, play_grid[40 * 512 + 256]);
    EXPECT_EQ(0, play_grid[40 * 512 + 257]);
}

TEST_F(LevelsTest, TheGeneratedRoadsReadAndKeepTheirTargetWindowsOnTheBoard)
{
    for (int garden = 0; garden < 4; garden++) {
        SCOPED_TRACE(garden);
        std::string name = "Data/113" + std::to_string(garden) + ".dat";
        std::filesystem::create_directories("Data");
        std::filesystem::copy_file(std::string(HW_DATA_DIR) + "/113" + std::to_string(garden) + ".dat", name);
        levels_garden = garden;
        LevelsInitForNewLevel();
        ASSERT_TRUE(TraverseSetup());
        const int steps = traverse_data.num_steps;
        EXPECT_EQ(steps, traverse_data.end_steps);
        EXPECT_GT(steps, 1000);
        HiveWatcherBuildGrid();
        int cell_x, cell_y;
        for (int i = 0; i < steps; i++) {
            _TraversePoint p = traverse_data.point[i];
            bool on_board = std::fabs(p.x) <= 1.0f && std::fabs(p.y) <= 1.0f;
            if (i > levels_target_start && i < steps - levels_target_end) {
                ASSERT_TRUE(on_board) << "step " << i;
            }
            if (!on_board)
                continue;
            HiveWatcherBoardToGrid(p.x, p.y, &cell_x, &cell_y);
            ASSERT_NE(0, play_grid[cell_x * 512 + cell_y]) << "step " << i;
        }
        // The road starts and ends off the board.
        EXPECT_GT(std::max(std::fabs(traverse_data.point[0].x), std::fabs(traverse_data.point[0].y)), 1.0f);
        _TraversePoint last = traverse_data.point[steps - 1];
        EXPECT_GT(std::max(std::fabs(last.x), std::fabs(last.y)), 1.0f);
    }
}

TEST_F(LevelsTest, TuningByGardenAndDifficulty)
{
    struct Case {
        int garden, difficulty;
        float reward, difficulty_factor, start, end;
        const char *banner;
    };
    const Case cases[] = {
        {0, 0, 0.82f, 1.0f, 150, 100, "LEVEL  1"},   {1, 2, 0.79f, 1.1f, 200, 150, "LEVEL  1X"},
        {2, 1, 0.9f, 1.05f, 180, 100, "LEVEL  1T"},  {3, 0, 0.9f, 1.0f, 180, 100, "LEVEL  1"},
    };
    play_level = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.garden);
        levels_garden = c.garden;
        levels_difficulty = c.difficulty;
        eng_main_program_time = 3.0;
        EXPECT_TRUE(LevelsInitForNewLevel());
        EXPECT_EQ(c.reward, levels_reward_factor);
        EXPECT_EQ((float)(1.0 + c.difficulty * (double)0.05f), levels_difficulty_factor);
        EXPECT_FLOAT_EQ(c.difficulty_factor, levels_difficulty_factor);
        EXPECT_EQ(c.start, levels_target_start);
        EXPECT_EQ(c.end, levels_target_end);
        EXPECT_STREQ(c.banner, levels_banner_text);
        EXPECT_EQ(0, levels_banner_state);
        EXPECT_EQ(3.0, levels_banner_time);
    }

    // A bad difficulty is put back to NORMAL.
    levels_garden = 1;
    levels_difficulty = 3;
    play_level = 8;
    LevelsInitForNewLevel();
    EXPECT_EQ(0, levels_difficulty);
    EXPECT_EQ(ErrorLine("LevelsInitForNewLevel", "Bad level difficulty: 3."), StoredLines().at(0));
    EXPECT_STREQ("LEVEL  9", levels_banner_text);

    // No garden: neutral tuning and the banner left alone.
    levels_garden = -1;
    levels_difficulty = 2;
    levels_banner_state = -1;
    LevelsInitForNewLevel();
    EXPECT_EQ(1.0f, levels_reward_factor);
    EXPECT_EQ(1.0f, levels_difficulty_factor);
    EXPECT_EQ(150.0f, levels_target_start);
    EXPECT_EQ(100.0f, levels_target_end);
    EXPECT_EQ(-1, levels_banner_state);
}

TEST_F(LevelsTest, NamesOfDifficultiesAndFiles)
{
    EXPECT_STREQ("NORMAL", LevelsGetDifficultyAsText(0));
    EXPECT_STREQ("TOUGH", LevelsGetDifficultyAsText(1));
    EXPECT_STREQ("EXTREME", LevelsGetDifficultyAsText(2));
    EXPECT_STREQ("", LevelsGetDifficultyAsText(3));
    EXPECT_EQ(ErrorLine("LevelsGetDifficultyAsText", "Unsupported: 3"), LastStored());
    EXPECT_STREQ("", LevelsGetDifficultyAsText(-1));

    levels_garden = 2;
    const char *picture = LevelsGetPicFilename();
    EXPECT_STREQ("Data/1102.dat", picture);
    const char *road = LevelsGetTravCalcsFilename();
    EXPECT_STREQ("Data/1132.dat", road);
    EXPECT_EQ(picture, road);
}

TEST_F(LevelsTest, TheBannerWaitsFadesInHoldsAndFadesOut)
{
    levels_garden = 0;
    play_level = 4;
    eng_main_program_time = 10.0;
    LevelsInitForNewLevel();
    play_frame_time = 0.1f;
    // Each row: the moment, how many frames pass at it, and the result.
    struct Step {
        double now;
        int frames;
        int state;
        float alpha;
    };
    const Step steps[] = {
        {10.4, 1, 0, 0.0f},   {10.5, 1, 1, 0.0f},  {10.6, 1, 1, 0.15f}, {11.1, 5, 1, 0.9f},
        {11.2, 1, 2, 1.0f},   {11.39, 1, 2, 1.0f}, {11.41, 1, 3, 1.0f},  {11.5, 1, 3, 0.85f},
        {12.0, 5, 3, 0.1f},   {12.1, 1, -1, 0.0f}, {12.2, 1, -1, 0.0f},
    };
    for (const Step &s : steps) {
        eng_main_program_time = s.now;
        for (int i = 0; i < s.frames; i++)
            LevelsUpdateBanner();
        EXPECT_EQ(s.state, levels_banner_state) << s.now;
        EXPECT_NEAR(s.alpha, levels_banner_alpha, 1e-5) << s.now;
    }
    LevelsHideBanner();
    EXPECT_EQ(-1, levels_banner_state);
}

namespace {

// The garden picture needs a device: the recording one.
class GardenPictureTest : public RecordingDeviceTest {
protected:
    void SetUp() override
    {
        RecordingDeviceTest::SetUp();
        ResetPlayForTest();
        std::filesystem::create_directories("Data");
    }
    void TearDown() override
    {
        ResetPlayForTest();
        std::filesystem::remove_all("Data");
        RecordingDeviceTest::TearDown();
    }
};

// Each pixel tells its position: red x, green y, blue the high bits of both.
DWORD Where(int x, int y)
{
    return 0xFF000000u | (x & 255) << 16 | (y & 255) << 8 | (x >> 8) | (y >> 8) << 2;
}

}  // namespace

TEST_F(GardenPictureTest, OnlyTheMiddleSevenEighthsAreShown)
{
    const struct {
        int side, first, last;
    } cases[] = {{512, 32, 479}, {1024, 64, 959}};
    levels_garden = 1;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.side);
        ASSERT_TRUE(WritePng("Data/1101.dat", c.side, c.side, Where));
        ASSERT_TRUE(LevelsCreateGraphics());
        std::vector<DWORD> pixels = ReadPixels(LevelsGetGardenPicture());
        ASSERT_EQ((size_t)c.side * c.side, pixels.size());
        EXPECT_EQ(Where(c.first, c.first), pixels.front());
        EXPECT_EQ(Where(c.last, c.last), pixels.back());
        EXPECT_EQ(Where(c.last, c.first), pixels[c.side - 1]);
    }

    ASSERT_TRUE(WritePng("Data/1101.dat", 640, 480, Where));
    EXPECT_FALSE(LevelsCreateGraphics());
    EXPECT_EQ(ErrorLine("LevelsCreateGraphics", "Bad tex size (640 x 480)."), LastStored());
    EXPECT_FALSE(LevelsGetGardenPicture()->IsCreated());

    // No garden: nothing to make.
    levels_garden = -1;
    EXPECT_TRUE(LevelsCreateGraphics());
}
