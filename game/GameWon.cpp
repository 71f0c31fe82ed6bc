// The game-won scene (see the header).
#include "game/GameWon.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngMain.h"
#include "game/Game.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/Program.h"
#include "game/SavedGame.h"
#include "game/Sound.h"
#include "game/Weapons.h"
#include "modules/UserClass.h"

#include <cmath>
#include <cstdio>

int gamewon_step = -1;
char gamewon_caption[128];
char gamewon_unlock_message[128];
char gamewon_unlock_flag = 0;

const char *const game_won_picture_file = "Data/1019.dat";

namespace {

double step_start = 0.0;
float caption_alpha = 0.0f;
EngTexture picture;
float picture_alpha = 0.0f;
float wobble_phase[2] = {0.0f, 0.0f};
float wobble_angle[2] = {0.0f, 0.0f};
float mean_angle = 0.0f;
float unlock_value = 0.0f;

const float kHalfPi = 1.5707963705062866f;

// Steps 0, 5, 10, 14 and 18 set a caption; the last shows the score.
void SetCaption(int step)
{
    switch (step) {
    case 0:
        snprintf(gamewon_caption, sizeof(gamewon_caption), "GARDEN DEFENDED !!!");
        break;
    case 5:
        snprintf(gamewon_caption, sizeof(gamewon_caption), "SELLING ASSETS ...");
        break;
    case 10:
        snprintf(gamewon_caption, sizeof(gamewon_caption), "CASHING IN ...");
        break;
    case 14:
        snprintf(gamewon_caption, sizeof(gamewon_caption), "LIVES LEFT BONUS ...");
        break;
    default:
        snprintf(gamewon_caption, sizeof(gamewon_caption), "FINAL SCORE: %ld", static_cast<long>(play_score));
        break;
    }
}

// Next step, its start time now.
void NextStep(double now)
{
    step_start = now;
    gamewon_step++;
}

void PlayStepSound(char animated)
{
    if (animated)
        SoundPlay(SOUND_GAME_WON_STEP);
}

// True when a repeated action is due: at once when not animated, else when
// interval seconds have passed since the step's start.
bool Due(char animated, double now, double interval)
{
    return !animated || now - step_start >= interval;
}

} // namespace

void GameWonCountProgress(_UserGardenProgress *progress, int difficulty)
{
    if (!progress || difficulty < 0 || difficulty >= 2 || progress->unlocked_difficulty >= difficulty + 1 ||
        progress->unlocked_difficulty >= 2)
        return;
    progress->wins_toward_unlock++;
    progress->chosen_difficulty = static_cast<unsigned char>(difficulty);
    if (progress->wins_toward_unlock >= 4) {
        progress->unlocked_difficulty = static_cast<unsigned char>(difficulty + 1);
        progress->wins_toward_unlock = 0;
        snprintf(gamewon_unlock_message, sizeof(gamewon_unlock_message), "%s DIFFICULTY UNLOCKED",
                 LevelsGetDifficultyAsText(static_cast<int16_t>(difficulty + 1)));
    } else {
        snprintf(gamewon_unlock_message, sizeof(gamewon_unlock_message), "%s DIFFICULTY PROGRESS: %d%%",
                 LevelsGetDifficultyAsText(static_cast<int16_t>(difficulty)),
                 static_cast<int>(progress->wins_toward_unlock * 100 * 0.25));
    }
    gamewon_unlock_flag = static_cast<char>(difficulty + 1);
}

void GameWonInit()
{
    if (play_game_won)
        return;
    step_start = eng_main_program_time;
    play_game_won = 1;
    gamewon_unlock_flag = 0;
    unlock_value = 0.0f;
    gamewon_step = 0;
    gamewon_caption[0] = 0;
    gamewon_unlock_message[0] = 0;

    if (!picture.IsCreated())
        GameWonCreateGraphics();
    WeaponsClearAllShots();
    DeleteSavedGame(0, 1);
    SoundUpdateMusicForCurrentState();

    if (levels_garden < 0 || levels_garden >= USER_GARDENS) {
        DebugErrorCode("GameWonInit", 'IERR');
        return;
    }
    // Only a loaded player's record counts wins.
    if (main_game && main_game->GetUser()->IsLoaded())
        GameWonCountProgress(&main_game->GetUserOptions()->gardens[levels_garden], levels_difficulty);
}

char GameWonCreateGraphics()
{
    if (!play_game_won)
        return 1;
    if (!picture.LoadFromFile(game_won_picture_file, 1, 2, 0))
        return 0;
    picture.PositionPure(-0.6f, -0.6f, 1.2f, 1.2f);
    return 1;
}

void GameWonDestroyGraphics()
{
    picture.Destroy();
}

