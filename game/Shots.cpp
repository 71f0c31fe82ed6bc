// Shots: launch, flight by kind, fading, leaving the field, hits on bugs,
// drawing, and the point, segment and triangle geometry of the hit tests.
#include "game/Shots.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMisc.h"
#include "game/Bugs.h"
#include "game/Effects.h"
#include "game/HiveWatcher.h"
#include "game/PlayNeighbours.h"
#include "game/Sound.h"
#include "game/Weapon.h"
#include "game/Weapons.h"

#include <algorithm>
#include <cmath>

// kind, single, reserved, launch factor, blast radius, cone, continuous,
// reserved, speed, shot size, growth, strength, fade.
const _ShotInfo shots_type_info[12] = {
    {SK_STRAIGHT, 0, {0, 0}, 1.0f, 0.0f, 0, 0, {0, 0}, 1.0f, 0.02f, 0.0f, 0.0f, 0.0f},      // Turret
    {SK_STRAIGHT, 0, {0, 0}, 1.0f, 0.0f, 0, 0, {0, 0}, 1.3f, 0.03f, 0.0f, 0.0f, 0.0f},      // Cannon
    {SK_STRAIGHT, 0, {0, 0}, 1.0f, 0.1f, 0, 0, {0, 0}, 1.4f, 0.03f, 0.0f, 0.0f, 0.0f},      // Tank
    {SK_STRAIGHT, 1, {0, 0}, 1.0f, 0.0f, 1, 1, {0, 0}, 0.15f, 0.001f, 0.3f, 1.5f, 1.0f},    // Small Spray
    {SK_STRAIGHT, 1, {0, 0}, 1.0f, 0.0f, 1, 1, {0, 0}, 0.15f, 0.001f, 0.3f, 1.5f, 0.5f},    // Medium Spray
    {SK_STRAIGHT, 1, {0, 0}, 1.0f, 0.0f, 1, 1, {0, 0}, 0.12f, 0.001f, 0.3f, 2.5f, 0.5f},    // Big Spray
    {SK_LOBBED, 0, {0, 0}, 0.3f, 0.0f, 0, 0, {0, 0}, 0.87f, 0.025f, 0.0f, 0.0f, 0.0f},      // Stone Thrower
    {SK_LOBBED, 0, {0, 0}, 0.35f, 0.15f, 0, 0, {0, 0}, 0.6f, 0.03f, 0.0f, 0.0f, 0.0f},      // Grenade Launcher
    {SK_HOMING, 0, {0, 0}, 0.85f, 0.13f, 0, 0, {0, 0}, 0.5f, 0.08f, 0.0f, 0.0f, 0.0f},      // Missile Launcher
    {}, {}, {},                                                                               // factories never fire
};

namespace {

const float PI_F = 3.14159265358979323846f;
enum { GRENADE_LAUNCHER = 7, MISSILE_LAUNCHER = 8 };
// The field a shot may fly in, in board units.
const float FIELD_LIMIT = 2.5f;

float DistanceSq(const float a[2], const float b[2])
{
    const float dx = a[0] - b[0], dy = a[1] - b[1];
    return dx * dx + dy * dy;
}

Bug *BugInSlot(int slot)
{
    return slot >= 0 && slot < BUGS_MAX ? bugs_table[slot] : nullptr;
}

}  // namespace

Shot::Shot(Weapon *weapon, int type, int level, float x, float y, float angle, int target, int target_mode)
    : m_weapon(weapon),
      m_alive(1),
      m_reserved(0.0f),
      m_progress(0.0f),
      m_target(target),
      m_type(type),
      m_level(level),
      m_target_mode(target_mode)
{
    const _ShotInfo &info = shots_type_info[type];
    const _WeaponTypeGeometry &geometry = weapons_type_geometry[type];
    m_angle = angle;
    m_dir_x = std::cos(angle + PI_F);
    m_dir_y = std::sin(angle + PI_F);
    m_side_x = std::cos(angle + PI_F + PI_F / 2.0f);
    m_side_y = std::sin(angle + PI_F + PI_F / 2.0f);

    const float radius = info.shot_size * 0.5f + weapons_type_info[type].size * 0.5f;
    m_x = x + radius * info.launch_factor * m_dir_x - geometry.muzzle_offset_x;
    m_y = y + radius * info.launch_factor * m_dir_y - geometry.muzzle_offset_y;
    m_size = m_base_size = info.shot_size;
    m_half_size = m_size * 0.5f;
    m_strength = info.strength > 0.0f ? info.strength : 1.0f;
    m_start_x = m_x;
    m_start_y = m_y;

    float aim_x, aim_y;
    const Bug *bug = BugInSlot(target);
    const int lead = weapon ? weapon->m_lead_frames : 0;
    if (bug) {
        aim_x = lead > 0 ? bug->GetAheadX((float)lead) : bug->GetX();
        aim_y = lead > 0 ? bug->GetAheadY((float)lead) : bug->GetY();
    } else {
        aim_x = EngMiscRandFloatInRange(0.0f, 1.0f, 1);
        aim_y = EngMiscRandFloatInRange(0.0f, 1.0f, 1);
    }
    m_distance = std::sqrt((aim_x - m_start_x) * (aim_x - m_start_x) + (aim_y - m_start_y) * (aim_y - m_start_y));
    // The landing point lies along the firing direction at the aim's distance.
    m_end_x = m_start_x + m_distance * m_dir_x;
    m_end_y = m_start_y + m_distance * m_dir_y;
    PlayFireSound();
}

