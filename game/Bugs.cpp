// Bugs and waves: the Bug class, the wave generator, the per-frame update
// with the end of a level, target search and drawing.
#include "game/Bugs.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "game/GameWon.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/Sound.h"
#include "game/Tutorial.h"

#include <cmath>
#include <cstdio>

Bug *bugs_table[BUGS_MAX];
int32_t bugs_count = 0;
int32_t bugs_kind = -1;
// By kind; the pictures are Data/Bugs/<name>.tga and <name>2.tga.
const char bugs_kind_names[BUGS_KINDS][32] = {
    "Aclypea",     "Adonia",   "Altholus",   "Badister", "Baeocrara",      "Byctiscus",
    "Crepidodera", "Gaurotes", "Gnatocerus", "Gibbium",  "Glischrochilus",
};
double bugs_hp = 100.0;
double bugs_speed = 1.0;
double bugs_reward = 1.0;
int32_t bugs_kill_score = 0;
float bugs_spacing = 1.0f;
float bugs_size = 0.0f;
float bugs_hit_radius = 0.0f;
float bugs_hit_radius_sq = 0.0f;
int32_t bugs_last_boss_level = 0;
uint8_t bugs_clear_armed = 0;

namespace {

const double PI = 3.14159265358979323846;

// The kind's two walking pictures and the health bar's frame and fill.
enum { TEX_BUG, TEX_BUG_SECOND, TEX_BAR_FRAME, TEX_BAR_FILL, TEX_COUNT };
EngTexture *bug_textures[TEX_COUNT];

// RandInt(a, b) of the wave generator: a value in [a, b) from rand().
int RandInt(int a, int b)
{
    return a + EngMiscRand() % (b - a);
}

// How each target mode ranks a candidate: the value compared, and whether a
// larger value is better.
struct TargetRule {
    double (*value)(const Bug *bug, float distance_sq);
    bool larger_is_better;
};

const TargetRule target_rules[] = {
    {[](const Bug *bug, float) { return (double)bug->m_distance; }, true},   // Front
    {[](const Bug *bug, float) { return (double)bug->m_distance; }, false},  // Back
    {[](const Bug *bug, float) { return bug->m_hp; }, true},                 // Strong
    {[](const Bug *bug, float) { return bug->m_hp; }, false},                // Weak
    {[](const Bug *, float distance_sq) { return (double)distance_sq; }, false},  // Near
};

}  // namespace

Bug::Bug(int index, char runner)
{
    int ahead = bugs_count - index;
    if (ahead > 0)
        m_distance = ahead * -bugs_spacing;
    else {
        m_distance = 0.0f;
        DebugError("Bug::Bug", "Internal Error (%d,%d)", (int)bugs_count, index);
    }
    m_index = index;
    m_reserved_byte1 = 0;
    m_anim_phase = 0.0f;
    m_angle = -traverse_data.heading[0];
    m_step = 0;
    m_shown_step = 0;
    m_on_board = 0;
    m_reserved_float1 = 0.0f;
    m_alive = 1;
    m_runner = runner;
    m_reserved_byte2 = 0;
    m_reserved_float2 = 0.0f;
    m_speed = bugs_speed;
    m_hp = bugs_hp;
    m_max_hp = bugs_hp;
    m_reserved_int = -1;
    m_state = BS_BUILT;
    m_targetable = 0;
    m_next_turn_time = 0.0;
    m_x = 0.0f;
    m_y = 0.0f;
    UpdatePosition();
}

int Bug::ClampStep(int step)
{
    int last = traverse_data.num_steps - 1;
    if (step > last)
        step = last;
    return step < 0 ? 0 : step;
}

void Bug::UpdatePosition()
{
    if (!m_alive)
        return;
    const int steps = traverse_data.num_steps;
    const float spacing = bugs_spacing;
    const float d = m_distance;
    m_targetable = 0;
    if (d < -spacing) {
        m_state = BS_WAITING;
        m_on_board = 0;
        m_step = m_shown_step = 0;
    } else if (d < 0.0f) {
        m_state = BS_AT_START;
        m_on_board = 1;
        m_step = m_shown_step = 0;
    } else if (d < (float)steps) {  // the whole part of d is a step in use
        m_state = BS_ON_ROAD;
        m_on_board = 1;
        m_step = m_shown_step = (int)d;
        m_targetable = levels_target_start < d && d < steps - levels_target_end;
    } else if (d < steps + spacing) {
        m_state = BS_AT_END;
        m_on_board = 1;
        m_step = m_shown_step = traverse_data.end_steps - 1;
        m_alive = 0;
        HiveWatcherAddToLives(-1);
        if (!play_game_over)
            SoundPlay(SOUND_BUG_AT_END);
    } else {
        m_state = BS_PAST_END;
        m_on_board = 0;
        m_step = m_shown_step = traverse_data.end_steps - 1;
        m_alive = 0;
    }
}

