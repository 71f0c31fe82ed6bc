// Bugs and waves. Each level is one wave of bugs of a single kind that walk
// the garden's road from its first step to its last. A `Bug` knows where it
// is on the road, moves, is drawn, hit, slowed and killed; the bugs module
// keeps the table of at most 100 bugs, generates each level's wave, moves
// the wave every frame and ends the level once it is gone, and finds targets
// for the weapons. The game-over scene reuses the class for free-roaming
// "runner" bugs.
//
// Money, score and lives change only through the play hub's adders. Pictures
// that do not load make the graphics creation answer false; the wave is
// still made and its bugs are drawn without the missing pictures. A bug
// built for a slot beyond the wave's count is reported and starts at the
// road's beginning.
#pragma once

#include "engine/graphics/EngTexture.h"

#include <cstdint>

enum { BUGS_MAX = 100, BUGS_KINDS = 11 };

// What the waves make: a wave walks at up to BUGS_SPEED_FASTEST and slowing
// stops at BUGS_SPEED_SLOWEST; the strongest wave has about 742,000 hit points
// and the richest pays about 41,700 a bug. A saved game beyond these bounds
// was not written by the play.
const double BUGS_SPEED_SLOWEST = 10.0;
const double BUGS_SPEED_FASTEST = 60.0;
const double BUGS_HP_MOST = 1.0e6;
const double BUGS_REWARD_MOST = 5.0e4;

// Where a bug is: 0 just built, 1 waiting off the road, 2 at the road's
// start, 3 on the road, 4 reached the end, 5 ran past the end.
enum _BugState : uint8_t {
    BS_BUILT = 0,
    BS_WAITING = 1,
    BS_AT_START = 2,
    BS_ON_ROAD = 3,
    BS_AT_END = 4,
    BS_PAST_END = 5,
};

// Target choices of the weapons.
enum _BugsTargetMode : int {
    BTM_FRONT = 0,
    BTM_BACK = 1,
    BTM_STRONG = 2,
    BTM_WEAK = 3,
    BTM_NEAR = 4,
};

class Bug {
public:
    // A bug of the current wave in slot index; a runner roams instead of
    // walking the road.
    Bug(int index, char runner);

    void Update();
    // State, steps and targetability from m_distance.
    void UpdatePosition();
    // The board position of the shown step.
    float GetX() const;
    float GetY() const;
    void GetPosition(float out[2]) const;
    // Where the bug will be after that many frames of the current frame time.
    float GetAheadX(float frames) const;
    float GetAheadY(float frames) const;
    void Hit(double damage);
    void Slow(double amount);
    void Draw();
    void DrawHealthBar();
    void DrawRunner();
    void DrawAt(float x, float y, float scale, float angle);

    // The fields a saved game stores, in their order; the reserved ones
    // are kept at their fixed values.
    int32_t m_index;
    uint8_t m_reserved_byte1;
    float m_anim_phase;
    float m_angle;
    float m_distance;
    int32_t m_step;
    int32_t m_shown_step;
    uint8_t m_on_board;
    float m_reserved_float1;
    uint8_t m_alive;
    uint8_t m_runner;
    uint8_t m_reserved_byte2;
    float m_reserved_float2;
    double m_speed;
    double m_hp;
    double m_max_hp;
    int32_t m_reserved_int;
    uint8_t m_state;
    uint8_t m_targetable;
    double m_next_turn_time;
    float m_x, m_y;

private:
    void Roam();
    // A road step clamped into the road's steps in use.
    static int ClampStep(int step);
    // The step the bug stands on after that many frames, or the road's step
    // count when that lies at or past the road's end.
    int GetAheadStep(float frames) const;
};

extern Bug *bugs_table[BUGS_MAX];
extern int32_t bugs_count;
extern int32_t bugs_kind;
extern const char bugs_kind_names[BUGS_KINDS][32];
// The wave's values, read by every bug the generator makes.
extern double bugs_hp;
extern double bugs_speed;
extern double bugs_reward;
extern int32_t bugs_kill_score;
extern float bugs_spacing;
extern float bugs_size;
extern float bugs_hit_radius;
extern float bugs_hit_radius_sq;
extern int32_t bugs_last_boss_level;
extern uint8_t bugs_clear_armed;

char BugsSetup();
void BugsResetBossLevel();
// Deletes the wave; unless restoring, generates the level's wave. True.
char BugsInitForNewLevel(char restoring);
void BugsUpdate();
void BugsDraw();
void BugsDeleteAll();
// The slot of the best targetable bug within range of (x, y), or -1.
int BugsFindTarget(float x, float y, float range, int mode);
char BugsCreateGraphics();
void BugsDestroyGraphics();
double BugsGetHitPointExponent(int level);
void BugsSetSize(float size);

// One pass of the wave's strength: the hit points (pass 0) or the base of
// the reward (pass 1) of a wave of count bugs at speed A whose size weight
// is w, at the level.
double BugsWaveStrength(int pass, int level, int count, double speed, double w);

// The module's state as at start, every bug deleted and the textures released.
void BugsResetForTests();
