// The selling benchmark: what selling costs with a full board. On the first
// garden's placement grid (its road and trees blocking the ground) it stands
// 150 Turrets and Small Sprays, packed as closely as a saved game's weapons
// may stand (the lenient placement test), then measures one sale
// (`WeaponsSell` of a weapon picked at random, on a board stood afresh for
// each) and the Escape that ends a won game during its show (`GameWonEnd`,
// which sells every weapon at once). It prints the median and the worst
// main-thread CPU time of each.
//
// Run it from an optimised build's folder, where the generated Data/ lies
// (see the README); it exits with 1 when the road data cannot be read or the
// board does not take 150 weapons.
#include "bench/BenchTiming.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "game/GameWon.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/Weapons.h"

#include <cstdio>
#include <vector>

namespace {

const int STANDING = 150;
const int SALES = 40;
const int GAME_WON_RUNS = 5;

const char *LastReport()
{
    int count = DebugGetNumMessages();
    return count > 0 ? DebugGetMessageText(count - 1) : "nothing reported";
}

// Stands STANDING weapons over an empty board, Turrets and Small Sprays in
// turn, each at the first spot of a fine scan where it may stand; false when
// the board is full first.
bool StandWeapons()
{
    WeaponsClearForNewGame();
    HiveWatcherBuildGrid();
    int placed = 0;
    for (float y = -0.93f; y < 0.93f && placed < STANDING; y += 0.01f)
        for (float x = -0.93f; x < 0.93f && placed < STANDING; x += 0.01f) {
            const int type = 3 * (placed % 2);
            if (WeaponsCanPlaceAt(type, x, y, 1) && WeaponsCreateNew(type, x, y, 0, 1))
                placed++;
        }
    return placed == STANDING;
}

int Standing()
{
    int n = 0;
    for (int i = 0; i < weapons_count; i++)
        n += weapons_list[i] != nullptr;
    return n;
}

void Print(const char *what, const std::vector<double> &ms)
{
    double worst = 0.0;
    for (double m : ms)
        worst = m > worst ? m : worst;
    std::printf("%-34s | %9.3f %9.3f | %4zu\n", what, BenchMedian(ms), worst, ms.size());
}

} // namespace

int main()
{
    if (!HiveWatcherSetup())
        return 1;
    levels_garden = 0;
    levels_difficulty = 0;
    if (!TraverseSetup()) {
        std::fprintf(stderr, "No road data: run from the build folder with Data/ (%s)\n", LastReport());
        return 1;
    }
    play_money = 0;
    play_lives = 1;

    EngMiscRandSeed(7);
    std::vector<double> sale;
    for (int i = 0; i < SALES; i++) {
        if (!StandWeapons()) {
            std::fprintf(stderr, "The board took only %d weapons\n", Standing());
            return 1;
        }
        const int slot = EngMiscRand() % STANDING;
        const double t0 = BenchSeconds(CLOCK_THREAD_CPUTIME_ID);
        WeaponsSell(slot);
        sale.push_back((BenchSeconds(CLOCK_THREAD_CPUTIME_ID) - t0) * 1000.0);
    }

    // Escape during the game-won show: every weapon sold at once.
    std::vector<double> game_won;
    for (int run = 0; run < GAME_WON_RUNS; run++) {
        if (!StandWeapons())
            return 1;
        GameWonInit();
        const double t0 = BenchSeconds(CLOCK_THREAD_CPUTIME_ID);
        GameWonEnd(0);
        game_won.push_back((BenchSeconds(CLOCK_THREAD_CPUTIME_ID) - t0) * 1000.0);
        if (Standing() != 0) {
            std::fprintf(stderr, "The show left weapons standing\n");
            return 1;
        }
    }

    std::printf("CPU ms with %d weapons standing on the first garden\n", STANDING);
    std::printf("%-34s | %9s %9s | %4s\n", "operation", "median", "worst", "runs");
    Print("one sale (WeaponsSell)", sale);
    Print("Escape in the show (GameWonEnd)", game_won);
    return 0;
}
