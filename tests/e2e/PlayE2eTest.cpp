// A first game on the real program, by the player's hand: into the first
// garden, a factory bought from the sidebar and refused on the road (the
// pointer shows it) before it stands on free ground, a turret beside the
// road, the wave started with Space; the bugs then walk the road the garden
// picture shows and go forward along it.
#include "tests/e2e/PlayE2eSteps.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

using namespace e2e;

bool MainScreenDrawn(const Screen &screen)
{
    return LitPoints(screen, 162, 402, 146, 26) > 50 && LitPoints(screen, 332, 402, 146, 26) > 50;
}

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

} // namespace
