// The weapons module: the built-in tables of every weapon type and level
// (size, turning, cost, refund, reload, range, damage, slowdown), the list
// of placed weapons, where a weapon may stand on the play hub's placement
// grid and how it occupies and frees cells, buying, selling, selection by
// mouse, upgrade requests, the factory levels that put weapon types on sale,
// and the weapons' pictures.
//
// Grid cells: 0 free ground, 1 blocked by the garden's ground map, 2 taken
// by a weapon. Selling gives back only what the ground map had (a freed cell
// under a disc stays blocked when it is road) and then stamps every remaining
// weapon again, so a sale never frees a neighbour's cells.
//
// Failures: no money, a full list (1000 weapons built in one game) or
// blocked ground make a purchase answer false with nothing changed (blocked
// ground logs "Cannot place weapon of type %d at %.1f,%.1f"); a picture that
// does not load makes the graphics creation answer false.
#pragma once

#include "engine/graphics/EngTexture.h"

#include <cstdint>

class Weapon;

enum {
    WEAPONS_MAX = 1000,
    WEAPON_TYPES = 12,
    WEAPON_SHOOTING_TYPES = 9,
    WEAPON_LEVELS = 4,
    // Types 9 to 11 are the factories of families 0 to 2.
    WEAPON_FIRST_FACTORY = 9,
    WEAPONS_SCORE_PER_WEAPON = 10,
};

struct _WeaponTypeInfo {
    float size;
    float turn_rate;
    float hull_turn_rate;
    float muzzle_x, muzzle_y;
    uint8_t square_footprint;
    uint8_t turns_while_shooting;
    // 0 fires within 0.01 rad of the aim, 1 within 0.1 rad, 2 at once.
    uint8_t aim_class;
    uint8_t reserved;
    float upgrade_speed;
};

struct _WeaponLevelInfo {
    int32_t cost;
    int32_t sell_percent;
    float reload_rate;
    float range;
    float damage;
    float slowdown;
};

struct _WeaponTypeGeometry {
    float half_size;
    float muzzle_offset_x, muzzle_offset_y;
};

extern const char weapons_type_names[WEAPON_TYPES][32];
extern _WeaponTypeInfo weapons_type_info[WEAPON_TYPES];
extern _WeaponLevelInfo weapons_level_info[WEAPON_TYPES][WEAPON_LEVELS];
extern _WeaponTypeGeometry weapons_type_geometry[WEAPON_TYPES];

extern Weapon *weapons_list[WEAPONS_MAX];
extern int32_t weapons_count;
extern int32_t weapons_selected;
// Per family: 0 without a factory, else 1 + its best factory's level.
extern int weapons_factory_level[3];

// Pictures by type (0 to 8); a turret only where the type has one.
extern EngTexture weapons_base_textures[WEAPON_SHOOTING_TYPES];
extern EngTexture weapons_turret_textures[WEAPON_SHOOTING_TYPES];
extern EngTexture weapons_shot_textures[WEAPON_SHOOTING_TYPES];
// Family x 3 + level.
extern EngTexture weapons_factory_textures[9];

char WeaponsSetup();
void WeaponsSetupTables();
char WeaponsCreateGraphics();
void WeaponsDestroyGraphics();
char WeaponsCreateFactoryTex(int family, int level);
char WeaponsCanPlaceAt(int type, float x, float y, char lenient);
char IsGridClearAtPos(int cx, int cy, char report);
char WeaponsCreateNew(int type, float x, float y, char clear, char free);
void WeaponsSell(int slot);
char WeaponsSellLast();
char WeaponsHandleClick(char button, char state);
void WeaponsUpdateMouseOver();
char WeaponsUpgradeSelected(char full);
void WeaponsCountFactoryLevels();
void WeaponsUpdate();
void WeaponsDraw();
void WeaponsClearAllShots();
void WeaponsDeleteAll();
void WeaponsClearForNewGame();
int WeaponsGetScorePerWeapon();
// What the placed weapons add to the score.
int WeaponsGetScoreValue();
// Money the weapon in the slot gives back when sold (0 for an empty slot).
int WeaponsGetRefund(int slot);

// The module's state as at start: no weapons, tables resolved, pictures released.
void WeaponsResetForTests();
