// The generated gardens in <build>/Data: each road data file read back
// through the game's layout, each picture checked against its road, and the
// generator's determinism and its refusal of unplayable definitions.
#include "game/RoadDataFile.h"
#include "tests/tools/datagen/DataGenTestSupport.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

const double PI = 3.14159265358979323846;

// The game's target window per garden: steps from the start, steps before
// the end.
struct TargetWindow {
    int start, end;
};
const TargetWindow WINDOWS[4] = {{150, 100}, {200, 150}, {180, 100}, {180, 100}};

std::vector<unsigned char> ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string DataFile(const char *prefix, int garden)
{
    return std::string(HW_DATA_DIR) + "/" + prefix + std::to_string(garden) + ".dat";
}

bool OnBoard(const _TraversePoint &p) { return std::fabs(p.x) <= 1.0f && std::fabs(p.y) <= 1.0f; }

struct Rgb {
    double r, g, b;
};

double Distance(Rgb a, Rgb b)
{
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b));
}

// The colour's share of each channel: the same for a colour in sun and in
// shade, so only what a thing is coloured like counts, not how it is lit.
Rgb Chromaticity(Rgb c)
{
    double sum = std::max(1.0, c.r + c.g + c.b);
    return Rgb{c.r / sum, c.g / sum, c.b / sum};
}

class Picture {
public:
    explicit Picture(const std::string &path)
    {
        std::vector<unsigned char> bytes = ReadAll(path);
        m_pixels = stbi_load_from_memory(bytes.data(), (int)bytes.size(), &m_width, &m_height, &m_channels, 3);
    }
    ~Picture() { stbi_image_free(m_pixels); }
    bool Loaded() const { return m_pixels != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Mean colour of the 9 x 9 pixels (0.02 board units) round the pixel
    // under board point (x, y), which evens out the surfaces' grain; a 1024
    // picture maps board b to pixel (b + 1) * 448 + 64.
    Rgb Around(double x, double y) const
    {
        int px = (int)std::floor((x + 1.0) * 448.0 + 64.0), py = (int)std::floor((y + 1.0) * 448.0 + 64.0);
        Rgb sum{0, 0, 0};
        for (int dy = -4; dy <= 4; dy++) {
            for (int dx = -4; dx <= 4; dx++) {
                const unsigned char *p = m_pixels + ((size_t)(py + dy) * m_width + (px + dx)) * 3;
                sum.r += p[0] / 81.0;
                sum.g += p[1] / 81.0;
                sum.b += p[2] / 81.0;
            }
        }
        return sum;
    }

private:
    unsigned char *m_pixels = nullptr;
    int m_width = 0, m_height = 0, m_channels = 0;
};

class GardenFilesTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        std::vector<unsigned char> bytes = ReadAll(DataFile("113", GetParam()));
        m_size = bytes.size();
        m_road.reset(new _TraverseData());
        char why[128] = "";
        m_read = RoadDataDecode(bytes.data(), bytes.size(), m_road.get(), why, sizeof(why));
        m_why = why;
        if (bytes.size() >= 8)
            memcpy(&m_version, bytes.data(), sizeof(m_version));
    }

    size_t m_size = 0;
    bool m_read = false;
    std::string m_why;
    float m_version = 0.0f;
    std::unique_ptr<_TraverseData> m_road;
};

}  // namespace

TEST_P(GardenFilesTest, RoadFileHasTheGamesLayoutAndSuitsItsSpeeds)
{
    EXPECT_EQ(454172u, m_size);
    EXPECT_EQ(1.2f, m_version);
    ASSERT_TRUE(m_read) << m_why;
    const _TraverseData &road = *m_road;
    EXPECT_EQ(road.num_steps, road.end_steps);
    EXPECT_EQ(0.001f, road.step_length);
    EXPECT_EQ(1.0f, road.reserved);
    // Bugs cover 120 to 240 steps a second: a road of 5 to 8 board units
    // takes the fastest about 20 s or more to walk.
    double length = road.num_steps * (double)road.step_length;
    EXPECT_GE(length, 5.0);
    EXPECT_LE(length, 8.0);
}

TEST_P(GardenFilesTest, StepsAreOneStepApartAndHeadingsFollowTheMotion)
{
    ASSERT_TRUE(m_read) << m_why;
    const _TraverseData &road = *m_road;
    int uneven = 0, misheaded = 0;
    for (int i = 0; i + 1 < road.num_steps; i++) {
        double dx = (double)road.point[i + 1].x - road.point[i].x;
        double dy = (double)road.point[i + 1].y - road.point[i].y;
        if (std::fabs(std::hypot(dx, dy) - road.step_length) > 1e-6)
            uneven++;
        // A bug is drawn turned by the negated heading, atan2(dy, -dx).
        double off = std::remainder(road.heading[i] - std::atan2(dy, -dx), 2.0 * PI);
        if (std::fabs(off) > 1e-4)
            misheaded++;
    }
    EXPECT_EQ(0, uneven);
    EXPECT_EQ(0, misheaded);
    EXPECT_EQ(road.heading[road.num_steps - 2], road.heading[road.num_steps - 1]);
}

