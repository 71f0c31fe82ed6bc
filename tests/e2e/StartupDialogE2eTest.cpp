// A first start from an empty per-user folder: the start-up settings dialog
// comes up as a real GTK window, the player chooses a window and presses
// PLAY, the internet test's message boxes are answered (the test fails:
// there is no score server), and the game opens on the Players screen with
// the choices saved.
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eScreens.h"

#include <fstream>

namespace {

using namespace e2e;

// A message box: neither the dialog nor the game, and something drawn in the
// middle of the screen (the boxes are dark, so look for any lit point).
bool MessageBoxShown(const Screen &screen)
{
    return !DialogShown(screen) && !PlayersScreenDrawn(screen) && LitPoints(screen, 220, 180, 200, 120) > 0;
}

class StartupDialogE2eTest : public E2eTest {};

TEST_F(StartupDialogE2eTest, AFirstStartAsksThroughTheDialogAndPlayOpensTheGame)
{
    ASSERT_TRUE(StartProgram(false));
    ASSERT_TRUE(WaitFor(DialogShown));
    SaveShot("StartupDialog");

    m_display->Click(WINDOWED_X, WINDOWED_Y);
    m_display->Click(PLAY_X, PLAY_Y);
    // The internet test's boxes, each answered with Escape (OK, or No to
    // "Try Again ?"), until the game's window is there.
    bool box_saved = false;
    ASSERT_TRUE(WaitFor(
        [&](const Screen &screen) {
            if (PlayersScreenDrawn(screen))
                return true;
            if (MessageBoxShown(screen)) {
                if (!box_saved)
                    XDisplay::SavePng(HW_SCREENSHOT_DIR "/InternetTestBox.png", screen);
                box_saved = true;
                // Without a window manager the keyboard follows the pointer.
                int x, y;
                if (FindTopLeftLitPixel(screen, &x, &y))
                    m_display->MoveTo(x + 8, y + 8);
                Key("Escape");
            }
            return false;
        },
        90));
    EXPECT_TRUE(box_saved) << "the internet test said nothing";
    SaveShot("PlayersAfterDialog");
    EXPECT_EQ(StopProgram(), 0);

    std::ifstream file(modules_test::SettingsFile(), std::ios::binary);
    _ResolutionSettings saved{};
    ASSERT_TRUE(file.read(reinterpret_cast<char *>(&saved), sizeof(saved)));
    EXPECT_EQ(saved.windowed, 1);
    EXPECT_EQ(saved.internet_test[0], 0) << "the test failed and the player gave up";
}

} // namespace
