// One weapon: upgrades paid at once and run over time, reload timing, the
// aim needed before firing, the spray's single cloud and the aim angle.
#include "game/Weapon.h"

#include "game/Shots.h"
#include "tests/game/PlayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class WeaponTest : public StraightRoadPlayTest {
protected:
    WeaponTest() : StraightRoadPlayTest(0.01f) {}

    static int Count(const std::vector<std::string> &calls, const std::string &call)
    {
        return (int)std::count(calls.begin(), calls.end(), call);
    }
};

}  // namespace

TEST_F(WeaponTest, AFullCannonUpgradeIsPaidAtOnceAndRunsLevelByLevel)
{
    Weapon cannon(1, 0.0f, 0.0f);
    play_money = 1000;
    ASSERT_TRUE(cannon.StartFullUpgrade());
    EXPECT_EQ(1000 - 825, play_money);
    EXPECT_FALSE(cannon.StartUpgrade());
    EXPECT_EQ(std::vector<std::string>{"SoundPlay 19"}, NeighbourLog::Take());

    // Each level takes 1 / 0.333 s: 31 frames of 0.1 s.
    play_frame_time = 0.1f;
    std::vector<int> level_frames;
    for (int frame = 1; frame <= 100; frame++) {
        int before = cannon.m_level;
        cannon.Update();
        if (cannon.m_level != before)
            level_frames.push_back(frame);
        if (cannon.m_upgrading) {
            EXPECT_TRUE(cannon.m_alpha >= 0.5f && cannon.m_alpha <= 0.7f);
        }
    }
    EXPECT_EQ((std::vector<int>{31, 62, 93}), level_frames);
    EXPECT_EQ(3, cannon.m_level);
    EXPECT_FALSE(cannon.m_upgrading);
    EXPECT_EQ(1.0f, cannon.m_alpha);
    EXPECT_FLOAT_EQ(0.13f, cannon.m_draw_size);
    EXPECT_EQ(175, play_money);
}

TEST_F(WeaponTest, UpgradeRequestsRefuseAtTheTopOrWithoutMoney)
{
    const struct {
        int type, level, money;
        bool full, started;
        int paid;
    } cases[] = {
        {0, 0, 60, false, true, 60},  {0, 0, 59, false, false, 0}, {0, 1, 119, true, false, 0},
        {0, 1, 120, true, true, 120}, {0, 3, 1000, false, false, 0}, {9, 1, 9999, false, true, 5000},
        {9, 2, 9999, false, false, 0}, {9, 2, 9999, true, false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " at " + std::to_string(c.level));
        Weapon weapon(c.type, 0.0f, 0.0f);
        weapon.m_level = c.level;
        play_money = c.money;
        EXPECT_EQ(c.started, c.full ? weapon.StartFullUpgrade() : weapon.StartUpgrade());
        EXPECT_EQ(c.money - c.paid, play_money);
    }
}

TEST_F(WeaponTest, ATurretFiresEveryTimeItsGaugeFills)
{
    // A bug straight below the Turret, already aimed at.
    PutRoadBug(0, 1, 150, 1e9);
    Weapon turret(0, 0.4f, 0.15f);
    turret.m_angle = 3.0f * PI_F / 2.0f;
    std::vector<int> fire_frames;
    for (int frame = 0; frame < 1000; frame++) {
        turret.Update();
        if (turret.m_reload == 0.0f)
            fire_frames.push_back(frame);
    }
    // 1.3 shots a second at 100 frames a second.
    ASSERT_EQ(13u, fire_frames.size());
    EXPECT_EQ(0, fire_frames[0]);
    for (size_t i = 1; i < fire_frames.size(); i++)
        EXPECT_EQ(77, fire_frames[i] - fire_frames[i - 1]) << i;
    // Every shot hit the bug.
    EXPECT_EQ(13, Count(NeighbourLog::Take(), "SoundPlay 9"));
    EXPECT_DOUBLE_EQ(1e9 - 13 * 5.0, bugs_table[0]->m_hp);
}