void Bug::Update()
{
    if (!m_alive)
        return;
    const float dt = play_frame_time;
    m_anim_phase += dt * 4.0f * (float)m_speed;
    if (m_anim_phase >= 20.0f)
        m_anim_phase -= 20.0f;
    else if (m_anim_phase < 0.0f)
        m_anim_phase += 20.0f;
    if (m_runner) {
        Roam();
        return;
    }
    m_distance += (float)(m_speed * (levels_step_rate * dt));
    UpdatePosition();
    m_angle = -traverse_data.heading[ClampStep(m_shown_step)];
}

void Bug::Roam()
{
    const double now = eng_main_program_time;
    if (now >= m_next_turn_time) {
        if (m_next_turn_time == 0.0) {
            // The first move starts on a circle round the board's centre,
            // opposite the heading, so the runner walks in across the board.
            m_angle = EngMiscRandFloatInRange(0.0f, (float)(2.0 * PI), 0);
            double a = m_angle - PI / 2.0;
            m_x = (float)(-1.5 * std::cos(a));
            m_y = (float)(-1.5 * std::sin(a));
        } else {
            m_angle += EngMiscRandFloatInRange(0.0f, 0.08726646f, 1);
            m_angle = (float)std::fmod((double)m_angle, 2.0 * PI);
            if (m_angle < 0.0f)
                m_angle += (float)(2.0 * PI);
        }
        m_next_turn_time = now + EngMiscRandDoubleInRange(0.01, 0.2, 0);
    }
    double a = m_angle - PI / 2.0;
    double step = m_speed * play_frame_time * 0.003;
    m_x += (float)(std::cos(a) * step);
    m_y += (float)(std::sin(a) * step);
    if (m_x < -2.0f || m_x > 2.0f || m_y < -2.0f || m_y > 2.0f)
        m_alive = 0;
}

float Bug::GetX() const
{
    return traverse_data.point[ClampStep(m_shown_step)].x;
}

float Bug::GetY() const
{
    return traverse_data.point[ClampStep(m_shown_step)].y;
}

void Bug::GetPosition(float out[2]) const
{
    if (!out)
        return;
    out[0] = GetX();
    out[1] = GetY();
}

// Held within the road before it becomes an int: a dead bug of a loaded
// game can still be aimed at, and its record may hold any finite speed and
// distance, whose sum can lie far outside an int's range.
int Bug::GetAheadStep(float frames) const
{
    const float ahead = m_distance + frames * play_frame_time * levels_step_rate * (float)m_speed;
    if (!(ahead < (float)traverse_data.num_steps))
        return traverse_data.num_steps;
    return ahead > -1.0f ? (int)ahead : -1;
}

float Bug::GetAheadX(float frames) const
{
    const int step = GetAheadStep(frames);
    return step >= traverse_data.num_steps ? GetX() : traverse_data.point[ClampStep(step)].x;
}

float Bug::GetAheadY(float frames) const
{
    const int step = GetAheadStep(frames);
    return step >= traverse_data.num_steps ? GetY() : traverse_data.point[ClampStep(step)].y;
}

void Bug::Hit(double damage)
{
    if (!m_alive)
        return;
    double before = m_hp;
    m_hp -= damage;
    if (m_hp > 0.0)
        return;
    if (before > 0.0)
        SoundPlay(SOUND_BUG_KILLED);
    m_hp = 0.0;
    m_alive = 0;
    if (play_game_over)
        return;
    HiveWatcherAddToMoney((int)bugs_reward);
    HiveWatcherAddToScore(bugs_kill_score);
}

void Bug::Slow(double amount)
{
    if (!m_alive)
        return;
    m_speed -= amount * 0.01;
    if (m_speed < BUGS_SPEED_SLOWEST)
        m_speed = BUGS_SPEED_SLOWEST;
}

void Bug::DrawAt(float x, float y, float scale, float angle)
{
    if (scale <= 0.0f)
        return;
    float g = scale * bugs_size;
    EngTexture *second = bug_textures[TEX_BUG_SECOND];
    EngTexture *picture = second && second->IsCreated() && m_anim_phase < 10.0f ? second : bug_textures[TEX_BUG];
    HiveWatcherSetBoardTransform(x, y, 0.0f, 0.0f, angle, 0, 1);
    if (picture) {
        picture->PositionPure(-g, -g, 2.0f * g, 2.0f * g);
        picture->Draw();
    }
    HiveWatcherRestoreTransform();
}

