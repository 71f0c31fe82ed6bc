// A first start from an empty per-user folder: the start-up settings dialog
// comes up as a real GTK window, the player chooses a window and presses
// PLAY, the internet test's message boxes are answered (the test fails:
// there is no score server), and the game opens on the Players screen with
// the choices saved.
#include "tests/e2e/E2eDriver.h"

#include <fstream>

namespace {

using namespace e2e;

// Screen pixels of the dialog, which the desktop centres: its light face
// between the banner and the PLAY button, and the button's middle.
const int CENTRE_X = SCREEN_WIDTH / 2, CENTRE_Y = SCREEN_HEIGHT / 2;
const int DIALOG_FACE_X = CENTRE_X, DIALOG_FACE_Y = CENTRE_Y - 54;
const int WINDOWED_X = CENTRE_X + 66, WINDOWED_Y = CENTRE_Y - 4;
const int PLAY_X = CENTRE_X, PLAY_Y = CENTRE_Y + 192;

bool DialogShown(const Screen &screen)
{
    return Brightness(screen.At(DIALOG_FACE_X, DIALOG_FACE_Y)) > 600 && Brightness(screen.At(100, 100)) < 60;
}

// The Players screen: its "New Player" and "Exit Game" buttons.
bool PlayersScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 30, 430, 115, 25) > 40 && LitPoints(screen, 495, 430, 115, 25) > 40;
}

// A message box: neither the dialog nor the game, and something drawn in the
// middle of the screen (the boxes are dark, so look for any lit point).
bool MessageBoxShown(const Screen &screen)
{
    return !DialogShown(screen) && !PlayersScreenDrawn(screen) && LitPoints(screen, 220, 180, 200, 120) > 0;
}

// The first drawn pixel from the top, row by row: the corner of the only
// window on an otherwise black screen.
bool FindTopLeftLitPixel(const Screen &screen, int *x, int *y)
{
    for (*y = 0; *y < screen.height; (*y)++)
        for (*x = 0; *x < screen.width; (*x)++)
            if (Brightness(screen.At(*x, *y)) > 60)
                return true;
    return false;
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
