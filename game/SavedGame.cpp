// Saved games (see the header). The record is written and read field by
// field at fixed offsets, so the play's classes may change without touching
// the file; it is checked whole before the loader changes anything.
#include "game/SavedGame.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngEncryption.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngPrefs.h"
#include "game/Bugs.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/RecordFields.h"
#include "game/Tutorial.h"
#include "game/Weapon.h"
#include "game/Weapons.h"
#include "modules/ModulesFiles.h"
#include "modules/UserClass.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

const float SAVED_GAME_VERSION = 2.01f;
const int GARDENS = 4;
const int DIFFICULTIES = 3;
const int LAST_LEVEL = 49;
const int TARGET_MODES = 5;
const int FACTORY_LEVELS = 3;

// Offsets of the record.
enum {
    R_VERSION = 0,
    R_WEAPONS = 4,
    WEAPON_SIZE = 56,
    R_WEAPONS_COUNT = 56004,
    R_BUGS_KIND = 56008,
    R_BUGS_HP = 56016,
    R_BUGS_SPEED = 56024,
    R_BUGS_REWARD = 56032,
    R_BUGS_KILL_SCORE = 56040,
    R_BUGS_SPACING = 56048,
    R_BUGS_SIZE = 56052,
    R_BUGS = 56056,
    BUG_SIZE = 80,
    R_BUGS_COUNT = 64056,
    R_LAST_BOSS_LEVEL = 64060,
    R_GARDEN = 64064,
    R_DIFFICULTY = 64066,
    R_SCORE = 64068,
    R_BONUS = 64072,
    R_LIVES = 64076,
    R_MONEY = 64080,
    R_LEVEL = 64084,
    R_RUN_STATE = 64088,
    R_GAME_OVER = 64089,
    R_GAME_WON = 64090,
};
static_assert(R_WEAPONS + WEAPONS_MAX * WEAPON_SIZE == R_WEAPONS_COUNT, "record layout");
static_assert(R_BUGS + BUGS_MAX * BUG_SIZE == R_BUGS_COUNT, "record layout");

// Offsets of a weapon element.
enum {
    W_PRESENT = 0,
    W_TYPE = 4,
    W_LEVEL = 8,
    W_TARGET_MODE = 12,
    W_X = 16,
    W_Y = 20,
    W_DRAW_SIZE = 24,
    W_ANGLE = 28,
    W_HULL_ANGLE = 32,
    W_UPGRADING = 36,
    W_FULL_UPGRADE = 37,
    W_UPGRADE_PROGRESS = 40,
    W_THROB = 44,
    W_ALPHA = 48,
    W_RELOAD = 52,
};

// Offsets of a bug element.
enum {
    B_INDEX = 0,
    B_RESERVED_BYTE1 = 4,
    B_ANIM_PHASE = 8,
    B_ANGLE = 12,
    B_DISTANCE = 16,
    B_STEP = 20,
    B_SHOWN_STEP = 24,
    B_ON_BOARD = 28,
    B_RESERVED_FLOAT1 = 32,
    B_ALIVE = 36,
    B_RUNNER = 37,
    B_RESERVED_BYTE2 = 38,
    B_RESERVED_FLOAT2 = 40,
    B_SPEED = 48,
    B_HP = 56,
    B_MAX_HP = 64,
    B_STATE = 72,
    B_TARGETABLE = 73,
};

char file_name[SAVED_GAME_NAME_SIZE];

bool IsSlotValid(int slot)
{
    return slot >= 0 && slot <= SAVED_GAME_MAX_SLOT;
}

// The garden number of the file name: 0 in the any-garden form, else 1 to 4
// (out of that range without a garden).
int NameGarden(char any_garden)
{
    return any_garden ? 0 : levels_garden + 1;
}

