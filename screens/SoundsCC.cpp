// The Sounds screen (see the header).
#include "screens/SoundsCC.h"

#include "game/Game.h"
#include "game/Sound.h"
#include "game/HW_Screens.h"
#include "gui/MWinButton.h"
#include "gui/MWinScrollbar.h"
#include "modules/UserClass.h"

#include <array>

namespace {

using SCC = SoundsCollectionController;

constexpr const char *kDefault = "MWIN_TEXBUT_DEFAULT";
constexpr const char *kNone = "MWIN_TEXBUT_NONE";
const _ScreenTextStyle kLabelStyle = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_RIGHT};

// The setting rows from the top: sounds on, sounds volume, main music on,
// when it plays, its volume, game-won music on, its volume, game-over music
// on, its volume.
enum SoundsRow { ROW_SOUNDS_ON, ROW_SOUNDS_VOL, ROW_MAIN_ON, ROW_MAIN_WHEN, ROW_MAIN_VOL,
                 ROW_WIN_ON, ROW_WIN_VOL, ROW_GO_ON, ROW_GO_VOL, ROW_COUNT };

// A layout's columns, the top of each row, the rows' height, Title and Back.
struct SoundsLayout {
    float label_x, label_w, control_x, control_w, row_h;
    float row_y[ROW_COUNT];
    float title[4];
    char hide_title;
    float back[4];
};

constexpr _ScreenControlRow Label(const char *id, const char *text, const SoundsLayout &l, SoundsRow row)
{
    return {id, SCA_BUTTON, MWBT_PUSH, kNone, text, nullptr, l.label_x, l.row_y[row], l.label_w, l.row_h,
            &kLabelStyle, {}, 0};
}

constexpr _ScreenControlRow Switch(const char *id, const SoundsLayout &l, SoundsRow row)
{
    return {id, SCA_BUTTON, MWBT_CHOICE, kDefault, "On", nullptr, l.control_x, l.row_y[row], l.control_w, l.row_h,
            &screen_menu_style, {}, 0};
}

constexpr _ScreenControlRow Bar(const char *id, const SoundsLayout &l, SoundsRow row)
{
    return {id, SCA_HORZ_SCROLLBAR, MWBT_HORZ_SCROLLBAR, kDefault, "", nullptr, l.control_x, l.row_y[row],
            l.control_w, l.row_h, &screen_menu_style, {}, 0};
}

constexpr std::array<_ScreenControlRow, SCC::SOUNDS_NUM_CONTROLS> Rows(const SoundsLayout &l)
{
    return {{
        {"Title", SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, l.title[0], l.title[1], l.title[2], l.title[3],
         &screen_menu_style, {}, l.hide_title},
        Label("SoundsOnText", "Sounds:", l, ROW_SOUNDS_ON),
        Switch("SoundsOn", l, ROW_SOUNDS_ON),
        Label("SoundsVolText", "Volume:", l, ROW_SOUNDS_VOL),
        Bar("SoundsVol", l, ROW_SOUNDS_VOL),
        Label("MainMusicOnText", "Main Music:", l, ROW_MAIN_ON),
        Switch("MainMusicOn", l, ROW_MAIN_ON),
        Label("MainMusicOnText2", "Play Main Music:", l, ROW_MAIN_WHEN),
        Switch("MainMusicOnWhen", l, ROW_MAIN_WHEN),
        Label("MainMusicVolText", "Volume:", l, ROW_MAIN_VOL),
        Bar("MainMusicVol", l, ROW_MAIN_VOL),
        Label("WinMusicOnText", "Game Won Music:", l, ROW_WIN_ON),
        Switch("WinMusicOn", l, ROW_WIN_ON),
        Label("WinMusicVolText", "Volume:", l, ROW_WIN_VOL),
        Bar("WinMusicVol", l, ROW_WIN_VOL),
        Label("GoMusicVolText", "Volume:", l, ROW_GO_VOL),
        Bar("GoMusicVol", l, ROW_GO_VOL),
        Label("GoMusicOnText", "Game Over Music:", l, ROW_GO_ON),
        Switch("GoMusicOn", l, ROW_GO_ON),
        {"Back", SCA_BUTTON, MWBT_PUSH, kDefault, "Back", nullptr, l.back[0], l.back[1], l.back[2], l.back[3],
         &screen_menu_style, {}, 0},
    }};
}

constexpr std::array<_ScreenControlRow, SCC::SOUNDS_NUM_CONTROLS> kNormalRows =
    Rows({40, 170, 220, 300, 30, {95, 130, 175, 210, 245, 290, 325, 370, 405}, {128, 0, 384, 84}, 0,
          {550, 440, 80, 30}});
// The phone held sideways has no room for the title: the rows are packed
// from the top.
constexpr std::array<_ScreenControlRow, SCC::SOUNDS_NUM_CONTROLS> kPhoneLandscapeRows =
    Rows({10, 190, 205, 315, 45, {5, 50, 95, 140, 185, 230, 275, 320, 365}, {0, 0, 85, 45}, 1,
          {540, 420, 90, 50}});

const _ScreenWindowRow kSoundsWindows[] = {
    {"Sounds", 0, 0, 640, 480, nullptr, {kNormalRows.data(), nullptr, kPhoneLandscapeRows.data(), nullptr, nullptr},
     SCC::SOUNDS_NUM_CONTROLS},
};

