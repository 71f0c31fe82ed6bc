// The Select screen (see the header).
#include "screens/SelectCC.h"

#include "engine/core/EngDebug.h"
#include "engine/graphics/EngTexture.h"
#include "game/Game.h"
#include "game/HW_Screens.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinIDs.h"
#include "modules/UserClass.h"

#include <array>
#include <cstdio>

int select_chosen_garden = 0;

namespace {

EngTexture thumbnails[SELECT_GARDENS];

const _ScreenTextStyle kTitleStyle = {"MWIN_FONT_DEFAULT", 0, 0, 0, 1, 1, 1, MWTA_CENTER};
const _ScreenTextStyle kHeadingStyle = {"Main", 1, 1, 1, 0.8f, 1.5f, 1.5f, MWTA_CENTER};
const _ScreenTextStyle kFrameStyle = {"Main", 1, 1, 1, 1, 1, 1, MWTA_CENTER};
const _ScreenTextStyle kPictureStyle = {"Main", 0, 0, 0, 0.7f, 1, 1, MWTA_CENTER};
constexpr const _ScreenTextStyle *kMenu = &screen_menu_style;
constexpr const char *kDefault = "MWIN_TEXBUT_DEFAULT";

using SCC = SelectCollectionController;
using SelectRows = std::array<_ScreenControlRow, SCC::SELECT_NUM_CONTROLS>;

// Where a layout puts the gardens: the left edges of the two columns and the
// tops of the two rows of frames, the frames' size, the difficulty buttons'
// size, and "Back". Each picture fills its frame but a border of 2 at the
// sides and 3 at the top and bottom; each difficulty button sits in the
// lower left corner of its garden's picture.
struct _SelectLayout {
    float column_x[2], row_y[2];
    float frame_w, frame_h;
    float diff_w, diff_h;
    float back[4];
};

constexpr _ScreenControlRow Garden(const char *id, const char *texbut, const _ScreenTextStyle *style, float x,
                                   float y, float w, float h)
{
    return {id, SCA_BUTTON, MWBT_STATIC, texbut, "", nullptr, x, y, w, h, style, {}, 0};
}

constexpr _ScreenControlRow Difficulty(const char *id, const _SelectLayout &l, int garden)
{
    return {id,
            SCA_BUTTON,
            MWBT_PUSH,
            kDefault,
            "Normal",
            nullptr,
            l.column_x[garden % 2] + 5,
            l.row_y[garden / 2] + l.frame_h - 5 - l.diff_h,
            l.diff_w,
            l.diff_h,
            kMenu,
            {},
            0};
}

// Gardens 0 and 1 form the upper row, 2 and 3 the lower.
constexpr SelectRows Rows(const _SelectLayout &l)
{
    const float x0 = l.column_x[0], x1 = l.column_x[1], y0 = l.row_y[0], y1 = l.row_y[1];
    const float w = l.frame_w, h = l.frame_h;
    return {{
        {"Title", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "", nullptr, 128, 0, 384, 84, &kTitleStyle, {}, 0},
        {"SelectT", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "Select a Garden to Defend", nullptr, 120, 80, 400,
         40, &kHeadingStyle, {}, 0},
        Garden("Bg0", "Back3", &kFrameStyle, x0, y0, w, h),
        Garden("Bg1", "Back3", &kFrameStyle, x1, y0, w, h),
        Garden("Bg2", "Back3", &kFrameStyle, x0, y1, w, h),
        Garden("Bg3", "Back3", &kFrameStyle, x1, y1, w, h),
        Garden("Level0", "Back2", &kPictureStyle, x0 + 2, y0 + 3, w - 4, h - 6),
        Garden("Level1", "Back2", &kPictureStyle, x1 + 2, y0 + 3, w - 4, h - 6),
        Garden("Level2", "Back2", &kPictureStyle, x0 + 2, y1 + 3, w - 4, h - 6),
        Garden("Level3", "Back2", &kPictureStyle, x1 + 2, y1 + 3, w - 4, h - 6),
        Difficulty("Diff0", l, 0),
        Difficulty("Diff1", l, 1),
        Difficulty("Diff2", l, 2),
        Difficulty("Diff3", l, 3),
        {"Back", SCA_BUTTON, MWBT_PUSH, kDefault, "Back", nullptr, l.back[0], l.back[1], l.back[2], l.back[3], kMenu,
         {}, 0},
    }};
}

constexpr SelectRows kNormalRows = Rows({{158, 328}, {137, 297}, 154, 146, 67, 22, {550, 440, 80, 30}});
// The phones: the widest frames and the largest buttons a finger needs.
constexpr SelectRows kPhonePortraitRows = Rows({{150, 328}, {124, 292}, 162, 160, 146, 50, {520, 430, 115, 45}});
constexpr SelectRows kPhoneLandscapeRows = Rows({{150, 328}, {124, 292}, 162, 160, 120, 45, {520, 430, 115, 45}});
constexpr SelectRows kTabletPortraitRows = Rows({{155, 329}, {128, 294}, 158, 154, 100, 35, {530, 436, 100, 38}});
constexpr SelectRows kTabletLandscapeRows = Rows({{156, 328}, {130, 294}, 156, 150, 90, 32, {535, 438, 95, 35}});

const _ScreenWindowRow kSelectWindows[] = {
    {"Main", 0, 0, 640, 480, nullptr,
     {kNormalRows.data(), kPhonePortraitRows.data(), kPhoneLandscapeRows.data(), kTabletPortraitRows.data(),
      kTabletLandscapeRows.data()},
     SCC::SELECT_NUM_CONTROLS},
};

// A sixteenth of the garden picture is cut off at each edge, as in play.
const _Dimension kThumbnailArea = {0.0625f, 0.0625f, 0.9375f, 0.9375f};

const char *const kDifficultyTexts[] = {"Normal", "Tough", "Extreme"};
constexpr int kHighestDifficulty = 2;

// Whether the pressed control is the numbered control of a garden in the
// window "Main".
bool IsGardenControl(const _MWinButtonCallbackInfo *info, const char *format, int garden)
{
    char id[MWIN_ID_SIZE];
    std::snprintf(id, sizeof(id), format, garden);
    return MWinAreIDsTheSame(info->m_window_id, "Main") && MWinAreIDsTheSame(info->m_button_id, id);
}

} // namespace

