// The select-player screen (see the header).
#include "screens/UserSelect.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "game/Game.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "modules/Countries.h"
#include "modules/ModulesHooks.h"
#include "modules/Resolution.h"
#include "modules/Splash.h"
#include "modules/UserClass.h"
#include "screens/UserLoad.h"
#include "screens/UserScreens.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

const _ScreenTextStyle title_style = {"Main", 0, 0, 0, 0.8f, 1, 1.3f, MWTA_CENTER};
const _ScreenTextStyle flag_style = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_RIGHT};
const _ScreenTextStyle sel_text_style = {"Main", 1, 1, 1, 0.75f, 1.3f, 1.42f, MWTA_CENTER};

// "AlwaysLoad" and "Device" exist only in the mobile layouts.
const _ScreenControlRow normal_rows[] = {
    {"New", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Setup Player", nullptr, 489.34f, 324.74f, 140.66f, 45.54f,
     &screen_menu_style, {}, 0},
    {"TitlePic", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "", nullptr, 120, 5, 400, 90, &title_style, {}, 0},
    {"SelText", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "Select Player", nullptr, 10.29f, 302.06f, 139.25f,
     18.08f, &screen_menu_style, {}, 0},
    {"Panel", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", "", nullptr, 10.29f, 324.74f, 139.25f, 139.47f,
     &screen_menu_style, {}, 0},
    {"Delete", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Delete Player", "UserLoad_Delete", 489.34f, 375.04f,
     140.66f, 25.48f, &screen_menu_style, {}, 0},
    {"Exit", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Exit", nullptr, 489.34f, 438.73f, 140.66f, 25.48f,
     &screen_menu_style, {}, 0},
    {"LangFlag", SCA_BUTTON, MWBT_PUSH, "Main", "", nullptr, 590, 5, 45, 35, &flag_style, {}, 0},
    {nullptr, SCA_BUTTON, MWBT_CHECKBOX, "", "", nullptr, 0, 0, 0, 0, nullptr, {}, 0},
    {nullptr, SCA_BUTTON, MWBT_PUSH, "", "", nullptr, 0, 0, 0, 0, nullptr, {}, 0},
};

// The mobile layouts: no "Exit"; a wide central panel with "AlwaysLoad"
// under it and a "Device" button that the start hides.
const _ScreenControlRow mobile_rows[] = {
    {"New", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Setup Player", nullptr, 420, 420, 200, 45,
     &screen_menu_style, {}, 0},
    {"TitlePic", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "", nullptr, 120, 5, 400, 90, &title_style, {}, 0},
    {"SelText", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "Select Player", nullptr, 120, 100, 400, 30,
     &sel_text_style, {}, 0},
    {"Panel", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", "", nullptr, 120, 135, 400, 220, &screen_menu_style,
     {}, 0},
    {"Delete", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Delete", nullptr, 20, 420, 200, 45, &screen_menu_style,
     {}, 0},
    {nullptr, SCA_BUTTON, MWBT_PUSH, "", "", nullptr, 0, 0, 0, 0, nullptr, {}, 0},
    {"LangFlag", SCA_BUTTON, MWBT_PUSH, "Main", "", nullptr, 590, 5, 45, 35, &flag_style, {}, 0},
    {"AlwaysLoad", SCA_BUTTON, MWBT_CHECKBOX, "MWIN_TEXBUT_DEFAULT", "Always load this player:", nullptr, 120, 365,
     400, 30, &screen_menu_style, {}, 0},
    {"Device", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Device", nullptr, 20, 5, 100, 35, &screen_menu_style,
     {}, 0},
};

// The iPad held upright gives "Device" its language key.
const std::array<_ScreenControlRow, UserSelectCollectionController::NUM_CONTROLS> ipad_portrait_rows = [] {
    std::array<_ScreenControlRow, UserSelectCollectionController::NUM_CONTROLS> rows;
    std::copy(std::begin(mobile_rows), std::end(mobile_rows), rows.begin());
    rows[UserSelectCollectionController::DEVICE].lang_key = "Users_Device";
    return rows;
}();

const _ScreenWindowRow windows[] = {
    {"MainWin", 0, 0, 640, 480, nullptr, {normal_rows, mobile_rows, mobile_rows, ipad_portrait_rows.data(), mobile_rows},
     UserSelectCollectionController::NUM_CONTROLS},
};
static_assert(sizeof(normal_rows) / sizeof(normal_rows[0]) == UserSelectCollectionController::NUM_CONTROLS, "rows");
static_assert(sizeof(mobile_rows) / sizeof(mobile_rows[0]) == UserSelectCollectionController::NUM_CONTROLS, "rows");

void Show(MWinButton *control, char on)
{
    if (!control)
        return;
    if (on)
        control->m_shown = 1;
    else
        control->Hide();
}

void SetEnabled(MWinButton *control, char on)
{
    if (control)
        control->SetEnabled(on);
}

