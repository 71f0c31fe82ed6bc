// One weapon: construction, upgrades, the per-frame aim and fire, its shots,
// drawing and the mouse's hit test.
#include "game/Weapon.h"

#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "game/Bugs.h"
#include "game/HiveWatcher.h"
#include "game/PlayNeighbours.h"
#include "game/PopupGlue.h"
#include "game/Sidebar.h"
#include "game/Shots.h"
#include "game/Sound.h"
#include "game/Weapons.h"

#include <cmath>

namespace {

const float PI_F = 3.14159265358979323846f;
const float TWO_PI = 2.0f * PI_F;

// Drawn side by level, as a share of the type's size.
const float level_size_factors[WEAPON_LEVELS] = {0.73f, 0.82f, 0.91f, 1.0f};

// Texture quarter of the level marker by level: u0, v0, u1, v1.
const float level_marker_quarters[WEAPON_LEVELS][4] = {
    {0.0f, 0.0f, 0.5f, 0.5f},
    {0.5f, 0.0f, 1.0f, 0.5f},
    {0.0f, 0.5f, 0.5f, 1.0f},
    {0.5f, 0.5f, 1.0f, 1.0f},
};

int RandInt(int a, int b)
{
    return a + EngMiscRand() % (b - a);
}

// target brought within pi of angle.
float NearestTurn(float angle, float target)
{
    if (target - angle > PI_F)
        target -= TWO_PI;
    else if (angle - target > PI_F)
        target += TWO_PI;
    return target;
}

float AngleGap(float a, float b)
{
    return std::fmod(std::fabs(a - b), TWO_PI);
}

void DrawSquare(EngTexture &texture, float half, float side)
{
    texture.PositionPure(-half, -half, side, side);
    texture.Draw();
}

}  // namespace

float WeaponAimAngle(float dx, float dy)
{
    if (dx < 0.0f)
        return std::atan(dy / dx);
    if (dx > 0.0f)
        return std::atan(dy / dx) + PI_F;
    // Straight below (y grows downwards) or above.
    if (dy > 0.0f)
        return 3.0f * PI_F / 2.0f;
    if (dy < 0.0f)
        return PI_F / 2.0f;
    return 0.0f;
}

Weapon::Weapon(int type, float x, float y)
    : m_shots{},
      m_type(type),
      m_level(0),
      m_target_mode(BTM_FRONT),
      m_x(x),
      m_y(y),
      m_draw_size(0.0f),
      m_draw_half(0.0f),
      m_size(0.0f),
      m_half_size(0.0f),
      m_muzzle_x(weapons_type_geometry[type].muzzle_offset_x),
      m_muzzle_y(weapons_type_geometry[type].muzzle_offset_y),
      m_angle(PI_F / 2.0f),
      m_hull_angle(PI_F / 2.0f),
      m_upgrading(0),
      m_full_upgrade(0),
      m_upgrade_progress(0.0f),
      m_num_shots(0),
      m_follows_mouse(0),
      m_mouse_over(0),
      m_throb(0.0f),
      m_alpha(1.0f),
      m_target_angle(0.0f),
      m_lead_frames(0),
      m_reload(1.0f),
      m_next_idle_turn(0.0)
{
    UpdateSizes();
    ChooseLead();
}

Weapon::~Weapon()
{
    ClearShots();
}

void Weapon::ClearShots()
{
    for (Shot *&shot : m_shots) {
        delete shot;
        shot = nullptr;
    }
    m_num_shots = 0;
}

void Weapon::UpdateSizes()
{
    m_size = weapons_type_info[m_type].size;
    m_half_size = m_size * 0.5f;
    m_draw_size = m_size * level_size_factors[m_level];
    m_draw_half = m_draw_size * 0.5f;
}

void Weapon::ChooseLead()
{
    if (m_type == 6)
        m_lead_frames = RandInt(60, 90);
    else if (m_type == 7)
        m_lead_frames = RandInt(100, 130);
    else
        m_lead_frames = 0;
}

int Weapon::GetTopLevelCount() const
{
    return IsFactory() ? 3 : WEAPON_LEVELS;
}

bool Weapon::IsFactory() const
{
    return m_type >= WEAPON_FIRST_FACTORY;
}

float Weapon::GetAimAngle(int bug_slot) const
{
    const Bug *bug = bug_slot >= 0 && bug_slot < BUGS_MAX ? bugs_table[bug_slot] : nullptr;
    if (!bug)
        return m_target_angle;
    float x = m_lead_frames > 0 ? bug->GetAheadX((float)m_lead_frames) : bug->GetX();
    float y = m_lead_frames > 0 ? bug->GetAheadY((float)m_lead_frames) : bug->GetY();
    return WeaponAimAngle(x - m_x, y - m_y);
}

