// Particle systems with a seeded generator: emission amounts and timing,
// ageing, fading, spreads and motion, and drawing through the recording
// device.
#include "tests/engine/graphics/PictureTestSupport.h"
#include "engine/graphics/EngTexture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

const char *CREATE_PARTICLE = "EngParticles::CreateParticle";

// Long-lived white particles at the origin that do not move.
_EngParticleSystemParms Parms()
{
    _EngParticleSystemParms parms = {};
    parms.tick_behaviour = EPTB_UPDATE_AND_EMIT;
    parms.lifetime_min = parms.lifetime_max = 100.0f;
    parms.speed = 1.0f;
    parms.start_colour[0] = parms.start_colour[1] = parms.start_colour[2] = 1.0f;
    parms.end_colour[0] = parms.end_colour[1] = parms.end_colour[2] = 1.0f;
    parms.start_alpha = parms.end_alpha = 1.0f;
    parms.start_size = parms.end_size = 1.0f;
    parms.spread_divisor = 1.0f;
    parms.blend_mode = 4;
    return parms;
}

int CountAlive(EngParticles *system)
{
    int alive = 0;
    for (int i = 0; i < system->GetNumParticles(); i++)
        alive += system->GetParticle(i)->age > -1.0f;
    return alive;
}

class EngParticlesTest : public testing::Test {
protected:
    EngParticles system;

    void SetUp() override
    {
        ResetEngineForTest();
        EngParticlesResetForTests();
        EngMiscRandSeed(5);
    }
};

TEST_F(EngParticlesTest, CreationChecksItsArguments)
{
    _EngParticleSystemParms parms = Parms();
    EXPECT_EQ(system.Tick(1.0f, 0), -1);
    EXPECT_EQ(system.Create(10, nullptr, 0), 0);
    EXPECT_EQ(NewestStored(), ErrorText("EngParticles::Create", "No parms"));
    EXPECT_EQ(system.Create(0, &parms, 0), 0);
    EXPECT_EQ(NewestStored(), ErrorText("EngParticles::Create", "Bad num max particles [0]"));
    ASSERT_EQ(system.Create(10, &parms, 0), 1);
    EXPECT_EQ(CountAlive(&system), 0);
    EXPECT_EQ(system.Create(20, &parms, 0), 0);
    EXPECT_EQ(NewestStored(), ErrorText("EngParticles::Create", "System already created"));
    EXPECT_EQ(system.Create(20, &parms, 1), 1);
    EXPECT_EQ(system.GetNumParticles(), 20);
    // Without a device there are no graphics, and nothing draws.
    EXPECT_EQ(system.Render(), 0);
    EXPECT_EQ(system.CreateParticle(1.0f, nullptr), 0);
    EXPECT_EQ(NewestStored(), ErrorText(CREATE_PARTICLE, "No EngParticle"));
    system.Destroy(1);
    EXPECT_FALSE(system.IsCreated());
    EXPECT_EQ(system.Tick(1.0f, 0), -1);
}

TEST_F(EngParticlesTest, EmissionCarriesTheFractionOfAParticle)
{
    // 2 per emission and 6 a second: a tick 0.1 s on makes 2.6.
    _EngParticleSystemParms parms = Parms();
    parms.tick_behaviour = EPTB_EMIT_ONLY;
    parms.emission_count = 2;
    parms.emission_rate = 6;
    ASSERT_EQ(system.Create(50, &parms, 0), 1);
    EXPECT_EQ(system.Tick(0.1f, 0), 1);
    EXPECT_EQ(CountAlive(&system), 2);
    EXPECT_NEAR(system.GetEmissionRemainder(), 0.6f, 1e-5);
    // Emitting only, the last tick time stays: 2 + 0.6 + 0.2 x 6 = 3.8.
    EXPECT_EQ(system.Tick(0.2f, 0), 1);
    EXPECT_EQ(CountAlive(&system), 5);
    EXPECT_NEAR(system.GetEmissionRemainder(), 0.8f, 1e-5);

    // The pool caps the amount and no fraction is carried past it.
    parms.emission_count = 10;
    ASSERT_EQ(system.Create(4, &parms, 1), 1);
    EXPECT_EQ(system.Tick(0.1f, 0), 1);
    EXPECT_EQ(CountAlive(&system), 4);
    EXPECT_EQ(system.GetEmissionRemainder(), 0.0f);
    // A full pool takes no more.
    EXPECT_EQ(system.Tick(0.2f, 0), 1);
    EXPECT_EQ(CountAlive(&system), 4);
}