void PutWeapon(unsigned char *element, const Weapon *weapon)
{
    if (!weapon)
        return;
    RecordPut<uint8_t>(element, W_PRESENT, 1);
    RecordPut<int32_t>(element, W_TYPE, weapon->m_type);
    RecordPut<int32_t>(element, W_LEVEL, weapon->m_level);
    RecordPut<int32_t>(element, W_TARGET_MODE, weapon->m_target_mode);
    RecordPut<float>(element, W_X, weapon->m_x);
    RecordPut<float>(element, W_Y, weapon->m_y);
    RecordPut<float>(element, W_DRAW_SIZE, weapon->m_draw_size);
    RecordPut<float>(element, W_ANGLE, weapon->m_angle);
    RecordPut<float>(element, W_HULL_ANGLE, weapon->m_hull_angle);
    RecordPut<uint8_t>(element, W_UPGRADING, weapon->m_upgrading);
    RecordPut<uint8_t>(element, W_FULL_UPGRADE, weapon->m_full_upgrade);
    RecordPut<float>(element, W_UPGRADE_PROGRESS, weapon->m_upgrade_progress);
    RecordPut<float>(element, W_THROB, weapon->m_throb);
    RecordPut<float>(element, W_ALPHA, weapon->m_alpha);
    RecordPut<float>(element, W_RELOAD, weapon->m_reload);
}

void GetWeapon(const unsigned char *element, Weapon *weapon)
{
    weapon->m_level = RecordGet<int32_t>(element, W_LEVEL);
    weapon->m_target_mode = RecordGet<int32_t>(element, W_TARGET_MODE);
    weapon->m_x = RecordGet<float>(element, W_X);
    weapon->m_y = RecordGet<float>(element, W_Y);
    weapon->m_draw_size = RecordGet<float>(element, W_DRAW_SIZE);
    weapon->m_draw_half = weapon->m_draw_size / 2.0f;
    weapon->m_angle = RecordGet<float>(element, W_ANGLE);
    weapon->m_hull_angle = RecordGet<float>(element, W_HULL_ANGLE);
    weapon->m_upgrading = RecordGet<uint8_t>(element, W_UPGRADING);
    weapon->m_full_upgrade = RecordGet<uint8_t>(element, W_FULL_UPGRADE);
    weapon->m_upgrade_progress = RecordGet<float>(element, W_UPGRADE_PROGRESS);
    weapon->m_throb = RecordGet<float>(element, W_THROB);
    weapon->m_alpha = RecordGet<float>(element, W_ALPHA);
    weapon->m_reload = RecordGet<float>(element, W_RELOAD);
}

// An empty table slot is written as a zero element: not alive.
void PutBug(unsigned char *element, const Bug *bug)
{
    if (!bug)
        return;
    RecordPut<int32_t>(element, B_INDEX, bug->m_index);
    RecordPut<uint8_t>(element, B_RESERVED_BYTE1, bug->m_reserved_byte1);
    RecordPut<float>(element, B_ANIM_PHASE, bug->m_anim_phase);
    RecordPut<float>(element, B_ANGLE, bug->m_angle);
    RecordPut<float>(element, B_DISTANCE, bug->m_distance);
    RecordPut<int32_t>(element, B_STEP, bug->m_step);
    RecordPut<int32_t>(element, B_SHOWN_STEP, bug->m_shown_step);
    RecordPut<uint8_t>(element, B_ON_BOARD, bug->m_on_board);
    RecordPut<float>(element, B_RESERVED_FLOAT1, bug->m_reserved_float1);
    RecordPut<uint8_t>(element, B_ALIVE, bug->m_alive);
    RecordPut<uint8_t>(element, B_RUNNER, bug->m_runner);
    RecordPut<uint8_t>(element, B_RESERVED_BYTE2, bug->m_reserved_byte2);
    RecordPut<float>(element, B_RESERVED_FLOAT2, bug->m_reserved_float2);
    RecordPut<double>(element, B_SPEED, bug->m_speed);
    RecordPut<double>(element, B_HP, bug->m_hp);
    RecordPut<double>(element, B_MAX_HP, bug->m_max_hp);
    RecordPut<uint8_t>(element, B_STATE, bug->m_state);
    RecordPut<uint8_t>(element, B_TARGETABLE, bug->m_targetable);
}

