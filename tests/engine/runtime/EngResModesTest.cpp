#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/runtime/EngResModes.h"
#include "platform/d3d9/D3D9Runtime.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class EngResModesTest : public testing::Test {
protected:
    void SetUp() override { ResetRuntimeForTest(); }
    void TearDown() override
    {
        eng_device_type = EDT_DX9;
        D3D9RuntimeSetPresent(true);
        VirtualClock::Remove();
    }

    static std::vector<std::string> Texts(const _EngResMode *mode)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < mode->multisample_count; i++)
            texts.push_back(EngResModesGetMultisampleText_DX9(&mode->multisamples[i]));
        return texts;
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

TEST_F(EngResModesTest, FormatsOfOneDepthAndRefreshRatesCollapse)
{
    SetModes({{800, 600, 32, 60}, {800, 600, 32, 75}, {800, 600, 32, 60, D3DFMT_A8R8G8B8},
              {800, 600, 32, 75, D3DFMT_A8R8G8B8}, {800, 600, 16, 60}, {800, 600, 15, 60}});
    EngResModes modes;
    ASSERT_EQ(modes.GetNumModes(), 2);
    // The first format of the engine's table names the entry.
    EXPECT_EQ(modes.GetMode(0)->bits, 32);
    EXPECT_EQ(modes.GetMode(0)->format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(modes.GetMode(1)->bits, 16);
    EXPECT_EQ(modes.GetMode(1)->format, D3DFMT_R5G6B5);
    // The own Direct3D object and its runtime went once the list was made.
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), 0);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngResModesTest, EveryModeHasTheAntiAliasingChoicesOfItsGraphics)
{
    struct Case {
        std::vector<int> sample_counts;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        // Four non-maskable levels (2, 4, 6 and 8 samples) beat three types.
        {{2, 4, 8}, {"Off", "2x2", "4x4", "8x8", "Level 1", "Level 2", "Level 3", "Level 4"}},
        // Two levels do not beat two types.
        {{2, 4}, {"Off", "2x2", "4x4"}},
        {{4}, {"Off", "4x4", "Level 1", "Level 2"}},
        // Sixteen samples are not asked for.
        {{16}, {"Off", "Level 1", "Level 2", "Level 3", "Level 4", "Level 5", "Level 6", "Level 7", "Level 8"}},
        {{}, {"Off"}},
    };
    for (const Case &c : cases) {
        PlatformHeadlessSetSampleCounts(c.sample_counts.data(), static_cast<int>(c.sample_counts.size()));
        EngResModes modes;
        ASSERT_EQ(modes.GetNumModes(), 4);
        EXPECT_EQ(Texts(modes.GetMode(3)), c.texts);
        EXPECT_EQ(Texts(modes.GetWindowedMode()), c.texts);
    }
}

TEST_F(EngResModesTest, AChoiceIsNamedByItsTypeAndLevel)
{
    struct Case {
        int type, quality;
        const char *text;
    };
    const Case cases[] = {{0, 0, "Off"},       {1, 0, "Level 1"},     {1, 7, "Level 8"}, {4, 0, "4x4"},
                          {4, 2, "4x4 Level 3"}, {16, -1, "16x16"},     {17, 0, "?"},      {-1, 0, "?"}};
    for (const Case &c : cases) {
        _EngResModeMultisample choice = {c.type, c.quality};
        EXPECT_STREQ(EngResModesGetMultisampleText_DX9(&choice), c.text) << c.type << ", " << c.quality;
    }
    EXPECT_STREQ(EngResModesGetMultisampleText_DX9(nullptr), "(error)");
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

    // A desktop mode that cannot be had leaves a 32-bit record without
    // anti-aliasing.
    D3D9RecordingFailCall("GetAdapterDisplayMode", E_FAIL);
    EngResModes unknown_desktop;
    _EngResMode *windowed = unknown_desktop.GetWindowedMode();
    ASSERT_NE(windowed, nullptr);
    EXPECT_EQ(windowed->width, 0);
    EXPECT_EQ(windowed->bits, 32);
    EXPECT_EQ(windowed->format, 0);
    EXPECT_EQ(Texts(windowed), std::vector<std::string>{"Off"});
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

    // Without the runtime there is no list either, and the player is told.
    D3D9RuntimeSetPresent(false);
    EngResModes no_runtime;
    EXPECT_FALSE(no_runtime.IsSetup());
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "DirectX 9 Not Detected");
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngResModes::GetList )    Could not create directx object"));
    D3D9RuntimeSetPresent(true);

    // Without a device kind there is no list either.
    eng_device_type = EDT_NONE;
    EngResModes none;
    EXPECT_FALSE(none.IsSetup());
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngResModes::GetModesAvailable )    Device type not set"));
}

} // namespace
