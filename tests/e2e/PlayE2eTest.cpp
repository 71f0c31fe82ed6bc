// A first game on the real program, by the player's hand: into the first
// garden, a factory bought from the sidebar and refused on the road (the
// pointer shows it) before it stands on free ground, a turret beside the
// road, the wave started with Space; the bugs then walk the road the garden
// picture shows and go forward along it, and a turret that fires points its
// barrel along its shot's path at a bug.
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace e2e;

// The red of the "cannot place here" sign, which sits below and right of
// the pointer's tip.
int RedSignPixels(const Screen &screen, float game_x, float game_y)
{
    const int tip_x = static_cast<int>(game_x * 1.6f), tip_y = static_cast<int>(game_y * 1.6f);
    int red = 0;
    for (int y = tip_y + 8; y < tip_y + 36 && y < screen.height; y++)
        for (int x = tip_x + 8; x < tip_x + 36 && x < screen.width; x++) {
            const uint32_t p = screen.At(x, y);
            const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            if (r > 170 && g < 90 && b < 90)
                red++;
        }
    return red;
}

bool Differs(uint32_t p, uint32_t q)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((p >> shift) & 0xff) - static_cast<int>((q >> shift) & 0xff)) > 48)
            return true;
    return false;
}

// A first-level turret as drawn: its picture's half side in board units
// (0.73 of the weapon's 0.12 at the first level; the picture's own units
// are fractions of it), and how far from its middle its bullets start
// (half the bullet's size and half the weapon's). A bullet flies a board
// unit a second: one within FRESH_REACH left the muzzle at most 0.15 s ago.
constexpr float TURRET_HALF = 0.12f * 0.73f * 0.5f, SHOT_START = 0.07f, FRESH_REACH = SHOT_START + 0.15f;
// A turret takes aim at bugs a good deal further than its range: the bug's
// size is taken from the squared distance. A bug it aims at stands within
// this much of it.
constexpr float AIM_REACH = 0.35f;
constexpr float TWO_PI = 6.2831853f;

BoardPoint Along(BoardPoint from, float angle, float distance)
{
    return {from.x + distance * std::cos(angle), from.y + distance * std::sin(angle)};
}

int PixelX(float board_x) { return static_cast<int>(BoardToPixelX(board_x)); }
int PixelY(float board_y) { return static_cast<int>(BoardToPixelY(board_y)); }

uint32_t BoardPixel(const Screen &screen, BoardPoint p)
{
    const int x = std::clamp(PixelX(p.x), 0, screen.width - 1), y = std::clamp(PixelY(p.y), 0, screen.height - 1);
    return screen.At(x, y);
}

int ColourDistance(uint32_t p, uint32_t q)
{
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum += std::abs(static_cast<int>((p >> shift) & 0xff) - static_cast<int>((q >> shift) & 0xff));
    return sum;
}

// Between two directions, 0..pi.
float AngleGap(float a, float b)
{
    const float d = std::fmod(std::fabs(a - b), TWO_PI);
    return std::min(d, TWO_PI - d);
}

// The direction (radians, board axes, y down) of a turret's barrel in a
// shot. The barrel is bright grey steel across the olive of the turret's
// base: the direction whose pixels, from the edge of the turret's round
// body to inside the base's rim, are brightest and least coloured is the
// barrel's. Board units are not square on the screen, so the directions
// are laid out in them, as the game turns its pictures.
float BarrelDirection(const Screen &now, BoardPoint turret)
{
    constexpr int STEPS = 360;
    int best_score = std::numeric_limits<int>::min(), best = 0;
    for (int i = 0; i < STEPS; i++) {
        const float c = std::cos(i * TWO_PI / STEPS), s = std::sin(i * TWO_PI / STEPS);
        int score = 0;
        for (float u = 0.45f; u < 0.63f; u += 0.03f)
            for (float v = -0.03f; v < 0.04f; v += 0.03f) {
                const uint32_t p = BoardPixel(now, {turret.x + (u * c - v * s) * TURRET_HALF,
                                                    turret.y + (u * s + v * c) * TURRET_HALF});
                const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
                score += r + g + b - 3 * (std::max({r, g, b}) - std::min({r, g, b}));
            }
        if (score > best_score) {
            best_score = score;
            best = i;
        }
    }
    return best * TWO_PI / STEPS;
}