void GetBug(const unsigned char *element, Bug *bug)
{
    bug->m_index = RecordGet<int32_t>(element, B_INDEX);
    bug->m_reserved_byte1 = RecordGet<uint8_t>(element, B_RESERVED_BYTE1);
    bug->m_anim_phase = RecordGet<float>(element, B_ANIM_PHASE);
    bug->m_angle = RecordGet<float>(element, B_ANGLE);
    bug->m_distance = RecordGet<float>(element, B_DISTANCE);
    bug->m_step = RecordGet<int32_t>(element, B_STEP);
    bug->m_shown_step = RecordGet<int32_t>(element, B_SHOWN_STEP);
    bug->m_on_board = RecordGet<uint8_t>(element, B_ON_BOARD);
    bug->m_reserved_float1 = RecordGet<float>(element, B_RESERVED_FLOAT1);
    bug->m_alive = RecordGet<uint8_t>(element, B_ALIVE);
    bug->m_runner = RecordGet<uint8_t>(element, B_RUNNER);
    bug->m_reserved_byte2 = RecordGet<uint8_t>(element, B_RESERVED_BYTE2);
    bug->m_reserved_float2 = RecordGet<float>(element, B_RESERVED_FLOAT2);
    bug->m_speed = RecordGet<double>(element, B_SPEED);
    bug->m_hp = RecordGet<double>(element, B_HP);
    bug->m_max_hp = RecordGet<double>(element, B_MAX_HP);
    bug->m_state = RecordGet<uint8_t>(element, B_STATE);
    bug->m_targetable = RecordGet<uint8_t>(element, B_TARGETABLE);
    bug->m_reserved_int = -1;
}

void FillRecord(unsigned char *record)
{
    std::memset(record, 0, SAVED_GAME_RECORD_SIZE);
    RecordPut<int16_t>(record, R_GARDEN, levels_garden);
    RecordPut<int16_t>(record, R_DIFFICULTY, levels_difficulty);
    RecordPut<int32_t>(record, R_SCORE, play_score);
    RecordPut<int32_t>(record, R_BONUS, play_bonus);
    RecordPut<int32_t>(record, R_LIVES, play_lives);
    RecordPut<int32_t>(record, R_MONEY, play_money);
    RecordPut<int32_t>(record, R_LEVEL, play_level);
    RecordPut<uint8_t>(record, R_RUN_STATE, play_run_state);
    RecordPut<uint8_t>(record, R_GAME_OVER, play_game_over);
    RecordPut<uint8_t>(record, R_GAME_WON, play_game_won);

    RecordPut<int32_t>(record, R_WEAPONS_COUNT, weapons_count);
    for (int i = 0; i < weapons_count; i++)
        PutWeapon(record + R_WEAPONS + i * WEAPON_SIZE, weapons_list[i]);

    RecordPut<int32_t>(record, R_BUGS_KIND, bugs_kind);
    RecordPut<double>(record, R_BUGS_HP, bugs_hp);
    RecordPut<double>(record, R_BUGS_SPEED, bugs_speed);
    RecordPut<double>(record, R_BUGS_REWARD, bugs_reward);
    RecordPut<int32_t>(record, R_BUGS_KILL_SCORE, bugs_kill_score);
    RecordPut<float>(record, R_BUGS_SPACING, bugs_spacing);
    RecordPut<float>(record, R_BUGS_SIZE, bugs_size);
    RecordPut<int32_t>(record, R_BUGS_COUNT, bugs_count);
    RecordPut<int32_t>(record, R_LAST_BOSS_LEVEL, bugs_last_boss_level);
    for (int i = 0; i < bugs_count; i++)
        PutBug(record + R_BUGS + i * BUG_SIZE, bugs_table[i]);

    RecordPut<float>(record, R_VERSION, SAVED_GAME_VERSION);
}

bool IsFlag(uint8_t value)
{
    return value <= 1;
}

