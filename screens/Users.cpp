// The Players screen (see the header).
#include "screens/Users.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindow.h"
#include "engine/runtime/EngProgram.h"
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

#include <cstdio>

namespace {

const _ScreenTextStyle title_style = {"Main", 0, 0, 0, 0.7f, 0.7f, 1, MWTA_CENTER};
const _ScreenTextStyle check_style = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_CENTER};
const _ScreenTextStyle flag_style = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_RIGHT};

const _ScreenControlRow normal_rows[] = {
    {"Continue", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Continue", "Common_ButtonContinue", 215, 430, 210,
     35, &screen_menu_style, {}, 0},
    {"New", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Setup Player", "Users_New", 15, 430, 120, 35,
     &screen_menu_style, {}, 0},
    {"Manage", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Load Player", "Users_Load", 15, 385, 120, 35,
     &screen_menu_style, {}, 0},
    {"Device", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Device", "Users_Device", 505, 385, 120, 35,
     &screen_menu_style, {}, 0},
    {"Exit", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Exit Game", "Users_Exit", 505, 430, 120, 35,
     &screen_menu_style, {}, 0},
    {"TitlePic", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "", nullptr, 170, 10, 300, 90, &title_style, {}, 0},
    {"LoadProgress", SCA_BUTTON, MWBT_PUSH, "Back3", "Loading: 0%", "Common_Loading", 375, 445, 75, 30,
     &screen_menu_style, {}, 0},
    {"AlwaysLoad", SCA_BUTTON, MWBT_CHECKBOX, "MWIN_TEXBUT_NONE", "Always Load This Player:", "Users_AlwaysLoad", 215,
     410, 210, 15, &check_style, {1, 1, 1, 0.354f}, 0},
    {"LangFlag", SCA_BUTTON, MWBT_PUSH, "Main", "", nullptr, 595, 5, 40, 35, &flag_style, {}, 0},
};

// The iPhone layouts: "Continue" over a bottom row of "New" and "Manage",
// "Exit" in the top left corner.
const _ScreenControlRow iphone_rows[] = {
    {"Continue", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Continue", nullptr, 170, 350, 300, 45,
     &screen_menu_style, {}, 0},
    {"New", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Setup Player", nullptr, 170, 420, 145, 45,
     &screen_menu_style, {}, 0},
    {"Manage", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Load Player", "Users_Load", 325, 420, 145, 45,
     &screen_menu_style, {}, 0},
    {"Device", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Device", "Users_Device", 505, 5, 120, 35,
     &screen_menu_style, {}, 0},
    {"Exit", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Exit Game", "Users_Exit", 5, 5, 100, 35,
     &screen_menu_style, {}, 0},
    {"TitlePic", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "", nullptr, 170, 45, 300, 90, &title_style, {}, 0},
    {"LoadProgress", SCA_BUTTON, MWBT_PUSH, "Back1", "Loading: 0%", "Common_Loading", 370, 360, 90, 30,
     &screen_menu_style, {}, 0},
    {"AlwaysLoad", SCA_BUTTON, MWBT_CHECKBOX, "MWIN_TEXBUT_NONE", "Always Load This Player:", "Users_AlwaysLoad", 170,
     325, 300, 20, &check_style, {1, 1, 1, 0.354f}, 0},
    {"LangFlag", SCA_BUTTON, MWBT_PUSH, "Main", "", nullptr, 595, 5, 40, 35, &flag_style, {}, 0},
};

// The iPad layouts: the Normal places with "Exit" in the top left corner.
const _ScreenControlRow ipad_rows[] = {
    normal_rows[0], normal_rows[1], normal_rows[2], normal_rows[3],
    {"Exit", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Exit Game", nullptr, 5, 5, 80, 35, &screen_menu_style,
     {}, 0},
    normal_rows[5], normal_rows[6], normal_rows[7], normal_rows[8],
};

