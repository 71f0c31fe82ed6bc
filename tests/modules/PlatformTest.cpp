// Platform letters and their icons: which letters are valid, the cell each
// draws from the icons texture ('m' shares 'M''s), and an unknown letter
// that draws nothing and is reported for its first 20 draws only.
#include "modules/Platform.h"

#include "engine/core/EngMath.h"
#include "tests/support/GuiTestKit.h"
#include "tests/support/TestLog.h"

#include <filesystem>

namespace {

class PlatformTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        if (!std::filesystem::exists("Data"))
            std::filesystem::create_directory_symlink(HW_DATA_DIR, "Data");
        PlatformResetForTests();
    }
    void TearDown() override
    {
        PlatformResetForTests();
        GuiTest::TearDown();
    }

    // The texture coordinates of the one quad drawn for the letter.
    std::vector<DrawnQuad> DrawIcon(char letter, float alpha)
    {
        const _Dimension rect = {10, 20, 32, 32};
        D3D9RecordingReset();
        EXPECT_TRUE(eng_device->BeginRendering());
        eng_device->PrepareFor2D(1);
        PlatformDrawIcon(letter, &rect, alpha);
        eng_device->RestoreAfter2D();
        eng_device->EndRendering();
        return DrawnQuads();
    }
};

TEST_F(PlatformTest, ValidLetters)
{
    EXPECT_EQ(PlatformGetCurrentPlatform(), 'W');
    for (char letter : std::string("ABFILMPRSWbmr"))
        EXPECT_TRUE(PlatformIsPlatformValid(letter, 1)) << letter;
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(PlatformIsPlatformValid('w', 0));
    EXPECT_FALSE(LogHas("Invalid platform"));
    EXPECT_FALSE(PlatformIsPlatformValid('w', 1));
    EXPECT_TRUE(LogHas("Invalid platform '119'."));
    EXPECT_FALSE(PlatformIsPlatformValid(0, 0));
}

TEST_F(PlatformTest, IconsComeFromTheirCells)
{
    EXPECT_TRUE(DrawIcon('W', 1).empty()) << "nothing before the texture is loaded";
    ASSERT_TRUE(PlatformCreateGraphics());
    const struct {
        char letter;
        int column, row;
    } cases[] = {{'M', 0, 0}, {'m', 0, 0}, {'W', 1, 0}, {'P', 3, 0}, {'A', 0, 1}, {'S', 3, 1}, {'F', 0, 2}, {'b', 3, 2}};
    for (const auto &c : cases) {
        std::vector<DrawnQuad> quads = DrawIcon(c.letter, 0.5f);
        ASSERT_EQ(quads.size(), 1u) << c.letter;
        EXPECT_NEAR(quads[0].u0, c.column * 0.25f + 0.01f, 1e-4) << c.letter;
        EXPECT_NEAR(quads[0].u1, c.column * 0.25f + 0.24f, 1e-4) << c.letter;
        EXPECT_NEAR(quads[0].v0, c.row * 0.25f + 0.01f, 1e-4) << c.letter;
        EXPECT_NEAR(quads[0].v1, c.row * 0.25f + 0.24f, 1e-4) << c.letter;
        EXPECT_EQ(quads[0].colour >> 24, 0x7fu) << c.letter;
    }
}

TEST_F(PlatformTest, AnUnknownLetterIsReportedTwentyTimes)
{
    ASSERT_TRUE(PlatformCreateGraphics());
    for (int i = 0; i < 25; i++)
        EXPECT_TRUE(DrawIcon('X', 1).empty());
    EXPECT_EQ(LogCount("Unknown platform: X"), 20);
}

TEST_F(PlatformTest, AMissingTextureIsReported)
{
    std::filesystem::remove("Data");
    std::filesystem::create_directory("Data");
    EXPECT_FALSE(PlatformCreateGraphics());
    EXPECT_TRUE(LogHas("Could not create texture"));
    std::filesystem::remove("Data");
}

} // namespace