// Whether the numbers of type T at the offsets are finite.
template <typename T, size_t N> bool AreFinite(const unsigned char *at, const int (&offsets)[N])
{
    for (int offset : offsets)
        if (!std::isfinite(RecordGet<T>(at, offset)))
            return false;
    return true;
}

// The levels a weapon of the type has: factories fewer than the others.
int LevelCount(int type)
{
    return type >= WEAPON_FIRST_FACTORY ? FACTORY_LEVELS : WEAPON_LEVELS;
}

bool IsWeaponValid(const unsigned char *element)
{
    const uint8_t present = RecordGet<uint8_t>(element, W_PRESENT);
    if (present == 0)
        return true;
    const int type = RecordGet<int32_t>(element, W_TYPE);
    if (present != 1 || type < 0 || type >= WEAPON_TYPES)
        return false;
    const int level = RecordGet<int32_t>(element, W_LEVEL);
    const int mode = RecordGet<int32_t>(element, W_TARGET_MODE);
    static const int floats[] = {W_X, W_Y, W_DRAW_SIZE, W_ANGLE, W_HULL_ANGLE, W_UPGRADE_PROGRESS,
                                 W_THROB, W_ALPHA, W_RELOAD};
    if (level < 0 || level >= LevelCount(type) || mode < 0 || mode >= TARGET_MODES ||
        !AreFinite<float>(element, floats))
        return false;
    // A weapon stands on the board, whose units run from -1 to 1.
    const float x = RecordGet<float>(element, W_X), y = RecordGet<float>(element, W_Y);
    const float progress = RecordGet<float>(element, W_UPGRADE_PROGRESS);
    return std::fabs(x) <= 1.0f && std::fabs(y) <= 1.0f && progress >= 0.0f && progress <= 1.0f &&
           IsFlag(RecordGet<uint8_t>(element, W_UPGRADING)) && IsFlag(RecordGet<uint8_t>(element, W_FULL_UPGRADE));
}

bool IsInRange(double value, double lowest, double highest)
{
    return value >= lowest && value <= highest;
}

bool IsBugValid(const unsigned char *element, int slot)
{
    const int index = RecordGet<int32_t>(element, B_INDEX);
    const uint8_t alive = RecordGet<uint8_t>(element, B_ALIVE);
    // An empty slot of the table is stored as a zero element.
    if (index != slot && !(alive == 0 && index == 0))
        return false;
    const int step = RecordGet<int32_t>(element, B_STEP);
    const int shown = RecordGet<int32_t>(element, B_SHOWN_STEP);
    if (step < 0 || step >= ROAD_MAX_STEPS || shown < 0 || shown >= ROAD_MAX_STEPS ||
        RecordGet<uint8_t>(element, B_STATE) > BS_PAST_END)
        return false;
    static const int flags[] = {B_ALIVE, B_ON_BOARD, B_RUNNER, B_TARGETABLE};
    for (int offset : flags)
        if (!IsFlag(RecordGet<uint8_t>(element, offset)))
            return false;
    static const int floats[] = {B_ANIM_PHASE, B_ANGLE, B_DISTANCE, B_RESERVED_FLOAT1, B_RESERVED_FLOAT2};
    static const int doubles[] = {B_SPEED, B_HP, B_MAX_HP};
    if (!AreFinite<float>(element, floats) || !AreFinite<double>(element, doubles))
        return false;
    // A dead bug leaves the table at the next update without moving; a
    // living one walks at a speed of its wave, slowed at most to the floor,
    // with hit points its wave gave it.
    if (!alive)
        return true;
    const double max_hp = RecordGet<double>(element, B_MAX_HP);
    return IsInRange(RecordGet<double>(element, B_SPEED), BUGS_SPEED_SLOWEST, BUGS_SPEED_FASTEST) &&
           IsInRange(max_hp, 1.0, BUGS_HP_MOST) && IsInRange(RecordGet<double>(element, B_HP), 0.0, max_hp);
}

