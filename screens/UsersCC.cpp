// The Players screen (see the header).
#include "screens/UsersCC.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngPicture.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindow.h"
#include "game/Game.h"
#include "game/HW_Screens.h"
#include "game/Program.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinScreens.h"
#include "modules/ModulesHooks.h"
#include "modules/Resolution.h"
#include "modules/Splash.h"
#include "modules/UserClass.h"

#include <cstring>
#include <memory>

namespace {

enum UsersRow { CONTINUE, NEW, MANAGE, DEVICE, EXIT, TITLE_PIC, LOAD_PROGRESS, ALWAYS_LOAD, LANG_FLAG, USERS_ROWS };

const _ScreenTextStyle kTitleStyle = {"Main", 0, 0, 0, 0.7f, 0.7f, 1, MWTA_CENTER};
const _ScreenTextStyle kAlwaysLoadStyle = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_CENTER};
const _ScreenTextStyle kFlagStyle = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_RIGHT};

const _ScreenControlRow kUsersRows[USERS_ROWS] = {
    {"Continue", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Continue", "Common_ButtonContinue", 215, 430, 210, 35,
     &screen_menu_style, {0, 0, 0, 0}, 0},
    {"New", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Setup Player", "Users_New", 15, 430, 120, 35,
     &screen_menu_style, {0, 0, 0, 0}, 0},
    {"Manage", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Load Player", "Users_Load", 15, 385, 120, 35,
     &screen_menu_style, {0, 0, 0, 0}, 0},
    {"Device", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Device", "Users_Device", 505, 385, 120, 35,
     &screen_menu_style, {0, 0, 0, 0}, 0},
    {"Exit", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Exit Game", "Users_Exit", 505, 430, 120, 35,
     &screen_menu_style, {0, 0, 0, 0}, 0},
    {"TitlePic", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "", nullptr, 170, 10, 300, 90, &kTitleStyle,
     {0, 0, 0, 0}, 0},
    {"LoadProgress", SCA_BUTTON, MWBT_PUSH, "Back3", "Loading: 0%", "Common_Loading", 375, 445, 75, 30,
     &screen_menu_style, {0, 0, 0, 0}, 0},
    {"AlwaysLoad", SCA_BUTTON, MWBT_CHECKBOX, "MWIN_TEXBUT_NONE", "Always Load This Player:", "Users_AlwaysLoad",
     215, 410, 210, 15, &kAlwaysLoadStyle, {1, 1, 1, 0.354f}, 0},
    {"LangFlag", SCA_BUTTON, MWBT_PUSH, "Main", "", nullptr, 595, 5, 40, 35, &kFlagStyle, {0, 0, 0, 0}, 0},
};

const _ScreenWindowRow kUsersWindows[] = {
    {"MainWin", 0, 0, 640, 480, nullptr, {kUsersRows, nullptr, nullptr, nullptr, nullptr}, USERS_ROWS},
};

// The splash's hold never ends by itself: leaving the screen ends it.
char HoldForever(double, void *)
{
    return 0;
}

std::unique_ptr<UsersCC> users_cc;
std::unique_ptr<EngPicture> logo;

// The game's logo, shared by the player screens.
void LoadLogo()
{
    if (!logo)
        logo.reset(new EngPicture());
    if (logo->AreGraphicsCreated())
        return;
    if (logo->LoadFromFile(nullptr, ModulesGetItemFilename(MI_LOGO_PICTURE), 0))
        logo->CreateGraphics();
}

} // namespace

UsersCC::UsersCC(MWinScreens *screens)
    : ScreenController(screens, "UsersCollectionController", "Users", kUsersWindows, 1), m_country{},
      m_continue_time(0)
{
}

