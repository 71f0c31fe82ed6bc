// The range slider: its values kept inside the range and apart by the
// step, merged values, and its thumbs and bar dragged through the window
// layer past both ends, with the notifications a controller receives.
#include "tests/support/GuiTestKit.h"
#include "gui/MWinRangeSlider.h"

#include <vector>

namespace {

// "Range" at (100, 100), 200 x 20 in a window over the screen. With the
// layout's end margin 3, thumb 8 and spacing 24 the low thumb starts at
// 103 + 173 x low and the high thumb ends at 127 + 173 x high.
class MWinRangeSliderTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    MWinRangeSlider *slider = nullptr;
    TestController controller;
    std::vector<int> codes;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 0, 0, 640, 480);
        window->SetController(&controller);
        controller.on_press = [this](MWinButton *, _MWinButtonCallbackInfo *info) {
            codes.push_back(info->m_range_slider_code);
            return char(1);
        };
        slider = window->AddRangeSlider("Range", "White", 100, 100, 200, 20);
        ASSERT_NE(slider, nullptr);
        slider->RangeSliderSetRange(0, 1, 0.1f);
    }

    void Values(float *low, float *high)
    {
        *low = slider->GetLow();
        *high = slider->GetHigh();
    }
};

TEST_F(MWinRangeSliderTest, ValuesStayInTheRangeAndApartByTheStep)
{
    const struct {
        float low, high, want_low, want_high;
        const char *what;
    } cases[] = {
        {0.2f, 0.6f, 0.2f, 0.6f, "inside"},
        {-1, 2, 0, 1, "limited to the range"},
        {0.7f, 0.3f, 0.25f, 0.35f, "low above high meets high, then widened"},
        {0.5f, 0.52f, 0.46f, 0.56f, "widened around the middle"},
        {0, 0.02f, 0, 0.1f, "widened against the minimum"},
        {0.98f, 1, 0.9f, 1, "widened against the maximum"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        slider->RangeSliderSetValues(c.low, c.high, 0, 0);
        EXPECT_NEAR(slider->GetLow(), c.want_low, 1e-5);
        EXPECT_NEAR(slider->GetHigh(), c.want_high, 1e-5);
    }
    EXPECT_TRUE(codes.empty()) << "no notification was asked for";

    // Thumbs within the step read as one value.
    float low, high;
    slider->RangeSliderSetValues(0.45f, 0.55f, 0, 0);
    EXPECT_TRUE(slider->RangeSliderGetValues(&low, &high));
    EXPECT_NEAR(low, 0.5f, 1e-5);
    EXPECT_EQ(low, high);
    slider->RangeSliderSetValues(0, 0.1f, 0, 0);
    EXPECT_TRUE(slider->RangeSliderGetValues(&low, &high));
    EXPECT_EQ(low, 0);
}

TEST_F(MWinRangeSliderTest, HitCodesAlongTheRail)
{
    // Low 0.25: its thumb spans 146.25..154.25; high 0.75 ends at 256.75.
    const struct {
        float x;
        int hit;
    } cases[] = {{99, 253}, {120, 254}, {147, 255}, {200, 0}, {250, 1}, {260, 2}, {300, 3}};
    for (const auto &c : cases)
        EXPECT_EQ(slider->HitCode(c.x), c.hit) << c.x;
}

TEST_F(MWinRangeSliderTest, ThumbsDraggedPastBothEnds)
{
    float low, high;
    // The low thumb to the far left, then into the high thumb and past the right end.
    MoveMouse(150, 110);
    Press();
    MoveMouse(10, 110);
    Values(&low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_NEAR(high, 0.75f, 1e-5);
    MoveMouse(630, 110);
    Values(&low, &high);
    EXPECT_NEAR(low, 0.9f, 1e-5) << "the high value is pushed to keep the step";
    EXPECT_EQ(high, 1);
    codes.clear();
    Release();
    EXPECT_EQ(codes, std::vector<int>{0}) << "one final notification";

    // The high thumb past the left end pulls the low one down to the minimum.
    MoveMouse(slider->GetHighThumbX() - 2, 110);
    Press();
    MoveMouse(5, 110);
    Release();
    Values(&low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_NEAR(high, 0.1f, 1e-5);

    // The bar against either end keeps its width.
    slider->RangeSliderSetValues(0.3f, 0.6f, 0, 0);
    MoveMouse((slider->GetLowThumbX() + slider->GetHighThumbX()) / 2, 110);
    Press();
    MoveMouse(639, 110);
    Values(&low, &high);
    EXPECT_NEAR(low, 0.7f, 1e-5);
    EXPECT_EQ(high, 1);
    MoveMouse(0, 110);
    Values(&low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_NEAR(high, 0.3f, 1e-5);
    codes.clear();
    Release();
    EXPECT_EQ(codes, std::vector<int>{0});
}

TEST_F(MWinRangeSliderTest, KeysMoveWidenAndCentre)
{
    float low, high;
    slider->RangeSliderSetValues(0.2f, 0.4f, 0, 0);
    Click(200, 110);
    slider->RangeSliderSetValues(0.2f, 0.4f, 0, 0);
    codes.clear();
    Key(39);
    Values(&low, &high);
    EXPECT_NEAR(low, 0.21f, 1e-5);
    EXPECT_NEAR(high, 0.41f, 1e-5);
    KeyDown(16);
    Key(39);
    KeyUp(16);
    Values(&low, &high);
    EXPECT_NEAR(low, 0.21f, 1e-5) << "Shift moves only the high value";
    EXPECT_NEAR(high, 0.42f, 1e-5);
    Key(40);
    Values(&low, &high);
    EXPECT_NEAR((low + high) / 2, 0.5f, 1e-5);
    EXPECT_EQ(codes, (std::vector<int>{0, 0, 0}));
}

} // namespace
