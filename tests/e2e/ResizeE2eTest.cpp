// The player resizes the window during a new player's first game: every
// frame the program draws at the new size fills the window as the settled
// picture does (nothing drawn offset, as for the old size), and the hint's
// red frame still surrounds the factory buttons it points at.
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace e2e;

// The window after the resize: wider than 4:3 (1280 x 720 in shape).
constexpr int WIDE_WIDTH = 1024, WIDE_HEIGHT = 576;

// The pixel under a point in game units on a shot of any shape: the 640 x
// 480 units stretch over the whole client area.
uint32_t PixelAt(const Screen &screen, float x, float y)
{
    const int px = std::min(static_cast<int>(x * screen.width / 640.0f), screen.width - 1);
    const int py = std::min(static_cast<int>(y * screen.height / 480.0f), screen.height - 1);
    return screen.At(px, py);
}

// The share of points of a rectangle (game units) that differ noticeably
// between two shots, each read at its own size.
double Changed(const Screen &a, const Screen &b, float x, float y, float w, float h)
{
    int changed = 0, all = 0;
    for (float gy = y; gy < y + h; gy += 0.5f)
        for (float gx = x; gx < x + w; gx += 0.5f) {
            all++;
            changed += std::abs(Brightness(PixelAt(a, gx, gy)) - Brightness(PixelAt(b, gx, gy))) > 60;
        }
    return static_cast<double>(changed) / all;
}

// Whether a shot still shows the picture of the old size where the desktop
// kept it: the same pixels at the same places, over the sidebar's top rows.
bool SamePixels(const Screen &a, const Screen &b)
{
    int same = 0, all = 0;
    for (int y = 160; y < 320; y += 2)
        for (int x = 10; x < 150; x += 2) {
            all++;
            same += a.At(x, y) == b.At(x, y);
        }
    return same * 10 > all * 9;
}

// The red of the hint's pulsing frame.
bool FrameRed(uint32_t rgb)
{
    const int r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
    return r > 140 && r > g + 70 && r > b + 70;
}

// The columns (game units) that the red frame spans across the factory
// row of the sidebar, and beyond it onto the board; false without red.
bool FrameColumns(const Screen &screen, float *left, float *right)
{
    *left = 640.0f;
    *right = -1.0f;
    for (float y = 370.0f; y < 440.0f; y += 0.5f)
        for (float x = 0.0f; x < 200.0f; x += 0.25f)
            if (FrameRed(PixelAt(screen, x, y))) {
                *left = std::min(*left, x);
                *right = std::max(*right, x);
            }
    return *right >= 0.0f;
}

// The right edge of the hint's box (game units), found along its middle
// row by its light border; 0 when there is none. The box is as wide as its
// text, which keeps its shape: narrower in units on a wider window.
float HintBoxRight(const Screen &screen)
{
    for (float x = 320.0f; x > 120.0f; x -= 0.25f)
        if (Brightness(PixelAt(screen, x, 338.0f)) > 600)
            return x;
    return 0.0f;
}

// The share of the sidebar's top two rows of buttons, where nothing moves,
// that differs between two shots, unit for unit.
double StillPartChanged(const Screen &a, const Screen &b) { return Changed(a, b, 6, 100, 88, 160); }

void SaveAs(const std::string &name, const Screen &shot)
{
    EXPECT_TRUE(XDisplay::SavePng(std::string(HW_SCREENSHOT_DIR) + "/" + name + ".png", shot)) << name;
}

class ResizeE2eTest : public PlayingE2eTest {};

TEST_F(ResizeE2eTest, FramesAfterAResizeFillTheWindowAndTheHintFramesItsButtons)
{
    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_NO_FATAL_FAILURE(EnterFirstGarden());
    ParkPointer();

    // The new player's first hint frames the three factory buttons, which
    // end at the sidebar's edge (100 units).
    float left = 0.0f, right = 0.0f;
    ASSERT_TRUE(WaitFor([&](const Screen &s) { return FrameColumns(s, &left, &right); }, 10));
    SaveShot("ResizeHintBefore");
    const Screen before = Shot();
    EXPECT_LT(left, 4.0f);
    EXPECT_GT(right, 94.0f);
    EXPECT_LT(right, 106.0f);
    const float box_right = HintBoxRight(before);
    ASSERT_GT(box_right, 200.0f);

    // Every frame from the resize until the program has made its graphics
    // again at the new size (its hint box narrower) is either the old
    // picture where the desktop kept it, not yet drawn over, or a picture
    // that fills the new window: where nothing moves it matches the old
    // one, unit for unit. The sidebar alone is read first, quickly enough
    // to catch a frame that stays on screen only briefly.
    ASSERT_TRUE(ResizeWindow(WIDE_WIDTH, WIDE_HEIGHT));
    int drawn = 0, off = 0;
    bool redrawn = false;
    const auto start = std::chrono::steady_clock::now();
    while (!redrawn && std::chrono::steady_clock::now() - start < std::chrono::seconds(60) && ProgramRunning()) {
        const Screen shot = PartShot(0, 0, 170, WIDE_HEIGHT);
        if (SamePixels(shot, before))
            continue;
        if (StillPartChanged(shot, before) > 0.1 && off++ == 0)
            SaveAs("ResizeFrameOff", shot);
        const Screen whole = Shot();
        if (drawn++ == 0)
            SaveAs("ResizeFirstFrame", whole);
        redrawn = HintBoxRight(whole) < box_right - 30.0f;
    }
    ASSERT_TRUE(redrawn) << "the program never drew at the new size";
    EXPECT_EQ(off, 0) << "frames not filling the window, of " << drawn << " (ResizeFrameOff.png)";

    // The hint, chosen again at the new size, frames the same buttons.
    ASSERT_TRUE(WaitFor([&](const Screen &s) { return FrameColumns(s, &left, &right); }, 10));
    SaveShot("ResizeHintAfter");
    EXPECT_LT(left, 4.0f);
    EXPECT_GT(right, 94.0f);
    EXPECT_LT(right, 106.0f);
    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