UserLoadCC *LoadCC(UserSelectCC *screen) { return screen->GetUserScreens()->GetUserLoadCC(); }

} // namespace

UserSelectCollectionController::UserSelectCollectionController(MWinScreens *screens)
    : ScreenController(screens, "UserSelectCollectionController", "UserSelect", windows, 1)
{
}

UserSelectCC::UserSelectCC(MWinScreens *screens, UserScreens *user_screens)
    : UserSelectCollectionController(screens), m_user_screens(user_screens), m_state(0), m_wait_until(0.0),
      m_delete_row(0), m_delete_row_p(&m_delete_row), m_country{}
{
    DebugCheckFatal(user_screens != nullptr, "UserSelectCC::UserSelectCC", "No user screens");
}

void UserSelectCC::SetState(char state)
{
    m_state = state;
    if (Control(ALWAYS_LOAD))
        Control(ALWAYS_LOAD)->CheckboxSet(state, 0);
}

void UserSelectCC::EnableControls(char on)
{
    const int count = LoadCC(this)->GetNumUserNames();
    SetEnabled(Control(NEW), on);
    SetEnabled(Control(PANEL), on && count > 0);
    SetEnabled(Control(DELETE), on && count > 0);
}

void UserSelectCC::StartingCB(void *)
{
    SetState(0);
    UserLoadCC *load_cc = LoadCC(this);
    load_cc->SetupUserNameList();
    const int count = load_cc->GetNumUserNames();
    if (MWinButton *panel = Control(PANEL)) {
        panel->PanelSetStringsCallback(count, 8, UserSelectFillPanelCB, this);
        panel->PanelSetExtraRenderCallback(UserSelectPanelExtraRenderCB, m_user_screens);
    }
    EnableControls(1);
    Show(Control(ALWAYS_LOAD), count > 0);
    UserScreensCreateGraphics();
    UserScreensSetupTitleButton(Control(TITLE_PIC), 0);
    UserScreensSetupLanguageFlagButton(m_mwin, Control(LANG_FLAG));
    if (!ModulesGetParms()->no_countries)
        CountryCreateGraphics();

    char always_load = 0;
    const char loads = load_cc->IsLastUserLoadedOk(&always_load, m_country);
    const char *last = ResolutionGetSettings()->player_name;
    if (loads && Control(PANEL)) {
        for (int i = 0; i < load_cc->GetNumUserNames(); i++) {
            if (std::strcmp(load_cc->GetUserNameOrEmpty(i), last) == 0) {
                Control(PANEL)->PanelSetPos(i, 0, 0);
                Control(PANEL)->PanelCenterOnPos();
                break;
            }
        }
    }
    Show(Control(DEVICE), 0);
    if (loads && always_load == 1) {
        SplashShowAtOnce();
        EnableControls(0);
        Show(Control(ALWAYS_LOAD), 0);
        Show(Control(LANG_FLAG), 0);
        if (MWinButton *sel_text = Control(SEL_TEXT)) {
            char text[128];
            if (!EngLanguagesSetStringFromTokenWith1Arg("Users_LoadingPlayer", last, text, sizeof(text)))
                std::snprintf(text, sizeof(text), "Loading player %s...", last);
            sel_text->SetText(text);
        }
        m_wait_until = eng_main_program_time.load() + 0.1;
        SetState(1);
    }
    if (Control(NEW))
        Control(NEW)->SetText(EngLanguagesGetStringOrDefault("Users_New", "New Player"));
}

void UserSelectCC::TickCB()
{
    if (m_state == 1) {
        if (eng_main_program_time.load() >= m_wait_until)
            SetState(2);
        return;
    }
    if (m_state != 2)
        return;
    char name[RESOLUTION_PLAYER_NAME_SIZE];
    EngSafeStrcpy(name, ResolutionGetSettings()->player_name, sizeof(name));
    UserClass *player = m_game ? m_game->GetUser() : nullptr;
    if (player && player->LoadUser(name, 0, nullptr, nullptr)) {
        SetState(0);
        player->FinishLoading(0, 0);
        SplashEnd();
        return;
    }
    // Back to the choice instead of trying again every frame.
    SetState(0);
    EnableControls(1);
    Show(Control(ALWAYS_LOAD), LoadCC(this)->GetNumUserNames() > 0);
    if (Control(SEL_TEXT))
        Control(SEL_TEXT)->SetText("Select Player");
    m_mwin->PopupMessage("Error", "Unable to load user.");
}

char UserSelectCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(PANEL))
        UserSelectPanelCB(m_mwin, info, this);
    else if (button == Control(DELETE))
        UserSelectDeleteCB(m_mwin, info, this);
    else if (button == Control(NEW))
        UserSelectNewCB(m_mwin, info, this);
    else if (button == Control(EXIT))
        UserSelectExitCB(m_mwin, info, this);
    else
        return 0;
    return 1;
}