TEST_F(EngParticlesTest, EmissionsKeepTheirShortestInterval)
{
    // Ticks 1/16 s apart with emissions at least 1/8 s apart: every second tick.
    _EngParticleSystemParms parms = Parms();
    parms.emission_count = 1;
    parms.emission_interval = 0.125f;
    parms.burst_count = 1;
    ASSERT_EQ(system.Create(50, &parms, 0), 1);
    EXPECT_EQ(system.Tick(0.0625f, 1), 1);
    std::vector<int> counts;
    for (int tick = 2; tick <= 7; tick++) {
        EXPECT_EQ(system.Tick(tick * 0.0625f, 0), 1);
        counts.push_back(CountAlive(&system));
    }
    EXPECT_EQ(counts, std::vector<int>({1, 2, 2, 3, 3, 4}));
}

TEST_F(EngParticlesTest, TickBehavioursAndModes)
{
    _EngParticleSystemParms parms = Parms();
    parms.lifetime_min = parms.lifetime_max = 1.0f;
    parms.emission_count = 3;
    parms.burst_count = 2;

    // Updating only: the burst ages and dies, then the tick answers 0, and
    // mode 0 never emits.
    parms.tick_behaviour = EPTB_UPDATE_ONLY;
    ASSERT_EQ(system.Create(10, &parms, 0), 1);
    EXPECT_EQ(system.Tick(0.25f, 1), 1);
    EXPECT_EQ(CountAlive(&system), 2);
    EXPECT_EQ(system.Tick(0.5f, 0), 1);
    EXPECT_EQ(system.GetNumAlive(), 2);
    EXPECT_EQ(system.Tick(1.0f, 0), 0);
    EXPECT_EQ(system.Tick(1.25f, 0), 0);
    EXPECT_EQ(CountAlive(&system), 0);

    // Updating and emitting with every particle dead answers 0 before it
    // would emit; a burst starts it.
    parms.tick_behaviour = EPTB_UPDATE_AND_EMIT;
    ASSERT_EQ(system.Create(10, &parms, 1), 1);
    EXPECT_EQ(system.Tick(0.25f, 0), 0);
    EXPECT_EQ(CountAlive(&system), 0);
    EXPECT_EQ(system.Tick(0.375f, 1), 1);
    EXPECT_EQ(CountAlive(&system), 2);
    EXPECT_EQ(system.Tick(0.5f, 0), 1);
    EXPECT_EQ(CountAlive(&system), 5);

    // Modes 2 and above emit the burst count without updating.
    parms.tick_behaviour = EPTB_EMIT_ONLY;
    ASSERT_EQ(system.Create(10, &parms, 1), 1);
    EXPECT_EQ(system.Tick(0.25f, 2), 1);
    EXPECT_EQ(CountAlive(&system), 2);
    EXPECT_EQ(system.GetParticle(0)->age, 0.0f);
    // Neither emitting nor updating.
    parms.tick_behaviour = 3;
    ASSERT_EQ(system.Create(10, &parms, 1), 1);
    EXPECT_EQ(system.Tick(0.25f, 0), 1);
    EXPECT_EQ(CountAlive(&system), 0);
}

TEST_F(EngParticlesTest, TwoTicksAtOneMomentCannotCreate)
{
    _EngParticleSystemParms parms = Parms();
    parms.emission_count = 2;
    parms.burst_count = 1;
    ASSERT_EQ(system.Create(10, &parms, 0), 1);
    EXPECT_EQ(system.Tick(0.5f, 1), 1);
    EXPECT_EQ(system.Tick(1.0f, 0), 1);
    EXPECT_EQ(CountAlive(&system), 3);
    DebugResetForTests();
    EXPECT_EQ(system.Tick(1.0f, 0), 1);
    EXPECT_EQ(CountAlive(&system), 3);
    EXPECT_EQ(StoredLines(), std::vector<std::string>({ErrorText(CREATE_PARTICLE, "time counter<= 0")}));

    parms.spread_divisor = 0.0f;
    ASSERT_EQ(system.Create(10, &parms, 1), 1);
    EXPECT_EQ(system.Tick(0.5f, 1), 1);
    EXPECT_EQ(NewestStored(), ErrorText(CREATE_PARTICLE, "Parent spread factor <= 0"));
    EXPECT_EQ(CountAlive(&system), 0);
}

