#include "engine/graphics/EngParticles.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngUtilsDX9.h"
#include "platform/d3d9/D3DX9.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

const float PI = 3.14159265358979f;
const float TWO_PI = 2.0f * PI;
const float RADIANS_PER_DEGREE = 0.017453292f;
const int MAX_SPREAD_REPORTS = 3;

// One corner of the quad: position, colour, texture coordinates.
struct ParticleVertex {
    float x, y, z;
    D3DCOLOR colour;
    float u, v;
};
static_assert(sizeof(ParticleVertex) == 24, "a particle vertex is 24 bytes");

const DWORD PARTICLE_FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
const UINT QUAD_BYTES = 4 * sizeof(ParticleVertex);

int g_spread_reports = 0;

// Blend factors as indices into eng_device_blend_factors.
enum { F_ZERO, F_ONE, F_SRCCOLOR, F_INVSRCCOLOR, F_SRCALPHA, F_INVSRCALPHA, F_INVDESTCOLOR, F_INVDESTALPHA,
       F_DESTCOLOR, F_DESTALPHA, F_SRCALPHASAT };

struct BlendPair {
    int source, destination;
};

// The blend modes 0 to 5.
const BlendPair BLEND_MODES[] = {{F_SRCALPHA, F_ONE},      {F_DESTCOLOR, F_ONE},         {F_INVDESTCOLOR, F_SRCCOLOR},
                                 {F_ZERO, F_INVSRCCOLOR}, {F_SRCALPHA, F_INVSRCALPHA}, {F_SRCALPHASAT, F_INVSRCALPHA}};
const int NUM_BLEND_MODES = sizeof(BLEND_MODES) / sizeof(BLEND_MODES[0]);

float Clamp(float value, float minimum, float maximum)
{
    return value < minimum ? minimum : value > maximum ? maximum : value;
}

// A random value between a and b, in either order.
float RandomBetween(float a, float b)
{
    return a <= b ? EngMiscRandFloatInRange(a, b, 0) : EngMiscRandFloatInRange(b, a, 0);
}

void RandomVector(char in_use, const _EngRange3d *range, _Vector3d *out)
{
    if (in_use)
        EngMathGetRandomVector3dInRange3d(out, range);
    else
        *out = {0.0f, 0.0f, 0.0f};
}

float Wave(char type, float phase)
{
    switch (type) {
    case EPWT_SINE:
        return std::sin(phase);
    case EPWT_COSINE:
        return std::cos(phase);
    case EPWT_TANGENT:
        return std::tan(phase);
    case EPWT_SINE_SQUARED:
        return std::sin(phase) * std::sin(phase);
    case EPWT_MINUS_SINE_SQUARED:
        return -std::sin(phase) * std::sin(phase);
    default:
        return 0.0f;
    }
}

// Turns v by yaw, pitch and roll.
void Rotate(_Vector3d *v, float yaw, float pitch, float roll)
{
    D3DXMATRIX rotation;
    D3DXMatrixRotationYawPitchRoll(&rotation, yaw, pitch, roll);
    D3DXVECTOR3 in = {v->x, v->y, v->z};
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &in, &rotation);
    *v = {out.x, out.y, out.z};
}

// A colour channel of 0..1 as a byte. Values are limited first: a fade-in
// that overshoots 1 or an alpha that falls below 0 must not wrap round.
unsigned ColourByte(float value)
{
    return static_cast<unsigned>(Clamp(value, 0.0f, 1.0f) * 255.0f) & 0xFF;
}

} // namespace

void EngParticlesResetForTests()
{
    g_spread_reports = 0;
}

EngParticles::EngParticles()
{
    m_particles = nullptr;
    m_vertex_buffer = nullptr;
    Reset();
}

EngParticles::~EngParticles()
{
    if (m_vertex_buffer)
        DebugError("EngParticles::~EngParticles", "Graphics not destroyed.");
    Destroy(0);
}

void EngParticles::Reset()
{
    m_num_particles = 0;
    std::memset(&m_parms, 0, sizeof(m_parms));
    m_particles = nullptr;
    m_created = 0;
    m_num_alive = 0;
    m_last_tick_time = 0.0f;
    m_last_emission_time = 0.0f;
    m_emission_remainder = 0.0f;
    m_previous_emitter_position = {0.0f, 0.0f, 0.0f};
    m_attraction_direction = {0.0f, 0.0f, 0.0f};
    m_vertex_buffer = nullptr;
}

