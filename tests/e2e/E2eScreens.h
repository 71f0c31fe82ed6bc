// How the end-to-end tests tell the program's screens apart: a few points
// of each that no other screen lights, and comparisons of two shots.
#pragma once

#include "tests/e2e/E2eDriver.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace e2e {

// The start-up dialog, which the desktop centres on the screen (pixels):
// its light face between the banner and the PLAY button, the windowed
// choice and the button's middle.
const int CENTRE_X = SCREEN_WIDTH / 2, CENTRE_Y = SCREEN_HEIGHT / 2;
const int DIALOG_FACE_X = CENTRE_X, DIALOG_FACE_Y = CENTRE_Y - 54;
const int WINDOWED_X = CENTRE_X + 66, WINDOWED_Y = CENTRE_Y - 4;
const int PLAY_X = CENTRE_X, PLAY_Y = CENTRE_Y + 192;

inline bool DialogShown(const Screen &screen)
{
    return Brightness(screen.At(DIALOG_FACE_X, DIALOG_FACE_Y)) > 600 && Brightness(screen.At(100, 100)) < 60;
}

// The Players screen's "New Player" and "Exit Game" buttons.
inline bool PlayersScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 30, 430, 115, 25) > 40 && LitPoints(screen, 495, 430, 115, 25) > 40;
}

// The new-player screen's name and country rows.
inline bool NewPlayerScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 210, 200, 220, 35) > 30 && LitPoints(screen, 210, 275, 220, 35) > 30;
}

// The country screen: its list and a column of flags on the list's left.
inline bool CountryScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 169.5f, 50, 301, 323) > 40 && LitPoints(screen, 148, 55, 20, 310) > 8;
}

// The chosen row of the country list is drawn orange, the others green.
inline bool CountryRowChosen(const Screen &screen, float y)
{
    const uint32_t pixel = GamePixel(screen, 200, y);
    return ((pixel >> 16) & 0xFF) > ((pixel >> 8) & 0xFF) + 20;
}

// The main screen's two lowest buttons.
inline bool MainScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 162, 402, 146, 26) > 50 && LitPoints(screen, 332, 402, 146, 26) > 50;
}

// The "Yes" of the question whether to resume the last game.
const float RESUME_YES_X = 290, RESUME_YES_Y = 255;

// The question's box has a honey-coloured border; its left side.
inline bool ResumeQuestionShown(const Screen &screen)
{
    for (float y = 220; y < 260; y += 4) {
        const uint32_t p = GamePixel(screen, 202.2f, y);
        if (((p >> 16) & 0xff) < 120 || (p & 0xff) > 90)
            return false;
    }
    return true;
}

// The first drawn pixel from the top, row by row: the corner of a message
// box, the only window on an otherwise black screen.
inline bool FindTopLeftLitPixel(const Screen &screen, int *x, int *y)
{
    for (*y = 0; *y < screen.height; (*y)++)
        for (*x = 0; *x < screen.width; (*x)++)
            if (Brightness(screen.At(*x, *y)) > 60)
                return true;
    return false;
}

// The share of pixels that differ noticeably between two shots within a
// rectangle in game units.
inline double ChangedIn(const Screen &a, const Screen &b, float x, float y, float w, float h)
{
    int changed = 0, all = 0;
    for (float gy = y; gy < y + h; gy += 0.5f)
        for (float gx = x; gx < x + w; gx += 0.5f) {
            all++;
            if (std::abs(Brightness(GamePixel(a, gx, gy)) - Brightness(GamePixel(b, gx, gy))) > 60)
                changed++;
        }
    return all ? static_cast<double>(changed) / all : 1.0;
}

// The contrast ratio (WCAG's, 1 to 21) of light text on its panel within
// a rectangle in game units: the text is the lightest half percent of the
// pixels (the cores of the glyphs), the panel the median pixel.
inline double TextContrast(const Screen &screen, float x, float y, float w, float h)
{
    auto linear = [](uint32_t channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    std::vector<double> luminance;
    for (float gy = y; gy < y + h; gy += 0.5f)
        for (float gx = x; gx < x + w; gx += 0.5f) {
            const uint32_t p = GamePixel(screen, gx, gy);
            luminance.push_back(0.2126 * linear((p >> 16) & 0xFF) + 0.7152 * linear((p >> 8) & 0xFF) +
                                0.0722 * linear(p & 0xFF));
        }
    if (luminance.empty())
        return 1.0;
    std::sort(luminance.begin(), luminance.end());
    const double panel = luminance[luminance.size() / 2];
    const double text = luminance[luminance.size() * 995 / 1000];
    return (text + 0.05) / (panel + 0.05);
}

} // namespace e2e