// The wave's values as the play makes them. The spacing is never negative:
// a bug waits behind the road while its distance is below minus the spacing,
// so a negative one would keep it waiting, and living, past the road's end.
bool IsWaveValid(const unsigned char *record)
{
    static const int floats[] = {R_BUGS_SPACING, R_BUGS_SIZE};
    static const int doubles[] = {R_BUGS_HP, R_BUGS_SPEED, R_BUGS_REWARD};
    return AreFinite<float>(record, floats) && AreFinite<double>(record, doubles) &&
           RecordGet<float>(record, R_BUGS_SIZE) >= 0.0f && RecordGet<float>(record, R_BUGS_SPACING) >= 0.0f &&
           IsInRange(RecordGet<double>(record, R_BUGS_HP), 1.0, BUGS_HP_MOST) &&
           IsInRange(RecordGet<double>(record, R_BUGS_SPEED), BUGS_SPEED_SLOWEST, BUGS_SPEED_FASTEST) &&
           IsInRange(RecordGet<double>(record, R_BUGS_REWARD), 1.0, BUGS_REWARD_MOST);
}

// Everything the loader acts on, checked before it changes anything (the
// version is checked on its own first).
bool IsRecordValid(const unsigned char *record)
{
    const int weapons = RecordGet<int32_t>(record, R_WEAPONS_COUNT);
    const int bugs = RecordGet<int32_t>(record, R_BUGS_COUNT);
    const int garden = RecordGet<int16_t>(record, R_GARDEN);
    const int difficulty = RecordGet<int16_t>(record, R_DIFFICULTY);
    const int level = RecordGet<int32_t>(record, R_LEVEL);
    const int kind = RecordGet<int32_t>(record, R_BUGS_KIND);
    if (weapons < 0 || weapons > WEAPONS_MAX || bugs < 0 || bugs > BUGS_MAX || garden < 0 || garden >= GARDENS ||
        difficulty < 0 || difficulty >= DIFFICULTIES || level < 0 || level > LAST_LEVEL || kind < 0 ||
        kind >= BUGS_KINDS)
        return false;
    // Score, bonus and money never go below 0 in play; a game is saved only
    // while it has lives left and neither end scene runs, whose state the
    // record does not hold.
    static const int counters[] = {R_SCORE, R_BONUS, R_MONEY};
    for (int offset : counters)
        if (RecordGet<int32_t>(record, offset) < 0)
            return false;
    if (RecordGet<int32_t>(record, R_LIVES) < 1 || RecordGet<uint8_t>(record, R_RUN_STATE) > 2 ||
        RecordGet<uint8_t>(record, R_GAME_OVER) != 0 || RecordGet<uint8_t>(record, R_GAME_WON) != 0)
        return false;
    // The last boss wave is a level already played (0 before any).
    const int last_boss = RecordGet<int32_t>(record, R_LAST_BOSS_LEVEL);
    if (last_boss < 0 || last_boss > level || !IsWaveValid(record))
        return false;
    for (int i = 0; i < weapons; i++)
        if (!IsWeaponValid(record + R_WEAPONS + i * WEAPON_SIZE))
            return false;
    for (int i = 0; i < bugs; i++)
        if (!IsBugValid(record + R_BUGS + i * BUG_SIZE, i))
            return false;
    return true;
}

// A weapon at its top level that is still marked as upgrading (one flipped
// bit) would climb past the level tables: it keeps its level and stops
// upgrading.
void MendRecord(unsigned char *record)
{
    const int count = RecordGet<int32_t>(record, R_WEAPONS_COUNT);
    for (int i = 0; i < count; i++) {
        unsigned char *element = record + R_WEAPONS + i * WEAPON_SIZE;
        if (RecordGet<uint8_t>(element, W_PRESENT) &&
            RecordGet<int32_t>(element, W_LEVEL) == LevelCount(RecordGet<int32_t>(element, W_TYPE)) - 1 &&
            RecordGet<uint8_t>(element, W_UPGRADING)) {
            RecordPut<uint8_t>(element, W_UPGRADING, 0);
            RecordPut<uint8_t>(element, W_FULL_UPGRADE, 0);
            RecordPut<float>(element, W_UPGRADE_PROGRESS, 0.0f);
        }
    }
}