bool Weapon::Fire(int bug_slot)
{
    int free_slot = -1;
    bool earlier_in_use = false;
    for (int i = 0; i < WEAPON_MAX_SHOTS && free_slot < 0; i++) {
        if (m_shots[i])
            earlier_in_use = true;
        else
            free_slot = i;
    }
    if (free_slot < 0 || (shots_type_info[m_type].single && earlier_in_use))
        return false;
    m_shots[free_slot] = new Shot(this, m_type, m_level, m_x, m_y, m_angle, bug_slot, m_target_mode);
    if (m_num_shots < free_slot + 1)
        m_num_shots = free_slot + 1;
    m_reload = 0.0f;
    return true;
}

bool Weapon::StartUpgradeCosting(int cost, char full, int sound)
{
    m_upgrading = 1;
    m_upgrade_progress = 0.0f;
    m_full_upgrade = full;
    HiveWatcherAddToMoney(-cost);
    SoundPlay(sound);
    return true;
}

bool Weapon::StartUpgrade()
{
    if (m_upgrading || m_level >= GetTopLevelCount() - 1)
        return false;
    const int cost = weapons_level_info[m_type][m_level + 1].cost;
    if (play_money < cost)
        return false;
    return StartUpgradeCosting(cost, 0, SOUND_UPGRADE);
}

bool Weapon::StartFullUpgrade()
{
    if (m_upgrading || m_level >= GetTopLevelCount() - 1)
        return false;
    int cost = 0;
    for (int l = m_level + 1; l < GetTopLevelCount(); l++)
        cost += weapons_level_info[m_type][l].cost;
    if (play_money < cost)
        return false;
    return StartUpgradeCosting(cost, 1, SOUND_FULL_UPGRADE);
}

void Weapon::UpdateUpgrade(float dt)
{
    if (!m_upgrading) {
        m_alpha = 1.0f;
        return;
    }
    m_upgrade_progress += weapons_type_info[m_type].upgrade_speed * 0.333f * dt;
    m_alpha = 0.5f + 0.2f * EngMiscUpdateThrob(&m_throb, play_run_state == 1 ? 0.0f : dt * 6.0f, nullptr);
    if (m_upgrade_progress < 1.0f)
        return;
    m_level++;
    UpdateSizes();
    m_upgrade_progress = 0.0f;
    if (!m_full_upgrade || m_level >= GetTopLevelCount() - 1) {
        m_upgrading = 0;
        m_full_upgrade = 0;
        m_alpha = 1.0f;
    }
    WeaponsCountFactoryLevels();
    if (PopupIsShown()) {
        PopupHide();
        if (!play_game_won)
            PopupShow(1);
    }
}

float Weapon::Turn(float dt)
{
    const _WeaponTypeInfo &info = weapons_type_info[m_type];
    m_target_angle = NearestTurn(m_angle, m_target_angle);
    const float gap = AngleGap(m_angle, m_target_angle);
    if (gap != 0.0f) {
        float speed = play_game_won ? 0.1f : gap > 0.3f ? 10.0f : gap > 0.2f ? 5.0f : 1.0f;
        if (info.turns_while_shooting || m_num_shots == 0)
            EngMiscMoveFloatTowards(&m_angle, m_target_angle, info.turn_rate * dt * speed);
    }
    if (info.hull_turn_rate > 0.0f)
        EngMiscMoveFloatTowards(&m_hull_angle, NearestTurn(m_hull_angle, m_target_angle), dt * info.hull_turn_rate);
    return AngleGap(m_angle, m_target_angle);
}

void Weapon::Update()
{
    const float dt = play_frame_time;
    if (!play_game_over)
        UpdateUpgrade(dt);
    // Factories have no shots: they never aim or fire.
    if (!play_game_over && !m_upgrading && !IsFactory()) {
        const _WeaponLevelInfo &level = weapons_level_info[m_type][m_level];
        if (m_reload < 1.0f && level.reload_rate > 0.0f)
            m_reload += level.reload_rate * 0.1f * dt;
        int target = -1;
        if (play_game_won) {
            // After the game is won the weapons only look about now and then.
            const double now = eng_main_program_time;
            if (m_next_idle_turn == 0.0 || m_next_idle_turn <= now) {
                if (m_next_idle_turn != 0.0)
                    m_target_angle = EngMiscRandFloatInRange(0.0f, TWO_PI, 0);
                m_next_idle_turn = now + EngMiscRandFloatInRange(1.0f, 5.0f, 0);
            }
        } else {
            target = BugsFindTarget(m_x, m_y, level.range, m_target_mode);
            if (target >= 0)
                m_target_angle = GetAimAngle(target);
        }
        if (play_game_won || target >= 0) {
            const float gap = Turn(dt);
            const uint8_t aim_class = weapons_type_info[m_type].aim_class;
            if (target >= 0 && m_reload >= 1.0f && (aim_class == 2 || (gap < 0.1f && (aim_class == 1 || gap < 0.01f))))
                if (Fire(target))
                    ChooseLead();
        }
    }
    for (int i = 0; i < m_num_shots; i++)
        if (m_shots[i])
            m_shots[i]->Update();
    PurgeShots();
}