SelectCollectionController::SelectCollectionController(MWinScreens *screens)
    : ScreenController(screens, "SelectCollectionController", "Select", kSelectWindows, 1)
{
}

_UserGardenProgress *SelectCC::Garden(int garden)
{
    return &m_game->GetUserOptions()->gardens[garden];
}

void SelectCC::StartingCB(void *)
{
    if (MWinButton *back = Control(SELECT_BACK))
        back->SetEscapeButtonForParentWindow();
    TitlePictureCreateGraphics();
    TitlePictureAttachToButton(Control(SELECT_TITLE));
    SelectCC_CreateGraphics();
    for (int garden = 0; garden < SELECT_GARDENS; garden++) {
        if (MWinButton *picture = Control(SELECT_LEVEL0 + garden)) {
            picture->PictureAttachTextureToButton(&thumbnails[garden], 0);
            picture->PictureSetTextureArea(&kThumbnailArea);
        }
        if (MWinButton *difficulty = Control(SELECT_DIFF0 + garden)) {
            difficulty->SetColourMultiplierAlpha(0.8f);
            UpdateDifficultyButton(difficulty, garden);
        }
    }
}

void SelectCC::UpdateDifficultyButton(MWinButton *button, int garden)
{
    if (garden < 0 || garden >= SELECT_GARDENS) {
        DebugErrorCode("SelectCC::UpdateDifficultyButton", 'IERR');
        return;
    }
    if (!button) {
        DebugErrorCode("SelectCC::UpdateDifficultyButton", 'BAPA');
        return;
    }
    _UserGardenProgress *record = Garden(garden);
    if (record->unlocked_difficulty > kHighestDifficulty)
        record->unlocked_difficulty = 0;
    if (record->chosen_difficulty > kHighestDifficulty)
        record->chosen_difficulty = 0;
    if (record->chosen_difficulty > record->unlocked_difficulty)
        record->chosen_difficulty = record->unlocked_difficulty;
    if (record->unlocked_difficulty == 0) {
        // Nothing to choose.
        button->Hide();
        return;
    }
    button->m_shown = 1;
    button->SetText(kDifficultyTexts[record->chosen_difficulty]);
}

char SelectCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    for (int garden = 0; garden < SELECT_GARDENS; garden++) {
        if (IsGardenControl(info, "Level%d", garden)) {
            select_chosen_garden = garden;
            ReleaseGraphics();
            // The record's count is a signed byte: a file holding 0 or less
            // (255 included) shows no notice.
            unsigned char &notices = m_game->GetUserOptions()->notice_showings_left;
            if (static_cast<signed char>(notices) > 0) {
                m_screens->GotoScreen(HW_SCREEN_GENL, nullptr);
                notices--;
            } else {
                StartGame();
            }
            return 1;
        }
        if (IsGardenControl(info, "Diff%d", garden)) {
            _UserGardenProgress *record = Garden(garden);
            record->chosen_difficulty++;
            if (record->chosen_difficulty > record->unlocked_difficulty)
                record->chosen_difficulty = 0;
            UpdateDifficultyButton(button, garden);
            return 1;
        }
    }
    if (button == Control(SELECT_TITLE)) {
        TitlePictureGoOnline(button);
        return 1;
    }
    if (button == Control(SELECT_BACK) && MWinAreIDsTheSame(info->m_window_id, "Main")) {
        ReleaseGraphics();
        m_screens->GoBack();
        return 1;
    }
    return 0;
}

void SelectCC::ReleaseGraphics()
{
    SelectCC_DestroyGraphics();
    TitlePictureDestroyGraphics();
}

void SelectCC::StartGame()
{
    const int garden = select_chosen_garden;
    // The play's garden picture is made again only for another garden.
    if (garden != LevelsGetGraphicsGarden()) {
        levels_garden = static_cast<int16_t>(garden);
        LevelsDestroyGraphics();
        LevelsCreateGraphics();
    }
    levels_garden = static_cast<int16_t>(garden);
    levels_difficulty = 0;
    if (garden >= 0 && garden < SELECT_GARDENS) {
        const int chosen = Garden(garden)->chosen_difficulty;
        levels_difficulty = static_cast<int16_t>(chosen <= kHighestDifficulty ? chosen : 0);
    }
    HiveWatcherStartNewGame(0);
    m_game->CloseMenusAndPlay();
}

// ---- The garden thumbnails ----

char SelectCC_CreateGraphics()
{
    if (thumbnails[0].IsCreated())
        return 1;
    char ok = 1;
    for (int garden = 0; garden < SELECT_GARDENS; garden++) {
        if (thumbnails[garden].IsCreated())
            continue;
        // The garden module names the file of its current garden.
        const int16_t current = levels_garden;
        levels_garden = static_cast<int16_t>(garden);
        const char *filename = LevelsGetPicFilename();
        levels_garden = current;
        if (!thumbnails[garden].LoadFromFile(filename, 0, 0, 0))
            ok = 0;
    }
    return ok;
}

void SelectCC_DestroyGraphics()
{
    for (EngTexture &thumbnail : thumbnails)
        thumbnail.Destroy();
}

EngTexture *SelectCC_GetThumbnail(int garden)
{
    return garden >= 0 && garden < SELECT_GARDENS ? &thumbnails[garden] : nullptr;
}

MWinCollectionController *SelectCC_Make(HW_Screens *screens)
{
    return new SelectCC(screens);
}