const _ScreenWindowRow windows[] = {
    {"MainWin", 0, 0, 640, 480, nullptr, {normal_rows, iphone_rows, iphone_rows, ipad_rows, ipad_rows},
     UsersCollectionController::NUM_CONTROLS},
};
static_assert(sizeof(normal_rows) / sizeof(normal_rows[0]) == UsersCollectionController::NUM_CONTROLS, "rows");
static_assert(sizeof(iphone_rows) / sizeof(iphone_rows[0]) == UsersCollectionController::NUM_CONTROLS, "rows");
static_assert(sizeof(ipad_rows) / sizeof(ipad_rows[0]) == UsersCollectionController::NUM_CONTROLS, "rows");

const char *where_start = "UsersCC::StartingCB";

void Show(MWinButton *control, char on)
{
    if (!control)
        return;
    if (on)
        control->m_shown = 1;
    else
        control->Hide();
}

// The Players screen's splash stays until the player leaves the screen.
char HoldForever(double, void *) { return 0; }

float BottomOf(MWinButton *control, float otherwise)
{
    _Dimension dim;
    return control && control->GetDimension(&dim) ? dim.y + dim.h : otherwise;
}

float TopOf(MWinButton *control, float otherwise)
{
    _Dimension dim;
    return control && control->GetDimension(&dim) ? dim.y : otherwise;
}

} // namespace

UsersCollectionController::UsersCollectionController(MWinScreens *screens)
    : ScreenController(screens, "UsersCollectionController", "Users", windows, 1)
{
}

UsersCC::UsersCC(MWinScreens *screens, UserScreens *user_screens)
    : UsersCollectionController(screens), m_user_screens(user_screens), m_country{}, m_continue_time(0)
{
    DebugCheckFatal(user_screens != nullptr, "UsersCC::UsersCC", "No user screens");
}

void UsersCC::StartingCB(void *)
{
    // A tablet chooses its player on the select screen.
    if (EngMiscIsTabletPlatform()) {
        m_screens->GotoScreen(USER_SCREEN_SELECT, nullptr);
        return;
    }
    m_continue_time = 0;
    if (!ModulesGetItemCallback()) {
        DebugError(where_start, "Users module is not setup");
        return;
    }
    SetAlwaysLoad(0);
    MWinButton *cont = Control(CONTINUE);
    MWinButton *progress = Control(LOAD_PROGRESS);
    if (!cont) {
        DebugError(where_start, "No continue button.");
    } else {
        cont->SetExtraRenderCallback(UsersControlContinueExtraRenderCB, 0, this);
        if (!progress) {
            DebugError(where_start, "No load progress button.");
        } else {
            _Dimension dim;
            cont->GetDimension(&dim);
            progress->SetPosAndSize(dim.x - 1, dim.y - 1, dim.w + 2, dim.h + 2);
        }
    }

    UserLoadCC *load_cc = m_user_screens->GetUserLoadCC();
    if (!load_cc)
        DebugError(where_start, "No ul_cc.");
    else
        load_cc->SetupUserNameList();
    if (!load_cc || !Control(MANAGE))
        DebugError(where_start, "No manage button");
    else
        Control(MANAGE)->SetEnabled(load_cc->GetNumUserNames() > 0);

    char always_load = 0;
    m_country[0] = 0;
    const char loads = load_cc && load_cc->IsLastUserLoadedOk(&always_load, m_country);
    if (cont) {
        if (loads) {
            char text[128];
            std::snprintf(text, sizeof(text), "%s: %s",
                          EngLanguagesGetStringOrDefault("Users_ContinuePlayer", "Continue Player"),
                          ResolutionGetSettings()->player_name);
            cont->SetText(text);
        } else {
            cont->SetText(EngLanguagesGetStringOrDefault("Users_ContinuePlayer", "Continue User"));
        }
        Show(cont, loads);
    }
    if (!Control(ALWAYS_LOAD))
        DebugError(where_start, "No always load button");
    Show(Control(ALWAYS_LOAD), loads);
    if (Control(NEW))
        Control(NEW)->SetText(EngLanguagesGetStringOrDefault("Users_New", "New Player"));

    if (!SplashIsOn() && ModulesGetParms()->show_splash) {
        // Centred between the logo and the always-load box, square.
        const float top = BottomOf(Control(TITLE_PIC), 0);
        const float bottom = TopOf(Control(ALWAYS_LOAD), 480);
        const float w = 240 * eng_font_scale_x;
        if (SplashSetup(nullptr, "Data/1610.dat", nullptr, nullptr, 0, 0, nullptr, HoldForever, nullptr, this)) {
            SplashSetArea(320 - w / 2, (top + bottom) / 2 - 120, w, 240, 1);
            SplashStart();
            SplashShowAtOnce();
        }
    }
    if (!ModulesGetParms()->no_countries)
        CountryCreateGraphics();
    UserScreensCreateGraphics();
    UserScreensSetupTitleButton(Control(TITLE_PIC), 1);
    UserScreensSetupLanguageFlagButton(m_mwin, Control(LANG_FLAG));
    Show(progress, 0);
    Show(Control(DEVICE), 0);

    if (loads && always_load == 1) {
        for (Row row : {MANAGE, EXIT, DEVICE, NEW, CONTINUE, LANG_FLAG})
            Show(Control(row), 0);
        SetAlwaysLoad(1);
        Show(Control(ALWAYS_LOAD), 0);
        SplashShowAtOnce();
        m_continue_time = eng_main_program_time.load() + 0.1;
    } else {
        SetAlwaysLoad(0);
    }
}