TEST_P(GardenFilesTest, RoadRunsFromOffTheBoardToOffTheBoardThroughTheTargetWindow)
{
    ASSERT_TRUE(m_read) << m_why;
    const _TraverseData &road = *m_road;
    int n = road.num_steps;
    EXPECT_FALSE(OnBoard(road.point[0]));
    EXPECT_FALSE(OnBoard(road.point[n - 1]));
    TargetWindow window = WINDOWS[GetParam()];
    int off = 0;
    for (int i = window.start; i <= n - window.end; i++)
        off += OnBoard(road.point[i]) ? 0 : 1;
    EXPECT_EQ(0, off) << "steps of the target window off the board";
}

TEST_P(GardenFilesTest, GroundMapBlocksTheRoadAndLeavesRoomToBuild)
{
    ASSERT_TRUE(m_read) << m_why;
    const _TraverseData &road = *m_road;
    int unblocked = 0;
    for (int i = 0; i < road.num_steps; i++) {
        int cx = RoadDataCellOf(road.point[i].x), cy = RoadDataCellOf(road.point[i].y);
        if (cx >= 0 && cy >= 0 && cx < ROAD_GRID_SIDE && cy < ROAD_GRID_SIDE &&
            road.ground_map[cx * ROAD_GRID_SIDE + cy] == 0)
            unblocked++;
    }
    EXPECT_EQ(0, unblocked) << "road steps on free ground";

    int free = 0, cells = 0;
    for (int cx = ROAD_GRID_FIRST_BOARD_CELL; cx <= ROAD_GRID_LAST_BOARD_CELL; cx++) {
        for (int cy = ROAD_GRID_FIRST_BOARD_CELL; cy <= ROAD_GRID_LAST_BOARD_CELL; cy++) {
            cells++;
            free += road.ground_map[cx * ROAD_GRID_SIDE + cy] == 0 ? 1 : 0;
        }
    }
    EXPECT_GE(free, cells / 2) << "at least half the board stays buildable";
    EXPECT_LE(free, cells * 85 / 100) << "the road and the decorations block a fair share";
}

TEST_P(GardenFilesTest, PictureShowsTheRoadWhereTheRoadDataRuns)
{
    ASSERT_TRUE(m_read) << m_why;
    const _TraverseData &road = *m_road;
    Picture picture(DataFile("110", GetParam()));
    ASSERT_TRUE(picture.Loaded());
    ASSERT_EQ(1024, picture.Width());
    ASSERT_EQ(1024, picture.Height());

    // What lies under the road's on-board steps, and what lies on the
    // ground where weapons may stand, sampled every few cells.
    std::vector<Rgb> under, ground;
    for (int i = 0; i < road.num_steps; i++)
        if (OnBoard(road.point[i]))
            under.push_back(Chromaticity(picture.Around(road.point[i].x, road.point[i].y)));
    for (int cx = ROAD_GRID_FIRST_BOARD_CELL + 2; cx <= ROAD_GRID_LAST_BOARD_CELL - 2; cx += 6)
        for (int cy = ROAD_GRID_FIRST_BOARD_CELL + 2; cy <= ROAD_GRID_LAST_BOARD_CELL - 2; cy += 6)
            if (road.ground_map[cx * ROAD_GRID_SIDE + cy] == 0)
                ground.push_back(Chromaticity(picture.Around((cx - 32) / 224.0 - 1.0, (cy - 32) / 224.0 - 1.0)));
    ASSERT_GT(under.size(), 1000u);
    ASSERT_GT(ground.size(), 1000u);

    // Both are textured and shaded; the per-channel medians of their
    // chromaticities stand for them, and a sample looks like road when its
    // chromaticity is nearer the road's than the ground's.
    auto median = [](const std::vector<Rgb> &samples) {
        auto channel = [&](double Rgb::*c) {
            std::vector<double> v;
            for (const Rgb &s : samples)
                v.push_back(s.*c);
            std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
            return v[v.size() / 2];
        };
        return Rgb{channel(&Rgb::r), channel(&Rgb::g), channel(&Rgb::b)};
    };
    Rgb road_colour = median(under), ground_colour = median(ground);
    ASSERT_GT(Distance(road_colour, ground_colour), 0.05) << "the road stands out from the ground";
    auto road_like = [&](Rgb c) { return Distance(c, road_colour) < Distance(c, ground_colour); };

    size_t on_road = std::count_if(under.begin(), under.end(), road_like);
    size_t off_road = std::count_if(ground.begin(), ground.end(), road_like);
    EXPECT_GE(on_road, under.size() * 98 / 100) << "steps where the picture shows no road";
    EXPECT_LE(off_road, ground.size() * 2 / 100) << "free ground that looks like road";
}

INSTANTIATE_TEST_SUITE_P(Gardens, GardenFilesTest, testing::Range(0, 4));

namespace {

}  // namespace