TEST_F(WeaponTest, HowCloselyAWeaponMustAimDependsOnItsClass)
{
    PutRoadBug(0, 1, 150, 1e9);
    const struct {
        int aim_class;
        float off;
        bool fires;
    } cases[] = {
        {0, 0.005f, true}, {0, 0.02f, false}, {1, 0.05f, true},
        {1, 0.15f, false}, {2, 1.0f, true},   {2, 3.0f, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.aim_class) + " off by " + std::to_string(c.off));
        // A Turret that cannot turn, aimed off by the amount.
        weapons_type_info[0].aim_class = (uint8_t)c.aim_class;
        weapons_type_info[0].turn_rate = 0.0f;
        Weapon turret(0, 0.4f, 0.15f);
        turret.m_angle = 3.0f * PI_F / 2.0f + c.off;
        turret.Update();
        EXPECT_EQ(c.fires, turret.m_reload == 0.0f);
    }

    // A factory with a bug straight above it, at its own angle, never fires.
    Weapon factory(9, 0.4f, 0.35f);
    factory.Update();
    EXPECT_EQ(1.0f, factory.m_reload);
    EXPECT_EQ(0, factory.m_num_shots);
}

TEST_F(WeaponTest, ASprayFiresOneCloudAtATimeAndDoesNotTurnMeanwhile)
{
    PutRoadBug(0, 1, 150, 1e9);
    Weapon spray(3, 0.4f, 0.15f);
    ASSERT_TRUE(spray.Fire(0));
    spray.m_reload = 1.0f;
    EXPECT_FALSE(spray.Fire(0));
    EXPECT_EQ(1.0f, spray.m_reload);
    EXPECT_EQ(1, spray.m_num_shots);
    const float angle = spray.m_angle;
    spray.Update();
    EXPECT_EQ(angle, spray.m_angle);

    // A Turret fires shot after shot, up to its 20 slots.
    Weapon turret(0, 0.4f, 0.15f);
    for (int i = 0; i < WEAPON_MAX_SHOTS; i++)
        EXPECT_TRUE(turret.Fire(0)) << i;
    EXPECT_FALSE(turret.Fire(0));
    EXPECT_EQ(WEAPON_MAX_SHOTS, turret.m_num_shots);
}

TEST_F(WeaponTest, TheAimAngleSendsShotsTowardsTheBugEvenStraightAboveOrBelow)
{
    const struct {
        float dx, dy, angle;
    } cases[] = {
        {-1.0f, 0.0f, 0.0f},           {1.0f, 0.0f, PI_F},
        {-1.0f, -1.0f, PI_F / 4.0f},   {1.0f, 1.0f, PI_F + PI_F / 4.0f},
        {0.0f, 1.0f, 3.0f * PI_F / 2.0f}, {0.0f, -1.0f, PI_F / 2.0f},
        {0.0f, 0.0f, 0.0f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
        const float angle = WeaponAimAngle(c.dx, c.dy);
        EXPECT_FLOAT_EQ(c.angle, angle);
        if (c.dx == 0.0f && c.dy == 0.0f)
            continue;
        // Shots fly along (cos, sin) of angle + pi.
        const float length = std::sqrt(c.dx * c.dx + c.dy * c.dy);
        EXPECT_NEAR(c.dx / length, std::cos(angle + PI_F), 1e-6);
        EXPECT_NEAR(c.dy / length, std::sin(angle + PI_F), 1e-6);
    }

    // A Turret right above a bug turns to it and hits it.
    PutRoadBug(0, 1, 150, 1e9);
    Weapon turret(0, 0.4f, 0.15f);
    for (int frame = 0; frame < 300; frame++)
        turret.Update();
    // Pointing down, whichever way round the angle is kept.
    EXPECT_NEAR(0.0f, std::cos(turret.m_angle), 1e-4);
    EXPECT_NEAR(-1.0f, std::sin(turret.m_angle), 1e-4);
    EXPECT_LT(bugs_table[0]->m_hp, 1e9);
}
