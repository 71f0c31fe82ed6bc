// The game-over scene (see the header).
#include "game/GameOver.h"

#include "engine/core/EngMisc.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "game/Bugs.h"
#include "game/HiveWatcher.h"
#include "game/SavedGame.h"
#include "game/Sound.h"

const char *const game_over_picture_file = "Data/1390.dat";

namespace {

EngTexture picture;
float pulse_phase = 0.0f;
float picture_alpha = 0.0f;
char fully_shown = 0;
double next_runner_time = 0.0;

} // namespace

void GameOverStart()
{
    if (play_game_over)
        return;
    DeleteSavedGame(0, 1);
    pulse_phase = 0.0f;
    play_under_way = 0;
    bugs_count = BUGS_MAX;
    BugsDestroyGraphics();
    BugsCreateGraphics();
    play_end_time = eng_main_program_time;
    play_game_over = 1;
    fully_shown = 0;
    if (!picture.IsCreated())
        GameOverCreateGraphics();
    SoundUpdateMusicForCurrentState();
}

char GameOverCreateGraphics()
{
    if (!play_game_over)
        return 1;
    if (!picture.LoadFromFile(game_over_picture_file, 1, 2, 0))
        return 0;
    picture.PositionRatioedUsingInts(50, 50, 540, 380);
    return 1;
}

void GameOverDestroyGraphics()
{
    picture.Destroy();
}

void GameOverTick()
{
    if (!play_game_over)
        return;
    const double now = eng_main_program_time;
    if (now >= next_runner_time) {
        for (int slot = 0; slot < bugs_count && slot < BUGS_MAX; slot++) {
            if (!bugs_table[slot]) {
                bugs_table[slot] = new Bug(slot, 1);
                break;
            }
        }
        next_runner_time = now + 0.3;
    }
    for (Bug *&bug : bugs_table) {
        if (!bug)
            continue;
        bug->Update();
        if (!bug->m_alive) {
            delete bug;
            bug = nullptr;
        }
    }
}

void GameOverRender()
{
    if (!play_game_over)
        return;
    if (eng_device)
        eng_device->EnableBlendingType(0);
    for (Bug *bug : bugs_table)
        if (bug)
            bug->DrawRunner();
    if (!fully_shown) {
        picture_alpha = EngMiscUpdateThrob(&pulse_phase, play_frame_time, nullptr);
        if (picture_alpha >= 0.9f)
            fully_shown = 1;
    } else {
        picture_alpha = 0.5f + 0.5f * EngMiscUpdateThrob(&pulse_phase, play_frame_time * 0.5f, nullptr);
    }
    if (picture.IsCreated())
        picture.DrawWithColour(1.0f, 1.0f, 1.0f, picture_alpha);
    if (eng_device)
        eng_device->DisableBlending();
}

char GameOverEnd()
{
    if (!play_game_over)
        return 0;
    SoundStopGameOverMusic();
    GameOverDestroyGraphics();
    play_game_over = 0;
    return 1;
}

float GameOverGetPictureAlpha()
{
    return picture_alpha;
}

char GameOverIsPictureFullyShown()
{
    return fully_shown;
}

void GameOverResetForTests()
{
    picture.Destroy();
    pulse_phase = 0.0f;
    picture_alpha = 0.0f;
    fully_shown = 0;
    next_runner_time = 0.0;
}