TEST(GardenGeneratorTest, WritesTheSameBytesOnEveryRun)
{
    std::string printed;
    ASSERT_EQ(0, RunGenerator(HW_DATA_SOURCE_DIR, "again", &printed)) << printed;
    int compared = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator("again")) {
        if (!entry.is_regular_file())
            continue;
        std::string name = std::filesystem::relative(entry.path(), "again").string();
        EXPECT_TRUE(ReadAll(entry.path().string()) == ReadAll(std::string(HW_DATA_DIR) + "/" + name)) << name;
        compared++;
    }
    EXPECT_GE(compared, 8);
}

// A small garden that plays: a road in from the left, round a bend and out
// to the left again, and one rock.
static const char *const FIXTURE_GARDEN = R"({
  "garden": @, "name": "Test", "seed": 1, "target_window": [150, 100],
  "ground": { "colour": "#5f9b37", "dark": "#487f2a", "light": "#79b045",
              "blade_dark": "#3d7524", "blade_light": "#8cc456" },
  "road": {
    "surface": "dirt", "colour": "#a07a4c", "dark": "#86623a", "light": "#b8925f",
    "edge": "stones", "edge_colour": "#6d6a33", "edge_width": 0.01,
    "half_width": 0.075, "step_length": 0.001, "margin": 0.008,
    "points": [[-1.08, -0.5], [0.0, -0.5], [0.6, -0.1], [0.0, 0.4], [-1.08, 0.5]]
  },
  "decorations": [ { "kind": "rock", "at": [0.5, 0.8], "radius": 0.05 } ]
})";

// Writes `count` fixture gardens into `folder`, garden 0 with `from`
// replaced by `to`.
static void WriteFixture(const std::string &folder, int count, const std::string &from, const std::string &to)
{
    std::filesystem::create_directories(folder + "/gardens");
    for (int g = 0; g < count; g++) {
        std::string text = FIXTURE_GARDEN;
        text.replace(text.find('@'), 1, std::to_string(g));
        if (g == 0 && !from.empty())
            text.replace(text.find(from), from.size(), to);
        std::ofstream(folder + "/gardens/garden" + std::to_string(g) + ".json", std::ios::binary) << text;
    }
}

TEST(GardenGeneratorTest, MakesBothFilesOfAPlayableGarden)
{
    WriteFixture("good", 4, "", "");
    std::string printed;
    ASSERT_EQ(0, RunGenerator("good", "good-out", &printed, "gardens")) << printed;
    EXPECT_EQ("", printed);
    for (int g = 0; g < 4; g++) {
        EXPECT_EQ(454172u, ReadAll("good-out/113" + std::to_string(g) + ".dat").size());
        EXPECT_TRUE(std::filesystem::exists("good-out/110" + std::to_string(g) + ".dat"));
    }
}

TEST(GardenGeneratorTest, RefusesGardensThatWouldNotPlay)
{
    struct Case {
        const char *name;
        std::string from, to;
        const char *refusal;
    };
    const Case cases[] = {
        {"road starting on the board", "[-1.08, -0.5]", "[-0.9, -0.5]", "the road must start and end off the board"},
        {"road leaving the board mid-way", "[0.6, -0.1]", "[1.3, -0.1]", "of the target window lies off the board"},
        {"road crossing itself", "[-1.08, 0.5]", "[-0.3, 0.0], [-0.35, -1.08]",
         "are too close for a weapon to stand between them"},
        {"hairpin bend", "[0.6, -0.1], [0.0, 0.4], [-1.08, 0.5]", "[0.6, -0.36], [0.0, -0.22], [-1.08, -0.22]",
         "the road bends too sharply"},
        {"more steps than the road data holds", "\"step_length\": 0.001", "\"step_length\": 0.0001",
         "it must have 2 to 16000"},
        {"decoration on the road", "[0.5, 0.8]", "[0.0, -0.5]", "decoration 0 (rock) reaches onto the road"},
        {"unknown surface", "\"dirt\"", "\"mud\"", "road: \"surface\" may not be \"mud\""},
        {"colour by name", "\"#5f9b37\"", "\"green\"", "ground \"colour\": colours are written \"#rrggbb\""},
        {"no road", "\"road\"", "\"path\"", "top: missing \"road\""},
        {"wrong garden number", "\"garden\": 0", "\"garden\": 2", "says it is garden 2"},
        {"not JSON", "{", "", "not a JSON object"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++) {
        const Case &c = cases[i];
        std::string folder = "bad" + std::to_string(i), out = folder + "-out";
        // Only garden 0: the others' absence is reported as well, but the
        // generator must name garden 0's fault.
        WriteFixture(folder, 1, c.from, c.to);
        std::string printed;
        EXPECT_NE(0, RunGenerator(folder, out, &printed, "gardens")) << c.name;
        EXPECT_NE(std::string::npos, printed.find("garden0.json: ")) << c.name << ": " << printed;
        EXPECT_NE(std::string::npos, printed.find(c.refusal)) << c.name << ": " << printed;
        EXPECT_FALSE(std::filesystem::exists(out + "/1100.dat")) << c.name;
        EXPECT_FALSE(std::filesystem::exists(out + "/1130.dat")) << c.name;
    }
}