void Shot::PlayFireSound()
{
    SoundPlayShotSound(m_type);
}

void Shot::PlayHitSound()
{
    SoundPlayShotSound2(m_type);
}

float Shot::GetAngleTo(float x, float y) const
{
    return WeaponAimAngle(x - m_x, y - m_y);
}

void Shot::Kill()
{
    m_alive = 0;
}

void Shot::Move(float dt)
{
    const _ShotInfo &info = shots_type_info[m_type];
    if (info.kind == SK_HOMING) {
        const Bug *bug = BugInSlot(m_target);
        if (bug && bug->m_targetable) {
            float a = GetAngleTo(bug->GetX(), bug->GetY());
            if (a - m_angle > PI_F)
                a -= 2.0f * PI_F;
            else if (m_angle - a > PI_F)
                a += 2.0f * PI_F;
            if (a != m_angle)
                EngMiscMoveFloatTowards(&m_angle, a, dt * 2.0f);
        } else {
            m_target = BugsFindTarget(m_x, m_y, weapons_level_info[m_type][m_level].range, m_target_mode);
        }
        m_dir_x = std::cos(m_angle + PI_F);
        m_dir_y = std::sin(m_angle + PI_F);
    }
    m_x += m_dir_x * info.speed * dt;
    m_y += m_dir_y * info.speed * dt;
    if (info.growth != 0.0f) {
        m_size += info.growth * dt;
        m_half_size = m_size * 0.5f;
    }
}

void Shot::Update()
{
    if (!m_alive)
        return;
    const float dt = play_frame_time;
    const _ShotInfo &info = shots_type_info[m_type];
    if (info.kind == SK_LOBBED) {
        m_progress += info.speed * dt;
        const float t = (1.0f - std::cos(m_progress * PI_F)) * 0.5f;
        m_x = m_start_x + (m_end_x - m_start_x) * t;
        m_y = m_start_y + (m_end_y - m_start_y) * t;
        // Largest at mid-flight, and growing out of the barrel at first.
        m_size = std::sin(m_progress * PI_F) * m_base_size + m_base_size;
        if (m_progress < 0.05f)
            m_size *= m_progress * 20.0f;
        m_half_size = m_size * 0.5f;
        if (m_progress < 1.0f)
            return;
        if (m_type == GRENADE_LAUNCHER)
            EffectsAdd(0, m_x, m_y, info.blast_radius);
        PlayHitSound();
    } else {
        Move(dt);
    }
    if (info.fade > 0.0f) {
        m_strength -= info.fade * dt;
        if (m_strength <= 0.0f) {
            Kill();
            return;
        }
    }
    if (m_x < -FIELD_LIMIT || m_x > FIELD_LIMIT || m_y < -FIELD_LIMIT || m_y > FIELD_LIMIT) {
        Kill();
        return;
    }
    if (HitBugs(dt))
        return;
    // A lobbed shot has landed.
    if (info.kind == SK_LOBBED)
        Kill();
}