void GameWonStep(char animated)
{
    const double now = eng_main_program_time;
    const float dt = play_frame_time;
    if (animated && gamewon_step >= 17) {
        wobble_angle[0] = 0.47123894f * EngMiscUpdateThrob(&wobble_phase[0], 1.4f * dt, nullptr) - 0.23561947f;
        wobble_angle[1] = 0.31415927f * EngMiscUpdateThrob(&wobble_phase[1], 0.5f * dt, nullptr) - 0.15707964f;
        mean_angle = (wobble_angle[0] + wobble_angle[1]) / 2.0f + kHalfPi;
    }
    switch (gamewon_step) {
    case 0:
    case 5:
    case 10:
    case 14:
    case 18:
        SetCaption(gamewon_step);
        caption_alpha = 0.0f;
        NextStep(now);
        break;
    case 1:
    case 6:
    case 11:
    case 15:
    case 19:
        caption_alpha += animated ? dt : 1.0f;
        if (caption_alpha >= 1.0f) {
            caption_alpha = 1.0f;
            NextStep(now);
        }
        break;
    case 2:
    case 4:
    case 7:
        if (!animated || now - step_start > 3.0)
            NextStep(now);
        break;
    case 3:
    case 9:
    case 13:
    case 17:
        caption_alpha -= animated ? dt : 1.0f;
        if (caption_alpha <= 0.0f) {
            caption_alpha = 0.0f;
            NextStep(now);
        }
        break;
    case 8:
        if (Due(animated, now, 0.15)) {
            if (WeaponsSellLast() && weapons_count > 0)
                PlayStepSound(animated);
            step_start = now;
        }
        if (weapons_count == 0)
            NextStep(now);
        break;
    case 12:
        if (play_money > 0 && Due(animated, now, 0.07)) {
            const int chunk = play_money < 5000 ? play_money : 5000;
            HiveWatcherAddToScore(chunk);
            HiveWatcherAddToMoney(-chunk);
            PlayStepSound(animated);
            step_start = now;
        }
        if (play_money <= 0)
            NextStep(now);
        break;
    case 16:
        if (play_lives > 1 && Due(animated, now, 0.15)) {
            HiveWatcherAddToScore(5000);
            HiveWatcherAddToLives(-1);
            PlayStepSound(animated);
            step_start = now;
        }
        if (play_lives <= 1)
            NextStep(now);
        break;
    case 20:
        NextStep(now);
        break;
    case 21:
        picture_alpha = 0.0f;
        NextStep(now);
        break;
    case 22:
        picture_alpha = animated ? std::fmin(1.0f, picture_alpha + 0.5f * dt) : 1.0f;
        if (gamewon_unlock_flag)
            unlock_value = animated ? std::fmin(4.0f, unlock_value + 0.4f * dt) : 4.0f;
        if (!animated)
            NextStep(now);
        break;
    default:
        if (gamewon_step >= 23)
            gamewon_step = -1;
        break;
    }
}

void GameWonTick(char animated)
{
    if (play_game_won && gamewon_step >= 0)
        GameWonStep(animated);
}

void GameWonRender()
{
    if (!play_game_won)
        return;
    if (gamewon_step >= 18 && picture.IsCreated()) {
        HiveWatcherSetBoardTransform(levels_garden == 3 ? -0.2f : 0.0f, 0.2f, 0.0f, -0.59f, mean_angle, 1, 1);
        picture.DrawWithColour(1.0f, 1.0f, 1.0f, picture_alpha);
        HiveWatcherRestoreTransform();
    }
    EngFont *font = GameGetFont();
    if (!font)
        return;
    EngFontPrepareForDrawingDefaultOrientation(1);
    if (gamewon_caption[0]) {
        font->SetScaleWithAspectCorrection(2.5f, 3.0f);
        font->SetColour(0.0f, 0.0f, 0.0f, 0.7f * caption_alpha);
        font->DrawString(324.0f, 34.0f, 1, 1, gamewon_caption, 0);
        font->SetColour(0.8f, 1.0f, 0.5f, 0.7f * caption_alpha);
        font->DrawString(320.0f, 30.0f, 1, 1, gamewon_caption, 0);
    }
    if (gamewon_unlock_flag) {
        const float v = unlock_value;
        const float alpha = v <= 1.0f ? v : v <= 3.0f ? 1.0f : std::fmax(0.0f, 4.0f - v);
        font->SetScaleWithAspectCorrection(1.7f, 1.5f);
        font->SetColour(1.0f, 1.0f, 1.0f, alpha);
        font->DrawString(320.0f, 460.0f, 1, 1, gamewon_unlock_message, 0);
    }
    EngFontRestoreAfterDrawing();
}

char GameWonEnd(char from_click)
{
    if (!play_game_won)
        return 0;
    // A click before the final score is shown does not end the show.
    if (from_click && gamewon_step < 18)
        return 0;
    SoundStopWinMusic();
    while (gamewon_step >= 0)
        GameWonStep(0);
    GameWonDestroyGraphics();
    play_game_won = 0;
    play_under_way = 0;
    gamewon_unlock_flag = 0;
    return 1;
}

void GameWonResetForTests()
{
    picture.Destroy();
    gamewon_step = -1;
    gamewon_caption[0] = 0;
    gamewon_unlock_message[0] = 0;
    gamewon_unlock_flag = 0;
    step_start = 0.0;
    caption_alpha = 0.0f;
    picture_alpha = 0.0f;
    wobble_phase[0] = wobble_phase[1] = 0.0f;
    wobble_angle[0] = wobble_angle[1] = 0.0f;
    mean_angle = 0.0f;
    unlock_value = 0.0f;
}