void Weapon::PurgeShots()
{
    int count = 0;
    for (int i = 0; i < WEAPON_MAX_SHOTS; i++) {
        if (m_shots[i] && !m_shots[i]->m_alive) {
            delete m_shots[i];
            m_shots[i] = nullptr;
        }
        if (m_shots[i])
            count = i + 1;
    }
    m_num_shots = count;
}

void Weapon::Draw()
{
    if (weapons_type_info[m_type].size <= 0.0f)
        return;
    const bool preview = m_follows_mouse != 0;
    const bool uses_type_size = preview || IsFactory();
    const float side = uses_type_size ? m_size : m_draw_size;
    const float half = uses_type_size ? m_half_size : m_draw_half;
    const bool red = preview && !WeaponsCanPlaceAt(sidebar_placing_type, play_board_x, play_board_y, 0);
    const float r = 1.0f, g = red ? 0.0f : 1.0f, b = red ? 0.0f : 1.0f;

    EngTexture *turret = m_type < WEAPON_SHOOTING_TYPES && weapons_turret_textures[m_type].IsCreated()
                             ? &weapons_turret_textures[m_type]
                             : nullptr;
    EngTexture &single =
        IsFactory() ? weapons_factory_textures[(m_type - WEAPON_FIRST_FACTORY) * 3 + m_level] : weapons_base_textures[m_type];
    if (turret) {
        HiveWatcherSetBoardTransform(m_x, m_y, 0.0f, 0.0f, m_hull_angle, m_follows_mouse, 1);
        weapons_base_textures[m_type].SetColour(r, g, b, m_alpha);
        DrawSquare(weapons_base_textures[m_type], half, side);
        HiveWatcherSetBoardTransform(m_x, m_y, m_muzzle_x, m_muzzle_y, m_angle, m_follows_mouse, 0);
        turret->SetColour(r, g, b, m_alpha);
        DrawSquare(*turret, preview ? m_half_size : m_draw_half, preview ? m_size : m_draw_size);
    } else {
        HiveWatcherSetBoardTransform(m_x, m_y, m_muzzle_x, m_muzzle_y, m_angle, m_follows_mouse, 1);
        single.SetColour(r, g, b, m_alpha);
        DrawSquare(single, half, side);
    }
    if ((m_mouse_over && !sidebar_placing) || preview) {
        HiveWatcherSetBoardTransform(m_x, m_y, 0.0f, 0.0f, PI_F / 2.0f, m_follows_mouse, 0);
        const float range = weapons_level_info[m_type][m_level].range;
        EngTexture &circle = play_textures[HWT_RANGE_CIRCLE];
        circle.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
        circle.PositionPure(-(range + half), -(range + half), 2.0f * range + side, 2.0f * range + side);
        circle.Draw();
        if (!sidebar_placing && !m_upgrading) {
            const float *q = level_marker_quarters[m_level];
            EngTexture &marker = play_textures[HWT_LEVEL_MARKER];
            marker.PositionPure(-0.02f, -0.02f, 0.04f, 0.04f);
            marker.DrawWithTextureCoordinates(q[0], q[1], q[2], q[3]);
        }
    }
    HiveWatcherRestoreTransform();
}

void Weapon::DrawShots()
{
    for (int i = m_num_shots - 1; i >= 0; i--)
        if (m_shots[i])
            m_shots[i]->Draw();
}

void Weapon::MoveTo(float x, float y)
{
    m_x = x;
    m_y = y;
    m_follows_mouse = 1;
}

bool Weapon::ContainsPoint(float px, float py) const
{
    return m_x - m_half_size <= px && px < m_x + m_half_size && m_y - m_half_size <= py && py < m_y + m_half_size;
}

bool Weapon::UpdateMouseOver()
{
    m_mouse_over = ContainsPoint(play_board_x, play_board_y);
    return m_mouse_over;
}