// A turret's fresh bullet in a shot: the middle of the pixels as bright as
// a bullet's hot core that the resting shot lacks, beyond the turret's
// picture and within FRESH_REACH. False when they do not make one small
// spot over a board as it was (two bullets, a bug's bright mark, a bullet
// over a bug); `any` tells whether there was any such pixel at all.
bool FindBullet(const Screen &now, const Screen &rest, BoardPoint turret, BoardPoint *bullet, bool *any)
{
    std::vector<std::pair<int, int>> spot;
    float sum_x = 0.0f, sum_y = 0.0f;
    for (int y = std::max(PixelY(turret.y - FRESH_REACH), 0); y < std::min(PixelY(turret.y + FRESH_REACH), now.height);
         y++)
        for (int x = std::max(PixelX(turret.x - FRESH_REACH), 0);
             x < std::min(PixelX(turret.x + FRESH_REACH), now.width); x++) {
            const float d = std::hypot(PixelToBoardX(x) - turret.x, PixelToBoardY(y) - turret.y);
            const uint32_t p = now.At(x, y);
            const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            if (d < TURRET_HALF || d > FRESH_REACH || r < 235 || g < 200 || b < 100 ||
                ColourDistance(p, rest.At(x, y)) < 120)
                continue;
            spot.emplace_back(x, y);
            sum_x += x;
            sum_y += y;
        }
    *any = !spot.empty();
    if (spot.size() < 3)
        return false;
    const float mx = sum_x / spot.size(), my = sum_y / spot.size();
    for (const auto &[x, y] : spot)
        if (std::hypot(x - mx, y - my) > 8.0f)
            return false;
    // Past the bullet's glow the board is as it was.
    int around = 0, changed = 0;
    for (int y = static_cast<int>(my) - 14; y <= static_cast<int>(my) + 14; y++)
        for (int x = static_cast<int>(mx) - 14; x <= static_cast<int>(mx) + 14; x++) {
            const float d = std::hypot(x - mx, y - my);
            if (d < 8.0f || d > 14.0f || x < 0 || y < 0 || x >= now.width || y >= now.height)
                continue;
            around++;
            changed += ColourDistance(now.At(x, y), rest.At(x, y)) > 100;
        }
    if (changed * 5 > around)
        return false;
    *bullet = {PixelToBoardX(mx + 0.5f), PixelToBoardY(my + 0.5f)};
    return true;
}

// Pixels of the road that the board before the bugs came lacks, in a
// narrow cone along a direction from a turret, out of its muzzle and away
// from its bullet: a bug it aims at.
int BugPointsAhead(const Screen &now, const Screen &before_bugs, const std::vector<BoardPoint> &road,
                   BoardPoint turret, float angle, BoardPoint bullet)
{
    int count = 0;
    for (float d = SHOT_START; d < AIM_REACH; d += 0.005f)
        for (float a = -0.15f; a < 0.16f; a += 0.03f) {
            const BoardPoint p = Along(turret, angle + a, d);
            float off_road = 0.0f;
            NearestStep(road, p.x, p.y, &off_road);
            if (off_road < 0.14f && std::hypot(p.x - bullet.x, p.y - bullet.y) > 0.02f &&
                ColourDistance(BoardPixel(now, p), BoardPixel(before_bugs, p)) > 100)
                count++;
        }
    return count;
}

// A turret and its surroundings three times their size, with the barrel's
// measured direction drawn as a cyan line out of the turret's picture and
// the bullet's middle marked by a magenta cross.
Screen TurretCloseUp(const Screen &shot, BoardPoint turret, float barrel, BoardPoint bullet)
{
    constexpr int SIDE = 200, ZOOM = 3;
    const int left = PixelX(turret.x) - SIDE / 2, top = PixelY(turret.y) - SIDE / 2;
    Screen close_up;
    close_up.width = close_up.height = SIDE * ZOOM;
    close_up.pixels.resize(static_cast<size_t>(SIDE * ZOOM) * SIDE * ZOOM);
    for (int y = 0; y < SIDE * ZOOM; y++)
        for (int x = 0; x < SIDE * ZOOM; x++)
            close_up.pixels[static_cast<size_t>(y) * SIDE * ZOOM + x] =
                shot.At(std::clamp(left + x / ZOOM, 0, shot.width - 1), std::clamp(top + y / ZOOM, 0, shot.height - 1));
    auto mark = [&](BoardPoint p, uint32_t colour) {
        const int x = static_cast<int>((BoardToPixelX(p.x) - left) * ZOOM);
        const int y = static_cast<int>((BoardToPixelY(p.y) - top) * ZOOM);
        if (x >= 0 && y >= 0 && x < close_up.width && y < close_up.height)
            close_up.pixels[static_cast<size_t>(y) * close_up.width + x] = colour;
    };
    for (float d = TURRET_HALF * 1.2f; d < FRESH_REACH; d += 0.0005f)
        mark(Along(turret, barrel, d), 0x00ffff);
    for (int i = -8; i <= 8; i++) {
        mark({bullet.x + i * 0.0006f, bullet.y}, 0xff00ff);
        mark({bullet.x, bullet.y + i * 0.0006f}, 0xff00ff);
    }
    return close_up;
}

