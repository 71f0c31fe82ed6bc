// The Options screen (see the header).
#include "screens/OptionsCC.h"

#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "game/Game.h"
#include "game/HW_Screens.h"
#include "game/Program.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "modules/Resolution.h"
#include "modules/UserClass.h"

#include <array>

namespace {

using OCC = OptionsCollectionController;

const _ScreenTextStyle kTitleStyle = {"MWIN_FONT_DEFAULT", 0, 0, 0, 1, 1, 1, MWTA_CENTER};
const _ScreenTextStyle kLabelStyle = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_RIGHT};
constexpr const char *kDefault = "MWIN_TEXBUT_DEFAULT";
constexpr const char *kNone = "MWIN_TEXBUT_NONE";

// Where a layout puts the four setting rows: the label column, the choice
// column and the "?" column, the first row's top, the rows' height and the
// step between them, and Back. The mobile layouts hide the start-up window
// row, which only the desktop has.
struct OptionsLayout {
    float label_x, label_w, choice_x, choice_w, info_x, info_w;
    float top, row_h, step;
    float back_x, back_y, back_w, back_h;
    char hide_startup;
};

constexpr _ScreenControlRow Label(const char *id, const char *text, const OptionsLayout &l, int row)
{
    return {id, SCA_BUTTON, MWBT_PUSH, kNone, text, nullptr, l.label_x, l.top + row * l.step, l.label_w, l.row_h,
            &kLabelStyle, {}, static_cast<char>(row == 0 && l.hide_startup)};
}

constexpr _ScreenControlRow Choice(const char *id, const char *text, const OptionsLayout &l, int row)
{
    return {id, SCA_BUTTON, MWBT_CHOICE, kDefault, text, nullptr, l.choice_x, l.top + row * l.step, l.choice_w,
            l.row_h, &screen_menu_style, {}, static_cast<char>(row == 0 && l.hide_startup)};
}

constexpr _ScreenControlRow Info(const char *id, const OptionsLayout &l, int row)
{
    return {id, SCA_BUTTON, MWBT_PUSH, kDefault, "?", nullptr, l.info_x, l.top + row * l.step, l.info_w, l.row_h,
            &screen_menu_style, {}, static_cast<char>(row == 0 && l.hide_startup)};
}

// The rows in the order the controls are added; on screen they read start-up
// window (row 0), always start with this player (1), date format (2) and
// CPU usage (3).
constexpr std::array<_ScreenControlRow, OCC::OPTIONS_NUM_CONTROLS> Rows(const OptionsLayout &l)
{
    return {{
        {"Title", SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, 128, 0, 384, 84, &kTitleStyle, {}, 0},
        Label("ShowResT", "Startup Window:", l, 0),
        Choice("ShowRes", "", l, 0),
        Info("ShowResInfo", l, 0),
        Choice("OneUser", "", l, 1),
        Label("OneUserT", "Always Start with Current User:", l, 1),
        Info("OneUserInfo", l, 1),
        Label("PowerT", "CPU Usage:", l, 3),
        Choice("Power", "", l, 3),
        Label("DateFormatText", "Date Format:", l, 2),
        Choice("DateFormat", " ", l, 2),
        Info("PowerInfo", l, 3),
        Info("DateFormatInfo", l, 2),
        {"Back", SCA_BUTTON, MWBT_PUSH, kDefault, "Back", nullptr, l.back_x, l.back_y, l.back_w, l.back_h,
         &screen_menu_style, {}, 0},
    }};
}

constexpr std::array<_ScreenControlRow, OCC::OPTIONS_NUM_CONTROLS> kNormalRows =
    Rows({10, 240, 255, 285, 555, 30, 185, 30, 45, 550, 440, 80, 30, 0});
constexpr std::array<_ScreenControlRow, OCC::OPTIONS_NUM_CONTROLS> kPhonePortraitRows =
    Rows({10, 300, 315, 255, 580, 50, 80, 45, 50, 520, 420, 110, 50, 1});
constexpr std::array<_ScreenControlRow, OCC::OPTIONS_NUM_CONTROLS> kPhoneLandscapeRows =
    Rows({10, 300, 315, 255, 580, 50, 40, 45, 50, 520, 420, 110, 50, 1});
constexpr std::array<_ScreenControlRow, OCC::OPTIONS_NUM_CONTROLS> kTabletRows =
    Rows({10, 280, 295, 270, 575, 45, 140, 40, 50, 530, 435, 100, 35, 1});