void UsersCC::TickCB()
{
    if (m_screens->GetCurrentScreen() != USER_SCREEN_USERS)
        return;
    SplashTick();
    if (m_continue_time > 0 && eng_main_program_time.load() >= m_continue_time) {
        m_continue_time = 0;
        ContinueCB();
    }
}

void UsersCC::RenderCB(int pass)
{
    if (pass == 1 && m_screens->GetCurrentScreen() == USER_SCREEN_USERS)
        SplashRender(0);
}

char UsersCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(CONTINUE)) {
        ContinueCB();
    } else if (button == Control(NEW)) {
        NewCB();
    } else if (button == Control(MANAGE)) {
        LoadCB();
    } else if (button == Control(EXIT)) {
        SplashEnd();
        EngMiscQuitMainLoop();
    } else {
        return 0;
    }
    return 1;
}

void UsersCC::NewCB()
{
    SplashEnd();
    m_screens->GotoScreen(USER_SCREEN_NEW, nullptr);
}

void UsersCC::LoadCB()
{
    SplashEnd();
    m_screens->GotoScreen(USER_SCREEN_LOAD, nullptr);
}

void UsersCC::SetAlwaysLoad(char on)
{
    if (Control(ALWAYS_LOAD))
        Control(ALWAYS_LOAD)->CheckboxSet(on, 0);
}

void UsersCC::ContinueCB()
{
    const char always_load = Control(ALWAYS_LOAD) && Control(ALWAYS_LOAD)->CheckboxGet();
    // A full load empties the name in the settings: keep it apart.
    char name[RESOLUTION_PLAYER_NAME_SIZE];
    EngSafeStrcpy(name, ResolutionGetSettings()->player_name, sizeof(name));
    UserClass *player = m_game ? m_game->GetUser() : nullptr;
    if (player && player->LoadUser(name, 0, nullptr, nullptr)) {
        if (!player->IsLoaded()) {
            DebugError("UsersCC::ContinueCB", "User is not loaded.");
            return;
        }
        player->FinishLoading(0, 0);
        if (always_load)
            player->AlwaysLoadThisUser(1);
        SplashEnd();
        return;
    }
    if (!eng_main_program)
        return;
    if (Control(MANAGE))
        Control(MANAGE)->Enable();
    for (Row row : {EXIT, NEW, CONTINUE})
        Show(Control(row), 1);
}

void UsersControlContinueExtraRenderCB(MWinButton *button, _Dimension *rect, _MWinTextureState, int, void *users_cc)
{
    if (!DebugCheckFatal(users_cc != nullptr, "UsersControlContinueExtraRenderCB", "No user data"))
        return;
    const UsersCC *screen = static_cast<UsersCC *>(users_cc);
    if (!screen->m_country[0])
        return;
    if (button)
        button->TurnOffCrop();
    CountryDrawFlagBesideButton(CountryGetCountryNumFromCode(screen->m_country, 1), rect);
    if (button)
        button->TurnOnCrop();
}
