// Shared by the play's tests: every play module back as at start, a small
// straight road, and neighbour hooks that record what the play calls of the
// modules built on top of it (and the sounds and music it asks for) and
// answer as the test says.
#pragma once

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindowInput.h"
#include "game/Bugs.h"
#include "game/Effects.h"
#include "game/GameOver.h"
#include "game/GameWon.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/Sidebar.h"
#include "game/Sound.h"
#include "game/Tutorial.h"
#include "game/Weapon.h"
#include "game/Weapons.h"
#include "platform/win32/Win32Input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

// What the neighbour hooks were called with, and what they answer.
struct NeighbourLog {
    static inline std::vector<std::string> calls;
    // The player's hints option.
    static inline char hints = 0;

    static void Reset()
    {
        calls.clear();
        hints = 0;
    }
    static void Note(const std::string &call) { calls.push_back(call); }
    static std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }
};

// Fills every hook the play's tests look at with a recorder.
inline void RecordNeighbours()
{
    NeighbourLog::Reset();
    _PlayNeighbours &n = play_neighbours;
    sound_recorder.play = [](int id) { NeighbourLog::Note("SoundPlay " + std::to_string(id)); };
    sound_recorder.music_update = [] { NeighbourLog::Note("SoundUpdateMusicForCurrentState"); };
    n.game_goto_scores_after_game = [] { NeighbourLog::Note("GameGotoScoresAfterGame"); };
    n.player_set_tutorial_hints = [](char on) { NeighbourLog::Note("PlayerSetTutorialHints " + std::to_string(on)); };
    n.player_get_tutorial_hints = [] { return NeighbourLog::hints; };
}

// Every play module, the end scenes, the sounds, the neighbours and the key
// table back as at start.
inline void ResetPlayForTest()
{
    PlayNeighboursResetForTests();
    SoundResetForTests();
    GameOverResetForTests();
    GameWonResetForTests();
    NeighbourLog::Reset();
    HiveWatcherResetForTests();
    LevelsResetForTests();
    BugsResetForTests();
    WeaponsResetForTests();
    EffectsResetForTests();
    SidebarResetForTests();
    TutorialResetForTests();
    memset(eng_main_key_states, 0, sizeof(eng_main_key_states));
    DebugClearLogs();
}

// A straight road of `steps` steps along y = 0.25, 0.01 board units apart,
// starting at x = -1.1 and moving right (heading atan2(0, -1) = pi).
inline void UseStraightRoad(int steps)
{
    memset(&traverse_data, 0, sizeof(traverse_data));
    traverse_data.num_steps = steps;
    traverse_data.end_steps = steps;
    for (int i = 0; i < steps; i++) {
        traverse_data.point[i] = {-1.1f + i * 0.01f, 0.25f};
        traverse_data.heading[i] = std::atan2(0.0f, -1.0f);
    }
    traverse_data.reserved = 1.0f;
    traverse_data.step_length = 0.01f;
}

// A weapon of the type put straight into the next slot of the list, with no
// grid, money or sound involved; returns it.
inline Weapon *AddTestWeapon(int type, float x, float y)
{
    Weapon *weapon = new Weapon(type, x, y);
    weapons_list[weapons_count++] = weapon;
    return weapon;
}

// A bug of a wave of `count` in `slot`, on the road at `step` of the road in
// use, targetable, with the hit points given (also its maximum).
inline Bug *PutRoadBug(int slot, int count, int step, double hp)
{
    bugs_count = count;
    Bug *bug = bugs_table[slot] = new Bug(slot, 0);
    bug->m_distance = (float)step;
    bug->m_step = bug->m_shown_step = step;
    bug->m_state = BS_ON_ROAD;
    bug->m_on_board = 1;
    bug->m_targetable = 1;
    bug->m_hp = bug->m_max_hp = hp;
    return bug;
}

// What a saved game must bring back, as text: the play's values, the wave,
// the weapons present in list order and every slot of the bug table.
inline std::string DescribePlayForTest()
{
    std::ostringstream out;
    out << "garden " << levels_garden << " difficulty " << levels_difficulty << " score " << play_score << " bonus "
        << play_bonus << " lives " << play_lives << " money " << play_money << " level " << play_level << " run "
        << (int)play_run_state << " won " << (int)play_game_won << "\nwave " << bugs_kind << " " << bugs_hp << " "
        << bugs_speed << " " << bugs_reward << " " << bugs_kill_score << " " << bugs_spacing << " " << bugs_size << " "
        << bugs_hit_radius << " boss " << bugs_last_boss_level << "\nfactories " << weapons_factory_level[0] << " "
        << weapons_factory_level[1] << " " << weapons_factory_level[2] << "\n";
    for (int i = 0; i < weapons_count; i++) {
        const Weapon *w = weapons_list[i];
        if (w)
            out << "weapon " << w->m_type << " " << w->m_level << " " << w->m_target_mode << " " << w->m_x << " "
                << w->m_y << " " << w->m_draw_size << " " << w->m_draw_half << " " << w->m_angle << " "
                << w->m_hull_angle << " " << (int)w->m_upgrading << " " << (int)w->m_full_upgrade << " "
                << w->m_upgrade_progress << " " << w->m_throb << " " << w->m_alpha << " " << w->m_reload << "\n";
    }
    out << "bugs " << bugs_count << "\n";
    for (int i = 0; i < bugs_count; i++) {
        // A dead bug and an empty slot are alike: the next update clears both.
        const Bug *b = bugs_table[i];
        if (!b || !b->m_alive) {
            out << "gone\n";
            continue;
        }
        out << "bug " << b->m_index << " " << (int)b->m_alive << " " << b->m_distance << " " << b->m_step << " "
            << b->m_shown_step << " " << (int)b->m_state << " " << (int)b->m_on_board << " " << (int)b->m_targetable
            << " " << b->m_hp << " " << b->m_max_hp << " " << b->m_speed << " " << b->m_angle << " " << b->m_anim_phase
            << " " << b->m_reserved_int << "\n";
    }
    return out.str();
}

inline constexpr float PI_F = 3.14159265358979323846f;

// The weapons' and shots' tests: a play on a straight road of 300 steps with
// bugs of size 0.1, level 0, not running, at the frame time the test gives.
class StraightRoadPlayTest : public testing::Test {
protected:
    explicit StraightRoadPlayTest(float frame_time) : m_frame_time(frame_time) {}

    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        UseStraightRoad(300);
        BugsSetSize(0.1f);
        play_level = 0;
        play_run_state = 0;
        play_frame_time = m_frame_time;
    }
    void TearDown() override { ResetPlayForTest(); }

private:
    float m_frame_time;
};
