// The play hub: state and rules of one game, the frame's update, drawing and
// input routing, the placement grid and the board's coordinates.
#include "game/HiveWatcher.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "game/Bugs.h"
#include "game/Effects.h"
#include "game/GameOver.h"
#include "game/GameWon.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/PopupGlue.h"
#include "game/Sound.h"
#include "game/Tutorial.h"
#include "game/Sidebar.h"
#include "game/Weapons.h"
#include "platform/win32/Win32Input.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

int play_level = -1;
int play_score = 0;
int play_bonus = 0;
int play_lives = 20;
int play_money = 500;
char play_under_way = 0;
char play_game_over = 0;
char play_game_won = 0;
double play_end_time = 0.0;
char play_run_state = 2;
signed char play_pointer = 0;
float play_pointer_x = 0.0f, play_pointer_y = 0.0f;
float play_board_x = 0.0f, play_board_y = 0.0f;
float play_frame_time = 0.0f;
uint8_t play_grid[ROAD_GRID_SIDE * ROAD_GRID_SIDE];

char play_score_text[16] = "";
char play_lives_text[16] = "";
char play_money_text[16] = "";
char play_title_text[64] = "";
char play_hp_text[32] = "";

EngTexture play_textures[HWT_COUNT];

namespace {

const char *const texture_files[HWT_COUNT] = {"Data/1010.dat", "Data/1011.dat", "Data/1012.dat", "Data/1013.dat"};

// The difficulty's letter after the level number in the title.
const char *const difficulty_letters[3] = {"", "T", "X"};

// Graphics creation of the play modules, in order. A failure of one marked
// fatal ends the creation; the tutorial's only logs.
struct ModuleGraphics {
    char (*create)();
    const char *failure;
    bool fatal;
};

const ModuleGraphics module_graphics[] = {
    {LevelsCreateGraphics, "LevelsCreateGraphics() failed", true},
    {BugsCreateGraphics, "BugsCreateGraphics() failed", true},
    {WeaponsCreateGraphics, "WeaponsCreateGraphics() failed", true},
    {SidebarCreateGraphics, "SidebarCreateGraphics() failed", true},
    {TutorialCreateGraphics, "TutorialCreateGraphics() failed", false},
    {EffectsCreateGraphics, "EffectsCreateGraphics() failed", true},
    {GameOverCreateGraphics, "GameOverCreateGraphics() failed", true},
    {GameWonCreateGraphics, "GameWonCreateGraphics() failed", true},
};

// The play's keyboard shortcuts. U and F upgrade the selected weapon; G, S
// and P start placing the family's factory, or once it stands the family's
// weapon of the factory's level (type = level + offset).
struct Shortcut {
    int key;
    int family;  // -1 for the upgrades
    char full_upgrade;
    int factory_type;
    int type_offset;
};

const Shortcut shortcuts[] = {
    {'U', -1, 0, 0, 0},
    {'F', -1, 1, 0, 0},
    {'G', 0, 0, 9, -1},
    {'S', 1, 0, 10, 2},
    {'P', 2, 0, 11, 5},
};

// The world transform saved by the last board transform that asked for it.
EngMatrix saved_transform;

bool IsNewPress(int key)
{
    return eng_main_key_states[key] > 1;
}

// Runs the shortcut's action; false when it must stay pending.
bool RunShortcut(const Shortcut &shortcut)
{
    if (shortcut.family < 0) {
        WeaponsUpgradeSelected(shortcut.full_upgrade);
        return true;
    }
    if (sidebar_placing)
        return false;
    int level = weapons_factory_level[shortcut.family];
    SidebarStartPlacingWeapon(level == 0 ? shortcut.factory_type : level + shortcut.type_offset);
    return true;
}

// result := result x next, so next applies after what result already does.
void Then(EngMatrix *result, const EngMatrix &next)
{
    EngMatrix product = next;
    product.PreMultiply(result);
    *result = product;
}

}  // namespace

char HiveWatcherSetup()
{
    LevelsSetup();
    SidebarSetup();
    if (!BugsSetup() || !WeaponsSetup())
        return 0;
    return EffectsSetup();
}

char HiveWatcherCreateGraphics()
{
    for (int i = 0; i < HWT_COUNT; i++)
        if (!play_textures[i].LoadFromFile(texture_files[i], 1, 2, 0))
            return 0;
    for (const ModuleGraphics &module : module_graphics) {
        if (module.create())
            continue;
        DebugError("HiveWatcherCreateGraphics", "%s", module.failure);
        if (module.fatal)
            return 0;
    }
    return 1;
}

void HiveWatcherDestroyGraphics()
{
    LevelsDestroyGraphics();
    SidebarDestroyGraphics();
    TutorialDestroyGraphics();
    WeaponsDestroyGraphics();
    EffectsDestroyGraphics();
    BugsDestroyGraphics();
    GameOverDestroyGraphics();
    GameWonDestroyGraphics();
    for (EngTexture &texture : play_textures)
        texture.Destroy();
}

