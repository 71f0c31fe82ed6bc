// Pictures over time: stage timing on program time, motion on frame time,
// and each set's current stage drawn through the recording device.
#include "tests/engine/graphics/PictureTestSupport.h"
#include "engine/graphics/EngTexture.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

typedef nlohmann::ordered_json Json;

const double START = 10.0;

Json Stage(Json extra = Json::object())
{
    Json stage = {{"TexNum", 0},
                  {"Show", 1},
                  {"Alpha Level", 1},
                  {"Alpha Throb On", 0},
                  {"Alpha Throb Min Level", 0},
                  {"Alpha Throb Speed", 0},
                  {"Alpha Throb Mult", 0}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        stage[it.key()] = it.value();
    return stage;
}

// One set per entry, each the stages given.
Json Description(std::vector<std::vector<Json>> sets)
{
    Json set_array = Json::array();
    for (size_t i = 0; i < sets.size(); i++)
        set_array.push_back({{"Name", "Set"}, {"Stages", sets[i]}});
    return {{"Textures", Json::array({{{"Path", ""}, {"Filename", "t0.png"}}})}, {"Sets", set_array}};
}

// Loads at program time START with a still clock, so loading's own tick
// moves nothing.
void Load(EngPicture *picture, const Json &description)
{
    WriteTextFile("pic.ttx", description.dump());
    SetClock(START, 0.0f);
    ASSERT_EQ(picture->LoadFromFile(nullptr, "pic.ttx", 0), 1);
}

// Frames of dt until program time reaches end.
void TickUntil(EngPicture *picture, double end, float dt)
{
    double now = eng_main_program_time;
    while (now + dt / 2 < end) {
        now += dt;
        SetClock(now, dt);
        picture->Tick(1.0f);
    }
}

_EngPictureStage *StageOf(EngPicture *picture, int set, int stage)
{
    return &picture->GetSet(set)->stages[stage];
}

float Ease(float p)
{
    const float pi = 3.14159265358979f;
    return p < 0.5f ? 0.5f - 0.5f * std::sin((1 - 2 * p) * pi / 2) : 0.5f + 0.5f * std::sin((p - 0.5f) * pi);
}

class EngPictureAnimationTest : public testing::Test {
protected:
    EngPicture picture;

    void SetUp() override
    {
        ResetEngineForTest();
        EngPictureResetForTests();
        EngMiscRandSeed(11);
    }
};

TEST_F(EngPictureAnimationTest, StagesFollowEachOtherOnProgramTime)
{
    const Json times = {{"Alpha Times", {0.5, 0.5, 1, 0}}};
    Load(&picture, Description({{Stage(times), Stage(times), Stage(times)}, {Stage(times)}}));
    // Each stage lasts 2 s; after 6 s the first begins again. The one-stage
    // set never changes.
    for (int step = 1; step <= 28; step++) {
        TickUntil(&picture, START + step * 0.25, 0.25f);
        double elapsed = step * 0.25;
        int expected = static_cast<int>(elapsed / 2) % 3;
        ASSERT_EQ(picture.GetSet(0)->current_stage, expected) << "at " << elapsed;
        EXPECT_EQ(picture.GetSet(0)->start_time, START + 2.0 * static_cast<int>(elapsed / 2));
        EXPECT_EQ(picture.GetSet(1)->current_stage, 0);
    }
    // Long frames change at most one stage per tick, starting it now.
    SetClock(START + 20.0, 5.0f);
    picture.Tick(1.0f);
    EXPECT_EQ(picture.GetSet(0)->current_stage, 1);
    EXPECT_EQ(picture.GetSet(0)->start_time, START + 20.0);
}

TEST_F(EngPictureAnimationTest, TransitionsMoveTheStagesArea)
{
    // Speeds 0.5 x 1: from the main area to the end area in 2 s.
    const Json base = {{"Main Area", {0, 0, 0.5, 0.5}}, {"Trans End Area", {0.5, 0.5, 0.5, 0.5}},
                       {"Trans Speeds", {0.5, 1}}};
    std::vector<Json> stages;
    for (int type : {1, 2, 3, 0}) {
        Json keys = base;
        keys["Trans Type"] = type;
        stages.push_back(Stage(keys));
    }
    Load(&picture, Description({{stages[0]}, {stages[1]}, {stages[2]}, {stages[3]}}));
    struct Point {
        double time;
        float loop_x, back_x, eased_x;
    };
    const std::vector<Point> points = {
        {0.5, 0.125f, 0.125f, 0.5f * Ease(0.25f)},
        {1.0, 0.25f, 0.25f, 0.25f},
        {1.875, 0.46875f, 0.46875f, 0.5f * Ease(0.9375f)},
        {2.0, 0.0f, 0.5f, 0.5f},   // the loop jumps back, the others turn
        {3.0, 0.25f, 0.25f, 0.25f},
        {4.0, 0.0f, 0.0f, 0.0f},
        {4.5, 0.125f, 0.125f, 0.5f * Ease(0.25f)},
    };
    for (const Point &point : points) {
        TickUntil(&picture, START + point.time, 0.125f);
        SCOPED_TRACE(point.time);
        EXPECT_NEAR(StageOf(&picture, 0, 0)->pos_vars.area.x, point.loop_x, 1e-5);
        EXPECT_NEAR(StageOf(&picture, 1, 0)->pos_vars.area.x, point.back_x, 1e-5);
        EXPECT_NEAR(StageOf(&picture, 2, 0)->pos_vars.area.x, point.eased_x, 1e-5);
        EXPECT_NEAR(StageOf(&picture, 2, 0)->pos_vars.area.w, 0.5f, 1e-6);
        EXPECT_EQ(StageOf(&picture, 3, 0)->pos_vars.area.x, 0.0f);
    }
}

TEST_F(EngPictureAnimationTest, RandomPositionsChangeWithEveryThrobCycle)
{
    // The opacity pulses about once a second (0.8 of its phase a frame, the
    // cycle ending between frames); the size follows it between the main and
    // the end area.
    Load(&picture, Description({{Stage({{"Main Area", {0.1, 0.1, 0.1, 0.1}},
                                        {"Trans Type", 4},
                                        {"Trans End Area", {0.1, 0.1, 0.3, 0.5}},
                                        {"Trans Random Area", {0, 0, 1, 1}},
                                        {"Alpha Throb On", 1},
                                        {"Alpha Throb Min Level", 0},
                                        {"Alpha Throb Speed", 3.2},
                                        {"Alpha Throb Mult", 1}})}}));
    _EngPictureStage *stage = StageOf(&picture, 0, 0);
    std::vector<float> targets = {stage->pos_vars.random_x};
    int changes = 0;
    for (int frame = 1; frame <= 32; frame++) {
        float throb_before = stage->alpha_vars.throb_value;
        float target_before = stage->pos_vars.random_x;
        TickUntil(&picture, START + frame * 0.125, 0.125f);
        // The area is placed before this frame's throb moves on.
        EXPECT_FLOAT_EQ(stage->pos_vars.area.x, target_before);
        EXPECT_NEAR(stage->pos_vars.area.w, 0.1f + throb_before * 0.2f, 1e-6);
        EXPECT_NEAR(stage->pos_vars.area.h, 0.1f + throb_before * 0.4f, 1e-6);
        EXPECT_GE(stage->pos_vars.random_x, 0.0f);
        EXPECT_LT(stage->pos_vars.random_x, 0.9f);
        EXPECT_LT(stage->pos_vars.random_y, 0.9f);
        if (stage->pos_vars.random_x != target_before) {
            changes++;
            // Only as the pulse returns to its lowest.
            EXPECT_LT(stage->alpha_vars.throb_value, 0.06f) << "frame " << frame;
        }
    }
    EXPECT_EQ(changes, 4);
}

TEST_F(EngPictureAnimationTest, RotationsTurnByType)
{
    auto rotation = [](int type, double start, double end) {
        return Stage({{"RotFlags", {1, type}}, {"RotValues", {start, end, 90, 1}}});
    };
    Load(&picture, Description({{rotation(2, 0, 360)},
                                {rotation(1, 90, 45)},
                                {rotation(1, 0, 100)},
                                {rotation(3, 0, 90)},
                                {rotation(3, 90, 0)},
                                {rotation(4, 0, 90)},
                                {rotation(0, 30, 90)}}));
    struct Point {
        double time;
        std::vector<float> angles;
    };
    // The back-and-forth from 90 to 0 starts at its end: loading's own tick
    // already turned it towards 0.
    const std::vector<Point> points = {
        {0.25, {22.5f, 90, 22.5f, 22.5f, 67.5f, 90 * Ease(0.25f), 30}},
        {1.0, {90, 90, 90, 90, 0, 90, 30}},
        {1.25, {112.5f, 90, 0, 67.5f, 22.5f, 90 * Ease(0.75f), 30}},
        {2.0, {180, 90, 67.5f, 0, 90, 0, 30}},
        {4.0, {0, 90, 22.5f, 0, 90, 0, 30}},
    };
    for (const Point &point : points) {
        TickUntil(&picture, START + point.time, 0.25f);
        for (int set = 0; set < 7; set++)
            EXPECT_NEAR(StageOf(&picture, set, 0)->pos_vars.angle, point.angles[set], 1e-3)
                << "set " << set << " at " << point.time;
    }
}

TEST_F(EngPictureAnimationTest, TextureCoordinatesScroll)
{
    Load(&picture, Description({{Stage({{"TC Default", 1}, {"TC Tile", {1, 2}}, {"TC Move", 1}, {"TC Speed", {0.25, 0}}})},
                                {Stage({{"TC TC", {0.2, 0, 0.6, 1}}, {"TC Tile", {1, 1}}, {"TC Move", 1},
                                        {"TC Speed", {0.25, 0}}})},
                                {Stage({{"TC TC", {0.2, 0.1, 0.6, 0.9}}, {"TC Speed", {1, 1}}})}}));
    _EngPictureTexCoords *wrapping = &StageOf(&picture, 0, 0)->tc_current;
    _EngPictureTexCoords *resetting = &StageOf(&picture, 1, 0)->tc_current;
    // Without "TC Default" they run past the right edge, then start over.
    TickUntil(&picture, START + 1.5, 0.25f);
    EXPECT_NEAR(resetting->left, 0.575f, 1e-6);
    EXPECT_NEAR(resetting->right, 0.975f, 1e-6);
    TickUntil(&picture, START + 1.75, 0.25f);
    EXPECT_FLOAT_EQ(resetting->left, 0.2f);
    EXPECT_FLOAT_EQ(resetting->right, 0.6f);
    // With it the coordinates span the tile and wrap every 4 s.
    TickUntil(&picture, START + 3.75, 0.25f);
    EXPECT_FLOAT_EQ(wrapping->left, 0.9375f);
    EXPECT_FLOAT_EQ(wrapping->right, 1.9375f);
    EXPECT_FLOAT_EQ(wrapping->bottom, 2.0f);
    TickUntil(&picture, START + 4.0, 0.25f);
    EXPECT_FLOAT_EQ(wrapping->left, 0.0f);
    EXPECT_FLOAT_EQ(wrapping->right, 1.0f);
    // Without "TC Move" nothing scrolls.
    EXPECT_FLOAT_EQ(StageOf(&picture, 2, 0)->tc_current.left, 0.2f);
    EXPECT_FLOAT_EQ(StageOf(&picture, 2, 0)->tc_current.bottom, 0.9f);
}

TEST_F(EngPictureAnimationTest, LockedStagesContinueTheFirstStagesMotion)
{
    const Json first = {{"Trans Type", 1}, {"Trans Speeds", {0.25, 1}}, {"Alpha Times", {0, 0, 1, 0}},
                        {"Main Area", {0, 0, 0.5, 0.5}}, {"Trans End Area", {1, 0, 0.5, 0.5}}};
    // Set 0: the second stage locks the position; set 1: it has a motion of
    // its own, and each stage resumes where it stood.
    Load(&picture,
         Description({{Stage(first), Stage({{"Locks", {1, 0, 0, 0}}, {"Alpha Times", {0, 0, 1, 0}}})},
                      {Stage(first), Stage({{"Trans Type", 1}, {"Trans Speeds", {0.5, 1}}, {"Alpha Times", {0, 0, 1, 0}}})}}));
    TickUntil(&picture, START + 0.75, 0.25f);
    EXPECT_FLOAT_EQ(StageOf(&picture, 0, 0)->pos_vars.progress, 0.1875f);
    TickUntil(&picture, START + 1.75, 0.25f);
    EXPECT_EQ(picture.GetSet(0)->current_stage, 1);
    EXPECT_FLOAT_EQ(StageOf(&picture, 0, 0)->pos_vars.progress, 0.4375f);
    EXPECT_FLOAT_EQ(StageOf(&picture, 0, 1)->pos_vars.progress, 0.0f);
    EXPECT_FLOAT_EQ(StageOf(&picture, 1, 0)->pos_vars.progress, 0.1875f);
    EXPECT_FLOAT_EQ(StageOf(&picture, 1, 1)->pos_vars.progress, 0.5f);
    TickUntil(&picture, START + 2.0, 0.25f);
    EXPECT_EQ(picture.GetSet(1)->current_stage, 0);
    EXPECT_FLOAT_EQ(StageOf(&picture, 0, 0)->pos_vars.progress, 0.5f);
    EXPECT_FLOAT_EQ(StageOf(&picture, 1, 0)->pos_vars.progress, 0.25f);
    // The second stage of set 1 stopped where it was.
    EXPECT_FLOAT_EQ(StageOf(&picture, 1, 1)->pos_vars.progress, 0.5f);
}

TEST_F(EngPictureAnimationTest, ResetsReportBadArguments)
{
    Load(&picture, Description({{Stage()}}));
    DebugResetForTests();
    picture.ResetSetVars(3);
    EXPECT_EQ(NewestStored(), ErrorText("EngPicture::ResetSetVars", "Invalid set num 3 (1)"));
    picture.ResetStageVars(nullptr);
    EXPECT_EQ(NewestStored(), ErrorText("EngPicture::ResetStageVars", "Bad parameters."));
    // Sets whose stage number is outside their list are skipped.
    picture.GetSet(0)->current_stage = 5;
    picture.Tick(1.0f);
}

// Drawing through the recording device.
class EngPictureDrawTest : public PictureDeviceTest {
protected:
    EngPicture picture;

    void SetUp() override
    {
        PictureDeviceTest::SetUp();
        WriteFlatPicture("t0.png", 8, 8, 0xFFFFFFFF);
        ASSERT_TRUE(eng_device->BeginRendering());
    }

    void TearDown() override
    {
        eng_device->EndRendering();
        picture.Destroy();
        PictureDeviceTest::TearDown();
    }

    void LoadAndCreate(const Json &description)
    {
        Load(&picture, description);
        ASSERT_EQ(picture.CreateGraphics(), 1);
        D3D9RecordingReset();
        DebugResetForTests();
    }

    // Draws the set, answering its one recorded draw.
    D3D9RecordedDraw DrawOnce(int set, float alpha = 1.0f)
    {
        D3D9RecordingReset();
        picture.DrawSet(set, alpha);
        EXPECT_EQ(D3D9RecordingGetDraws().size(), 1u);
        return D3D9RecordingGetDraws().empty() ? D3D9RecordedDraw() : D3D9RecordingGetDraws()[0];
    }
};

TEST_F(EngPictureDrawTest, AStageFadesInHoldsFadesOutAndWaitsOutItsGap)
{
    LoadAndCreate(Description({{Stage({{"Alpha Times", {0.5, 0.5, 1, 0}}}), Stage({{"Alpha Times", {0, 0, 1, 1}}})},
                               {Stage({{"Alpha Times", {0.5, 0.5, 1, 0}}, {"Alpha Level", 0.8}})}}));
    struct Point {
        double time;
        int stage;
        int alpha;
    };
    // Set 0: fade-in 0.5 s, hold 1 s, fade-out 0.5 s; then a stage hidden for
    // the last second of its 2 s.
    const std::vector<Point> points = {{0.25, 0, 127}, {1.0, 0, 255}, {1.75, 0, 127},
                                       {2.5, 1, 255},  {3.5, 1, 0},   {4.25, 0, 127}};
    for (const Point &point : points) {
        TickUntil(&picture, START + point.time, 0.25f);
        SCOPED_TRACE(point.time);
        ASSERT_EQ(picture.GetSet(0)->current_stage, point.stage);
        EXPECT_EQ(DrawAlpha(DrawOnce(0)), point.alpha);
        // A one-stage set ignores its times: level 0.8 x the caller's 0.5.
        EXPECT_EQ(DrawAlpha(DrawOnce(1, 0.5f)), 102);
    }
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngPictureDrawTest, TheQuadIsPlacedInTheDrawArea)
{
    LoadAndCreate(Description({{Stage({{"Main Area", {0, 0, 0.5, 0.25}}, {"TC TC", {0.25, 0, 0.75, 0.5}}})},
                               {Stage({{"Main Area", {0, 0, 0.5, 0.25}}, {"RotFlags", {1, 0}},
                                       {"RotValues", {90, 0, 0, 0}}})}}));
    picture.SetDrawAreaToSize(100, 50, 200, 100);
    D3D9RecordedDraw draw = DrawOnce(0);
    // The viewport is the draw area; the unit quad is scaled to the stage's
    // area in its clip units and moved to its centre.
    EXPECT_EQ(draw.state.viewport.X, 100u);
    EXPECT_EQ(draw.state.viewport.Y, 50u);
    EXPECT_EQ(draw.state.viewport.Width, 200u);
    EXPECT_EQ(draw.state.viewport.Height, 100u);
    EXPECT_FLOAT_EQ(draw.state.world.m[0][0], 1.0f);
    EXPECT_FLOAT_EQ(draw.state.world.m[1][1], 0.5f);
    EXPECT_FLOAT_EQ(draw.state.world.m[3][0], -0.5f);
    EXPECT_FLOAT_EQ(draw.state.world.m[3][1], 0.75f);
    // The stage's texture coordinates reach the quad (u and v end each vertex).
    UINT stride = draw.state.stream_stride;
    std::vector<float> us;
    for (UINT v = 0; v < draw.vertex_count; v++) {
        float u = 0;
        std::memcpy(&u, &draw.vertices[v * stride + stride - 8], sizeof(u));
        us.push_back(u);
    }
    EXPECT_NE(std::find(us.begin(), us.end(), 0.25f), us.end());
    EXPECT_NE(std::find(us.begin(), us.end(), 0.75f), us.end());

    // Afterwards the full-screen viewport and the world matrix are back.
    D3DVIEWPORT9 viewport = {};
    eng_device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 640u);
    EXPECT_TRUE(eng_device->IsViewportFullScreen());

    // Turned by 90 degrees clockwise on screen.
    draw = DrawOnce(1);
    EXPECT_NEAR(draw.state.world.m[0][0], 0.0f, 1e-6);
    EXPECT_NEAR(draw.state.world.m[0][1], -1.0f, 1e-6);
    EXPECT_NEAR(draw.state.world.m[1][0], 0.5f, 1e-6);

    // Inside a smaller viewport the draw area is taken relative to it.
    D3DVIEWPORT9 quarter = {320, 240, 320, 240, 0.0f, 1.0f};
    eng_device->SetViewportToViewportStruct(&quarter);
    draw = DrawOnce(0);
    EXPECT_EQ(draw.state.viewport.X, 370u);
    EXPECT_EQ(draw.state.viewport.Y, 265u);
    EXPECT_EQ(draw.state.viewport.Width, 100u);
    EXPECT_EQ(draw.state.viewport.Height, 50u);
    eng_device->GetViewport(&viewport);
    EXPECT_EQ(viewport.X, 320u);
    EXPECT_EQ(viewport.Width, 320u);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngPictureDrawTest, BlendTypesChooseTheFactors)
{
    struct Case {
        int type;
        DWORD source, destination;
    };
    const std::vector<Case> cases = {{1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                     {3, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                     {7, D3DBLEND_SRCALPHA, D3DBLEND_INVDESTCOLOR},
                                     {10, D3DBLEND_SRCALPHA, D3DBLEND_SRCALPHASAT},
                                     {11, D3DBLEND_INVDESTALPHA, D3DBLEND_INVSRCALPHA},
                                     {18, D3DBLEND_INVDESTALPHA, D3DBLEND_DESTALPHA},
                                     {19, D3DBLEND_INVDESTALPHA, D3DBLEND_INVDESTALPHA},
                                     {25, D3DBLEND_INVDESTALPHA, D3DBLEND_ZERO},
                                     {127, D3DBLEND_INVDESTALPHA, D3DBLEND_ZERO}};
    std::vector<std::vector<Json>> sets;
    for (const Case &c : cases)
        sets.push_back({Stage({{"Alpha Blend Type", c.type}})});
    sets.push_back({Stage({{"Alpha Blend Type", 20}})});
    sets.push_back({Stage({{"Alpha Blend Type", 0}})});
    LoadAndCreate(Description(sets));
    for (size_t i = 0; i < cases.size(); i++) {
        SCOPED_TRACE(cases[i].type);
        D3D9RecordedDraw draw = DrawOnce(static_cast<int>(i));
        EXPECT_EQ(draw.state.render_states[D3DRS_ALPHABLENDENABLE], 1u);
        EXPECT_EQ(draw.state.render_states[D3DRS_SRCBLEND], cases[i].source);
        EXPECT_EQ(draw.state.render_states[D3DRS_DESTBLEND], cases[i].destination);
        EXPECT_FALSE(eng_device_dx9->IsBlendingOn());
    }
    // Type 20 draws with the blending in force, then turns it off.
    eng_device->EnableBlending(D3DBLEND_ONE, D3DBLEND_ONE);
    D3D9RecordedDraw draw = DrawOnce(static_cast<int>(cases.size()));
    EXPECT_EQ(draw.state.render_states[D3DRS_SRCBLEND], static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(draw.state.render_states[D3DRS_ALPHABLENDENABLE], 1u);
    EXPECT_EQ(StoredLines(), std::vector<std::string>({ErrorText("EngPicture::DrawSet", "Invalid blend num")}));
    EXPECT_FALSE(eng_device_dx9->IsBlendingOn());
    // Type 0 leaves the blending alone.
    eng_device->EnableBlending(D3DBLEND_ONE, D3DBLEND_ZERO);
    draw = DrawOnce(static_cast<int>(cases.size()) + 1);
    EXPECT_EQ(draw.state.render_states[D3DRS_DESTBLEND], static_cast<DWORD>(D3DBLEND_ZERO));
    EXPECT_TRUE(eng_device_dx9->IsBlendingOn());
}

TEST_F(EngPictureDrawTest, StagesWithoutAPlaceOrATextureDrawNothing)
{
    Json hidden_lock = Stage({{"Alpha Times", {0, 0, 1, 0}}});
    hidden_lock["Show"] = 0;
    Json none = Stage();
    none["TexNum"] = -1;
    Json unshown = Stage();
    unshown["Show"] = 0;
    LoadAndCreate(Description({{Stage({{"Main Area", {0, 0, 0, 1}}, {"Alpha Blend Type", 3}})},
                               {none},
                               {unshown},
                               {hidden_lock, Stage({{"Locks", {0, 0, 1, 0}}, {"Show", 1}})},
                               {}}));
    for (int round = 0; round < 2; round++)
        picture.DrawAllSets();
    EXPECT_TRUE(D3D9RecordingGetDraws().empty());
    // Only the zero-width area and the empty set are reported, each time;
    // the blending turned on for the first is turned off again.
    EXPECT_EQ(CountStored(ErrorText("EngPicture::DrawSet", "No pos.")), 2);
    EXPECT_EQ(CountStored(ErrorText("EngPicture::GetSet", "Set num 4 has no stages [0]")), 2);
    EXPECT_EQ(StoredLines().size(), 4u);
    EXPECT_FALSE(eng_device_dx9->IsBlendingOn());

    // The locked second stage takes the first stage's hidden "Show".
    TickUntil(&picture, START + 1.0, 0.5f);
    ASSERT_EQ(picture.GetSet(3)->current_stage, 1);
    D3D9RecordingReset();
    picture.DrawSet(3, 1.0f);
    EXPECT_TRUE(D3D9RecordingGetDraws().empty());
}

TEST_F(EngPictureDrawTest, TheThrobScalesTheOpacity)
{
    LoadAndCreate(Description({{Stage({{"Alpha Level", 1}, {"Alpha Throb On", 1}, {"Alpha Throb Min Level", 0.5},
                                       {"Alpha Throb Speed", 3.14159265}, {"Alpha Throb Mult", 1}})}}));
    // Half a second at speed pi: the pulse at its height.
    TickUntil(&picture, START + 0.5, 0.25f);
    EXPECT_NEAR(StageOf(&picture, 0, 0)->alpha_vars.throb_value, 1.0f, 1e-5);
    EXPECT_NEAR(DrawAlpha(DrawOnce(0)), 255, 1);
    TickUntil(&picture, START + 1.0, 0.25f);
    EXPECT_NEAR(StageOf(&picture, 0, 0)->alpha_vars.throb_value, 0.5f, 1e-5);
    EXPECT_NEAR(DrawAlpha(DrawOnce(0)), 127, 1);
}

TEST_F(EngPictureDrawTest, ADamagedDescriptionIsRefusedAndDrawingNeverOverflows)
{
    // Places, speeds and times far beyond any screen, and one beyond the
    // float range: each key is refused when read and keeps its default.
    Json description = Description({{Stage({{"Main Area", {0, 0, 1e30, 1e30}},
                                            {"Trans Type", 4},
                                            {"Trans End Area", {0, 0, 1e39, 1}},
                                            {"Trans Random Area", {-3e38, -3e38, 3e38, 3e38}},
                                            {"Trans Speeds", {1e20, 1e20}},
                                            {"TC Speed", {2e6, 0}},
                                            {"Alpha Times", {1e38, 0, 1, 0}},
                                            {"Alpha Throb On", 1},
                                            {"Alpha Throb Min Level", 0},
                                            {"Alpha Throb Speed", 1},
                                            {"Alpha Throb Mult", 1}})}});
    description["Draw Area"] = {0, 0, 3e38, 3e38};
    LoadAndCreate(description);
    // (LoadAndCreate forgets what loading reported: load again to read it.)
    DebugResetForTests();
    Load(&picture, description);
    std::vector<std::string> refused;
    for (const char *key : {"Draw Area", "Main Area", "Trans Random Area", "Trans Speeds", "TC Speed", "Alpha Times"})
        refused.push_back(ErrorText("EngPicture::LoadFromFile",
                                    std::string("json::Exception <number out of range for <") + key + ">>"));
    std::vector<std::string> stored = StoredLines();
    for (const std::string &line : refused)
        EXPECT_EQ(std::count(stored.begin(), stored.end(), line), 1) << line;
    // The end area beyond the float range fails in the JSON reader itself.
    EXPECT_EQ(std::count(stored.begin(), stored.end(),
                         ErrorText("EngJsonGetDimensionFromObject", "json::Exception <number out of float range>")),
              1);
    ASSERT_EQ(picture.CreateGraphics(), 1);

    _EngPictureStage *stage = StageOf(&picture, 0, 0);
    EXPECT_EQ(stage->pos.main_area.w, 1.0f);
    EXPECT_EQ(stage->pos.random_area.w, 0.0f);
    TickUntil(&picture, START + 2.0, 0.25f);
    D3D9RecordedDraw draw = DrawOnce(0);
    EXPECT_EQ(draw.state.viewport.Width, 640u);

    // Widths that add up to infinity leave a random position of no size at
    // its start rather than converting a NaN.
    _EngPictureStagePos pos = stage->pos;
    pos.random_area = {1.0f, 1.0f, INFINITY, INFINITY};
    pos.main_area.w = pos.main_area.h = INFINITY;
    _EngPictureStagePosVars vars = stage->pos_vars;
    picture.MoveToNextRandomPosition(&pos, &vars);
    EXPECT_EQ(vars.random_x, 1.0f);
    EXPECT_EQ(vars.random_y, 1.0f);

    // A caller's draw area beyond the int range, or not a number, reaches
    // the device as whole pixels without overflow; the device refuses it.
    DebugResetForTests();
    const float huge = 3e38f;
    for (_Dimension area : {_Dimension{0, 0, huge, huge}, _Dimension{-huge, -huge, huge, huge},
                            _Dimension{NAN, NAN, NAN, NAN}}) {
        picture.SetDrawArea(&area);
        picture.DrawSet(0, 1.0f);
        D3DVIEWPORT9 quarter = {320, 240, 320, 240, 0.0f, 1.0f};
        eng_device->SetViewportToViewportStruct(&quarter);
        picture.DrawSet(0, 1.0f);
        eng_device->SetViewportFullScreen();
    }
}

} // namespace