const _ScreenWindowRow kOptionsWindows[] = {
    {"Options",
     0,
     0,
     640,
     480,
     nullptr,
     {kNormalRows.data(), kPhonePortraitRows.data(), kPhoneLandscapeRows.data(), kTabletRows.data(),
      kTabletRows.data()},
     OCC::OPTIONS_NUM_CONTROLS},
};

// The choices keep pointers to their strings: these live for the run.
const char *kOffOn[] = {"Off", "On"};
const char *kNoYes[] = {"No", "Yes"};
const char *kHighLow[] = {"High", "Low"};
const char *kDateFormats[] = {"MM/DD/YY", "DD/MM/YY"};

void BindChoice(MWinButton *choice, const char **strings, unsigned char *variable)
{
    if (!choice)
        return;
    choice->ChoiceSetStrings(2, strings);
    choice->ChoiceRegisterCharVariable(reinterpret_cast<char *>(variable), 0);
}

void CpuUsageHelpClosedCB(MWin *, char, void *user)
{
    if (user)
        static_cast<OptionsCC *>(user)->ShowCpuUsageAdvice();
}

} // namespace

OptionsCollectionController::OptionsCollectionController(MWinScreens *screens)
    : ScreenController(screens, "OptionsCollectionController", "Options", kOptionsWindows, 1)
{
}

void OptionsCC::StartingCB(void *)
{
    TitlePictureAttachToButton(Control(OPTIONS_TITLE));
    _UserOptions *options = m_game->GetUserOptions();
    BindChoice(Control(OPTIONS_SHOW_RES), kOffOn, &options->show_startup_window);
    BindChoice(Control(OPTIONS_ONE_USER), kNoYes, &options->always_load);
    if (static_cast<signed char>(options->cpu_usage) > 1)
        options->cpu_usage = 1;
    BindChoice(Control(OPTIONS_POWER), kHighLow, &options->cpu_usage);
    BindChoice(Control(OPTIONS_DATE_FORMAT), kDateFormats, &options->date_format);
    if (MWinButton *back = Control(OPTIONS_BACK))
        back->SetEscapeButtonForParentWindow();
}

char OptionsCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    // The choices have written the new selection into the record already.
    if (button == Control(OPTIONS_POWER)) {
        ApplyCpuUsage();
        return 1;
    }
    if (button == Control(OPTIONS_SHOW_RES_INFO)) {
        m_mwin->PopupMessage("Startup Window", "Show or skip the initial startup settings window.");
        return 1;
    }
    if (button == Control(OPTIONS_ONE_USER_INFO)) {
        m_mwin->PopupMessageNoTitle(
            "Turn this option on to always load the same user at startup and skip the user selection screen.");
        return 1;
    }
    if (button == Control(OPTIONS_POWER_INFO)) {
        m_mwin->PopupOk("CPU Usage",
                        "This option controls how much of your computer's processing power the game uses.\n\n"
                        "If CPU Usage is reduced, the smoothness of the graphics can be affected.",
                        CpuUsageHelpClosedCB, this);
        return 1;
    }
    if (button == Control(OPTIONS_DATE_FORMAT_INFO)) {
        m_mwin->PopupMessage("Date Format", "This controls how the date is displayed in the high scores list.");
        return 1;
    }
    if (button == Control(OPTIONS_TITLE)) {
        TitlePictureGoOnline(button);
        return 1;
    }
    if (button == Control(OPTIONS_BACK)) {
        // The start-up settings reach Resolution.dat with the next save of
        // the player.
        ResolutionGetSettings()->show_dialog = m_game->GetUserOptions()->show_startup_window;
        m_screens->GoBack();
        return 1;
    }
    return 0;
}

void OptionsCC::ShowCpuUsageAdvice()
{
    if (m_mwin)
        m_mwin->PopupMessage("CPU Usage",
                             "Use the default value of \"High\" unless you need to run other applications while "
                             "playing the game.\n\nIf you have a laptop and it starts to heat up while playing, "
                             "then you should the \"Low\" setting.");
}

void OptionsCC::ApplyCpuUsage()
{
    if (!eng_main_program || !main_game)
        return;
    eng_main_program->SetLongSleeps(main_game->GetUserOptions()->cpu_usage);
}

void OptionsApplyCpuUsage()
{
    OptionsCC::ApplyCpuUsage();
}

MWinCollectionController *OptionsCC_Make(HW_Screens *screens)
{
    return new OptionsCC(screens);
}
