#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/runtime/EngResModes.h"

#include <gtest/gtest.h>

namespace {

class EngResModesTest : public testing::Test {
protected:
    void SetUp() override { ResetRuntimeForTest(); }
    void TearDown() override
    {
        eng_device_type = EDT_DX9;
        VirtualClock::Remove();
    }

    void SetModes(std::vector<PlatformHeadlessMode> modes, PlatformHeadlessMode desktop = {1920, 1080, 32, 60})
    {
        PlatformHeadlessSetModes(modes.data(), static_cast<int>(modes.size()), &desktop);
    }
};

TEST_F(EngResModesTest, ModesAreListedOncePerSizeAndDepthLargestFirst)
{
    SetModes({{800, 600, 32, 60},
              {800, 600, 32, 75},
              {1024, 768, 16, 60},
              {1024, 768, 32, 60},
              {800, 600, 16, 60},
              {1280, 1024, 32, 60}});
    EngResModes modes;
    ASSERT_TRUE(modes.IsSetup());
    ASSERT_EQ(modes.GetNumModes(), 5);
    const int expected[][3] = {{1280, 1024, 32}, {1024, 768, 32}, {800, 600, 32}, {1024, 768, 16}, {800, 600, 16}};
    for (int i = 0; i < 5; i++) {
        _EngResMode *mode = modes.GetMode(i);
        ASSERT_NE(mode, nullptr);
        EXPECT_EQ(mode->width, expected[i][0]) << i;
        EXPECT_EQ(mode->height, expected[i][1]) << i;
        EXPECT_EQ(mode->bits, expected[i][2]) << i;
    }
    EXPECT_EQ(modes.GetMode(5), nullptr);
    EXPECT_EQ(modes.GetMode(-1), nullptr);
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngResModes::GetMode )    Bad mode num 5 (5)."));
    ASSERT_NE(modes.GetWindowedMode(), nullptr);
    EXPECT_EQ(modes.GetWindowedMode()->width, 1920);
    EXPECT_EQ(modes.GetWindowedMode()->bits, 32);
}

TEST_F(EngResModesTest, TheClosestModeWeighsDepthAboveSize)
{
    SetModes({{1024, 768, 32, 60}, {1024, 768, 16, 60}, {640, 480, 16, 60}});
    EngResModes modes;
    struct Case {
        int width, height, bits;
        int found_width, found_height, found_bits;
    };
    const Case cases[] = {
        {1000, 700, 16, 1024, 768, 16},
        {1000, 700, 32, 1024, 768, 32},
        {700, 500, 16, 640, 480, 16},
        // Any size at 32 bits beats the right size at the wrong depth.
        {640, 480, 32, 1024, 768, 32},
    };
    for (const Case &c : cases) {
        int width = c.width, height = c.height, bits = c.bits, refresh = 75;
        ASSERT_EQ(modes.GetClosestFullScreenModeToMode(&width, &height, &bits, &refresh), 1);
        EXPECT_EQ(width, c.found_width);
        EXPECT_EQ(height, c.found_height);
        EXPECT_EQ(bits, c.found_bits);
        EXPECT_EQ(refresh, 0);
    }
    int width = 0, bits = 0;
    EXPECT_EQ(modes.GetClosestFullScreenModeToMode(&width, nullptr, &bits, nullptr), 0);
    EXPECT_TRUE(
        WasStored(" <ERROR>  ( EngResModes::GetClosestFullScreenModeToMode_DX9 )    Invalid Parameters"));
}

TEST_F(EngResModesTest, TheWindowedModeIsTheDesktopsDepthOnTheWorkArea)
{
    SetModes({{1024, 768, 32, 60}}, {1600, 900, 16, 60});
    PlatformHeadlessSetWorkArea(0, 0, 1600, 860);
    EngResModes modes;
    int width = 0, height = 0, bits = 0, refresh = 60;
    ASSERT_EQ(modes.GetWindowedModeDetails(&width, &height, &bits, &refresh), 1);
    EXPECT_EQ(width, 1600);
    EXPECT_EQ(height, 860);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(refresh, 0);
}

TEST_F(EngResModesTest, WithoutModesNothingIsSetUp)
{
    SetModes({});
    EngResModes modes;
    EXPECT_FALSE(modes.IsSetup());
    EXPECT_EQ(modes.GetNumModes(), 0);
    int width = 800, height = 600, bits = 32;
    EXPECT_EQ(modes.GetClosestFullScreenModeToMode(&width, &height, &bits, nullptr), 0);
    EXPECT_EQ(width, 800);
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngResModes::GetModesAvailable )    No modes."));
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngResModes::GetNumModes )    Not setup."));

    // Without a device kind there is no list either.
    eng_device_type = EDT_NONE;
    EngResModes none;
    EXPECT_FALSE(none.IsSetup());
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngResModes::GetModesAvailable )    Device type not set"));
}

} // namespace