// The choices keep pointers to their strings: these live for the run.
const char *kOffOn[] = {"Off", "On"};
const char *kWhen[] = {"Always", "Menus Only", "Game Only"};

// Volumes never reach silence; page and step are the defaults, a tenth and
// a hundredth of the range.
const float kVolumeMin = 0.02f;
const float kVolumeMax = 1.0f;

void BindChoice(MWinButton *choice, const char **strings, int num, unsigned char *variable)
{
    if (!choice)
        return;
    choice->ChoiceSetStrings(num, strings);
    choice->ChoiceRegisterCharVariable(reinterpret_cast<char *>(variable), 0);
}

void BindVolume(MWinButton *control, float *variable, unsigned char on)
{
    MWinHorzScrollbar *bar = dynamic_cast<MWinHorzScrollbar *>(control);
    if (!bar)
        return;
    bar->SetRange(kVolumeMin, kVolumeMax, 0, 0);
    bar->RegisterFloatVariable(variable, 1.0f, 0);
    bar->SetEnabled(on != 0);
}

void SetEnabled(MWinButton *control, unsigned char on)
{
    if (control)
        control->SetEnabled(on != 0);
}

} // namespace

SoundsCollectionController::SoundsCollectionController(MWinScreens *screens)
    : ScreenController(screens, "SoundsCollectionController", "Sounds", kSoundsWindows, 1)
{
}

void SoundsCC::StartingCB(void *)
{
    _UserOptions *o = m_game->GetUserOptions();
    BindChoice(Control(SOUNDS_SOUNDS_ON), kOffOn, 2, &o->sounds_on);
    BindVolume(Control(SOUNDS_SOUNDS_VOL), &o->sounds_volume, o->sounds_on);
    BindChoice(Control(SOUNDS_MAIN_MUSIC_ON), kOffOn, 2, &o->main_music_on);
    SetEnabled(Control(SOUNDS_MAIN_MUSIC_ON), 1);
    BindChoice(Control(SOUNDS_MAIN_MUSIC_ON_WHEN), kWhen, 3, &o->main_music_when);
    SetEnabled(Control(SOUNDS_MAIN_MUSIC_ON_WHEN), o->main_music_on);
    BindVolume(Control(SOUNDS_MAIN_MUSIC_VOL), &o->main_music_volume, o->main_music_on);
    BindChoice(Control(SOUNDS_GO_MUSIC_ON), kOffOn, 2, &o->game_over_music_on);
    SetEnabled(Control(SOUNDS_GO_MUSIC_ON), 1);
    BindVolume(Control(SOUNDS_GO_MUSIC_VOL), &o->game_over_music_volume, o->game_over_music_on);
    BindChoice(Control(SOUNDS_WIN_MUSIC_ON), kOffOn, 2, &o->game_won_music_on);
    SetEnabled(Control(SOUNDS_WIN_MUSIC_ON), 1);
    BindVolume(Control(SOUNDS_WIN_MUSIC_VOL), &o->game_won_music_volume, o->game_won_music_on);
    if (MWinButton *back = Control(SOUNDS_BACK))
        back->SetEscapeButtonForParentWindow();
    TitlePictureAttachToButton(Control(SOUNDS_TITLE));
}

char SoundsCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    // The bound control has written the new value into the record already.
    const _UserOptions *o = m_game->GetUserOptions();
    if (button == Control(SOUNDS_SOUNDS_ON)) {
        SetEnabled(Control(SOUNDS_SOUNDS_VOL), o->sounds_on);
    } else if (button == Control(SOUNDS_SOUNDS_VOL)) {
        SoundSetGameSoundsVolume();
    } else if (button == Control(SOUNDS_MAIN_MUSIC_ON)) {
        SetEnabled(Control(SOUNDS_MAIN_MUSIC_ON_WHEN), o->main_music_on);
        SetEnabled(Control(SOUNDS_MAIN_MUSIC_VOL), o->main_music_on);
        SoundUpdateMusicForCurrentState();
    } else if (button == Control(SOUNDS_MAIN_MUSIC_ON_WHEN)) {
        SoundUpdateMusicForCurrentState();
    } else if (button == Control(SOUNDS_MAIN_MUSIC_VOL)) {
        SoundSetMainMusicVolumeFromUser();
    } else if (button == Control(SOUNDS_GO_MUSIC_ON)) {
        SetEnabled(Control(SOUNDS_GO_MUSIC_VOL), o->game_over_music_on);
    } else if (button == Control(SOUNDS_WIN_MUSIC_ON)) {
        SetEnabled(Control(SOUNDS_WIN_MUSIC_VOL), o->game_won_music_on);
    } else if (button == Control(SOUNDS_GO_MUSIC_VOL) || button == Control(SOUNDS_WIN_MUSIC_VOL)) {
        // Heard when that music next starts.
    } else if (button == Control(SOUNDS_TITLE)) {
        TitlePictureGoOnline(button);
    } else if (button == Control(SOUNDS_BACK)) {
        m_screens->GoBack();
    } else {
        return 0;
    }
    return 1;
}

MWinCollectionController *SoundsCC_Make(HW_Screens *screens)
{
    return new SoundsCC(screens);
}
