// Shots and effects: the hit geometry, hit radii, spray clouds, a grenade
// that lands on nothing, a missile that changes target, shots and effects
// that end during their owner's update, and the effect atlas frames.
#include "game/Shots.h"

#include "game/Effects.h"
#include "tests/game/PlayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class ShotsTest : public StraightRoadPlayTest {
protected:
    ShotsTest() : StraightRoadPlayTest(0.0f) {}

    static int Count(const std::string &call)
    {
        const std::vector<std::string> &calls = NeighbourLog::calls;
        return (int)std::count(calls.begin(), calls.end(), call);
    }
};

}  // namespace

TEST_F(ShotsTest, ClosestPointsAndTriangleDistances)
{
    const struct {
        float a[2], b[2], p[2], closest[2];
    } segments[] = {
        {{0, 0}, {1, 0}, {-1, 1}, {0, 0}},      // before a
        {{0, 0}, {1, 0}, {2, 1}, {1, 0}},       // after b
        {{0, 0}, {1, 0}, {0.5f, 1}, {0.5f, 0}}, // over the middle
        {{1, 1}, {1, 1}, {3, 3}, {1, 1}},       // a single point
    };
    for (const auto &s : segments) {
        float out[2];
        ShotsClosestPointOnSegment(s.a, s.b, s.p, out);
        EXPECT_FLOAT_EQ(s.closest[0], out[0]) << s.p[0] << "," << s.p[1];
        EXPECT_FLOAT_EQ(s.closest[1], out[1]) << s.p[0] << "," << s.p[1];
        const float dx = s.p[0] - s.closest[0], dy = s.p[1] - s.closest[1];
        EXPECT_FLOAT_EQ(dx * dx + dy * dy, ShotsPointSegmentDistanceSq(s.a, s.b, s.p));
    }

    const float a[2] = {0, 0}, b[2] = {0, 1}, c[2] = {1, 0};
    const struct {
        float p[2];
        float distance;
    } points[] = {
        {{0.2f, 0.2f}, 0.0f},  // inside
        {{0.5f, 0.0f}, 0.0f},  // on an edge
        {{2.0f, 0.0f}, 1.0f},  // beyond a corner
        {{-1.0f, 0.5f}, 1.0f}, // beside an edge
        {{1.0f, 1.0f}, 0.5f},  // beyond the long edge
    };
    for (const auto &p : points)
        EXPECT_FLOAT_EQ(p.distance, ShotsPointTriangleDistance(p.p, a, b, c)) << p.p[0] << "," << p.p[1];
}

TEST_F(ShotsTest, ATurretShotHitsInsideTheSumOfTheRadii)
{
    // Hit radius 0.05 and half a shot 0.01: squared distances below 0.0036 hit.
    BugsSetSize(0.05f / 0.6000000238418579f);
    const struct {
        float distance_sq;
        bool hit;
    } cases[] = {{0.0035f, true}, {0.0037f, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.distance_sq);
        Bug *bug = PutRoadBug(0, 1, 150, 100.0);
        Shot shot(nullptr, 0, 0, 0.0f, 0.0f, PI_F / 2.0f, 0, 0);
        shot.m_x = bug->GetX() + std::sqrt(c.distance_sq);
        shot.m_y = bug->GetY();
        shot.Update();
        EXPECT_EQ(c.hit ? 95.0 : 100.0, bug->m_hp);
        EXPECT_EQ(!c.hit, (bool)shot.m_alive);
        delete bug;
        bugs_table[0] = nullptr;
    }
}