TEST_F(EngParticlesTest, AlphaFadesOverALife)
{
    // Lifetime 1 s, alpha from 1 to 0; with fade-in and start alpha 0.5 it
    // first rises from 0 to 0.5 in half a second, then falls to 0.
    _EngParticleSystemParms parms = Parms();
    parms.lifetime_min = parms.lifetime_max = 1.0f;
    parms.end_alpha = 0.0f;
    parms.burst_count = 1;
    parms.tick_behaviour = EPTB_UPDATE_ONLY;
    EngParticles faded;
    _EngParticleSystemParms fade_in = parms;
    fade_in.fade_in = 1;
    fade_in.start_alpha = 0.5f;
    ASSERT_EQ(system.Create(1, &parms, 0), 1);
    ASSERT_EQ(faded.Create(1, &fade_in, 0), 1);
    ASSERT_EQ(system.Tick(0.0625f, 1), 1);
    ASSERT_EQ(faded.Tick(0.0625f, 1), 1);
    struct Point {
        float age, alpha, faded_alpha;
    };
    for (const Point &point : std::vector<Point>{{0.25f, 0.75f, 0.25f}, {0.5f, 0.5f, 0.5f}, {0.75f, 0.25f, 0.25f}}) {
        SCOPED_TRACE(point.age);
        ASSERT_EQ(system.Tick(point.age, 0), 1);
        ASSERT_EQ(faded.Tick(point.age, 0), 1);
        EXPECT_NEAR(system.GetParticle(0)->drawn_alpha, point.alpha, 1e-5);
        EXPECT_NEAR(faded.GetParticle(0)->drawn_alpha, point.faded_alpha, 1e-5);
        EXPECT_EQ(faded.GetParticle(0)->alpha_copy, faded.GetParticle(0)->drawn_alpha);
    }
    EXPECT_EQ(faded.GetParticle(0)->fading_in, 0);
    EXPECT_EQ(system.Tick(1.0f, 0), 0);
    EXPECT_EQ(system.GetParticle(0)->age, -1.0f);
    faded.Destroy(1);
}

TEST_F(EngParticlesTest, ColourAndSizeChangeOverALife)
{
    _EngParticleSystemParms parms = Parms();
    parms.lifetime_min = parms.lifetime_max = 2.0f;
    parms.start_colour[0] = 1.5f; // clamped to 1
    parms.end_colour[0] = -1.0f;
    parms.start_colour[1] = 0.2f;
    parms.end_colour[1] = 0.6f;
    parms.start_size = 2.0f;
    parms.end_size = 4.0f;
    parms.burst_count = 1;
    ASSERT_EQ(system.Create(1, &parms, 0), 1);
    ASSERT_EQ(system.Tick(0.5f, 1), 1);
    ASSERT_EQ(system.Tick(1.0f, 0), 1);
    _EngParticle *p = system.GetParticle(0);
    EXPECT_NEAR(p->colour[0], 0.0f, 1e-6);
    EXPECT_NEAR(p->colour[1], 0.4f, 1e-6);
    EXPECT_NEAR(p->size, 3.0f, 1e-6);
    // Colours never fall below 0.
    ASSERT_EQ(system.Tick(1.5f, 0), 1);
    EXPECT_EQ(p->colour[0], 0.0f);
}

