// The levels module: garden and difficulty tuning, the road data reader, the
// garden picture and the level banner.
#include "game/Levels.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngMain.h"
#include "game/HiveWatcher.h"
#include "game/PlayNeighbours.h"

#include <cstdio>
#include <cstring>

int16_t levels_garden = -1;
int16_t levels_difficulty = 0;
float levels_reward_factor = 1.0f;
float levels_difficulty_factor = 1.0f;
float levels_target_start = 150.0f;
float levels_target_end = 100.0f;
float levels_step_rate = 4.0f;

_TraverseData traverse_data;

int levels_banner_state = -1;
double levels_banner_time = 0.0;
float levels_banner_alpha = 0.0f;
char levels_banner_text[32] = "";

namespace {

// The tuning of each garden: reward factor and the target window's margins.
struct GardenTuning {
    float reward_factor;
    float target_start;
    float target_end;
};

const GardenTuning garden_tuning[4] = {
    {0.82f, 150.0f, 100.0f},
    {0.79f, 200.0f, 150.0f},
    {0.9f, 180.0f, 100.0f},
    {0.9f, 180.0f, 100.0f},
};

const char *const difficulty_names[3] = {"NORMAL", "TOUGH", "EXTREME"};
// The banner's level number is followed by the difficulty's letter.
const char *const banner_formats[3] = {"LEVEL  %d", "LEVEL  %dT", "LEVEL  %dX"};

// Shared by both file-name functions.
char level_filename[32];

// The picture shown under the board, and the image it is cut from.
EngTexture garden_picture;
// The garden garden_picture was made from; -1 while it holds none.
int picture_garden = -1;
EngTexture garden_source;

const char *GardenFilename(const char *where, const char *prefix, const char *missing)
{
    DebugCheckFatal(levels_garden >= 0, where, "%s", missing);
    snprintf(level_filename, sizeof(level_filename), "%s%d%s", prefix, (int)levels_garden, ".dat");
    return level_filename;
}

// The road as after a refused file: no steps, step length 1.0.
void ClearRoad()
{
    memset(&traverse_data, 0, sizeof(traverse_data));
    traverse_data.reserved = 1.0f;
    traverse_data.step_length = 1.0f;
}

}  // namespace

char LevelsSetup()
{
    levels_garden = -1;
    levels_difficulty = 0;
    return 1;
}

const char *LevelsGetPicFilename()
{
    return GardenFilename("LevelsGetPicFilename", "Data/110", "Level type not set");
}

const char *LevelsGetTravCalcsFilename()
{
    return GardenFilename("LevelsGetTravCalcsFilename", "Data/113", "Garden not set");
}

char LevelsInitForNewLevel()
{
    levels_reward_factor = 1.0f;
    levels_difficulty_factor = 1.0f;
    levels_target_start = 150.0f;
    levels_target_end = 100.0f;
    if (levels_garden < 0 || levels_garden > 3)
        return 1;
    if (levels_difficulty < 0 || levels_difficulty > 2) {
        DebugError("LevelsInitForNewLevel", "Bad level difficulty: %d.", (int)levels_difficulty);
        levels_difficulty = 0;
    }
    levels_difficulty_factor = (float)(1.0 + levels_difficulty * (double)0.05f);
    const GardenTuning &tuning = garden_tuning[levels_garden];
    levels_reward_factor = tuning.reward_factor;
    levels_target_start = tuning.target_start;
    levels_target_end = tuning.target_end;

    levels_banner_state = 0;
    levels_banner_time = eng_main_program_time;
    levels_banner_alpha = 0.0f;
    snprintf(levels_banner_text, sizeof(levels_banner_text), banner_formats[levels_difficulty], play_level + 1);
    return 1;
}

const char *LevelsGetDifficultyAsText(int16_t difficulty)
{
    if (difficulty < 0 || difficulty > 2) {
        DebugError("LevelsGetDifficultyAsText", "Unsupported: %d", (int)difficulty);
        return "";
    }
    return difficulty_names[difficulty];
}

char LevelsSetupGarden()
{
    LevelsDestroyGraphics();
    if (levels_garden < 0)
        return 1;
    if (!TraverseSetup())
        return 0;
    HiveWatcherBuildGrid();
    return LevelsCreateGraphics();
}