char HiveWatcherStartNewGame(char restoring)
{
    play_end_time = 0.0;
    sidebar_placing = 0;
    play_game_over = 0;
    play_game_won = 0;
    play_run_state = 2;
    play_score_text[0] = play_lives_text[0] = play_money_text[0] = play_title_text[0] = play_hp_text[0] = 0;
    play_level = 0;
    play_money = 500;
    play_score = 0;
    play_bonus = 0;
    play_lives = 20;
    memset(weapons_factory_level, 0, sizeof(weapons_factory_level));

    LevelsSetupGarden();
    BugsResetBossLevel();
    WeaponsClearForNewGame();
    SidebarResetForNewGame();
    EffectsDeleteAll();
    PopupHide();
    TutorialRestart();

    sidebar_placing = 0;
    sidebar_placing_type = -1;
    SidebarDeletePreviewWeapon();
    return HiveWatcherInitForNewLevel(restoring);
}

char HiveWatcherInitForNewLevel(char restoring)
{
    if (!LevelsInitForNewLevel()) {
        DebugError("HiveWatcherInitForNewLevel", "LevelsInitForNewLevel() failed");
        return 0;
    }
    if (!BugsInitForNewLevel(restoring)) {
        DebugError("HiveWatcherInitForNewLevel", "BugsInitForNewLevel() failed");
        return 0;
    }
    HiveWatcherAddToMoney(0);
    HiveWatcherAddToScore(0);
    HiveWatcherAddToLives(0);
    HiveWatcherUpdateTitle();
    return 1;
}

namespace {

// The adders sum wide and keep the result within an int: a saved game may
// carry any money, bonus or lives that are not negative.
int ClampToInt(int64_t value, int64_t lowest = 0)
{
    return (int)std::clamp<int64_t>(value, lowest, INT_MAX);
}

} // namespace

void HiveWatcherAddToScore(int bonus_delta)
{
    if (play_game_over)
        return;
    play_bonus = ClampToInt((int64_t)play_bonus + bonus_delta);
    play_score = ClampToInt((int64_t)play_level * 100 + WeaponsGetScoreValue() + play_bonus);
    snprintf(play_score_text, sizeof(play_score_text), "%lu", (unsigned long)play_score);
}

void HiveWatcherAddToLives(int delta)
{
    if (play_game_over)
        return;
    play_lives = ClampToInt((int64_t)play_lives + delta, INT_MIN);
    snprintf(play_lives_text, sizeof(play_lives_text), "%d", play_lives);
    if (play_lives <= 0)
        GameOverStart();
}

void HiveWatcherAddToMoney(int delta)
{
    if (play_game_over)
        return;
    play_money = ClampToInt((int64_t)play_money + delta);
    snprintf(play_money_text, sizeof(play_money_text), "%lu", (unsigned long)play_money);
    if (PopupPriceAboveMoney())
        PopupRefresh(1);
}

void HiveWatcherUpdateTitle()
{
    const char *letter = levels_difficulty >= 0 && levels_difficulty <= 2 ? difficulty_letters[levels_difficulty] : "";
    const char *kind = bugs_kind >= 0 && bugs_kind < BUGS_KINDS ? bugs_kind_names[bugs_kind] : "";
    snprintf(play_title_text, sizeof(play_title_text), "%d%s: %s", play_level + 1, letter, kind);
    EngMiscConvertStringToUpperCase(play_title_text);
    snprintf(play_hp_text, sizeof(play_hp_text), "HP: %.0f", bugs_hp);
    HiveWatcherAddToScore(0);
}

void HiveWatcherTick()
{
    play_frame_time = eng_main_frame_time;
    if (play_game_over) {
        WeaponsUpdate();
        EffectsUpdate();
        GameOverTick();
        return;
    }
    if (play_game_won) {
        WeaponsUpdate();
        EffectsUpdate();
        GameWonTick(1);
        return;
    }
    if (IsNewPress(VK_SPACE)) {
        eng_main_key_states[VK_SPACE] = 0;
        play_run_state = play_run_state != 0 ? 0 : 1;
        TutorialUpdateHint();
    }
    LevelsUpdateBanner();
    WeaponsUpdate();
    EffectsUpdate();
    BugsUpdate();
    PopupTick();
    TutorialTick();

    if (eng_main_key_states[VK_CONTROL])
        return;
    for (const Shortcut &shortcut : shortcuts)
        if (IsNewPress(shortcut.key) && RunShortcut(shortcut))
            eng_main_key_states[shortcut.key] = 0;
}

void HiveWatcherRender()
{
    LevelsDrawGardenPicture();
    SidebarDraw();
    if (eng_device) {
        eng_device->SetViewportToSizeRatioed(100, 0, 540, 450);
        eng_device->EnableBlendingType(0);
    }
    BugsDraw();
    WeaponsDraw();
    EffectsDraw();
    if (play_game_won) {
        GameWonRender();
        if (eng_device) {
            eng_device->SetViewportFullScreen();
            eng_device->DisableBlending();
        }
        return;
    }
    LevelsDrawBanner();
    if (eng_device)
        eng_device->SetViewportFullScreen();
    SidebarDrawPreviewWeapon();
    if (eng_device)
        eng_device->DisableBlending();
    TutorialDraw();
    if (play_game_over) {
        GameOverRender();
        return;
    }
    PopupRender();
    if (eng_device)
        eng_device->EnableBlendingType(0);
    play_textures[play_pointer == 1 ? HWT_POINTER_CANNOT_PLACE : HWT_POINTER].Draw();
    if (eng_device)
        eng_device->DisableBlending();
}