TEST_F(EngParticlesTest, ZeroRangesGiveNoMotionWhateverTheFlagsSaid)
{
    _EngParticleSystemParms parms = Parms();
    parms.direction_range_on = parms.acceleration_range_on = parms.spin_range_on = 1;
    parms.position_rotation_range_on = parms.velocity_rotation_range_on = parms.waves_on = 1;
    parms.largest_angle = 45.0f;
    parms.burst_count = 3;
    ASSERT_EQ(system.Create(3, &parms, 0), 1);
    EXPECT_EQ(system.GetParms()->direction_range_on, 0);
    EXPECT_EQ(system.GetParms()->spin_range_on, 0);
    EXPECT_EQ(system.GetParms()->waves_on, 0);
    ASSERT_EQ(system.Tick(0.5f, 1), 1);
    ASSERT_EQ(system.Tick(1.0f, 0), 1);
    for (int i = 0; i < 3; i++) {
        const _EngParticle *p = system.GetParticle(i);
        EXPECT_EQ(p->velocity.x, 0.0f);
        EXPECT_EQ(p->velocity.y, 0.0f);
        EXPECT_EQ(p->acceleration.z, 0.0f);
        EXPECT_EQ(p->spin_rates.x, 0.0f);
        EXPECT_EQ(p->position.x, 0.0f);
        EXPECT_EQ(p->position.y, 0.0f);
    }
}

TEST_F(EngParticlesTest, ParticlesMoveByTheirRanges)
{
    // Direction scale 2 along x only, largest angle 0: every particle flies
    // along x at twice the speed and accelerates by 1 along y.
    _EngParticleSystemParms parms = Parms();
    parms.speed = 3.0f;
    parms.direction_scale = {2, 2, 0, 0, 0, 0};
    parms.acceleration = {0, 0, 1, 1, 0, 0};
    parms.burst_count = 1;
    ASSERT_EQ(system.Create(1, &parms, 0), 1);
    ASSERT_EQ(system.Tick(0.5f, 1), 1);
    const _EngParticle *p = system.GetParticle(0);
    EXPECT_FLOAT_EQ(p->velocity.x, 6.0f);
    ASSERT_EQ(system.Tick(1.0f, 0), 1);
    EXPECT_FLOAT_EQ(p->position.x, 6.0f);
    EXPECT_FLOAT_EQ(p->velocity.y, 1.0f);
    EXPECT_FLOAT_EQ(p->previous_position.x, 0.0f);

    // Attraction on x pulls a particle back towards the emitter.
    parms = Parms();
    parms.emitter_position = {10, 0, 0};
    parms.attraction_on = 1;
    parms.attraction_x = 1;
    parms.attraction_min = parms.attraction_max = 4.0f;
    parms.spread_shape = EPSS_X;
    parms.spread_min = parms.spread_max = 5.0f;
    parms.burst_count = 1;
    ASSERT_EQ(system.Create(1, &parms, 1), 1);
    ASSERT_EQ(system.Tick(0.5f, 1), 1);
    p = system.GetParticle(0);
    float start_x = p->position.x;
    EXPECT_EQ(std::fabs(start_x - 10.0f), 5.0f);
    ASSERT_EQ(system.Tick(1.0f, 0), 1);
    EXPECT_FLOAT_EQ(p->velocity.x, start_x < 10.0f ? 4.0f : -4.0f);

    // Waves move new particles by amplitude x f(phase).
    parms = Parms();
    parms.wave_type[1] = EPWT_SINE;
    parms.wave_speed[1] = 3.14159265f;
    parms.wave_amplitude[1] = 2.0f;
    parms.burst_count = 1;
    ASSERT_EQ(system.Create(1, &parms, 1), 1);
    ASSERT_EQ(system.Tick(0.5f, 1), 1);
    EXPECT_NEAR(system.GetParms()->wave_phase[1], 3.14159265f / 2, 1e-5);
    EXPECT_NEAR(system.GetParticle(0)->position.y, 2.0f, 1e-5);
}