void Bug::Draw()
{
    if (m_alive && !m_runner && m_on_board && m_state != BS_AT_END)
        DrawAt(GetX(), GetY(), 1.0f, m_angle);
}

void Bug::DrawRunner()
{
    if (m_runner && bugs_size > 0.0f)
        DrawAt(m_x, m_y, 0.2f / bugs_size, m_angle);
}

void Bug::DrawHealthBar()
{
    if (!m_alive || !m_on_board || m_state == BS_AT_END)
        return;
    EngTexture *frame = bug_textures[TEX_BAR_FRAME], *fill = bug_textures[TEX_BAR_FILL];
    HiveWatcherSetBoardTransform(GetX(), GetY(), 0.0f, 0.0f, (float)(PI / 2.0), 0, 1);
    float f = (float)(m_hp * 0.06 / m_max_hp);
    if (f > 0.0f && fill) {
        fill->PositionPure(-0.03f, -0.08f, f, 0.01f);
        fill->Draw();
    }
    if (frame) {
        frame->PositionPure(-0.03f, -0.08f, 0.06f, 0.01f);
        frame->Draw();
    }
    HiveWatcherRestoreTransform();
}

char BugsSetup()
{
    bugs_spacing = 1.0f;
    // A set-up while a wave is alive must not lose its bugs.
    BugsDeleteAll();
    return 1;
}

void BugsResetBossLevel()
{
    bugs_last_boss_level = 0;
}

void BugsDeleteAll()
{
    for (Bug *&slot : bugs_table) {
        delete slot;
        slot = nullptr;
    }
    bugs_count = 0;
}

double BugsGetHitPointExponent(int level)
{
    if (level < 40)
        return 2.0;
    return level < 50 ? 2.15 : 2.4;
}

void BugsSetSize(float size)
{
    bugs_size = size;
    bugs_hit_radius = (float)(size * 0.6000000238418579);
    bugs_hit_radius_sq = bugs_hit_radius * bugs_hit_radius;
}

double BugsWaveStrength(int pass, int level, int count, double speed, double w)
{
    double v = pass == 0 ? (double)(float)std::pow((double)level, BugsGetHitPointExponent(level)) * 500.0 *
                               levels_difficulty_factor
                         : (double)(float)std::pow((double)level, 2.0) * 500.0;
    double strength = v + 800.0;
    double b = (strength / 52.0 * 1.399999976158142 + strength / count * 0.6000000238418579) * 0.5;
    double t = (speed - 30.0) / 30.0;
    b = b + b * -95.0 * t / 100.0;
    // Small bugs of big waves are a little tougher.
    if (w >= 0.0 && w <= 0.5)
        b = b + (0.5 - w) * b * 25.0 / 100.0;
    return b < 1.0 ? 1.0 : b;
}

char BugsInitForNewLevel(char restoring)
{
    BugsDeleteAll();
    if (restoring)
        return 1;
    // Before the first game the level is -1; no wave is weaker than level 0's.
    const int level = play_level < 0 ? 0 : play_level;

    bugs_kind = EngMiscRand() % BUGS_KINDS;
    bool boss = false;
    int count;
    if (level <= 4)
        count = RandInt(8, 25);
    else if (level <= 9)
        count = RandInt(8, 50);
    else if (level - bugs_last_boss_level >= 10 || EngMiscRandOneIn(10)) {
        boss = true;
        count = EngMiscRand() % 3 + 1;
        bugs_last_boss_level = level;
    } else
        count = RandInt(8, 100);

    float slowest = level <= 4 ? 52.0f : level <= 9 ? 45.0f : count >= 52 ? 45.0f : 30.0f;
    double speed = EngMiscRandFloatInRange(slowest, (float)BUGS_SPEED_FASTEST, 0);
    double h = 1.0 - (count - 4) / 96.0;
    double w = boss ? h : h * 0.5;
    BugsSetSize((float)(w * 0.04999999701976776 + 0.07000000029802322));

    float gap = EngMiscRandFloatInRange(0.8f, count >= 52 ? 1.5f : 2.5f, 0);
    if (traverse_data.step_length <= 0.0f)
        traverse_data.step_length = 1.0f;
    bugs_spacing = gap * bugs_size / traverse_data.step_length;

    bugs_hp = BugsWaveStrength(0, level, count, speed, w);
    bugs_speed = speed;
    double base = BugsWaveStrength(1, level, count, speed, w);
    double reward = EngMathRoundDoubleToInt(std::pow(base, 0.58) * 3.0) * (double)levels_reward_factor;
    // A boss wave of fewer bugs pays more for each.
    static const int boss_reward_multiplier[4] = {1, 9, 6, 3};
    if (boss)
        reward *= boss_reward_multiplier[count];
    if (reward < 1.0)
        reward = 1.0;
    bugs_reward = reward;
    bugs_kill_score = EngMathRoundDoubleToInt(reward * speed / 30.0 * 0.1 * levels_difficulty_factor);

    BugsDestroyGraphics();
    BugsCreateGraphics();
    bugs_count = count;
    for (int i = 0; i < count; i++)
        bugs_table[i] = new Bug(i, 0);
    return 1;
}