void HiveWatcherMouseMove(float x, float y)
{
    if (play_game_over || play_game_won)
        return;
    float vx = 0.0f, vy = 0.0f;
    EngMainConvertWindowPosToVirtualPos(x, y, &vx, &vy);
    play_pointer_x = vx / 320.0f - 1.0f;
    play_pointer_y = vy / 240.0f - 1.0f;
    play_board_x = (vx - 100.0f) / 270.0f - 1.0f;
    play_board_y = vy / 225.0f - 1.0f;

    if (PopupMouseMove(x, y)) {
        HiveWatcherSetPointer(0);
        return;
    }
    if (sidebar_placing == 1) {
        bool can_place = WeaponsCanPlaceAt(sidebar_placing_type, play_board_x, play_board_y, 0) != 0;
        HiveWatcherSetPointer(can_place ? 0 : 1);
        WeaponsUpdateMouseOver();
        SidebarMovePreviewWeapon(play_pointer_x, play_pointer_y);
    } else {
        HiveWatcherSetPointer(0);
        WeaponsUpdateMouseOver();
    }
    SidebarMouseMove(vx, vy);
}

void HiveWatcherMouseButton(int button, int state)
{
    if (play_game_over || play_game_won) {
        if (eng_main_program_time - play_end_time > 1.0 && (GameOverEnd() || GameWonEnd(1)))
            GameGotoScoresAfterGame();
        return;
    }
    if (PopupMouseButton(button, state))
        return;
    if (WeaponsHandleClick((char)button, (char)state))
        return;
    SidebarHandleClick((char)button, (char)state);
}

void HiveWatcherSetPointer(signed char picture)
{
    if (picture >= 0)
        play_pointer = picture;
    EngTexture &texture = play_textures[play_pointer == 1 ? HWT_POINTER_CANNOT_PLACE : HWT_POINTER];
    // Narrower on wide windows (the aspect factor), so it keeps its shape.
    texture.PositionPure(play_pointer_x, play_pointer_y, 0.06f * eng_font_scale_x, 0.08f);
}

void HiveWatcherBuildGrid()
{
    for (int i = 0; i < ROAD_GRID_SIDE * ROAD_GRID_SIDE; i++)
        play_grid[i] = traverse_data.ground_map[i] != 0;
}

int HiveWatcherBoardToGrid(float bx, float by, int *cell_x, int *cell_y)
{
    int cell = -1;
    if (cell_x)
        cell = *cell_x = EngMathRoundFloatToInt((bx + 1.0f) * 448.0f * 0.5f) + ROAD_GRID_FIRST_BOARD_CELL;
    if (cell_y)
        cell = *cell_y = EngMathRoundFloatToInt((by + 1.0f) * 448.0f * 0.5f) + ROAD_GRID_FIRST_BOARD_CELL;
    return cell;
}

void HiveWatcherSetBoardTransform(float x, float y, float pivot_x, float pivot_y, float angle, char squeeze_x,
                                  char save_current)
{
    if (!eng_device)
        return;
    if (save_current)
        eng_device->GetTransformMatrix(&saved_transform);
    EngMatrix transform, step;
    transform.SetIdentity();
    // The board is 540 of the 640 units wide.
    if (squeeze_x)
        transform.SetScale(0.84375f, 1.0f, 1.0f);
    if (pivot_x != 0.0f || pivot_y != 0.0f)
        Then(&transform, *step.SetTranslation(-pivot_x, -pivot_y, 0.0f));
    Then(&transform, *step.SetRotationZ((float)(1.5707963705062866 - angle)));
    Then(&transform, *step.SetTranslation(x + pivot_x, pivot_y - y, 0.0f));
    eng_device->SetTransformMatrix(&transform);
}

void HiveWatcherRestoreTransform()
{
    if (eng_device)
        eng_device->SetTransformMatrix(&saved_transform);
}

void HiveWatcherFreeObjects()
{
    SidebarDeletePreviewWeapon();
    BugsDeleteAll();
    WeaponsDeleteAll();
    EffectsDeleteAll();
}

void HiveWatcherResetForTests()
{
    play_level = -1;
    play_score = play_bonus = 0;
    play_lives = 20;
    play_money = 500;
    play_under_way = play_game_over = play_game_won = 0;
    play_end_time = 0.0;
    play_run_state = 2;
    play_pointer = 0;
    play_pointer_x = play_pointer_y = play_board_x = play_board_y = 0.0f;
    play_frame_time = 0.0f;
    memset(play_grid, 0, sizeof(play_grid));
    play_score_text[0] = play_lives_text[0] = play_money_text[0] = play_title_text[0] = play_hp_text[0] = 0;
    for (EngTexture &texture : play_textures)
        texture.Destroy();
    saved_transform.SetIdentity();
}