void UserSelectCC::PanelPicked()
{
    MWinButton *panel = Control(PANEL);
    if (!panel)
        return;
    // The player's tick in "AlwaysLoad" is read, not cleared with the state.
    m_state = 0;
    const char always_load = Control(ALWAYS_LOAD) && Control(ALWAYS_LOAD)->CheckboxGet();
    const int pos = panel->PanelGetPos();
    UserLoadCC *load_cc = LoadCC(this);
    if (pos < 0 || pos >= load_cc->GetNumUserNames())
        return;
    m_mwin->PopupShowMessageNow(nullptr, EngLanguagesGetStringOrDefault("Common_Loading", "Loading..."));
    UserClass *player = m_game ? m_game->GetUser() : nullptr;
    if (player && player->LoadUser(load_cc->GetUserName(pos), 0, nullptr, nullptr)) {
        player->FinishLoading(0, 0);
        if (always_load)
            player->AlwaysLoadThisUser(1);
        SplashEnd();
        return;
    }
    m_mwin->PopupMessage("Error", "Unable to load user.");
}

void UserSelectCC::NewPressed()
{
    SetState(0);
    m_screens->GotoScreen(USER_SCREEN_NEW, nullptr);
}

void UserSelectCC::ExitPressed()
{
    SetState(0);
    SplashEnd();
    EngMiscQuitMainLoop();
}

void UserSelectCC::DeletePressed()
{
    SetState(0);
    m_delete_row = 0;
    m_mwin->PopupPanel(EngLanguagesGetStringOrDefault("Users_DeleteSelect", "Select User to Delete"), nullptr,
                       LoadCC(this)->GetNumUserNames(), -1, EngMainIsPortrait() ? 560.0f : 400.0f, 300,
                       UserSelectFillPanelCB, 1, &m_delete_row_p, nullptr, UserSelectAfterDeletePanelCB, this);
}

void UserSelectCC::AfterDeletePanel(char result)
{
    SetState(0);
    m_mwin->PopupCloseIfOn();
    // A cancelled list asks nothing.
    if (result != 1 || m_delete_row < 0 || m_delete_row >= LoadCC(this)->GetNumUserNames())
        return;
    m_mwin->PopupYesNo(EngLanguagesGetStringOrDefault("UserLoad_Delete", "Delete User"),
                       EngLanguagesGetStringOrDefault("UserLoad_Confirm", "Are you sure you want to delete this user?"),
                       UserSelectAfterDeletePopupCB, this);
}

void UserSelectCC::AfterDeletePopup(char result)
{
    SetState(0);
    UserLoadCC *load_cc = LoadCC(this);
    if (result != 1 || m_delete_row < 0 || m_delete_row >= load_cc->GetNumUserNames())
        return;
    load_cc->DeletePlayer(load_cc->GetUserName(m_delete_row), 0);
    StartingCB(nullptr);
}

// ---- Free callbacks ----

namespace {

bool HasScreen(MWin *mwin, UserSelectCC *screen, const char *where)
{
    if (mwin && screen)
        return true;
    DebugErrorCode(where, 'IERR');
    return false;
}

} // namespace

void UserSelectPanelCB(MWin *mwin, _MWinButtonCallbackInfo *, UserSelectCC *screen)
{
    if (HasScreen(mwin, screen, "UserSelectPanelCB"))
        screen->PanelPicked();
}

void UserSelectNewCB(MWin *mwin, _MWinButtonCallbackInfo *, UserSelectCC *screen)
{
    if (HasScreen(mwin, screen, "UserSelectNewCB"))
        screen->NewPressed();
}

void UserSelectExitCB(MWin *mwin, _MWinButtonCallbackInfo *, UserSelectCC *screen)
{
    if (HasScreen(mwin, screen, "UserSelectExitCB"))
        screen->ExitPressed();
}

void UserSelectDeleteCB(MWin *mwin, _MWinButtonCallbackInfo *, UserSelectCC *screen)
{
    if (HasScreen(mwin, screen, "UserSelectDeleteCB"))
        screen->DeletePressed();
}

const char *UserSelectFillPanelCB(int index, MWinButton *, void *select_cc)
{
    if (!DebugCheckFatal(select_cc != nullptr, "UserSelectFillPanelCB", "No user data"))
        return "";
    const char *name = LoadCC(static_cast<UserSelectCC *>(select_cc))->GetUserName(index);
    return name ? name : "";
}

void UserSelectAfterDeletePanelCB(MWin *, char result, void *select_cc)
{
    if (DebugCheckFatal(select_cc != nullptr, "UserSelectAfterDeletePanelCB", "No user data"))
        static_cast<UserSelectCC *>(select_cc)->AfterDeletePanel(result);
}

void UserSelectAfterDeletePopupCB(MWin *, char result, void *select_cc)
{
    if (DebugCheckFatal(select_cc != nullptr, "UserSelectAfterDeletePopupCB", "No user data"))
        static_cast<UserSelectCC *>(select_cc)->AfterDeletePopup(result);
}
