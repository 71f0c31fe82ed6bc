// A particle system: a fixed pool of particles that an emitter fills over
// time as an _EngParticleSystemParms record says, moves each tick (velocity,
// acceleration, attraction to the emitter, rotations, waves), fades and
// resizes over each particle's life, and draws as textured quads in world
// space. The caller fills the record, creates the system, ticks it with its
// own running time and sets the view and projection before drawing it.
#pragma once

#include "engine/core/EngMath.h"

class EngTexture;
class IDirect3DVertexBuffer9;

// Tick behaviours.
enum {
    EPTB_EMIT_ONLY = 0,
    EPTB_UPDATE_ONLY = 1,
    EPTB_UPDATE_AND_EMIT = 2,
};

// Spread shapes: where around the emitter a particle is born.
enum {
    EPSS_CUBE = 0,
    EPSS_DISC = 1,
    EPSS_CIRCLE = 2,
    EPSS_SQUARE_OUTLINE = 3,
    EPSS_X = 4,
    EPSS_Y = 5,
    EPSS_XZ = 6,
    EPSS_YZ = 7,
    EPSS_TABLE = 8,
};

// Wave types per axis.
enum {
    EPWT_NONE = 0,
    EPWT_SINE = 1,
    EPWT_COSINE = 2,
    EPWT_TANGENT = 3,
    EPWT_SINE_SQUARED = 4,
    EPWT_MINUS_SINE_SQUARED = 5,
};

struct _EngParticleSystemParms {
    int burst_count;    // per emission in every mode but 0 (mode 1 is the opening burst)
    int emission_count; // per emission in mode 0
    char tick_behaviour;
    EngTexture *texture; // null for none
    char colour_on;      // 0: white
    char fade_in;        // alpha rises from 0 by 1 per second to the start alpha
    char blend_mode;     // 0 to 5; 1 also multiplies the colour by the alpha
    unsigned emission_rate; // per second
    float emission_interval; // shortest time between two emissions
    float lifetime_min, lifetime_max;
    float base_lifetime; // working value: the last lifetime drawn
    float speed;
    char attraction_on;
    int attraction_x, attraction_y, attraction_z; // axes attracted to the emitter
    float attraction_min, attraction_max;
    float start_colour[3];
    float end_colour[3];
    float start_colour2[3];
    float end_colour2[3];
    int random_start_colour; // drawn between start_colour and start_colour2
    int random_end_colour;
    float start_alpha, end_alpha;
    float start_size, end_size;
    char spread_shape;
    float spread_divisor; // above 0
    float spread_min, spread_max;
    float largest_angle; // degrees between a particle's direction and the x axis
    _Vector3d emitter_position;
    char direction_range_on; // the *_on flags are set by Create
    _EngRange3d direction_scale;
    char acceleration_range_on;
    _EngRange3d acceleration;
    char position_rotation_range_on;
    _EngRange3d position_rotation_rates; // yaw, pitch, roll per second about the origin
    char spin_range_on;
    _EngRange3d spin_rates; // of the particle's quad
    char velocity_rotation_range_on;
    _EngRange3d velocity_rotation_rates;
    char waves_on;
    char wave_type[3];
    float wave_speed[3]; // radians per second
    float wave_amplitude[3];
    float wave_phase[3]; // working values, kept in 0 to 2 pi
    char keep_zbuffer;   // 0: the z-buffer is suspended while drawing
    char two_sided;
    unsigned spread_table_count;
    int *spread_table; // pairs (x, y), owned by the caller
    int spread_table_x_origin, spread_table_width;
    int spread_table_y_origin, spread_table_height;
};

struct _EngParticle {
    _Vector3d previous_position;
    _Vector3d position;
    _Vector3d velocity;
    _Vector3d acceleration;
    _Vector3d direction_scale;
    float colour[3];
    float drawn_alpha;
    float white[3]; // stays 1.0: the colour without colour on
    float alpha_copy;
    float colour_change[3]; // per second
    char fading_in;
    float fade_in_alpha;
    float alpha;
    float alpha_change;
    float size;
    float size_change;
    float age; // seconds; -1 = dead
    float lifetime;
    float attraction;
    _Vector3d position_rotation_rates;
    _Vector3d velocity_rotation_rates;
    _Vector3d spin_rates;
};

class EngParticles {
public:
    EngParticles();
    ~EngParticles();
    EngParticles(const EngParticles &) = delete;
    EngParticles &operator=(const EngParticles &) = delete;

    // Copies the record and makes the pool of particles, all dead; with
    // replace an existing system is destroyed first.
    char Create(int particles, const _EngParticleSystemParms *parms, char replace);
    void Destroy(char release_graphics);
    char InitAllParticles();
    // The range and wave flags from the record's values.
    void SetupRangeFlags();
    char CreateGraphics();
    void DestroyGraphics();

    // time: the caller's running time in seconds. Mode 0 ticks by the tick
    // behaviour, mode 1 adds the burst, other modes emit only. -1 when not
    // created, 0 when every particle died in the update, else 1.
    char Tick(float time, char mode);
    char Render();
    char CreateParticle(float time, _EngParticle *particle);
    char UpdateParticle(_EngParticle *particle, float dt);

    char IsCreated() const { return m_created; }
    int GetNumParticles() const { return m_num_particles; }
    int GetNumAlive() const { return m_num_alive; }
    _EngParticle *GetParticle(int num) { return num >= 0 && num < m_num_particles ? &m_particles[num] : nullptr; }
    _EngParticleSystemParms *GetParms() { return &m_parms; }
    float GetEmissionRemainder() const { return m_emission_remainder; }

private:
    void Reset();
    char Render_DX9();
    void AddSpread(_Vector3d *position);

    int m_num_particles;
    _EngParticleSystemParms m_parms;
    _EngParticle *m_particles;
    char m_created;
    int m_num_alive;
    float m_last_tick_time;
    float m_last_emission_time;
    float m_emission_remainder;
    _Vector3d m_previous_emitter_position;
    _Vector3d m_attraction_direction;
    IDirect3DVertexBuffer9 *m_vertex_buffer;
};

// The run-wide count of "No spread entries" reports back to zero, for tests.
void EngParticlesResetForTests();
