// The game-over scene on a fixed clock: what its start sets, the parade of
// runners entering every 0.3 s into the first empty slot, the picture's fade
// in and pulse, and its end.
#include "game/GameOver.h"

#include "tests/game/PlayTestSupport.h"

#include <gtest/gtest.h>

namespace {

class GameOverTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        UseStraightRoad(100);
        eng_main_program_time = 50.0;
        play_under_way = 1;
    }
    void TearDown() override { ResetPlayForTest(); }

    static void TickAt(double time)
    {
        eng_main_program_time = time;
        play_frame_time = 0.01f;
        GameOverTick();
    }
};

} // namespace

TEST_F(GameOverTest, StartingEndsTheGameOnceAndChoosesTheMusic)
{
    GameOverStart();
    EXPECT_EQ(1, play_game_over);
    EXPECT_EQ(0, play_under_way);
    EXPECT_EQ(BUGS_MAX, bugs_count);
    EXPECT_EQ(50.0, play_end_time);
    EXPECT_EQ(std::vector<std::string>{"SoundUpdateMusicForCurrentState"}, NeighbourLog::Take());

    // Lives lost while the scene runs start nothing again.
    eng_main_program_time = 60.0;
    GameOverStart();
    EXPECT_EQ(50.0, play_end_time);
    EXPECT_TRUE(NeighbourLog::Take().empty());

    EXPECT_TRUE(GameOverEnd());
    EXPECT_EQ(0, play_game_over);
    EXPECT_FALSE(GameOverEnd());
}

TEST_F(GameOverTest, RunnersEnterEveryThirdOfASecondIntoTheFirstEmptySlot)
{
    GameOverStart();
    TickAt(50.0);
    ASSERT_NE(nullptr, bugs_table[0]);
    EXPECT_TRUE(bugs_table[0]->m_runner);
    TickAt(50.29);
    EXPECT_EQ(nullptr, bugs_table[1]);
    TickAt(50.3);
    EXPECT_NE(nullptr, bugs_table[1]);

    // A runner that left the screen is removed and its slot taken next.
    bugs_table[0]->m_x = 3.0f;
    TickAt(50.4);
    EXPECT_EQ(nullptr, bugs_table[0]);
    TickAt(50.6);
    ASSERT_NE(nullptr, bugs_table[0]);
    EXPECT_EQ(nullptr, bugs_table[2]);

    // Nothing moves once the scene is over.
    GameOverEnd();
    TickAt(60.0);
    EXPECT_EQ(nullptr, bugs_table[2]);
}

TEST_F(GameOverTest, ThePictureFadesInThenPulsesAboveHalf)
{
    GameOverStart();
    play_frame_time = 0.05f;
    int frames = 0;
    while (!GameOverIsPictureFullyShown() && frames < 1000) {
        GameOverRender();
        frames++;
    }
    ASSERT_TRUE(GameOverIsPictureFullyShown());
    EXPECT_GE(GameOverGetPictureAlpha(), 0.9f);
    float lowest = 1.0f;
    for (int i = 0; i < 500; i++) {
        GameOverRender();
        lowest = std::min(lowest, GameOverGetPictureAlpha());
    }
    EXPECT_GE(lowest, 0.5f);
    EXPECT_LT(lowest, 0.55f);
}