class PlayE2eTest : public PlayingE2eTest {};

TEST_F(PlayE2eTest, PlacesWeaponsOffTheRoadAndTheWaveWalksTheRoad)
{
    const std::vector<BoardPoint> road = ReadRoad(0);
    ASSERT_FALSE(road.empty()) << "the first garden's road data could not be read";
    // A point of the road's first run, well on the board.
    const BoardPoint on_road = road[road.size() / 8];
    ASSERT_GT(on_road.x, -0.9f);

    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_NO_FATAL_FAILURE(EnterFirstGarden());
    SaveShot("PlayNewGame");
    const Screen new_game = Shot();

    // The gun factory follows the pointer; over the road the pointer
    // carries the red sign, over free ground it does not.
    Click(SidebarButtonX(GUN_FACTORY_BUTTON), SidebarButtonY(GUN_FACTORY_BUTTON));
    const float road_x = BoardToGameX(on_road.x), road_y = BoardToGameY(on_road.y);
    MoveTo(road_x, road_y);
    ASSERT_TRUE(WaitFor([&](const Screen &s) { return RedSignPixels(s, road_x, road_y) > 40; }, 10));
    SaveShot("PlayRefusedOnRoad");
    Click(road_x, road_y);
    const float free_x = BoardToGameX(FACTORY_SPOT.x), free_y = BoardToGameY(FACTORY_SPOT.y);
    MoveTo(free_x, free_y);
    ASSERT_TRUE(WaitFor([&](const Screen &s) { return RedSignPixels(s, free_x, free_y) == 0; }, 10));
    SaveShot("PlayPlacingOnGrass");
    // The click on the road placed nothing: the road there is as it was
    // once the pointer has left it.
    EXPECT_LT(ChangedAround(new_game, Shot(), on_road, 12), 0.05);
    Click(free_x, free_y);
    ParkPointer();
    ASSERT_TRUE(WaitFor([&](const Screen &s) { return ChangedAround(new_game, s, FACTORY_SPOT, 20) > 0.2; }, 10));

    // The factory opens the turret. With a second one the new player's
    // hints are done, so once the wave runs only the play changes.
    for (const BoardPoint &spot : TURRET_SPOTS)
        ASSERT_TRUE(PlaceWeapon(TURRET_BUTTON, spot));
    SaveShot("PlayWeaponsPlaced");

    // Space starts the wave, and the hint that asked for it goes.
    Key("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const Screen reference = Shot();

    // Bugs are what changes on the board away from the weapons (their shots
    // and the blasts about them); they must lie on the road and go forward
    // along it.
    auto excluded = [&](int x, int y) {
        for (const BoardPoint &spot : TURRET_SPOTS)
            if (std::hypot(x - BoardToPixelX(spot.x), y - BoardToPixelY(spot.y)) < 100.0f)
                return true;
        return std::hypot(x - BoardToPixelX(FACTORY_SPOT.x), y - BoardToPixelY(FACTORY_SPOT.y)) < 70.0f;
    };
    size_t furthest_step = 0, step_moves = 0;
    int frames_with_bugs = 0, off_road = 0, on_road_pixels = 0;
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(60) && ProgramRunning()) {
        const Screen now = Shot();
        size_t frame_furthest = 0;
        int frame_on = 0;
        for (int y = 0; y < 720; y += 3)
            for (int x = 160; x < 1024; x += 3) {
                if (excluded(x, y) || !Differs(now.At(x, y), reference.At(x, y)))
                    continue;
                float distance = 0.0f;
                const size_t step = NearestStep(road, PixelToBoardX(x), PixelToBoardY(y), &distance);
                // The road is 0.075 wide either side; a bug may stand out over its edge.
                if (distance < 0.14f) {
                    frame_on++;
                    frame_furthest = std::max(frame_furthest, step);
                } else {
                    off_road++;
                }
            }
        if (frame_on > 20) {
            frames_with_bugs++;
            on_road_pixels += frame_on;
            if (frame_furthest > furthest_step + 20) {
                furthest_step = frame_furthest;
                step_moves++;
            }
        }
        if (frames_with_bugs == 8)
            SaveShot("PlayBugsOnRoad");
        if (step_moves >= 6 && frames_with_bugs >= 10)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    SaveShot("PlayWave");

    EXPECT_GE(frames_with_bugs, 10);
    // The bugs went forward along the road, and hardly anything changed off it.
    EXPECT_GE(step_moves, 6);
    EXPECT_LT(off_road, on_road_pixels / 20 + 10);

    EXPECT_EQ(StopProgram(), 0);
}

TEST_F(PlayE2eTest, AFiringTurretPointsAlongItsShotAtABug)
{
    const std::vector<BoardPoint> road = ReadRoad(0);
    ASSERT_FALSE(road.empty()) << "the first garden's road data could not be read";
    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_NO_FATAL_FAILURE(EnterFirstGarden());
    ASSERT_TRUE(PlaceWeapon(GUN_FACTORY_BUTTON, FACTORY_SPOT));
    for (const BoardPoint &spot : TURRET_SPOTS)
        ASSERT_TRUE(PlaceWeapon(TURRET_BUTTON, spot));

    // The turrets rest with their barrels up the screen until a bug comes
    // within reach; the board so is the ground the bugs and bullets will
    // cross.
    Key("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const Screen rest = Shot();
    SaveShot("PlayTurretsAtRest");
    for (const BoardPoint &turret : TURRET_SPOTS)
        EXPECT_LT(AngleGap(BarrelDirection(rest, turret), -TWO_PI / 4), 0.15f) << "a resting barrel";

    // A bullet lives a tenth of a second or so: the part of the screen
    // about the turrets is read as fast as it can be until several bullets
    // have been seen fresh out of the muzzle. The turret goes on following
    // its bug once it has fired, so a bullet counts when the shot before
    // had nothing like one: it was fired between the two, when the barrel pointed
    // between the directions the two shots show. A turret that swung far
    // in between (to another bug) tells too little.
    struct Sighting {
        float barrel_before, barrel, path;
        int bug_points;
    };
    std::vector<Sighting> sightings;
    const int watched_left = PixelX(std::min(TURRET_SPOTS[0].x, TURRET_SPOTS[1].x) - AIM_REACH);
    const int watched_right = PixelX(std::max(TURRET_SPOTS[0].x, TURRET_SPOTS[1].x) + AIM_REACH);
    const int watched_top = PixelY(std::min(TURRET_SPOTS[0].y, TURRET_SPOTS[1].y) - AIM_REACH);
    const int watched_bottom = PixelY(std::max(TURRET_SPOTS[0].y, TURRET_SPOTS[1].y) + AIM_REACH);
    bool had_bullet[2] = {true, true};
    float barrel_before[2] = {};
    const auto start = std::chrono::steady_clock::now();
    while (sightings.size() < 5 && std::chrono::steady_clock::now() - start < std::chrono::seconds(180) &&
           ProgramRunning()) {
        const Screen now =
            PartShot(watched_left, watched_top, watched_right - watched_left, watched_bottom - watched_top);
        for (int t = 0; t < 2; t++) {
            const BoardPoint turret = TURRET_SPOTS[t];
            BoardPoint bullet;
            bool any_bullet = false;
            const bool has_bullet = FindBullet(now, rest, turret, &bullet, &any_bullet);
            const float barrel = BarrelDirection(now, turret);
            if (has_bullet && !had_bullet[t] && AngleGap(barrel_before[t], barrel) < 0.35f) {
                sightings.push_back({barrel_before[t], barrel, std::atan2(bullet.y - turret.y, bullet.x - turret.x),
                                     BugPointsAhead(now, rest, road, turret, barrel, bullet)});
                const std::string name =
                    std::string(HW_SCREENSHOT_DIR) + "/PlayTurretFiring" + std::to_string(sightings.size());
                EXPECT_TRUE(XDisplay::SavePng(name + ".png", now));
                EXPECT_TRUE(XDisplay::SavePng(name + "CloseUp.png", TurretCloseUp(now, turret, barrel, bullet)));
            }
            had_bullet[t] = any_bullet;
            barrel_before[t] = barrel;
        }
    }

    ASSERT_GE(sightings.size(), 3u) << "fresh bullets seen";
    for (size_t i = 0; i < sightings.size(); i++) {
        const Sighting &s = sightings[i];
        SCOPED_TRACE("PlayTurretFiring" + std::to_string(i + 1));
        // The path lies on the arc the barrel swept, give or take what
        // reading directions from pixels misses.
        const float swept = AngleGap(s.barrel_before, s.barrel);
        EXPECT_LT(AngleGap(s.path, s.barrel_before) + AngleGap(s.path, s.barrel), swept + 0.2f)
            << "barrel " << s.barrel_before << " then " << s.barrel << ", bullet's path " << s.path;
        EXPECT_GE(s.bug_points, 15) << "little on the road where the barrel points";
    }

    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