char EngParticles::Create(int particles, const _EngParticleSystemParms *parms, char replace)
{
    const char *where = "EngParticles::Create";
    if (!parms) {
        DebugError(where, "No parms");
        return 0;
    }
    if (particles <= 0) {
        DebugError(where, "Bad num max particles [%d]", particles);
        return 0;
    }
    if (m_created) {
        if (!replace) {
            DebugError(where, "System already created");
            return 0;
        }
        Destroy(0);
    }
    if (static_cast<unsigned>(particles) > UINT_MAX / sizeof(_EngParticle)) {
        DebugErrorCode(where, 'OMEM');
        return 0;
    }
    m_parms = *parms;
    m_previous_emitter_position = m_parms.emitter_position;
    m_particles = static_cast<_EngParticle *>(
        EngMalloc(static_cast<unsigned>(particles * sizeof(_EngParticle)), where, 1));
    if (!m_particles)
        return 0;
    m_num_particles = particles;
    m_created = 1;
    InitAllParticles();
    SetupRangeFlags();
    if (eng_device)
        CreateGraphics();
    return 1;
}

void EngParticles::Destroy(char release_graphics)
{
    const char *where = "EngParticles::Destroy";
    if (m_particles && !m_created)
        DebugError(where, "EngParticles exist, but not created");
    if (m_particles)
        EngFree(m_particles, 0, where);
    m_particles = nullptr;
    if (m_vertex_buffer && !release_graphics)
        DebugError(where, "Vertex buffer was not relased.");
    // Released either way: a forgotten buffer would keep its device alive.
    DestroyGraphics();
    Reset();
}

char EngParticles::InitAllParticles()
{
    if (!m_particles) {
        DebugErrorCode("EngParticles::InitAllParticles", 'NOSU');
        return 0;
    }
    std::memset(m_particles, 0, m_num_particles * sizeof(_EngParticle));
    for (int i = 0; i < m_num_particles; i++)
        m_particles[i].age = -1.0f;
    return 1;
}

void EngParticles::SetupRangeFlags()
{
    m_parms.direction_range_on = EngMathIsRange3dSet(&m_parms.direction_scale);
    m_parms.acceleration_range_on = EngMathIsRange3dSet(&m_parms.acceleration);
    m_parms.position_rotation_range_on = EngMathIsRange3dSet(&m_parms.position_rotation_rates);
    m_parms.spin_range_on = EngMathIsRange3dSet(&m_parms.spin_rates);
    m_parms.velocity_rotation_range_on = EngMathIsRange3dSet(&m_parms.velocity_rotation_rates);
    m_parms.waves_on = m_parms.wave_type[0] || m_parms.wave_type[1] || m_parms.wave_type[2];
}

char EngParticles::CreateGraphics()
{
    const char *where = "EngParticles::CreateGraphics";
    if (m_num_particles <= 0) {
        DebugErrorCode(where, 'NOSU');
        return 0;
    }
    if (!eng_d3d_device)
        return 0;
    if (m_vertex_buffer)
        return 1;
    HRESULT result = eng_d3d_device->CreateVertexBuffer(QUAD_BYTES, D3DUSAGE_WRITEONLY, PARTICLE_FVF,
                                                        D3DPOOL_MANAGED, &m_vertex_buffer, nullptr);
    if (!EngUtilsDX9_CheckResult(where, "CreateVertexBuffer", result)) {
        m_vertex_buffer = nullptr;
        return 0;
    }
    return 1;
}

void EngParticles::DestroyGraphics()
{
    if (m_vertex_buffer)
        m_vertex_buffer->Release();
    m_vertex_buffer = nullptr;
}