void BugsUpdate()
{
    if (play_run_state != 0 || play_game_won || play_game_over)
        return;
    if (bugs_clear_armed) {
        bool empty = true;
        for (Bug *bug : bugs_table)
            empty = empty && !bug;
        if (empty) {
            if (play_level == 49) {
                GameWonInit();
                return;
            }
            play_level++;
            HiveWatcherAddToMoney(50 * (play_level + 1));
            HiveWatcherInitForNewLevel(0);
            SoundPlay(SOUND_LEVEL_COMPLETE);
            PlayerSetTutorialHints(0);
            return;
        }
    }
    bugs_clear_armed = 1;
    for (Bug *&slot : bugs_table) {
        if (!slot)
            continue;
        bugs_clear_armed = 0;
        slot->Update();
        if (!slot->m_alive) {
            delete slot;
            slot = nullptr;
        }
    }
}

void BugsDraw()
{
    for (int i = BUGS_MAX - 1; i >= 0; i--)
        if (bugs_table[i])
            bugs_table[i]->Draw();
    for (int i = BUGS_MAX - 1; i >= 0; i--)
        if (bugs_table[i])
            bugs_table[i]->DrawHealthBar();
}

int BugsFindTarget(float x, float y, float range, int mode)
{
    if (bugs_count <= 0 || mode < 0 || mode >= (int)(sizeof(target_rules) / sizeof(target_rules[0])))
        return -1;
    const TargetRule &rule = target_rules[mode];
    const int slots = bugs_count < BUGS_MAX ? bugs_count : BUGS_MAX;
    int chosen = -1;
    double best = 0.0;
    for (int i = 0; i < slots; i++) {
        const Bug *bug = bugs_table[i];
        if (!bug || !bug->m_targetable)
            continue;
        float dx = x - bug->GetX(), dy = y - bug->GetY();
        float distance_sq = dx * dx + dy * dy;
        if (distance_sq - bugs_size > range * range)
            continue;
        double value = rule.value(bug, distance_sq);
        if (chosen < 0 || (rule.larger_is_better ? value > best : value < best)) {
            chosen = i;
            best = value;
        }
    }
    return chosen;
}

char BugsCreateGraphics()
{
    if (bugs_kind < 0)
        return 1;
    BugsDestroyGraphics();
    for (EngTexture *&texture : bug_textures)
        texture = new EngTexture();
    const int kind = bugs_kind < BUGS_KINDS ? bugs_kind : 0;
    char first[256], second[256];
    snprintf(first, sizeof(first), "%s/%s.tga", "Data/Bugs", bugs_kind_names[kind]);
    snprintf(second, sizeof(second), "%s/%s2.tga", "Data/Bugs", bugs_kind_names[kind]);
    if (!bug_textures[TEX_BUG]->LoadFromFile(first, 1, 2, 0))
        return 0;
    if (EngFileExists(second, 0) && !bug_textures[TEX_BUG_SECOND]->LoadFromFile(second, 1, 2, 0))
        return 0;
    return bug_textures[TEX_BAR_FRAME]->LoadFromFile("Data/1014.dat", 1, 2, 0) &&
           bug_textures[TEX_BAR_FILL]->LoadFromFile("Data/1015.dat", 1, 2, 0);
}

void BugsDestroyGraphics()
{
    for (EngTexture *&texture : bug_textures) {
        delete texture;
        texture = nullptr;
    }
}

void BugsResetForTests()
{
    BugsDeleteAll();
    BugsDestroyGraphics();
    bugs_kind = -1;
    bugs_hp = 100.0;
    bugs_speed = 1.0;
    bugs_reward = 1.0;
    bugs_kill_score = 0;
    bugs_spacing = 1.0f;
    BugsSetSize(0.0f);
    bugs_last_boss_level = 0;
    bugs_clear_armed = 0;
}