void SetWaveValues(const unsigned char *record)
{
    bugs_spacing = RecordGet<float>(record, R_BUGS_SPACING);
    bugs_kind = RecordGet<int32_t>(record, R_BUGS_KIND);
    bugs_hp = RecordGet<double>(record, R_BUGS_HP);
    bugs_speed = RecordGet<double>(record, R_BUGS_SPEED);
    bugs_reward = RecordGet<double>(record, R_BUGS_REWARD);
    bugs_kill_score = RecordGet<int32_t>(record, R_BUGS_KILL_SCORE);
}

void SetPlayValues(const unsigned char *record)
{
    play_score = RecordGet<int32_t>(record, R_SCORE);
    play_bonus = RecordGet<int32_t>(record, R_BONUS);
    play_lives = RecordGet<int32_t>(record, R_LIVES);
    play_money = RecordGet<int32_t>(record, R_MONEY);
    play_level = RecordGet<int32_t>(record, R_LEVEL);
    play_game_over = RecordGet<uint8_t>(record, R_GAME_OVER);
    play_game_won = RecordGet<uint8_t>(record, R_GAME_WON);
}

void PlaceWeapons(const unsigned char *record)
{
    const int count = RecordGet<int32_t>(record, R_WEAPONS_COUNT);
    for (int i = 0; i < count; i++) {
        const unsigned char *element = record + R_WEAPONS + i * WEAPON_SIZE;
        if (!RecordGet<uint8_t>(element, W_PRESENT))
            continue;
        const int type = RecordGet<int32_t>(element, W_TYPE);
        if (!WeaponsCreateNew(type, RecordGet<float>(element, W_X), RecordGet<float>(element, W_Y), 0, 1)) {
            DebugError("LoadSavedGame", "Could not create weapon [%d]", i);
            continue;
        }
        GetWeapon(element, weapons_list[weapons_count - 1]);
    }
}

// The wave's bugs on the garden's road, now that it is read. A living bug
// stands before the road's end: the play takes one that reaches it off the
// board with a life, which a load must not do.
bool RestoreBugs(const unsigned char *record)
{
    bugs_count = RecordGet<int32_t>(record, R_BUGS_COUNT);
    for (int i = 0; i < bugs_count; i++) {
        const unsigned char *element = record + R_BUGS + i * BUG_SIZE;
        if (RecordGet<uint8_t>(element, B_ALIVE) && RecordGet<float>(element, B_DISTANCE) >= traverse_data.num_steps)
            return false;
        Bug *bug = new (std::nothrow) Bug(RecordGet<int32_t>(element, B_INDEX), 0);
        if (!bug)
            return false;
        GetBug(element, bug);
        bug->UpdatePosition();
        bugs_table[i] = bug;
    }
    return true;
}

} // namespace

const char *SavedGameFileName(int slot, char any_garden)
{
    const char *where = "SavedGameFileName";
    const _UserInfo *player = PlayerGetLoaded();
    if (!player) {
        DebugError(where, "User not loaded");
        return nullptr;
    }
    const int garden = NameGarden(any_garden);
    if (!IsSlotValid(slot) || garden < (any_garden ? 0 : 1) || garden > GARDENS) {
        DebugError(where, "Invalid slot %d or garden %d", slot, garden);
        return nullptr;
    }
    char name[USER_NAME_SIZE];
    std::snprintf(name, sizeof(name), "%.*s", USER_NAME_SIZE - 1, player->name);
    const int length = std::snprintf(file_name, sizeof(file_name), "%s%s%s_SavedGame%d%d.dat",
                                     PrefFolderGetSubFolder("Users", 1), "\\", name, garden, slot);
    if (length < 0 || length >= static_cast<int>(sizeof(file_name))) {
        DebugError(where, "File name too long");
        file_name[0] = 0;
        return nullptr;
    }
    return file_name;
}