char EngParticles::Tick(float time, char mode)
{
    if (!m_created)
        return -1;
    float elapsed = time - m_last_tick_time;
    for (int axis = 0; axis < 3; axis++) {
        if (m_parms.wave_type[axis] <= EPWT_NONE)
            continue;
        float &phase = m_parms.wave_phase[axis];
        phase += m_parms.wave_speed[axis] * elapsed;
        if (phase > TWO_PI)
            phase -= TWO_PI;
        else if (phase < 0.0f)
            phase += TWO_PI;
    }

    char behaviour = m_parms.tick_behaviour;
    bool emits = behaviour == EPTB_EMIT_ONLY || behaviour == EPTB_UPDATE_AND_EMIT;
    if (mode == 0 && (behaviour == EPTB_UPDATE_ONLY || behaviour == EPTB_UPDATE_AND_EMIT)) {
        m_last_tick_time = time;
        int alive = 0;
        for (int i = 0; i < m_num_particles; i++)
            if (m_particles[i].age > -1.0f && UpdateParticle(&m_particles[i], elapsed))
                alive++;
        m_num_alive = alive;
        if (alive == 0)
            return 0;
    }
    if (mode == 1)
        emits = true;
    if (!emits)
        return 1;

    if (m_last_emission_time > 0.0f && m_parms.emission_interval > time - m_last_emission_time)
        return 1;
    m_last_emission_time = time;
    float amount = (mode == 0 ? m_parms.emission_count : m_parms.burst_count) + m_emission_remainder +
                   elapsed * static_cast<float>(m_parms.emission_rate);
    if (amount > m_num_particles)
        amount = static_cast<float>(m_num_particles);
    int whole = amount > 0.0f ? static_cast<int>(amount) : 0;
    m_emission_remainder = amount - static_cast<float>(whole);
    int created = 0;
    for (int slot = 0; slot < m_num_particles && created < whole; slot++) {
        if (m_particles[slot].age > -1.0f)
            continue;
        // The reasons CreateParticle refuses hold for every particle alike.
        if (!CreateParticle(elapsed, &m_particles[slot]))
            break;
        created++;
    }
    if (created == 0)
        m_previous_emitter_position = m_parms.emitter_position;
    return 1;
}

char EngParticles::CreateParticle(float time, _EngParticle *particle)
{
    const char *where = "EngParticles::CreateParticle";
    if (!particle) {
        DebugError(where, "No EngParticle");
        return 0;
    }
    if (!m_particles || !m_created) {
        DebugError(where, "Bad Parent");
        return 0;
    }
    if (m_parms.spread_divisor <= 0.0f) {
        DebugError(where, "Parent spread factor <= 0");
        return 0;
    }
    if (time <= 0.0f) {
        DebugError(where, "time counter<= 0");
        return 0;
    }
    _EngParticleSystemParms *parms = &m_parms;
    _EngParticle *p = particle;

    p->age = 0.0f;
    parms->base_lifetime = EngMiscRandFloatInRange(parms->lifetime_min, parms->lifetime_max, 0);
    p->lifetime = Clamp(parms->base_lifetime, 0.001f, 10000.0f);

    RandomVector(parms->acceleration_range_on, &parms->acceleration, &p->acceleration);
    RandomVector(parms->direction_range_on, &parms->direction_scale, &p->direction_scale);
    RandomVector(parms->position_rotation_range_on, &parms->position_rotation_rates, &p->position_rotation_rates);
    RandomVector(parms->velocity_rotation_range_on, &parms->velocity_rotation_rates, &p->velocity_rotation_rates);
    RandomVector(parms->spin_range_on, &parms->spin_rates, &p->spin_rates);

    for (int c = 0; c < 3; c++) {
        float start = parms->random_start_colour ? RandomBetween(parms->start_colour[c], parms->start_colour2[c])
                                                 : parms->start_colour[c];
        p->colour[c] = Clamp(start, 0.0f, 1.0f);
        p->white[c] = 1.0f;
    }
    p->drawn_alpha = 1.0f;
    for (int c = 0; c < 3; c++) {
        float end = parms->random_end_colour ? RandomBetween(parms->end_colour[c], parms->end_colour2[c])
                                             : parms->end_colour[c];
        p->colour_change[c] = (end - p->colour[c]) / p->lifetime;
    }

    p->alpha = Clamp(parms->start_alpha, 0.0f, 1.0f);
    p->alpha_change = (parms->end_alpha - p->alpha) / p->lifetime;
    p->size = Clamp(parms->start_size, 0.0001f, 10000.0f);
    p->size_change = (parms->end_size - p->size) / p->lifetime;

    // A point on the emitter's path since the last emission, then the spread.
    const _Vector3d *from = &m_previous_emitter_position;
    const _Vector3d *to = &parms->emitter_position;
    p->position.x = from->x + (to->x - from->x) * EngMiscRandFloat(time, 0) / time;
    p->position.y = from->y + (to->y - from->y) * EngMiscRandFloat(time, 0) / time;
    p->position.z = from->z + (to->z - from->z) * EngMiscRandFloat(time, 0) / time;
    AddSpread(&p->position);
    m_previous_emitter_position = parms->emitter_position;

    float azimuth = EngMiscRandFloat(TWO_PI, 0);
    float angle = EngMiscRandFloat(parms->largest_angle, 0) * RADIANS_PER_DEGREE;
    float speed = Clamp(parms->speed, 0.001f, 10000.0f);
    p->velocity.x = std::cos(angle) * p->direction_scale.x * speed;
    p->velocity.y = std::cos(azimuth) * std::sin(angle) * p->direction_scale.y * speed;
    p->velocity.z = std::sin(azimuth) * std::sin(angle) * p->direction_scale.z * speed;

    p->attraction = EngMiscRandFloatInRange(parms->attraction_min, parms->attraction_max, 0);

    if (parms->waves_on) {
        float *axes[3] = {&p->position.x, &p->position.y, &p->position.z};
        for (int axis = 0; axis < 3; axis++)
            if (parms->wave_type[axis] >= EPWT_SINE && parms->wave_type[axis] <= EPWT_MINUS_SINE_SQUARED)
                *axes[axis] += parms->wave_amplitude[axis] * Wave(parms->wave_type[axis], parms->wave_phase[axis]);
    }

    p->fade_in_alpha = 0.0f;
    p->fading_in = parms->fade_in;
    return 1;
}

