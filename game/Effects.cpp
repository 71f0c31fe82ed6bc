// The effects module: explosion animations from a 4 x 4 atlas.
#include "game/Effects.h"

#include "engine/graphics/EngTexture.h"
#include "game/HiveWatcher.h"

#include <cmath>

Effect *effects_list[EFFECTS_MAX];
int32_t effects_count = 0;

namespace {

const float PI_F = 3.14159265358979323846f;

// Per kind: reserved, initial strength, fade per second. Only kind 0 is made.
struct EffectKind {
    float reserved;
    float strength;
    float fade;
};
const EffectKind effect_kinds[] = {
    {0.0f, 1.0f, 0.0f},  // explosion
};
const int EFFECT_KIND_COUNT = sizeof(effect_kinds) / sizeof(effect_kinds[0]);

EngTexture effect_atlas;

const float FRAMES_PER_SECOND = 20.0f;
const int LAST_FRAME = 15;

// Deletes the effects that ended; the count becomes one past the last left.
void PurgeEffects()
{
    int count = 0;
    for (int i = 0; i < EFFECTS_MAX; i++) {
        if (effects_list[i] && !effects_list[i]->m_alive) {
            delete effects_list[i];
            effects_list[i] = nullptr;
        }
        if (effects_list[i])
            count = i + 1;
    }
    effects_count = count;
}

}  // namespace

Effect::Effect(int kind, float x, float y, float size)
    : m_alive(1),
      m_kind(kind),
      m_x(x),
      m_y(y),
      m_size(size),
      m_half_size(size * 0.5f),
      m_angle(PI_F / 2.0f),
      m_strength(kind >= 0 && kind < EFFECT_KIND_COUNT ? effect_kinds[kind].strength : 0.0f),
      m_frame(-1.0f),
      m_u0(0.0f),
      m_u1(1.0f),
      m_v0(0.0f),
      m_v1(1.0f)
{
}

void Effect::Update()
{
    if (!m_alive || m_kind != 0)
        return;
    const float dt = play_frame_time;
    // Before the first update no atlas frame is chosen yet, so the first
    // update always picks one rather than showing the whole atlas.
    const int old = m_frame < 0.0f ? -1 : (int)m_frame;
    if (m_frame == -1.0f)
        m_frame = 0.0f;
    m_frame += dt * FRAMES_PER_SECOND;
    if (m_frame >= (float)LAST_FRAME) {
        Kill();
        return;
    }
    const int n = (int)m_frame;
    if (n != old) {
        m_u0 = (float)(n % 4) * 0.25f;
        m_v0 = (float)(n / 4) * 0.25f;
        m_u1 = m_u0 + 0.25f;
        m_v1 = m_v0 + 0.25f;
    }
    const float fade = effect_kinds[m_kind].fade;
    if (fade > 0.0f) {
        m_strength -= fade * dt;
        if (m_strength <= 0.0f)
            Kill();
    }
}

void Effect::Draw()
{
    if (!m_alive || m_half_size <= 0.0f || m_strength <= 0.0f)
        return;
    HiveWatcherSetBoardTransform(m_x, m_y, 0.0f, 0.0f, m_angle, 0, 1);
    effect_atlas.PositionPure(-m_half_size, -m_half_size, m_size, m_size);
    effect_atlas.DrawWithTextureCoordinatesAndColour(m_u0, m_v0, m_u1, m_v1, 1.0f, 1.0f, 1.0f, 0.7f);
    HiveWatcherRestoreTransform();
}

void Effect::Kill()
{
    m_alive = 0;
}

char EffectsSetup()
{
    EffectsDeleteAll();
    return 1;
}

char EffectsCreateGraphics()
{
    return effect_atlas.LoadFromFile("Data/1023.dat", 1, 2, 0);
}

void EffectsDestroyGraphics()
{
    effect_atlas.Destroy();
}

char EffectsAdd(int kind, float x, float y, float size)
{
    if (effects_count > EFFECTS_MAX - 1)
        return 0;
    effects_list[effects_count++] = new Effect(kind, x, y, size);
    return 1;
}

void EffectsUpdate()
{
    for (int i = 0; i < effects_count; i++)
        if (effects_list[i])
            effects_list[i]->Update();
    PurgeEffects();
}

void EffectsDraw()
{
    for (int i = 0; i < effects_count; i++)
        if (effects_list[i])
            effects_list[i]->Draw();
}

void EffectsDeleteAll()
{
    for (Effect *&effect : effects_list) {
        delete effect;
        effect = nullptr;
    }
    effects_count = 0;
}

void EffectsResetForTests()
{
    EffectsDeleteAll();
    EffectsDestroyGraphics();
}