char SavedGameExists(int slot, char any_garden)
{
    if (!IsSlotValid(slot))
        return 0;
    const char *name = SavedGameFileName(slot, any_garden);
    return name && EngFileExists(name, 0);
}

char SaveGame(int slot, char any_garden)
{
    if (!IsSlotValid(slot) || play_game_over)
        return 0;
    const char *name = SavedGameFileName(slot, any_garden);
    if (!name)
        return 0;
    static unsigned char record[SAVED_GAME_RECORD_SIZE];
    FillRecord(record);
    // Written beside the old file and moved into its place, so a failed
    // save leaves the previous game whole.
    if (ModulesWriteFileWhole(name, record, SAVED_GAME_RECORD_SIZE, 1) != MWR_OK) {
        ModulesReportWriteFailure("Problem Saving Game", MODULES_NOT_WRITTEN_TEXT, name);
        return 0;
    }
    DebugInfo("GAME SAVED TO SLOT %d:%d", NameGarden(any_garden), slot);
    return 1;
}

char LoadSavedGame(int slot, char any_garden)
{
    const char *where = "LoadSavedGame";
    if (!IsSlotValid(slot))
        return 0;
    const char *found = SavedGameFileName(slot, any_garden);
    if (!found)
        return 0;
    char name[SAVED_GAME_NAME_SIZE];
    std::snprintf(name, sizeof(name), "%s", found);
    if (!EngFileExists(name, 0)) {
        DebugNote(2, "Saved game does not exist at slot %d", slot);
        return 0;
    }
    static unsigned char record[SAVED_GAME_RECORD_SIZE];
    std::memset(record, 0, sizeof(record));
    if (!EngEncryptionReadFromFileAndDecrypt(name, record, SAVED_GAME_RECORD_SIZE)) {
        EngFileDelete(name, 1);
        DebugError(where, "Problem reading saved game file %d", slot);
        return 0;
    }
    const float version = RecordGet<float>(record, R_VERSION);
    if (version != SAVED_GAME_VERSION) {
        EngFileDelete(name, 1);
        DebugError(where, "Incorrect version [%f not %f] reading saved game file %d", version, SAVED_GAME_VERSION,
                   slot);
        return 0;
    }
    if (!IsRecordValid(record)) {
        EngFileDelete(name, 1);
        DebugError(where, "Problem reading saved game file %d", slot);
        return 0;
    }
    MendRecord(record);

    levels_garden = RecordGet<int16_t>(record, R_GARDEN);
    levels_difficulty = RecordGet<int16_t>(record, R_DIFFICULTY);
    HiveWatcherStartNewGame(1);
    PlaceWeapons(record);
    WeaponsCountFactoryLevels();
    SetWaveValues(record);
    BugsSetSize(RecordGet<float>(record, R_BUGS_SIZE));
    SetPlayValues(record);
    HiveWatcherInitForNewLevel(1);
    if (!RestoreBugs(record)) {
        EngFileDelete(name, 1);
        DebugError(where, "Problem loading game (bugs)");
        return 0;
    }
    WeaponsCountFactoryLevels();
    LevelsHideBanner();
    // The steps above reset some of these on their way; the record wins.
    SetWaveValues(record);
    SetPlayValues(record);
    play_run_state = RecordGet<uint8_t>(record, R_RUN_STATE);
    BugsCreateGraphics();
    bugs_last_boss_level = RecordGet<int32_t>(record, R_LAST_BOSS_LEVEL);
    TutorialUpdateHint();
    return 1;
}

char DeleteSavedGame(int slot, char any_garden)
{
    if (!IsSlotValid(slot))
        return 0;
    const char *name = SavedGameFileName(slot, any_garden);
    if (!name || !EngFileExists(name, 0))
        return 0;
    EngFileDelete(name, 1);
    return 1;
}