void EngParticles::AddSpread(_Vector3d *position)
{
    const _EngParticleSystemParms *parms = &m_parms;
    float min = parms->spread_min;
    float max = parms->spread_max;
    float divisor = parms->spread_divisor;
    switch (parms->spread_shape) {
    case EPSS_CUBE:
        position->x += EngMiscRandFloatInRange(min, max, 0) / divisor;
        position->y += EngMiscRandFloatInRange(min, max, 0) / divisor;
        position->z += EngMiscRandFloatInRange(min, max, 0) / divisor;
        break;
    case EPSS_DISC:
    case EPSS_CIRCLE: {
        float a = EngMiscRandFloat(TWO_PI, 0);
        float r = parms->spread_shape == EPSS_DISC ? EngMiscRandFloat(max - min, 0) : max - min;
        position->x += std::cos(a) * r / divisor;
        position->y += std::sin(a) * r / divisor;
        break;
    }
    case EPSS_SQUARE_OUTLINE:
        switch (EngMiscRand() % 4) {
        case 0:
            position->x += min / divisor;
            position->y += EngMiscRandFloatInRange(min, max, 0) / divisor;
            break;
        case 1:
            position->x += max / divisor;
            position->y += EngMiscRandFloatInRange(min, max, 0) / divisor;
            break;
        case 2:
            position->y += min / divisor;
            position->x += EngMiscRandFloatInRange(min, max, 0) / divisor;
            break;
        default:
            position->y += max / divisor;
            position->x += EngMiscRandFloatInRange(min, max, 0) / divisor;
            break;
        }
        break;
    case EPSS_X:
        position->x += EngMiscRandFloatInRange(min, max, 1) / divisor;
        break;
    case EPSS_Y:
        position->y += EngMiscRandFloatInRange(min, max, 1) / divisor;
        break;
    case EPSS_XZ:
        position->x += EngMiscRandFloatInRange(min, max, 1) / divisor;
        position->z += EngMiscRandFloatInRange(min, max, 1) / divisor;
        break;
    case EPSS_YZ:
        position->y += EngMiscRandFloatInRange(min, max, 1) / divisor;
        position->z += EngMiscRandFloatInRange(min, max, 1) / divisor;
        break;
    case EPSS_TABLE: {
        if (parms->spread_table_count < 2 || !parms->spread_table || parms->spread_table_width <= 0 ||
            parms->spread_table_height <= 0) {
            if (g_spread_reports < MAX_SPREAD_REPORTS) {
                g_spread_reports++;
                DebugError("EngParticles::CreateParticle", "No spread entries");
            }
            break;
        }
        int count = parms->spread_table_count > INT_MAX ? INT_MAX : static_cast<int>(parms->spread_table_count);
        const int *entry = &parms->spread_table[2 * EngMiscRandIntInRange(0, count, 0)];
        float x = static_cast<float>(entry[0] - parms->spread_table_x_origin) / parms->spread_table_width;
        float y = static_cast<float>(entry[1] - parms->spread_table_y_origin) / parms->spread_table_height;
        position->x += (x * (max - min) + min) / divisor;
        position->y += (y * (max - min) + min) / divisor;
        break;
    }
    default:
        break;
    }
}