char TraverseSetup()
{
    ClearRoad();
    levels_step_rate = 4.0f;

    EngFile file;
    if (!file.OpenForReading(LevelsGetTravCalcsFilename(), 0, 1))
        return 0;
    float version = 0.0f;
    if (!file.Read(&version, sizeof(version), 1))
        return 0;
    if (version != ROAD_DATA_VERSION) {
        DebugError("TraverseSetup", "Incorrect version [%f] not [%f] in file", version, ROAD_DATA_VERSION);
        return 0;
    }
    if (!file.Read(&traverse_data, sizeof(traverse_data), 1)) {
        ClearRoad();
        return 0;
    }
    // A road that is not whole and sane is refused like a wrong version,
    // before anything walks it or builds a grid from it.
    char why[96];
    if (!RoadDataCheck(traverse_data, why, sizeof(why))) {
        DebugError("TraverseSetup", "Damaged road data in <%s>: %s", LevelsGetTravCalcsFilename(), why);
        ClearRoad();
        return 0;
    }
    RoadDataMendStepLength(&traverse_data);
    return 1;
}

char LevelsCreateGraphics()
{
    LevelsDestroyGraphics();
    if (levels_garden < 0)
        return 1;
    if (!garden_source.LoadFromFile(LevelsGetPicFilename(), 1, 2, 0))
        return 0;
    int width = garden_source.GetWidth(), height = garden_source.GetHeight();
    // A margin of one sixteenth of the side is cut away on every edge.
    int margin = 0;
    if (width == 1024 && height == 1024)
        margin = 64;
    else if (width == 512 && height == 512)
        margin = 32;
    else {
        DebugError("LevelsCreateGraphics", "Bad tex size (%d x %d).", width, height);
        garden_source.Destroy();
        return 0;
    }
    bool ok = garden_picture.CreateEmptyTexture(&width, &height, 1) &&
              garden_picture.CopyPartFromAnotherTextureUsingInts(&garden_source, margin, margin, width - 2 * margin,
                                                                 height - 2 * margin, 0, 0, width, height, 0,
                                                                 nullptr);
    garden_source.Destroy();
    if (!ok) {
        garden_picture.Destroy();
        return 0;
    }
    garden_picture.PositionRatioedUsingInts(100, 0, 540, 450);
    picture_garden = levels_garden;
    return 1;
}

void LevelsDestroyGraphics()
{
    garden_picture.Destroy();
    picture_garden = -1;
}

int LevelsGetGraphicsGarden()
{
    return picture_garden;
}

void LevelsDrawGardenPicture()
{
    if (levels_garden >= 0)
        garden_picture.Draw();
}

EngTexture *LevelsGetGardenPicture()
{
    return &garden_picture;
}

void LevelsUpdateBanner()
{
    double now = eng_main_program_time;
    switch (levels_banner_state) {
    case 0:
        if (now >= levels_banner_time + 0.5) {
            levels_banner_time = now;
            levels_banner_state = 1;
        }
        break;
    case 1:
        levels_banner_alpha += play_frame_time * 1.5f;
        if (levels_banner_alpha >= 1.0f) {
            levels_banner_alpha = 1.0f;
            levels_banner_time = now;
            levels_banner_state = 2;
        }
        break;
    case 2:
        if (now >= levels_banner_time + 0.2)
            levels_banner_state = 3;
        break;
    case 3:
        levels_banner_alpha -= play_frame_time * 1.5f;
        if (levels_banner_alpha <= 0.0f) {
            levels_banner_alpha = 0.0f;
            levels_banner_state = -1;
        }
        break;
    default:
        break;
    }
}

void LevelsDrawBanner()
{
    EngFont *font = GameGetFont();
    if (levels_banner_state < 0 || !font)
        return;
    EngFontPrepareForDrawingDefaultOrientation(1);
    font->SetScale(4.2f, 1.8f);
    font->SetColour(0.0f, 0.0f, 0.0f, 0.7f * levels_banner_alpha);
    font->DrawString(324.0f, 244.0f, 1, 1, levels_banner_text, 0);
    font->SetColour(1.0f, 1.0f, 1.0f, 0.7f * levels_banner_alpha);
    font->DrawString(320.0f, 240.0f, 1, 1, levels_banner_text, 0);
    EngFontRestoreAfterDrawing();
}

void LevelsHideBanner()
{
    levels_banner_state = -1;
}

void LevelsResetForTests()
{
    LevelsSetup();
    levels_reward_factor = 1.0f;
    levels_difficulty_factor = 1.0f;
    levels_target_start = 150.0f;
    levels_target_end = 100.0f;
    levels_step_rate = 4.0f;
    ClearRoad();
    levels_banner_state = -1;
    levels_banner_time = 0.0;
    levels_banner_alpha = 0.0f;
    levels_banner_text[0] = 0;
    LevelsDestroyGraphics();
    garden_source.Destroy();
}