bool Shot::HitBugs(float dt)
{
    const _ShotInfo &info = shots_type_info[m_type];
    const _WeaponLevelInfo &level = weapons_level_info[m_type][m_level];
    const float here[2] = {m_x, m_y};
    float a[2], b[2], c[2];
    if (info.cone) {
        const float m[2] = {m_x + m_dir_x * m_half_size * 0.8f, m_y + m_dir_y * m_half_size * 0.8f};
        a[0] = m_x - m_dir_x * m_half_size;
        a[1] = m_y - m_dir_y * m_half_size;
        b[0] = m[0] + m_side_x * m_half_size * 0.8f;
        b[1] = m[1] + m_side_y * m_half_size * 0.8f;
        c[0] = m[0] - m_side_x * m_half_size * 0.8f;
        c[1] = m[1] - m_side_y * m_half_size * 0.8f;
    }
    for (int slot = 0; slot < BUGS_MAX; slot++) {
        Bug *bug = bugs_table[slot];
        if (!bug || bug->m_state != BS_ON_ROAD || (info.kind == SK_HOMING && slot != m_target))
            continue;
        float p[2];
        bug->GetPosition(p);
        float f = 1.0f;
        if (info.cone) {
            if (!(ShotsPointTriangleDistance(p, a, b, c) < bugs_hit_radius_sq))
                continue;
        } else {
            float d2 = DistanceSq(here, p);
            const float r = info.kind == SK_LOBBED && info.blast_radius > 0.0f ? info.blast_radius : m_half_size;
            const float s = (bugs_hit_radius + r) * (bugs_hit_radius + r);
            if (info.kind == SK_HOMING)
                d2 *= 2.0f;
            if (!(d2 < s))
                continue;
            // The falloff compares with s squared, kept as the game has it.
            if (info.kind == SK_LOBBED && d2 > s * s)
                f = (s - d2) / (s - s * s);
        }
        float k = m_strength * f;
        if (info.continuous)
            k *= dt;
        bug->Hit(level.damage * k);
        if (info.continuous)
            k *= 10.0f;
        const double q = bug->m_hp > 0.0 ? 1.0 - (1.0 - 100.0 / bug->m_max_hp) * 0.99 : 1.0;
        bug->Slow(level.slowdown * k * q * (info.continuous ? 1.4f : 1.0f));
        if (info.continuous)
            continue;
        if (m_type == MISSILE_LAUNCHER)
            EffectsAdd(0, m_x, m_y, info.blast_radius);
        PlayHitSound();
        Kill();
        return true;
    }
    return false;
}

void Shot::Draw()
{
    if (!m_alive || m_type < 0 || m_type >= WEAPON_SHOOTING_TYPES)
        return;
    HiveWatcherSetBoardTransform(m_x, m_y, 0.0f, 0.0f, m_angle, 0, 1);
    EngTexture &picture = weapons_shot_textures[m_type];
    picture.PositionPure(-m_half_size, -m_half_size, m_size, m_size);
    if (m_strength > 0.0f)
        picture.DrawWithColour(1.0f, 1.0f, 1.0f, std::min(m_strength, 1.0f));
    HiveWatcherRestoreTransform();
}

void ShotsClosestPointOnSegment(const float a[2], const float b[2], const float p[2], float out[2])
{
    const float v[2] = {b[0] - a[0], b[1] - a[1]}, w[2] = {p[0] - a[0], p[1] - a[1]};
    const float t = w[0] * v[0] + w[1] * v[1];
    const float vv = v[0] * v[0] + v[1] * v[1];
    if (t <= 0.0f) {
        out[0] = a[0];
        out[1] = a[1];
    } else if (t >= vv || vv == 0.0f) {
        out[0] = b[0];
        out[1] = b[1];
    } else {
        out[0] = a[0] + v[0] * t / vv;
        out[1] = a[1] + v[1] * t / vv;
    }
}

float ShotsPointSegmentDistanceSq(const float a[2], const float b[2], const float p[2])
{
    float closest[2];
    ShotsClosestPointOnSegment(a, b, p, closest);
    return DistanceSq(p, closest);
}

float ShotsPointTriangleDistance(const float p[2], const float a[2], const float b[2], const float c[2])
{
    const _Vector2d vp = {p[0], p[1]}, va = {a[0], a[1]}, vb = {b[0], b[1]}, vc = {c[0], c[1]};
    const float ab = EngMathGetSideOfLine(&vp, &va, &vb), bc = EngMathGetSideOfLine(&vp, &vb, &vc),
                ca = EngMathGetSideOfLine(&vp, &vc, &va);
    DebugReplaceMessage(1, "AB: %.1f   BC: %.1f   CA: %.1f", ab, bc, ca);
    if (ab <= 0.0f && bc <= 0.0f && ca <= 0.0f)
        return 0.0f;
    const float dab = ShotsPointSegmentDistanceSq(a, b, p), dbc = ShotsPointSegmentDistanceSq(b, c, p),
                dca = ShotsPointSegmentDistanceSq(c, a, p);
    DebugReplaceMessage(2, "AB: %.4f  BC: %.4f  CA: %.4f", dab, dbc, dca);
    return std::min(dab, std::min(dbc, dca));
}