char EngParticles::UpdateParticle(_EngParticle *particle, float dt)
{
    if (!m_particles || !m_created) {
        DebugError("EngParticles::UpdateParticle", "Bad Parent");
        return 0;
    }
    _EngParticle *p = particle;
    p->age += dt;
    if (p->lifetime <= p->age) {
        p->age = -1.0f;
        return 0;
    }
    p->previous_position = p->position;
    p->position.x += p->velocity.x * dt;
    p->position.y += p->velocity.y * dt;
    p->position.z += p->velocity.z * dt;
    p->velocity.x += p->acceleration.x * dt;
    p->velocity.y += p->acceleration.y * dt;
    p->velocity.z += p->acceleration.z * dt;
    if (m_parms.attraction_on) {
        const _Vector3d *emitter = &m_parms.emitter_position;
        _Vector3d *direction = &m_attraction_direction;
        direction->x = m_parms.attraction_x ? emitter->x - p->position.x : 0.0f;
        direction->y = m_parms.attraction_y ? emitter->y - p->position.y : 0.0f;
        direction->z = m_parms.attraction_z ? emitter->z - p->position.z : 0.0f;
        EngMathNormaliseVector3d(direction);
        p->velocity.x += direction->x * p->attraction * dt;
        p->velocity.y += direction->y * p->attraction * dt;
        p->velocity.z += direction->z * p->attraction * dt;
    }
    if (m_parms.position_rotation_range_on) {
        const _Vector3d *rates = &p->position_rotation_rates;
        Rotate(&p->position, rates->x * dt, rates->y * dt, rates->z * dt);
    }
    if (m_parms.velocity_rotation_range_on) {
        const _Vector3d *rates = &p->velocity_rotation_rates;
        Rotate(&p->velocity, rates->x * dt, rates->y * dt, rates->z * dt);
    }
    for (int c = 0; c < 3; c++)
        p->colour[c] += p->colour_change[c] * dt;
    p->size += p->size_change * dt;
    if (p->fading_in) {
        p->fade_in_alpha += dt;
        if (p->fade_in_alpha >= m_parms.start_alpha) {
            p->fading_in = 0;
            p->alpha = p->fade_in_alpha;
            p->alpha_change = (m_parms.end_alpha - p->fade_in_alpha) / (p->lifetime - p->age);
        }
        p->drawn_alpha = p->fade_in_alpha;
    } else {
        p->alpha += p->alpha_change * dt;
        p->drawn_alpha = p->alpha;
    }
    p->alpha_copy = p->drawn_alpha;
    for (int c = 0; c < 3; c++)
        if (p->colour[c] < 0.0f)
            p->colour[c] = 0.0f;
    return 1;
}

char EngParticles::Render()
{
    if (!eng_device || !m_created || !m_particles)
        return 0;
    bool z_suspended = !m_parms.keep_zbuffer && eng_device->SuspendZBufferIfOn();
    bool lighting_was_on = eng_device->TurnOffLightingIfOn();
    bool two_sided_before = eng_device->AreTwoSidedPolygonsShown();
    bool two_sided_changed = two_sided_before != (m_parms.two_sided != 0);
    if (two_sided_changed)
        eng_device->ShowTwoSidedPolygons(m_parms.two_sided);

    if (m_parms.blend_mode >= 0 && m_parms.blend_mode < NUM_BLEND_MODES) {
        const BlendPair *pair = &BLEND_MODES[static_cast<int>(m_parms.blend_mode)];
        eng_device->EnableBlending(eng_device_blend_factors[pair->source],
                                   eng_device_blend_factors[pair->destination]);
    } else {
        // Reported by the device as an invalid type; the blending stays.
        eng_device->EnableBlendingType(99);
    }

    if (eng_device_type == EDT_DX9)
        Render_DX9();

    if (two_sided_changed)
        eng_device->ShowTwoSidedPolygons(two_sided_before);
    eng_device->DisableBlending();
    if (z_suspended)
        eng_device->RestoreZBuffer();
    if (lighting_was_on)
        eng_device->TurnOnLighting();
    return 1;
}