TEST_F(EngParticlesTest, SpreadsPlaceNewParticlesAroundTheEmitter)
{
    struct Case {
        char shape;
        std::function<bool(const _Vector3d &)> inside;
    };
    const float min = 2.0f, max = 4.0f;
    // Divisor 2: every offset is halved.
    const std::vector<Case> cases = {
        {EPSS_CUBE, [](const _Vector3d &p) { return p.x >= 1 && p.x < 2 && p.y >= 1 && p.y < 2 && p.z >= 1 && p.z < 2; }},
        {EPSS_DISC, [](const _Vector3d &p) { return std::hypot(p.x, p.y) < 1.0001f && p.z == 0; }},
        {EPSS_CIRCLE, [](const _Vector3d &p) { return std::fabs(std::hypot(p.x, p.y) - 1) < 1e-4f; }},
        {EPSS_SQUARE_OUTLINE,
         [](const _Vector3d &p) {
             bool x_edge = (p.x == 1 || p.x == 2) && p.y >= 1 && p.y <= 2;
             bool y_edge = (p.y == 1 || p.y == 2) && p.x >= 1 && p.x <= 2;
             return x_edge || y_edge;
         }},
        {EPSS_X, [](const _Vector3d &p) { return std::fabs(p.x) >= 1 && std::fabs(p.x) < 2 && p.y == 0; }},
        {EPSS_YZ, [](const _Vector3d &p) { return p.x == 0 && std::fabs(p.y) >= 1 && std::fabs(p.z) >= 1; }},
        {99, [](const _Vector3d &p) { return p.x == 0 && p.y == 0 && p.z == 0; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.shape));
        _EngParticleSystemParms parms = Parms();
        parms.spread_shape = c.shape;
        parms.spread_min = min;
        parms.spread_max = max;
        parms.spread_divisor = 2.0f;
        parms.burst_count = 50;
        ASSERT_EQ(system.Create(50, &parms, 1), 1);
        ASSERT_EQ(system.Tick(0.5f, 1), 1);
        for (int i = 0; i < 50; i++)
            EXPECT_TRUE(c.inside(system.GetParticle(i)->position)) << system.GetParticle(i)->position.x << ", "
                                                                   << system.GetParticle(i)->position.y;
    }
}

TEST_F(EngParticlesTest, TheSpreadTableNeedsEntries)
{
    // A table of two points across a 10 x 10 grid, mapped onto 0 .. 4.
    int table[] = {0, 0, 10, 5};
    _EngParticleSystemParms parms = Parms();
    parms.spread_shape = EPSS_TABLE;
    parms.spread_max = 4.0f;
    parms.spread_table = table;
    parms.spread_table_count = 2;
    parms.spread_table_width = parms.spread_table_height = 10;
    parms.burst_count = 20;
    ASSERT_EQ(system.Create(20, &parms, 0), 1);
    ASSERT_EQ(system.Tick(0.5f, 1), 1);
    for (int i = 0; i < 20; i++) {
        const _Vector3d &p = system.GetParticle(i)->position;
        EXPECT_TRUE((p.x == 0 && p.y == 0) || (p.x == 4 && p.y == 2)) << p.x << ", " << p.y;
    }
    EXPECT_TRUE(StoredLines().empty());

    // Without a usable table: three reports in the run, then silence.
    parms.spread_table_count = 1;
    parms.burst_count = 2;
    ASSERT_EQ(system.Create(20, &parms, 1), 1);
    for (float time : {0.25f, 0.5f, 0.75f})
        ASSERT_EQ(system.Tick(time, 1), 1);
    EXPECT_EQ(CountStored(ErrorText(CREATE_PARTICLE, "No spread entries")), 3);
    EXPECT_EQ(system.GetParticle(5)->position.x, 0.0f);
}

TEST_F(EngParticlesTest, NewParticlesAreBornAlongTheEmittersPath)
{
    // The first particle of an emission is born somewhere on the emitter's
    // path since the last one; the rest of the emission at the emitter.
    _EngParticleSystemParms parms = Parms();
    parms.burst_count = 2;
    ASSERT_EQ(system.Create(40, &parms, 0), 1);
    float low = 8, high = 0;
    for (int emission = 0; emission < 20; emission++) {
        system.GetParms()->emitter_position = {8.0f * (emission % 2), 0, 0};
        ASSERT_EQ(system.Tick(0.5f + emission, 1), 1);
        float first = system.GetParticle(2 * emission)->position.x;
        EXPECT_GE(first, 0.0f);
        EXPECT_LE(first, 8.0f);
        EXPECT_EQ(system.GetParticle(2 * emission + 1)->position.x, 8.0f * (emission % 2));
        low = std::min(low, first);
        high = std::max(high, first);
    }
    EXPECT_LT(low, 3.0f);
    EXPECT_GT(high, 5.0f);
}

