// Steps shared by the end-to-end tests that play: into the first garden
// from the main screen, the board's geometry on the 1024 x 768 screen, the
// first garden's road as the game reads it, and buying a weapon from the
// sidebar by clicks.
#pragma once

#include "tests/e2e/E2eScreens.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// The board is the part of the 640 x 480 screen right of the sidebar and
// above the bottom bar; board units run -1..1 across it, y downwards.
inline float BoardToGameX(float bx) { return (bx + 1.0f) * 270.0f + 100.0f; }
inline float BoardToGameY(float by) { return (by + 1.0f) * 225.0f; }
// Pixels of a shot of the 1024 x 768 client area, 1.6 times the game's units.
inline float BoardToPixelX(float bx) { return BoardToGameX(bx) * 1.6f; }
inline float BoardToPixelY(float by) { return BoardToGameY(by) * 1.6f; }
inline float PixelToBoardX(float px) { return px / 1.6f / 270.0f - 100.0f / 270.0f - 1.0f; }
inline float PixelToBoardY(float py) { return py / 1.6f / 225.0f - 1.0f; }

struct BoardPoint {
    float x, y;
};

// The road of a garden from its road data file in the generated data: one
// point per step, in board units. Empty when the file cannot be read.
inline std::vector<BoardPoint> ReadRoad(int garden)
{
    std::ifstream file(std::string(HW_DATA_DIR) + "/113" + std::to_string(garden) + ".dat", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t steps_at = 4, points_at = 64012, max_points = 16001;
    int32_t steps = 0;
    if (bytes.size() < points_at + max_points * sizeof(BoardPoint))
        return {};
    std::memcpy(&steps, bytes.data() + steps_at, sizeof(steps));
    if (steps < 1 || steps > 16000)
        return {};
    std::vector<BoardPoint> road(static_cast<size_t>(steps));
    std::memcpy(road.data(), bytes.data() + points_at, road.size() * sizeof(BoardPoint));
    return road;
}

// The step of the road nearest to a board point, and how far it is.
inline size_t NearestStep(const std::vector<BoardPoint> &road, float x, float y, float *distance)
{
    size_t best = 0;
    float best_d2 = 1e30f;
    for (size_t i = 0; i < road.size(); i++) {
        const float dx = road[i].x - x, dy = road[i].y - y;
        if (dx * dx + dy * dy < best_d2) {
            best_d2 = dx * dx + dy * dy;
            best = i;
        }
    }
    *distance = std::sqrt(best_d2);
    return best;
}

// A sidebar button's middle in game units, for the sidebar's three columns
// and four rows of weapons (row 3 holds the factories).
inline float SidebarButtonX(int button) { return (14.0f + 78.0f * (button % 3) + 35.0f) * 100.0f / 256.0f; }
inline float SidebarButtonY(int button) { return (220.0f + 218.0f * (button / 3) + 40.0f) * 450.0f / 1024.0f; }

enum { TURRET_BUTTON = 0, GUN_FACTORY_BUTTON = 9 };

// The sidebar's title (the level and the wave's bugs): the share of it that
// changed between two shots.
inline double TitleChange(const Screen &a, const Screen &b) { return ChangedIn(a, b, 4, 8, 92, 22); }

// Free ground of the first garden: room for a factory well away from the
// road; a spot inside the road's first bend, where a turret reaches the
// road on two sides (the ground the road blocks leaves a first-level turret
// little more than the road's middle within reach); and room for a second
// turret between two trees.
const BoardPoint FACTORY_SPOT = {-0.3f, -0.3f};

// Points of a 32 x 8 grid over an area (game units) in the orange-red of
// the "GAME OVER" letters: a strong red, a middling green and little blue.
inline int OrangePoints(const Screen &screen, float x, float y, float w, float h)
{
    int count = 0;
    for (int row = 0; row < 8; row++)
        for (int column = 0; column < 32; column++) {
            const uint32_t rgb = GamePixel(screen, x + column * w / 32, y + row * h / 8);
            const int r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
            count += r > 200 && g > 60 && g < 200 && b < 90;
        }
    return count;
}

// The "GAME OVER" letters across the middle of the board.
inline bool GameOverShown(const Screen &screen)
{
    return OrangePoints(screen, 60, 205, 520, 60) > 40;
}
// The local scores table's first rows, by the middle of each, and whether
// one is highlighted. The highlighted row has a lighter green behind its
// text than the others (the rows' text alternates gold and cyan whatever is
// highlighted): most points along its middle are of that green.
const float SCORE_ROWS[3] = {185, 202, 219};
inline bool ScoreRowHighlighted(const Screen &screen, float y)
{
    int green = 0;
    for (int column = 0; column < 40; column++) {
        const uint32_t rgb = GamePixel(screen, 30 + column * 580.0f / 40, y);
        const int r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
        green += r < 45 && g >= 45 && g < 70 && b < 40;
    }
    return green > 20;
}
// Points of a row's text: bright against any of the rows' greens.
inline int TextPointsInRow(const Screen &screen, float y)
{
    int text = 0;
    for (int row = 0; row < 6; row++)
        for (int column = 0; column < 320; column++)
            text += Brightness(GamePixel(screen, 30 + column * 580.0f / 320, y - 5 + row * 1.5f)) > 300;
    return text;
}

const BoardPoint TURRET_SPOTS[2] = {{0.56f, -0.26f}, {0.1f, -0.3f}};

class PlayingE2eTest : public E2eTest {
protected:
    // From the main screen through the garden choice and the new player's
    // notice into a new game on the first garden.
    void EnterFirstGarden()
    {
        Screen screen = Shot();
        Click(320, 225); // New Game
        ASSERT_TRUE(WaitForNewScreen(screen, &screen));
        Click(235, 200); // the first garden's picture
        ASSERT_TRUE(WaitForNewScreen(screen, &screen));
        Click(320, 312); // the notice's Ok
        ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    }

    // Buys the weapon of a sidebar button and places it at a board point;
    // true when the ground there changed.
    bool PlaceWeapon(int button, BoardPoint at)
    {
        const Screen before = Shot();
        Click(SidebarButtonX(button), SidebarButtonY(button));
        Click(BoardToGameX(at.x), BoardToGameY(at.y));
        // Away from the board, so the pointer and the preview leave it.
        ParkPointer();
        const bool placed = WaitFor([&](const Screen &now) { return ChangedAround(before, now, at, 10) > 0.3; }, 10);
        if (!placed)
            SaveShot("PlaceWeaponFailed");
        return placed;
    }

    // A game on the first garden lost on purpose: a gun factory alone (it
    // shoots nothing, but makes the score 10 rather than 0, which is never
    // recorded), the waves started with Space, until the game-over scene.
    bool LoseTheGame()
    {
        Key("g");
        for (const auto &[x, y] : {std::pair{281.0f, 169.0f}, std::pair{506.0f, 288.0f}, std::pair{375.0f, 40.0f}})
            Click(x, y);
        Key("space");
        return WaitFor(GameOverShown, 300);
    }

    // The pointer rests on the sidebar below its buttons, where it hovers
    // nothing and covers nothing of the board.
    void ParkPointer() { MoveTo(50, 440); }

    // The share of the pixels within radius pixels of a board point that
    // differ noticeably between two shots.
    static double ChangedAround(const Screen &a, const Screen &b, BoardPoint at, int radius)
    {
        const int cx = static_cast<int>(BoardToPixelX(at.x)), cy = static_cast<int>(BoardToPixelY(at.y));
        int changed = 0, all = 0;
        for (int y = cy - radius; y <= cy + radius; y++)
            for (int x = cx - radius; x <= cx + radius; x++) {
                if (x < 0 || y < 0 || x >= a.width || y >= a.height)
                    continue;
                all++;
                if (std::abs(Brightness(a.At(x, y)) - Brightness(b.At(x, y))) > 60)
                    changed++;
            }
        return all ? static_cast<double>(changed) / all : 0.0;
    }
};

} // namespace e2e
