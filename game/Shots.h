// What the weapons fire: straight shots, spray clouds that grow, fade and
// damage every bug in their cone, lobbed stones and grenades that land where
// the target will be, and homing missiles. A shot moves each frame, ends by
// a hit (not a spray), by fading, by leaving the field or on landing, and
// hurts and slows bugs. Also the geometry the hit tests use.
//
// Ending a shot only marks it dead: its weapon deletes it after its pass over
// its shots, so nothing touches freed memory. A homing shot whose target is
// gone seeks a new one and otherwise flies straight on.
#pragma once

#include <cstdint>

class Weapon;

enum _ShotKind : uint8_t { SK_STRAIGHT = 0, SK_LOBBED = 1, SK_HOMING = 2 };

struct _ShotInfo {
    uint8_t kind;
    // 1: fired again only when no earlier shot of the weapon is alive.
    uint8_t single;
    uint8_t reserved1[2];
    float launch_factor;
    float blast_radius;
    uint8_t cone;
    uint8_t continuous;
    uint8_t reserved2[2];
    float speed;
    float shot_size;
    float growth;
    float strength;
    float fade;
};

extern const _ShotInfo shots_type_info[12];

class Shot {
public:
    Shot(Weapon *weapon, int type, int level, float x, float y, float angle, int target, int target_mode);

    void Update();
    // Marks the shot ended; its weapon deletes it after its pass.
    void Kill();
    void Draw();
    void PlayFireSound();
    void PlayHitSound();
    float GetAngleTo(float x, float y) const;

    Weapon *m_weapon;
    uint8_t m_alive;
    float m_x, m_y;
    float m_size;
    float m_half_size;
    float m_base_size;
    float m_angle;
    float m_dir_x, m_dir_y;
    float m_side_x, m_side_y;
    float m_strength;
    float m_reserved;
    float m_start_x, m_start_y;
    float m_end_x, m_end_y;
    float m_distance;
    float m_progress;
    int32_t m_target;
    int32_t m_type, m_level;
    int32_t m_target_mode;

private:
    void Move(float dt);
    // Tests and hurts the bugs; true when the shot ended.
    bool HitBugs(float dt);
};

void ShotsClosestPointOnSegment(const float a[2], const float b[2], const float p[2], float out[2]);
float ShotsPointSegmentDistanceSq(const float a[2], const float b[2], const float p[2]);
// 0 inside the triangle, else the squared distance to its nearest edge.
float ShotsPointTriangleDistance(const float p[2], const float a[2], const float b[2], const float c[2]);