class EngParticlesDrawTest : public PictureDeviceTest {};

TEST_F(EngParticlesDrawTest, EachLiveParticleIsOneQuad)
{
    WriteFlatPicture("spark.tga", 4, 4, 0xFFFFFFFF);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile("spark.tga", 1, 2));
    EngParticles system;
    _EngParticleSystemParms parms = Parms();
    parms.texture = &texture;
    parms.colour_on = 1;
    parms.start_colour[0] = 0.5f;
    parms.start_alpha = 0.5f;
    parms.blend_mode = 1;
    parms.start_size = 2.0f;
    parms.emitter_position = {1, 2, 3};
    parms.burst_count = 3;
    parms.keep_zbuffer = 1;
    ASSERT_EQ(system.Create(8, &parms, 0), 1);
    ASSERT_EQ(system.Tick(0.5f, 1), 1);
    DebugResetForTests();
    D3D9RecordingReset();
    eng_device->TurnOnLighting();
    eng_device->EnableZBuffer(1);
    ASSERT_TRUE(eng_device->BeginRendering());
    EXPECT_EQ(system.Render(), 1);
    eng_device->EndRendering();

    const std::vector<D3D9RecordedDraw> &draws = D3D9RecordingGetDraws();
    ASSERT_EQ(draws.size(), 3u);
    const D3D9RecordedDraw &draw = draws[0];
    EXPECT_EQ(draw.type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(draw.primitives, 2u);
    EXPECT_EQ(draw.state.fvf, 0x142u);
    EXPECT_EQ(draw.state.stream_stride, 24u);
    EXPECT_EQ(draw.state.render_states[D3DRS_SRCBLEND], static_cast<DWORD>(D3DBLEND_DESTCOLOR));
    EXPECT_EQ(draw.state.render_states[D3DRS_DESTBLEND], static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(draw.state.render_states[D3DRS_LIGHTING], 0u);
    EXPECT_NE(draw.state.textures[0], nullptr);
    // Blend mode 1 multiplies the colour by the alpha: (0.5, 0.25, 0.5, 0.5).
    EXPECT_EQ(DrawColour(draw), 0x7F3F7F7Fu);
    // A square of edge 2 about (1, 2) in the plane z = 3, corners in the
    // order that keeps the z-buffer.
    struct Corner {
        float x, y, z;
        DWORD colour;
        float u, v;
    };
    std::vector<Corner> corners(4);
    std::memcpy(corners.data(), draw.vertices.data(), 4 * sizeof(Corner));
    EXPECT_EQ(corners[0].x, 0.0f);
    EXPECT_EQ(corners[0].y, 3.0f);
    EXPECT_EQ(corners[1].x, 2.0f);
    EXPECT_EQ(corners[2].y, 1.0f);
    EXPECT_EQ(corners[3].u, 0.0f);
    EXPECT_EQ(corners[3].v, 1.0f);
    EXPECT_EQ(corners[0].z, 3.0f);

    // Afterwards: lighting back on, blending off, no texture left bound.
    EXPECT_TRUE(eng_device->IsLightingOn());
    EXPECT_FALSE(eng_device_dx9->IsBlendingOn());
    const std::vector<std::string> &calls = D3D9RecordingGetCalls();
    size_t last_draw = 0, last_texture = 0;
    for (size_t i = 0; i < calls.size(); i++) {
        if (calls[i].rfind("DrawPrimitive", 0) == 0)
            last_draw = i;
        if (calls[i].rfind("SetTexture ", 0) == 0)
            last_texture = i;
    }
    EXPECT_GT(last_texture, last_draw);
    EXPECT_EQ(calls[last_texture], "SetTexture 0 null");
    EXPECT_TRUE(StoredLines().empty());

    system.Destroy(1);
    texture.Destroy();
}

TEST_F(EngParticlesDrawTest, ColourlessQuadsAreWhiteAndTheZBufferIsSuspended)
{
    EngParticles system;
    _EngParticleSystemParms parms = Parms();
    parms.start_colour[1] = 0.0f;
    parms.fade_in = 1;
    parms.burst_count = 1;
    parms.blend_mode = 7;
    parms.two_sided = 1;
    ASSERT_EQ(system.Create(2, &parms, 0), 1);
    ASSERT_EQ(system.Tick(0.5f, 1), 1);
    // The fade-in overshoots the start alpha of 1 by the frame: the colour
    // stays opaque rather than wrapping round to clear.
    ASSERT_EQ(system.Tick(1.0625f, 0), 1);
    EXPECT_GT(system.GetParticle(0)->drawn_alpha, 1.0f);
    eng_device->EnableZBuffer(1);
    DebugResetForTests();
    D3D9RecordingReset();
    ASSERT_TRUE(eng_device->BeginRendering());
    EXPECT_EQ(system.Render(), 1);
    eng_device->EndRendering();
    ASSERT_EQ(D3D9RecordingGetDraws().size(), 1u);
    const D3D9RecordedDraw &draw = D3D9RecordingGetDraws()[0];
    EXPECT_EQ(DrawColour(draw), 0xFFFFFFFFu);
    EXPECT_EQ(draw.state.render_states[D3DRS_ZENABLE], 0u);
    EXPECT_EQ(draw.state.render_states[D3DRS_CULLMODE], static_cast<DWORD>(D3DCULL_NONE));
    // The other corner order: the second corner is below the first.
    float first_x = 0, second_x = 0;
    std::memcpy(&first_x, &draw.vertices[0], sizeof(float));
    std::memcpy(&second_x, &draw.vertices[24], sizeof(float));
    EXPECT_EQ(first_x, second_x);
    // An unknown blend mode is the device's to report.
    EXPECT_EQ(StoredLines(),
              std::vector<std::string>({ErrorText("EngDeviceDX9::EnableBlendingType", "Invalid Blending Type 99")}));
    EXPECT_TRUE(eng_device_dx9->IsBlendingOn() == false);
    EXPECT_FALSE(eng_device->AreTwoSidedPolygonsShown());
    system.Destroy(1);
}

TEST_F(EngParticlesDrawTest, GraphicsLeftBehindAreReportedAndReleased)
{
    int objects = D3D9GetLiveObjectCount();
    {
        EngParticles system;
        _EngParticleSystemParms parms = Parms();
        ASSERT_EQ(system.Create(2, &parms, 0), 1);
        EXPECT_EQ(D3D9GetLiveObjectCount(), objects + 1);
        system.Destroy(0);
        EXPECT_EQ(NewestStored(), ErrorText("EngParticles::Destroy", "Vertex buffer was not relased."));
        EXPECT_EQ(D3D9GetLiveObjectCount(), objects);

        ASSERT_EQ(system.Create(2, &parms, 0), 1);
        DebugResetForTests();
    }
    EXPECT_EQ(StoredLines(), std::vector<std::string>({ErrorText("EngParticles::~EngParticles", "Graphics not destroyed."),
                                                       ErrorText("EngParticles::Destroy", "Vertex buffer was not relased.")}));
    EXPECT_EQ(D3D9GetLiveObjectCount(), objects);

    // Re-made around a change of device.
    EngParticles system;
    _EngParticleSystemParms parms = Parms();
    ASSERT_EQ(system.Create(2, &parms, 0), 1);
    system.DestroyGraphics();
    EXPECT_EQ(D3D9GetLiveObjectCount(), objects);
    EXPECT_EQ(system.CreateGraphics(), 1);
    EXPECT_EQ(D3D9GetLiveObjectCount(), objects + 1);
    D3D9RecordingFailCall("CreateVertexBuffer", E_OUTOFMEMORY);
    system.DestroyGraphics();
    DebugResetForTests();
    EXPECT_EQ(system.CreateGraphics(), 0);
    EXPECT_EQ(StoredLines().size(), 1u);
    EXPECT_EQ(NewestStored().rfind(ErrorText("EngParticles::CreateGraphics", "CreateVertexBuffer: "), 0), 0u);
    system.Destroy(1);
}

} // namespace