void UsersCC::StartingCB(void *)
{
    const char *where = "UsersCC::StartingCB";
    m_continue_time = 0;
    if (MWinButton *always = Control(ALWAYS_LOAD))
        always->CheckboxSet(0, 0);
    // The load-player and new-player screens are not in the program yet.
    if (Control(MANAGE))
        Control(MANAGE)->Disable();
    if (Control(NEW)) {
        Control(NEW)->SetText(EngLanguagesGetStringOrDefault("Users_New", "New Player"));
        Control(NEW)->Disable();
    }

    // The last player, when that player's file can be loaded.
    const char *last = ResolutionGetSettings()->player_name;
    char always_load = 0;
    m_country[0] = 0;
    UserClass *user = main_game ? main_game->GetUser() : nullptr;
    bool can_continue = last[0] && user && user->LoadUser(last, 1, &always_load, m_country);
    if (MWinButton *cont = Control(CONTINUE)) {
        if (can_continue) {
            cont->SetTextPrintf("%s: %s", EngLanguagesGetStringOrDefault("Users_ContinuePlayer", "Continue Player"),
                                last);
        } else {
            cont->SetText(EngLanguagesGetStringOrDefault("Users_ContinuePlayer", "Continue User"));
            cont->Hide();
        }
    } else {
        DebugError(where, "No continue button.");
    }
    if (!can_continue && Control(ALWAYS_LOAD))
        Control(ALWAYS_LOAD)->Hide();

    if (!SplashIsOn() && ModulesGetParms()->show_splash) {
        float top = Control(TITLE_PIC) ? 10 + 90 : 0;
        float bottom = Control(ALWAYS_LOAD) ? 410 : 480;
        float w = 240 * eng_font_scale_x;
        if (SplashSetup(nullptr, "Data/1610.dat", nullptr, nullptr, 0, 0, nullptr, HoldForever, nullptr, this)) {
            SplashSetArea(320 - w / 2, (top + bottom) / 2 - 120, w, 240, 1);
            SplashStart();
            SplashShowAtOnce();
        }
    }

    LoadLogo();
    if (Control(TITLE_PIC) && logo && logo->AreGraphicsCreated()) {
        Control(TITLE_PIC)->SetBackTexButToNone();
        Control(TITLE_PIC)->PictureAttachPictureToButton(logo.get(), 1);
    }
    for (int row : {LOAD_PROGRESS, DEVICE, LANG_FLAG})
        if (Control(row))
            Control(row)->Hide();

    if (can_continue && always_load) {
        for (int row : {MANAGE, EXIT, NEW, CONTINUE})
            if (Control(row))
                Control(row)->Hide();
        if (Control(ALWAYS_LOAD)) {
            Control(ALWAYS_LOAD)->CheckboxSet(1, 0);
            Control(ALWAYS_LOAD)->Hide();
        }
        SplashShowAtOnce();
        m_continue_time = EngMainUpdateProgramTime() + 0.1;
    }
}

void UsersCC::TickCB()
{
    if (m_screens->GetCurrentScreen() != USERS_SCREEN_ID)
        return;
    SplashTick();
    if (m_continue_time > 0 && EngMainUpdateProgramTime() >= m_continue_time) {
        m_continue_time = 0;
        ContinueCB();
    }
}

void UsersCC::RenderCB(int pass)
{
    if (pass == 1 && m_screens->GetCurrentScreen() == USERS_SCREEN_ID)
        SplashRender(0);
}

char UsersCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(CONTINUE)) {
        ContinueCB();
        return 1;
    }
    if (button == Control(EXIT)) {
        SplashEnd();
        EngMiscQuitMainLoop();
        return 1;
    }
    return 0;
}

void UsersCC::ContinueCB()
{
    UserClass *user = main_game ? main_game->GetUser() : nullptr;
    if (!user)
        return;
    char always = Control(ALWAYS_LOAD) && Control(ALWAYS_LOAD)->CheckboxGet();
    char always_load = 0;
    char country[8] = "";
    if (!user->LoadUser(ResolutionGetSettings()->player_name, 0, &always_load, country))
        return;
    if (!user->IsLoaded()) {
        DebugError("UsersCC::ContinueCB", "User is not loaded.");
        return;
    }
    user->FinishLoading(0, 0);
    if (always)
        user->AlwaysLoadThisUser(0);
    SplashEnd();
}

// ---- The player screens' set ----

char UserScreensRegister(MWinScreens *screens, char)
{
    users_cc.reset(new UsersCC(screens));
    return screens->AddScreen(USERS_SCREEN_ID, users_cc.get());
}

void UserScreensStartFirst()
{
    if (main_game)
        main_game->GetScreens()->StartScreen(USERS_SCREEN_ID, -1);
}

char UserScreensIsOn()
{
    return main_game && main_game->GetScreens()->GetCurrentScreen() == USERS_SCREEN_ID;
}

char UserScreensMakeGraphics()
{
    LoadLogo();
    return SplashCreateGraphics();
}

void UserScreensReleaseGraphics()
{
    SplashDestroyGraphics();
    if (logo)
        logo->Destroy();
}

void UserScreensDelete()
{
    users_cc.reset();
    logo.reset();
}