TEST_F(ShotsTest, ASprayCloudHurtsEveryBugInItsConeEachFrame)
{
    bugs_speed = 50.0;
    Bug *near = PutRoadBug(0, 2, 150, 1000.0);
    Bug *far = PutRoadBug(1, 2, 151, 1000.0);
    // Fired to the right (angle 0 flies along -x; pi along +x).
    Shot cloud(nullptr, 3, 0, 0.0f, 0.0f, PI_F, -1, 0);
    cloud.m_x = near->GetX();
    cloud.m_y = near->GetY();
    cloud.m_size = 0.1f;
    cloud.m_half_size = 0.05f;
    play_frame_time = 0.1f;
    cloud.Update();
    // Strength 1.5 fades to 1.4 first; damage 20 per second.
    EXPECT_NEAR(1000.0 - 20.0 * 1.4 * 0.1, near->m_hp, 1e-4);
    EXPECT_NEAR(1000.0 - 20.0 * 1.4 * 0.1, far->m_hp, 1e-4);
    EXPECT_TRUE(cloud.m_alive);
    EXPECT_NEAR(0.13f, cloud.m_size, 1e-6);
    // Slowed by slowdown 14 x k 1.4 x q x 1.4, a hundredth per unit.
    const double q = 1.0 - (1.0 - 100.0 / 1000.0) * 0.99;
    EXPECT_NEAR(bugs_speed - 14.0 * 1.4 * q * 1.4 * 0.01, near->m_speed, 1e-4);

    // It fades out after 1.5 s in all.
    for (int i = 0; i < 13; i++)
        cloud.Update();
    EXPECT_TRUE(cloud.m_alive);
    cloud.Update();
    EXPECT_FALSE(cloud.m_alive);
}

TEST_F(ShotsTest, AGrenadeLandingOnNothingStillExplodes)
{
    Bug *bug = PutRoadBug(0, 1, 150, 100.0);
    // Fired away from the bug, upwards.
    Shot grenade(nullptr, 7, 0, bug->GetX(), bug->GetY() - 0.1f, 3.0f * PI_F / 2.0f - PI_F, 0, 0);
    EXPECT_EQ(std::vector<std::string>{"SoundPlay 7"}, NeighbourLog::Take());
    play_frame_time = 0.1f;
    int frames = 0;
    while (grenade.m_alive && frames < 100) {
        grenade.Update();
        frames++;
    }
    // 0.6 of the flight per second.
    EXPECT_EQ(17, frames);
    EXPECT_LT(grenade.m_y, bug->GetY() - 0.1f);
    EXPECT_EQ(1, effects_count);
    EXPECT_EQ(std::vector<std::string>{"SoundPlay 16"}, NeighbourLog::Take());
    EXPECT_EQ(100.0, bug->m_hp);
}

TEST_F(ShotsTest, AMissileWhoseTargetIsGoneFindsAnotherAndHitsOnlyIt)
{
    Bug *first = PutRoadBug(0, 3, 140, 1000.0);
    Bug *second = PutRoadBug(1, 3, 160, 1000.0);
    Bug *third = PutRoadBug(2, 3, 165, 1000.0);
    Weapon launcher(8, 0.5f, -0.1f);
    // One missile only.
    weapons_level_info[8][0].reload_rate = 0.0f;
    launcher.m_target_mode = BTM_BACK;
    ASSERT_TRUE(launcher.Fire(0));
    Shot *missile = launcher.m_shots[0];
    // The first bug leaves the road before the missile arrives.
    first->m_targetable = 0;
    first->m_state = BS_AT_END;
    play_frame_time = 0.02f;
    missile->Update();
    // "Back" picks the bug furthest behind: the second.
    EXPECT_EQ(1, missile->m_target);
    for (int frame = 0; frame < 500 && launcher.m_num_shots > 0; frame++)
        launcher.Update();
    EXPECT_EQ(0, launcher.m_num_shots);
    EXPECT_EQ(nullptr, launcher.m_shots[0]);
    EXPECT_EQ(1000.0, first->m_hp);
    EXPECT_EQ(1000.0 - 150.0, second->m_hp);
    EXPECT_EQ(1000.0, third->m_hp);
    EXPECT_EQ(1, effects_count);
    EXPECT_EQ(1, Count("SoundPlay 17"));
}

