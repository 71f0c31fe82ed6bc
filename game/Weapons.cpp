// The weapons module: tables, the list of placed weapons, placement on the
// grid, buying, selling, selection and the weapons' pictures.
#include "game/Weapons.h"

#include "engine/core/EngDebug.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/PopupGlue.h"
#include "game/Sound.h"
#include "game/Tutorial.h"
#include "game/Sidebar.h"
#include "game/Weapon.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

const char weapons_type_names[WEAPON_TYPES][32] = {
    "Turret",       "Cannon",        "Tank",           "Small Spray",      "Medium Spray",     "Big Spray",
    "Stone Thrower", "Grenade Launcher", "Missile Launcher", "Gun Factory", "Spray Factory", "Projectile Factory",
};

namespace {

// -99 in the tables: the value of the level before (or the default).
const float INHERIT = -99.0f;
const int INHERIT_PERCENT = -99;

// size, turn rate, hull turn rate, muzzle x, muzzle y, square footprint,
// turns while shooting, aim class, reserved, upgrade speed.
const _WeaponTypeInfo type_table[WEAPON_TYPES] = {
    {0.12f, 1.8f, 0.0f, 0.0f, 0.0f, 0, 1, 0, 0, INHERIT},    // Turret
    {0.13f, 2.3f, 0.0f, 0.0f, -0.15f, 0, 1, 0, 0, INHERIT},  // Cannon
    {0.14f, 2.6f, 0.1f, 0.0f, -0.1f, 0, 1, 0, 0, INHERIT},   // Tank: turns its body too
    {0.12f, 2.0f, 0.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0.7f},       // Small Spray
    {0.13f, 3.0f, 0.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0.6f},       // Medium Spray
    {0.14f, 4.0f, 0.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0.5f},       // Big Spray
    {0.12f, 1.0f, 0.0f, 0.0f, 0.0f, 1, 1, 0, 0, INHERIT},    // Stone Thrower: square
    {0.13f, 1.2f, 0.0f, 0.0f, 0.0f, 0, 1, 0, 0, INHERIT},    // Grenade Launcher
    {0.14f, 1.5f, 0.0f, 0.0f, 0.0f, 0, 1, 0, 0, INHERIT},    // Missile Launcher
    {0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 1, 0, 0, 0, 0.5f},        // Gun Factory
    {0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 1, 0, 0, 0, 0.5f},        // Spray Factory
    {0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 1, 0, 0, 0, 0.5f},        // Projectile Factory
};

// Per type, levels 0 to 3: cost, sell percent, reload rate, range, damage,
// slowdown. Factories have no combat values; their level 3 is never reached.
const _WeaponLevelInfo level_table[WEAPON_TYPES][WEAPON_LEVELS] = {
    {{80, -99, 13, 0.15f, 5, 0}, {60, -99, 18, 0.18f, 9, 0}, {60, -99, 22, 0.21f, 12, 1}, {60, -99, 25, 0.24f, 15, 1}},
    {{350, -99, 20, 0.25f, 20, 2}, {275, -99, 25, 0.3f, 30, 3}, {275, -99, 29, 0.35f, 38, 4},
     {275, -99, 32, 0.4f, 45, 5}},
    {{3500, -99, 30, 0.4f, 70, 5}, {2500, -99, 35, 0.45f, 95, 8}, {2500, -99, 39, 0.5f, 115, 11},
     {2500, -99, 42, 0.55f, 130, 13}},
    {{100, -99, 10, 0.15f, 20, 14}, {70, -99, 13, 0.2f, 28, 21}, {70, -99, 16, 0.25f, 35, 27},
     {70, -99, 19, 0.3f, 41, 32}},
    {{500, -99, 10, 0.3f, 30, 45}, {350, -99, 14, 0.35f, 40, 55}, {350, -99, 18, 0.4f, 48, 65},
     {350, -99, 22, 0.45f, 55, 75}},
    {{5000, -99, 10, 0.4f, 70, 80}, {3500, -99, 15, 0.52f, 85, 120}, {3500, -99, 20, 0.64f, 98, 145},
     {3500, -99, 25, 0.76f, 110, 165}},
    {{80, -99, 15, 0.2f, 14, 1}, {75, -99, 17, 0.26f, 19, 2}, {75, -99, 19, 0.31f, 24, 4}, {75, -99, 21, 0.35f, 29, 8}},
    {{400, -99, 15, 0.35f, 45, 4}, {300, -99, 19, 0.4f, 60, 8}, {300, -99, 23, 0.45f, 73, 11},
     {300, -99, 27, 0.5f, 85, 13}},
    {{6000, -99, 7, 0.5f, 150, 15}, {4000, -99, 9, 0.8f, 225, 18}, {4000, -99, 11, 1.1f, 290, 21},
     {4000, -99, 13, 1.4f, 350, 24}},
    {{120, 0, 0, 0, 0, 0}, {500, 0, 0, 0, 0, 0}, {5000, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
    {{140, 0, 0, 0, 0, 0}, {700, 0, 0, 0, 0, 0}, {8000, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
    {{120, 0, 0, 0, 0, 0}, {600, 0, 0, 0, 0, 0}, {10000, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
};

// Picture files by type 0 to 8; null where the type has no turret.
struct WeaponFiles {
    const char *base;
    const char *turret;
    const char *shot;
};
const WeaponFiles weapon_files[WEAPON_SHOOTING_TYPES] = {
    {"Data/1300.dat", "Data/1301.dat", "Data/1350.dat"},
    {"Data/1302.dat", "Data/1303.dat", "Data/1351.dat"},
    {"Data/1304.dat", "Data/1305.dat", "Data/1352.dat"},
    {"Data/1310.dat", nullptr, "Data/1360.dat"},
    {"Data/1311.dat", nullptr, "Data/1361.dat"},
    {"Data/1312.dat", nullptr, "Data/1362.dat"},
    {"Data/1320.dat", "Data/1321.dat", "Data/1370.dat"},
    {"Data/1322.dat", "Data/1323.dat", "Data/1371.dat"},
    {"Data/1324.dat", "Data/1325.dat", "Data/1372.dat"},
};
const char *const factory_background = "Data/1380.dat";

const float TWO_PI = 6.28318530717958647692f;

bool IsBoardCell(int cx, int cy)
{
    return cx >= ROAD_GRID_FIRST_BOARD_CELL && cx <= 479 && cy >= ROAD_GRID_FIRST_BOARD_CELL && cy <= 479;
}

uint8_t GridAt(int cx, int cy)
{
    return play_grid[cx * ROAD_GRID_SIDE + cy];
}

// One sample of a footprint under test.
bool SamplePasses(float x, float y, char lenient)
{
    int cx = 0, cy = 0;
    HiveWatcherBoardToGrid(x, y, &cx, &cy);
    if (!IsBoardCell(cx, cy))
        return false;
    if (GridAt(cx, cy) == 0)
        return true;
    if (!lenient)
        return false;
    // A saved game's weapon may stand a little over blocked ground when
    // there is free ground two cells away.
    static const int escapes[8][2] = {{-2, -2}, {0, -2}, {2, -2}, {-2, 0}, {2, 0}, {-2, 2}, {0, 2}, {2, 2}};
    for (const auto &e : escapes)
        if (IsGridClearAtPos(cx + e[0], cy + e[1], 0))
            return true;
    return false;
}

// The grid cells a weapon's footprint covers, each once, and their bounding
// box. A footprint is sampled some 40,000 times, so each placed weapon keeps
// its list: a sale then gives back and marks again only the cells concerned.
// The list depends only on the type and the position, which are its key.
struct Footprint {
    int type = -1;
    float x = 0.0f, y = 0.0f;
    int min_cx = 0, max_cx = -1, min_cy = 0, max_cy = -1;
    std::vector<int32_t> cells;
};

Footprint footprints[WEAPONS_MAX];

// Gathers the cells of board points into a footprint, skipping repeats with
// a mark per cell of a window about the weapon's centre cell.
class FootprintLister {
public:
    FootprintLister(int type, float x, float y, Footprint *out) : m_out(out)
    {
        HiveWatcherBoardToGrid(x, y, &m_centre_x, &m_centre_y);
        out->type = type;
        out->x = x;
        out->y = y;
        out->min_cx = out->min_cy = ROAD_GRID_SIDE;
        out->max_cx = out->max_cy = -1;
        out->cells.clear();
    }

    void Add(float x, float y)
    {
        int cx = 0, cy = 0;
        HiveWatcherBoardToGrid(x, y, &cx, &cy);
        if (cx < 0 || cx >= ROAD_GRID_SIDE || cy < 0 || cy >= ROAD_GRID_SIDE)
            return;
        const int wx = cx - m_centre_x + WINDOW_HALF, wy = cy - m_centre_y + WINDOW_HALF;
        // The window holds the largest footprint; a point outside it would
        // only be listed twice, which costs a write and changes nothing.
        if (wx >= 0 && wx < WINDOW_SIDE && wy >= 0 && wy < WINDOW_SIDE) {
            if (m_seen[wx * WINDOW_SIDE + wy])
                return;
            m_seen[wx * WINDOW_SIDE + wy] = 1;
        }
        m_out->cells.push_back(cx * ROAD_GRID_SIDE + cy);
        m_out->min_cx = std::min(m_out->min_cx, cx);
        m_out->max_cx = std::max(m_out->max_cx, cx);
        m_out->min_cy = std::min(m_out->min_cy, cy);
        m_out->max_cy = std::max(m_out->max_cy, cy);
    }

private:
    // Cells either side of the centre: the largest footprint (0.2 board
    // units across, 224 cells a unit) reaches 23.
    static const int WINDOW_HALF = 32, WINDOW_SIDE = 2 * WINDOW_HALF + 1;
    Footprint *m_out;
    int m_centre_x = 0, m_centre_y = 0;
    uint8_t m_seen[WINDOW_SIDE * WINDOW_SIDE] = {};
};

// The cells the weapon's footprint covers: a square or a disc of samples a
// thousandth of a board unit apart.
void ListFootprint(int type, float x, float y, Footprint *out)
{
    FootprintLister lister(type, x, y, out);
    const _WeaponTypeInfo &info = weapons_type_info[type];
    const float size = info.size;
    if (info.square_footprint) {
        for (float i = 0.004f; i < size - 0.008f; i += 0.001f)
            for (float j = 0.004f; j < size - 0.008f; j += 0.001f)
                lister.Add(x + i - size / 2.0f, y + j - size / 2.0f);
        return;
    }
    for (float r = 0.001f; r < size / 2.0f; r += 0.001f)
        for (float a = 0.0f; a < TWO_PI; a += 0.01f)
            lister.Add(x + r * std::cos(a), y + r * std::sin(a));
}

// The footprint of the weapon in the slot, listed when it is not yet.
const Footprint &FootprintOf(int slot)
{
    const Weapon &weapon = *weapons_list[slot];
    Footprint &footprint = footprints[slot];
    if (footprint.type != weapon.m_type || footprint.x != weapon.m_x || footprint.y != weapon.m_y)
        ListFootprint(weapon.m_type, weapon.m_x, weapon.m_y, &footprint);
    return footprint;
}

// Marks the footprint's cells as taken by a weapon (2).
void MarkFootprint(const Footprint &footprint)
{
    for (int32_t cell : footprint.cells)
        play_grid[cell] = 2;
}

// Gives the footprint's cells back as the garden's ground map has them.
void GiveBackFootprint(const Footprint &footprint)
{
    for (int32_t cell : footprint.cells)
        play_grid[cell] = traverse_data.ground_map[cell] != 0;
}

bool FootprintsMeet(const Footprint &a, const Footprint &b)
{
    return a.min_cx <= b.max_cx && b.min_cx <= a.max_cx && a.min_cy <= b.max_cy && b.min_cy <= a.max_cy;
}

bool IsValidType(int type)
{
    return type >= 0 && type < WEAPON_TYPES;
}

}  // namespace

_WeaponTypeInfo weapons_type_info[WEAPON_TYPES];
_WeaponLevelInfo weapons_level_info[WEAPON_TYPES][WEAPON_LEVELS];
_WeaponTypeGeometry weapons_type_geometry[WEAPON_TYPES];

Weapon *weapons_list[WEAPONS_MAX];
int32_t weapons_count = 0;
int32_t weapons_selected = -1;
int weapons_factory_level[3] = {0, 0, 0};

EngTexture weapons_base_textures[WEAPON_SHOOTING_TYPES];
EngTexture weapons_turret_textures[WEAPON_SHOOTING_TYPES];
EngTexture weapons_shot_textures[WEAPON_SHOOTING_TYPES];
EngTexture weapons_factory_textures[9];

char WeaponsSetup()
{
    WeaponsDeleteAll();
    WeaponsDestroyGraphics();
    WeaponsSetupTables();
    return 1;
}

void WeaponsSetupTables()
{
    memcpy(weapons_type_info, type_table, sizeof(weapons_type_info));
    memcpy(weapons_level_info, level_table, sizeof(weapons_level_info));
    for (int t = 0; t < WEAPON_TYPES; t++) {
        _WeaponTypeInfo &info = weapons_type_info[t];
        weapons_type_geometry[t] = {info.size * 0.5f, info.muzzle_x * info.size, info.muzzle_y * info.size};
        if (info.upgrade_speed == INHERIT)
            info.upgrade_speed = 1.0f;
        _WeaponLevelInfo *levels = weapons_level_info[t];
        if (levels[0].sell_percent == INHERIT_PERCENT)
            levels[0].sell_percent = 50;
        for (int l = 1; l < WEAPON_LEVELS; l++) {
            const _WeaponLevelInfo &before = levels[l - 1];
            _WeaponLevelInfo &level = levels[l];
            if (level.sell_percent == INHERIT_PERCENT)
                level.sell_percent = before.sell_percent;
            float *values[4] = {&level.reload_rate, &level.range, &level.damage, &level.slowdown};
            const float previous[4] = {before.reload_rate, before.range, before.damage, before.slowdown};
            for (int v = 0; v < 4; v++)
                if (*values[v] == INHERIT)
                    *values[v] = previous[v];
        }
    }
}

char WeaponsCreateGraphics()
{
    for (int t = 0; t < WEAPON_SHOOTING_TYPES; t++) {
        if (!weapons_base_textures[t].LoadFromFile(weapon_files[t].base, 1, 2, 0))
            return 0;
        if (weapon_files[t].turret && !weapons_turret_textures[t].LoadFromFile(weapon_files[t].turret, 1, 2, 0))
            return 0;
    }
    for (int t = 0; t < WEAPON_SHOOTING_TYPES; t++)
        if (!weapons_shot_textures[t].LoadFromFile(weapon_files[t].shot, 1, 2, 0))
            return 0;
    for (int family = 0; family < 3; family++)
        for (int level = 0; level < 3; level++)
            if (!WeaponsCreateFactoryTex(family, level))
                return 0;
    return 1;
}

void WeaponsDestroyGraphics()
{
    for (int t = 0; t < WEAPON_SHOOTING_TYPES; t++) {
        weapons_base_textures[t].Destroy();
        weapons_turret_textures[t].Destroy();
        weapons_shot_textures[t].Destroy();
    }
    for (EngTexture &texture : weapons_factory_textures)
        texture.Destroy();
}

char WeaponsCreateFactoryTex(int family, int level)
{
    if (family < 0 || family > 2 || level < 0 || level > 2)
        return 0;
    EngTexture &picture = weapons_factory_textures[family * 3 + level];
    picture.Destroy();
    const int type = family * 3 + level;
    EngTexture &base = weapons_base_textures[type], &turret = weapons_turret_textures[type];
    if (!base.IsCreated()) {
        DebugError("WeaponsCreateFactoryTex", "Tex not ok [%d:%d]", type, 0);
        return 0;
    }
    if (!picture.LoadFromFile(factory_background, 1, 2, 0))
        return 0;
    if (!picture.CopyPartFromAnotherTextureUsingInts(&base, 0, 0, base.GetWidth(), base.GetHeight(), 32, 32, 64,
                                                     64, 1, nullptr))
        return 0;
    if (turret.IsCreated() && !picture.CopyPartFromAnotherTextureUsingInts(
                                  &turret, 0, 0, turret.GetWidth(), turret.GetHeight(), 32, 32, 64, 64, 1, nullptr))
        return 0;
    return 1;
}

char IsGridClearAtPos(int cx, int cy, char report)
{
    if (!IsBoardCell(cx, cy)) {
        if (report)
            DebugError("IsGridClearAtPos", "Bad pos [%d,%d].", cx, cy);
        return 0;
    }
    return GridAt(cx, cy) == 0;
}

char WeaponsCanPlaceAt(int type, float x, float y, char lenient)
{
    if (!IsValidType(type))
        return 0;
    int cx = 0, cy = 0;
    HiveWatcherBoardToGrid(x, y, &cx, &cy);
    if (!IsBoardCell(cx, cy) || GridAt(cx, cy) != 0)
        return 0;
    const _WeaponTypeInfo &info = weapons_type_info[type];
    const float size = info.size;
    if (info.square_footprint) {
        for (float i = 0.0f; i < size; i += 0.001f)
            for (float j = 0.0f; j < size; j += 0.001f)
                if (!SamplePasses(x - size / 2.0f + i, y - size / 2.0f + j, lenient))
                    return 0;
        return 1;
    }
    const float r = size / 2.0f;
    for (int k = 0; k < 6; k++) {
        const float a = (float)k * TWO_PI / 6.0f;
        if (!SamplePasses(x + r * std::sin(a), y + r * std::cos(a), lenient))
            return 0;
    }
    return 1;
}

char WeaponsCreateNew(int type, float x, float y, char clear, char free)
{
    if (!IsValidType(type))
        return 0;
    if (!clear) {
        if (weapons_count >= WEAPONS_MAX)
            return 0;
        const int cost = weapons_level_info[type][0].cost;
        if (!free && play_money < cost)
            return 0;
        if (!WeaponsCanPlaceAt(type, x, y, free)) {
            DebugError("WeaponsCreateNew", "Cannot place weapon of type %d at %.1f,%.1f", type, x, y);
            return 0;
        }
        weapons_list[weapons_count++] = new Weapon(type, x, y);
        if (!free) {
            HiveWatcherAddToMoney(-cost);
            HiveWatcherAddToScore(0);
            SoundPlay(SOUND_WEAPON_PLACED);
        }
        MarkFootprint(FootprintOf(weapons_count - 1));
        if (!free)
            WeaponsCountFactoryLevels();
        return 1;
    }
    Footprint freed;
    ListFootprint(type, x, y, &freed);
    GiveBackFootprint(freed);
    return 1;
}

int WeaponsGetRefund(int slot)
{
    if (slot < 0 || slot >= WEAPONS_MAX || !weapons_list[slot])
        return 0;
    const Weapon &weapon = *weapons_list[slot];
    int spent = 0;
    for (int l = 0; l <= weapon.m_level && l < WEAPON_LEVELS; l++)
        spent += weapons_level_info[weapon.m_type][l].cost;
    return spent * weapons_level_info[weapon.m_type][weapon.m_level].sell_percent / 100;
}

void WeaponsSell(int slot)
{
    if (slot < 0 || slot >= WEAPONS_MAX || !weapons_list[slot])
        return;
    HiveWatcherAddToMoney(WeaponsGetRefund(slot));
    const Footprint &sold = FootprintOf(slot);
    GiveBackFootprint(sold);
    delete weapons_list[slot];
    weapons_list[slot] = nullptr;
    // Giving back the ground may have freed cells a neighbour's footprint
    // shares; only a neighbour whose cells reach into the sold one's can.
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i] && FootprintsMeet(FootprintOf(i), sold))
            MarkFootprint(FootprintOf(i));
    weapons_selected = -1;
    PopupRefresh(1);
}

char WeaponsSellLast()
{
    for (int i = weapons_count - 1; i >= 0; i--) {
        if (weapons_list[i]) {
            WeaponsSell(i);
            return 1;
        }
    }
    weapons_count = 0;
    return 0;
}

char WeaponsHandleClick(char button, char state)
{
    if (!sidebar_placing) {
        if (button != 0 || state != 1)
            return 0;
        const int old = weapons_selected;
        weapons_selected = -1;
        for (int i = 0; i < weapons_count; i++)
            if (weapons_list[i] && weapons_list[i]->ContainsPoint(play_board_x, play_board_y))
                weapons_selected = i;
        if (weapons_selected == old)
            return 0;
        PopupRefresh(0);
        return 1;
    }
    if (button == 1) {
        SidebarCancelPlacing();
        return 1;
    }
    if (button != 0 || state != 0 || !WeaponsCanPlaceAt(sidebar_placing_type, play_board_x, play_board_y, 0))
        return 0;
    WeaponsCreateNew(sidebar_placing_type, play_board_x, play_board_y, 0, 0);
    SidebarCancelPlacing();
    SidebarDeselect();
    WeaponsUpdateMouseOver();
    TutorialUpdateHint();
    return 1;
}

void WeaponsUpdateMouseOver()
{
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i])
            weapons_list[i]->UpdateMouseOver();
    if (weapons_selected >= 0 &&
        (weapons_selected >= weapons_count || !weapons_list[weapons_selected] ||
         !weapons_list[weapons_selected]->m_mouse_over)) {
        weapons_selected = -1;
        PopupRefresh(0);
    }
}

char WeaponsUpgradeSelected(char full)
{
    if (sidebar_placing)
        return 0;
    Weapon *weapon = nullptr;
    if (weapons_selected >= 0 && weapons_selected < weapons_count)
        weapon = weapons_list[weapons_selected];
    for (int i = 0; !weapon && i < weapons_count; i++)
        if (weapons_list[i] && weapons_list[i]->ContainsPoint(play_board_x, play_board_y))
            weapon = weapons_list[i];
    if (!weapon)
        return 0;
    bool started = full ? weapon->StartFullUpgrade() : weapon->StartUpgrade();
    if (started)
        PopupRefresh(1);
    return started;
}

void WeaponsCountFactoryLevels()
{
    memset(weapons_factory_level, 0, sizeof(weapons_factory_level));
    for (int i = 0; i < weapons_count; i++) {
        const Weapon *weapon = weapons_list[i];
        if (!weapon || !weapon->IsFactory())
            continue;
        int &level = weapons_factory_level[weapon->m_type - WEAPON_FIRST_FACTORY];
        if (weapon->m_level + 1 > level)
            level = weapon->m_level + 1;
    }
    SidebarRefresh(0);
}

void WeaponsUpdate()
{
    if (play_run_state != 0)
        return;
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i])
            weapons_list[i]->Update();
}

void WeaponsDraw()
{
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i])
            weapons_list[i]->Draw();
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i])
            weapons_list[i]->DrawShots();
}

void WeaponsClearAllShots()
{
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i])
            weapons_list[i]->ClearShots();
}

void WeaponsDeleteAll()
{
    for (Weapon *&weapon : weapons_list) {
        delete weapon;
        weapon = nullptr;
    }
    weapons_count = 0;
}

void WeaponsClearForNewGame()
{
    WeaponsDeleteAll();
    weapons_selected = -1;
    WeaponsCountFactoryLevels();
}

int WeaponsGetScorePerWeapon()
{
    return WEAPONS_SCORE_PER_WEAPON;
}

int WeaponsGetScoreValue()
{
    int placed = 0;
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i])
            placed++;
    return placed * WeaponsGetScorePerWeapon();
}

void WeaponsResetForTests()
{
    WeaponsDeleteAll();
    WeaponsDestroyGraphics();
    WeaponsSetupTables();
    weapons_selected = -1;
    memset(weapons_factory_level, 0, sizeof(weapons_factory_level));
}
