// Short explosion animations on the board: at most 1000 at a time, each
// playing 15 frames of a 4 x 4 picture atlas at 20 frames a second and then
// removing itself. An effect that ends during the update is only marked;
// the update deletes it after its pass. A full list refuses new effects.
#pragma once

#include <cstdint>

enum { EFFECTS_MAX = 1000 };

class Effect {
public:
    Effect(int kind, float x, float y, float size);
    void Update();
    void Draw();
    // Marks the effect ended; the update deletes it after its pass.
    void Kill();

    uint8_t m_alive;
    int32_t m_kind;
    float m_x, m_y;
    float m_size, m_half_size;
    float m_angle;
    float m_strength;
    float m_frame;
    float m_u0, m_u1, m_v0, m_v1;
};

extern Effect *effects_list[EFFECTS_MAX];
extern int32_t effects_count;

char EffectsSetup();
char EffectsCreateGraphics();
void EffectsDestroyGraphics();
char EffectsAdd(int kind, float x, float y, float size);
void EffectsUpdate();
void EffectsDraw();
void EffectsDeleteAll();
// The module's state as at start, its picture released.
void EffectsResetForTests();