char EngParticles::Render_DX9()
{
    const char *where = "EngParticleSystemRender";
    if (!m_vertex_buffer) {
        DebugErrorCode("EngParticles::Render_DX9", 'NOSU');
        return 0;
    }
    if (!eng_d3d_device)
        return 0;
    EngTexture *texture = m_parms.texture;
    if (texture)
        texture->SetDx9D3dDeviceTextureToTexture();
    bool keep_zbuffer = m_parms.keep_zbuffer != 0;
    for (int i = 0; i < m_num_particles; i++) {
        _EngParticle *p = &m_particles[i];
        p->drawn_alpha = p->fading_in ? p->fade_in_alpha : p->alpha;
        p->alpha_copy = p->drawn_alpha;
        if (p->age <= -1.0f)
            continue;

        float a = p->drawn_alpha;
        float r, g, b;
        if (m_parms.blend_mode == 1) {
            r = p->colour[0] * a;
            g = p->colour[1] * a;
            b = p->colour[2] * a;
        } else if (m_parms.colour_on) {
            r = p->colour[0];
            g = p->colour[1];
            b = p->colour[2];
        } else {
            a = p->alpha_copy;
            r = p->white[0];
            g = p->white[1];
            b = p->white[2];
        }
        D3DCOLOR colour = D3DCOLOR_ARGB(ColourByte(a), ColourByte(r), ColourByte(g), ColourByte(b));

        // A square of edge size centred on the position, facing the camera
        // down z; the corner order also sets which side faces forward.
        float s = p->size / 2.0f;
        float x = p->position.x;
        float y = p->position.y;
        float z = p->position.z;
        ParticleVertex quad[4];
        if (keep_zbuffer) {
            quad[0] = {x - s, y + s, z, colour, 1.0f, 0.0f};
            quad[1] = {x + s, y + s, z, colour, 0.0f, 0.0f};
            quad[2] = {x - s, y - s, z, colour, 1.0f, 1.0f};
            quad[3] = {x + s, y - s, z, colour, 0.0f, 1.0f};
        } else {
            quad[0] = {x - s, y + s, z, colour, 1.0f, 0.0f};
            quad[1] = {x - s, y - s, z, colour, 1.0f, 1.0f};
            quad[2] = {x + s, y + s, z, colour, 0.0f, 0.0f};
            quad[3] = {x + s, y - s, z, colour, 0.0f, 1.0f};
        }
        if (m_parms.spin_range_on) {
            for (ParticleVertex &corner : quad) {
                _Vector3d offset = {corner.x - x, corner.y - y, corner.z - z};
                Rotate(&offset, p->spin_rates.x * p->age, p->spin_rates.y * p->age, p->spin_rates.z * p->age);
                corner.x = offset.x + x;
                corner.y = offset.y + y;
                corner.z = offset.z + z;
            }
        }

        void *data = nullptr;
        if (!EngUtilsDX9_CheckResult(where, "Lock", m_vertex_buffer->Lock(0, QUAD_BYTES, &data, 0)))
            break;
        std::memcpy(data, quad, QUAD_BYTES);
        m_vertex_buffer->Unlock();
        EngUtilsDX9_CheckResult(where, "SetFVF", eng_d3d_device->SetFVF(PARTICLE_FVF));
        EngUtilsDX9_CheckResult(where, "SetStreamSource",
                                eng_d3d_device->SetStreamSource(0, m_vertex_buffer, 0, sizeof(ParticleVertex)));
        EngUtilsDX9_CheckResult(where, "DrawPrimitive", eng_d3d_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));
    }
    if (texture)
        eng_d3d_device->SetTexture(0, nullptr);
    return 1;
}
