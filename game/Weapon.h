// One placed weapon or factory, or the preview that follows the mouse while
// the player places one. Each frame it upgrades over time, reloads, picks a
// target, turns its turret, fires and runs its shots; it draws its base,
// turret, range circle and level marker, and answers the mouse's hit test.
//
// Upgrade requests refuse (false, nothing paid) while an upgrade runs, at the
// top level or without the money. A shot that ends during the weapon's pass
// over its shots is only marked; the weapon deletes it after the pass.
#pragma once

#include <cstdint>

class Shot;

enum { WEAPON_MAX_SHOTS = 20 };

// The aim angle from a point to one dx, dy away: the shot flies along
// (cos, sin) of angle + pi. Straight above or below gives pi/2 or 3 pi/2.
float WeaponAimAngle(float dx, float dy);

class Weapon {
public:
    Weapon(int type, float x, float y);
    ~Weapon();
    Weapon(const Weapon &) = delete;
    Weapon &operator=(const Weapon &) = delete;

    void ClearShots();
    void UpdateSizes();
    void ChooseLead();
    float GetAimAngle(int bug_slot) const;
    bool Fire(int bug_slot);
    bool StartUpgrade();
    bool StartFullUpgrade();
    void Update();
    void Draw();
    void DrawShots();
    void MoveTo(float x, float y);
    bool ContainsPoint(float px, float py) const;
    bool UpdateMouseOver();
    // Levels this type has: 4, or 3 for factories.
    int GetTopLevelCount() const;
    bool IsFactory() const;

    Shot *m_shots[WEAPON_MAX_SHOTS];
    int32_t m_type;
    int32_t m_level;
    int32_t m_target_mode;
    float m_x, m_y;
    float m_draw_size, m_draw_half;
    float m_size, m_half_size;
    float m_muzzle_x, m_muzzle_y;
    float m_angle;
    float m_hull_angle;
    uint8_t m_upgrading;
    uint8_t m_full_upgrade;
    float m_upgrade_progress;
    int32_t m_num_shots;
    uint8_t m_follows_mouse;
    uint8_t m_mouse_over;
    float m_throb;
    float m_alpha;
    float m_target_angle;
    int32_t m_lead_frames;
    float m_reload;
    double m_next_idle_turn;

private:
    void UpdateUpgrade(float dt);
    // Turns towards m_target_angle; returns the angle left to turn.
    float Turn(float dt);
    // Deletes the shots that ended and recounts m_num_shots.
    void PurgeShots();
    bool StartUpgradeCosting(int cost, char full, int sound);
};
