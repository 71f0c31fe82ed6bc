// The road data layout and its checked reading.
#include "game/RoadDataFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace {

// A small valid road: ten steps along y = 0 from x = -1.05.
std::unique_ptr<_TraverseData> SmallRoad()
{
    std::unique_ptr<_TraverseData> data(new _TraverseData());
    memset(data.get(), 0, sizeof(*data));
    data->num_steps = 10;
    data->end_steps = 10;
    for (int i = 0; i < 10; i++) {
        data->point[i] = {-1.05f + i * 0.01f, 0.0f};
        data->heading[i] = std::atan2(0.0f, -1.0f);
    }
    data->ground_map[40 * 512 + 256] = 1;
    data->reserved = 1.0f;
    data->step_length = 0.01f;
    return data;
}

std::vector<unsigned char> Encoded(const _TraverseData &data)
{
    std::vector<unsigned char> bytes(ROAD_DATA_FILE_SIZE);
    RoadDataEncode(data, bytes.data());
    return bytes;
}

template <typename T> T At(const std::vector<unsigned char> &bytes, size_t offset)
{
    T value;
    memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

}  // namespace

TEST(RoadDataFileTest, EncodesFieldsAtTheirFileOffsets)
{
    std::unique_ptr<_TraverseData> data = SmallRoad();
    data->point[9] = {0.25f, -0.5f};
    std::vector<unsigned char> bytes = Encoded(*data);

    ASSERT_EQ(454172u, bytes.size());
    EXPECT_EQ(1.2f, At<float>(bytes, 0));
    EXPECT_EQ(10, At<int32_t>(bytes, 4));
    EXPECT_EQ(data->heading[3], At<float>(bytes, 8 + 3 * 4));
    EXPECT_EQ(10, At<int32_t>(bytes, 64008));
    EXPECT_EQ(0.25f, At<float>(bytes, 64012 + 9 * 8));
    EXPECT_EQ(-0.5f, At<float>(bytes, 64012 + 9 * 8 + 4));
    EXPECT_EQ(1, bytes[192020 + 40 * 512 + 256]);
    EXPECT_EQ(1.0f, At<float>(bytes, 454164));
    EXPECT_EQ(0.01f, At<float>(bytes, 454168));
}

TEST(RoadDataFileTest, DecodesWhatWasEncodedAndIgnoresTrailingBytes)
{
    std::unique_ptr<_TraverseData> data = SmallRoad();
    std::vector<unsigned char> bytes = Encoded(*data);
    bytes.resize(bytes.size() + 7, 0xEE);

    std::unique_ptr<_TraverseData> read(new _TraverseData());
    char why[128] = "";
    ASSERT_TRUE(RoadDataDecode(bytes.data(), bytes.size(), read.get(), why, sizeof(why))) << why;
    EXPECT_EQ(0, memcmp(data.get(), read.get(), sizeof(*data)));
}

TEST(RoadDataFileTest, RefusesDamagedFiles)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char *name;
        std::function<void(std::vector<unsigned char> &)> damage;
        const char *reason;
    };
    auto put_int = [](std::vector<unsigned char> &b, size_t at, int32_t v) { memcpy(&b[at], &v, 4); };
    auto put_float = [](std::vector<unsigned char> &b, size_t at, float v) { memcpy(&b[at], &v, 4); };
    const Case cases[] = {
        {"one byte short", [](std::vector<unsigned char> &b) { b.pop_back(); }, "Short road data (454171 bytes)"},
        {"version 1.2000001", [&](std::vector<unsigned char> &b) { put_float(b, 0, std::nextafter(1.2f, 2.0f)); },
         "Incorrect version [1.200000] not [1.200000] in file"},
        {"no steps", [&](std::vector<unsigned char> &b) { put_int(b, 4, 0); }, "Bad step count 0"},
        {"more steps than the table", [&](std::vector<unsigned char> &b) { put_int(b, 4, 16001); },
         "Bad step count 16001"},
        {"end step 0", [&](std::vector<unsigned char> &b) { put_int(b, 64008, 0); }, "Bad end step 0 of 10"},
        {"end step past the road", [&](std::vector<unsigned char> &b) { put_int(b, 64008, 11); },
         "Bad end step 11 of 10"},
        {"heading not a number", [&](std::vector<unsigned char> &b) { put_float(b, 8 + 9 * 4, nan); },
         "Bad value at step 9"},
        {"point not a number", [&](std::vector<unsigned char> &b) { put_float(b, 64012 + 4 * 8 + 4, nan); },
         "Bad value at step 4"},
        {"point far off the board", [&](std::vector<unsigned char> &b) { put_float(b, 64012 + 2 * 8, -8.5f); },
         "Point too far from the board at step 2"},
    };
    for (const Case &c : cases) {
        std::vector<unsigned char> bytes = Encoded(*SmallRoad());
        c.damage(bytes);
        std::unique_ptr<_TraverseData> read(new _TraverseData());
        char why[128] = "";
        EXPECT_FALSE(RoadDataDecode(bytes.data(), bytes.size(), read.get(), why, sizeof(why))) << c.name;
        EXPECT_STREQ(c.reason, why) << c.name;
    }
}

TEST(RoadDataFileTest, ValuesPastTheStepsInUseAreNotChecked)
{
    std::unique_ptr<_TraverseData> data = SmallRoad();
    data->heading[10] = std::numeric_limits<float>::infinity();
    data->point[10].x = std::numeric_limits<float>::quiet_NaN();
    char why[128] = "";
    EXPECT_TRUE(RoadDataCheck(*data, why, sizeof(why))) << why;
}

TEST(RoadDataFileTest, UnusableStepLengthBecomesOne)
{
    for (float bad : {0.0f, -0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        std::unique_ptr<_TraverseData> data = SmallRoad();
        data->step_length = bad;
        std::vector<unsigned char> bytes = Encoded(*data);
        char why[128] = "";
        ASSERT_TRUE(RoadDataDecode(bytes.data(), bytes.size(), data.get(), why, sizeof(why))) << why;
        EXPECT_EQ(1.0f, data->step_length) << bad;
    }
}

TEST(RoadDataFileTest, BoardCoordinatesMapToGridCells)
{
    struct Case {
        float board;
        int cell;
    };
    // Cell = round((b + 1) * 224) + 32, exact halves toward zero: b + 1 of
    // 1/64 gives exactly 3.5 and 3/64 exactly 10.5.
    const Case cases[] = {
        {-1.0f, 32},        {1.0f, 480},       {0.0f, 256},       {-0.75f, 88},  {-1.0f + 1.0f / 64.0f, 35},
        {-1.0f + 3.0f / 64.0f, 42}, {-1.0f - 1.0f / 64.0f, 29}, {-0.98f, 36}, {-1.2f, -13},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.cell, RoadDataCellOf(c.board)) << c.board;
}