TEST_F(ShotsTest, AMissileHomesStraightDownOntoABugBelowIt)
{
    Bug *bug = PutRoadBug(0, 1, 150, 1000.0);
    Shot missile(nullptr, 8, 0, 0.0f, 0.0f, PI_F / 2.0f, 0, 0);
    missile.m_x = bug->GetX();
    missile.m_y = bug->GetY() - 0.3f;
    EXPECT_FLOAT_EQ(3.0f * PI_F / 2.0f, missile.GetAngleTo(bug->GetX(), bug->GetY()));
    EXPECT_FLOAT_EQ(PI_F / 2.0f, missile.GetAngleTo(bug->GetX(), bug->GetY() - 1.0f));
    play_frame_time = 0.02f;
    for (int frame = 0; frame < 200 && missile.m_alive; frame++)
        missile.Update();
    EXPECT_FALSE(missile.m_alive);
    EXPECT_EQ(850.0, bug->m_hp);
}

TEST_F(ShotsTest, ShotsAndEffectsEndingDuringTheirOwnersUpdateAreDeletedAfterIt)
{
    // Two shots, the first of them at the bug: it ends during the pass.
    Bug *bug = PutRoadBug(0, 1, 150, 1000.0);
    Weapon turret(0, bug->GetX(), bug->GetY() - 0.1f);
    turret.m_reload = 0.0f;
    turret.m_shots[0] = new Shot(&turret, 0, 0, turret.m_x, turret.m_y, 3.0f * PI_F / 2.0f, 0, 0);
    turret.m_shots[3] = new Shot(&turret, 0, 0, turret.m_x, turret.m_y, PI_F / 2.0f, 0, 0);
    turret.m_num_shots = 4;
    turret.m_shots[0]->m_x = bug->GetX();
    turret.m_shots[0]->m_y = bug->GetY();
    play_frame_time = 0.01f;
    turret.Update();
    EXPECT_EQ(995.0, bug->m_hp);
    EXPECT_EQ(nullptr, turret.m_shots[0]);
    ASSERT_NE(nullptr, turret.m_shots[3]);
    EXPECT_EQ(4, turret.m_num_shots);
    delete turret.m_shots[3];
    turret.m_shots[3] = nullptr;
    turret.Update();
    EXPECT_EQ(0, turret.m_num_shots);

    // Effects: the middle one ends first, then the last one.
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(EffectsAdd(0, 0.0f, 0.0f, 0.1f));
    effects_list[1]->m_frame = 14.9f;
    EffectsUpdate();
    EXPECT_EQ(nullptr, effects_list[1]);
    EXPECT_EQ(3, effects_count);
    effects_list[2]->m_frame = 14.9f;
    EffectsUpdate();
    EXPECT_EQ(1, effects_count);
}

TEST_F(ShotsTest, EffectsStepThroughTheirAtlasAndEndAfterFifteenFrames)
{
    ASSERT_TRUE(EffectsAdd(0, 0.1f, 0.2f, 0.15f));
    Effect *effect = effects_list[0];
    EXPECT_EQ(-1.0f, effect->m_frame);
    // A short first frame already shows atlas frame 0.
    play_frame_time = 0.01f;
    EffectsUpdate();
    EXPECT_EQ((std::vector<float>{0.0f, 0.25f, 0.0f, 0.25f}),
              (std::vector<float>{effect->m_u0, effect->m_u1, effect->m_v0, effect->m_v1}));

    const struct {
        int frame;
        float u0, v0;
    } frames[] = {{1, 0.25f, 0.0f}, {3, 0.75f, 0.0f}, {4, 0.0f, 0.25f}, {14, 0.5f, 0.75f}};
    for (const auto &f : frames) {
        effect->m_frame = (float)f.frame - 0.1f;
        EffectsUpdate();
        ASSERT_EQ(effect, effects_list[0]);
        EXPECT_EQ(f.u0, effect->m_u0) << f.frame;
        EXPECT_EQ(f.v0, effect->m_v0) << f.frame;
        EXPECT_EQ(f.u0 + 0.25f, effect->m_u1) << f.frame;
    }
    // Frame 15 is past the end.
    effect->m_frame = 14.95f;
    EffectsUpdate();
    EXPECT_EQ(0, effects_count);

    // A full list refuses more.
    for (int i = 0; i < EFFECTS_MAX; i++)
        ASSERT_TRUE(EffectsAdd(0, 0.0f, 0.0f, 0.1f));
    EXPECT_FALSE(EffectsAdd(0, 0.0f, 0.0f, 0.1f));
}
