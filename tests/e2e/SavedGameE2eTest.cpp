// A game saved and resumed on the real program: weapons placed, the wave
// run and paused, the game saved from the pause menu, which ends the
// program; the file holds the game; started again, the program offers the
// game back, and it returns with the same money, lives, level and weapons.
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"

#include "engine/core/EngEncryption.h"

#include <chrono>
#include <thread>

namespace {

using namespace e2e;

// Fields of the saved game's record that a player would see again.
struct SavedPlay {
    int32_t lives, money, level, weapons;
    int32_t types[2];
    float x[2], y[2];
};

template <typename T> T At(const std::vector<unsigned char> &record, size_t offset)
{
    T value;
    std::memcpy(&value, record.data() + offset, sizeof(T));
    return value;
}

bool ReadSavedPlay(const std::string &file, SavedPlay *play)
{
    std::vector<unsigned char> record(64096);
    if (!EngEncryptionReadFromFileAndDecrypt(file.c_str(), record.data(), static_cast<unsigned>(record.size())))
        return false;
    play->lives = At<int32_t>(record, 64076);
    play->money = At<int32_t>(record, 64080);
    play->level = At<int32_t>(record, 64084);
    play->weapons = At<int32_t>(record, 56004);
    // Weapons from offset 4, 56 bytes each: present, type, level, target
    // mode, x, y, ...
    for (int i = 0; i < 2; i++) {
        const size_t weapon = 4 + 56 * static_cast<size_t>(i);
        play->types[i] = record[weapon] ? At<int32_t>(record, weapon + 4) : -1;
        play->x[i] = At<float>(record, weapon + 16);
        play->y[i] = At<float>(record, weapon + 20);
    }
    return true;
}

class SavedGameE2eTest : public PlayingE2eTest {};

TEST_F(SavedGameE2eTest, SavedFromThePauseMenuAndResumedAfterARestart)
{
    SeedPlayer("Ada", "GB", true);
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_NO_FATAL_FAILURE(EnterFirstGarden());
    ASSERT_TRUE(PlaceWeapon(GUN_FACTORY_BUTTON, FACTORY_SPOT));
    ASSERT_TRUE(PlaceWeapon(TURRET_BUTTON, TURRET_SPOTS[0]));

    // The wave runs until the turret has earned something, then Space
    // pauses it, so nothing moves while the game is saved and compared.
    Key("space");
    std::this_thread::sleep_for(std::chrono::seconds(10));
    Key("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const Screen before = Shot();
    SaveShot("SavedGameBefore");

    // Escape opens the pause menu; its last button saves and leaves.
    Key("Escape");
    Screen pause;
    ASSERT_TRUE(WaitForNewScreen(before, &pause));
    SaveShot("SavedGamePause");
    Click(320, 437);
    ASSERT_EQ(WaitForExit(), 0);

    SavedPlay saved;
    const std::string file = (modules_test::UsersFolder() / "Ada_SavedGame00.dat").string();
    ASSERT_TRUE(ReadSavedPlay(file, &saved)) << file;
    EXPECT_EQ(saved.lives, 20);
    // 500 to start, 120 for the factory, 80 for the turret, and a reward
    // for each bug the turret killed.
    EXPECT_GT(saved.money, 300);
    EXPECT_GE(saved.level, 0);
    EXPECT_EQ(saved.weapons, 2);
    EXPECT_EQ(saved.types[0], 9);
    EXPECT_EQ(saved.types[1], 0);
    EXPECT_NEAR(saved.x[1], TURRET_SPOTS[0].x, 0.01f);
    EXPECT_NEAR(saved.y[1], TURRET_SPOTS[0].y, 0.01f);

    // Started again, the program asks whether to resume.
    ASSERT_TRUE(StartProgram());
    Screen asked;
    ASSERT_TRUE(WaitFor([&](const Screen &s) {
        asked = s;
        return MainScreenDrawn(s) && ResumeQuestionShown(s);
    }));
    SaveShot("SavedGameResumeQuestion");
    Click(RESUME_YES_X, RESUME_YES_Y);
    ParkPointer();
    Screen resumed;
    ASSERT_TRUE(WaitForNewScreen(asked, &resumed));
    SaveShot("SavedGameResumed");

    // The same score, money and lives in the bottom bar, the same level in
    // the sidebar's title, the same weapons on the board.
    EXPECT_LT(ChangedIn(before, resumed, 100, 452, 360, 26), 0.01);
    EXPECT_LT(ChangedIn(before, resumed, 5, 5, 90, 55), 0.01);
    EXPECT_LT(ChangedAround(before, resumed, FACTORY_SPOT, 30), 0.02);
    EXPECT_LT(ChangedAround(before, resumed, TURRET_SPOTS[0], 12), 0.05);

    EXPECT_EQ(StopProgram(), 0);
}

} // namespace
