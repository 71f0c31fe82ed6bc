// The new-player screen and the name check (see the header).
#include "screens/UserNew.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "game/Game.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "modules/Countries.h"
#include "modules/ModulesHooks.h"
#include "modules/Splash.h"
#include "modules/UserClass.h"
#include "screens/UserScreens.h"

#include <cstring>

namespace {

// Characters a name may not hold (the tab among them).
const char refused_characters[] = "\t{}[]|\\/!@#$%^&*()_+:;\"'<>,?";

// Texts a name may not contain, in any case.
const char *const refused_texts[] = {"lichenware", "lichen ware", "lwmonitor", "lw monitor", "unset",
                                     "unselected", "not selected", "fuck", "shit", "cunt",
                                     "whore", "bastard", "fart"};

// At most this many of each of these characters.
const char counted_characters[] = ". -";
const int most_of_each = 2;

const _ScreenTextStyle label_style = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_RIGHT};
const _ScreenTextStyle title_style = {"Main", 0, 0, 0, 0.7f, 0.7f, 1, MWTA_CENTER};
const _ScreenTextStyle mobile_label_style = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_LEFT};

const _ScreenControlRow normal_rows[] = {
    {"Name", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "", nullptr, 210, 200, 220, 35, &screen_menu_style, {}, 0},
    {"Back", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Back", "Common_ButtonGoBack", 535, 430, 90, 35,
     &screen_menu_style, {}, 0},
    {"NameText", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "User Name", "UserNew_NameText", 90, 200, 113, 35,
     &label_style, {}, 0},
    {"Country", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "", nullptr, 210, 275, 220, 35, &screen_menu_style,
     {}, 0},
    {"CountryText", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "Country", "UserNew_CountryText", 90, 275, 113, 35,
     &label_style, {}, 0},
    {"Continue", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Continue", "UserNew_Continue", 245, 430, 150, 35,
     &screen_menu_style, {}, 0},
    {"TarTextPic", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 170, 10, 300, 90, &title_style, {}, 0},
};

// The mobile layouts: labels on the left over wider rows, no keys.
const _ScreenControlRow mobile_rows[] = {
    {"Name", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "", nullptr, 60, 180, 520, 45, &screen_menu_style, {}, 0},
    {"Back", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Back", nullptr, 510, 420, 110, 45, &screen_menu_style,
     {}, 0},
    {"NameText", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "User Name", nullptr, 60, 145, 200, 30,
     &mobile_label_style, {}, 0},
    {"Country", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "", nullptr, 60, 290, 520, 45, &screen_menu_style,
     {}, 0},
    {"CountryText", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "Country", nullptr, 60, 255, 200, 30,
     &mobile_label_style, {}, 0},
    {"Continue", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Continue", nullptr, 230, 420, 180, 45,
     &screen_menu_style, {}, 0},
    {"TarTextPic", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 170, 10, 300, 90, &title_style, {}, 0},
};

const _ScreenWindowRow windows[] = {
    {"MainWin", 0, 0, 640, 480, nullptr, {normal_rows, mobile_rows, mobile_rows, mobile_rows, mobile_rows},
     UserNewCollectionController::NUM_CONTROLS},
};
static_assert(sizeof(normal_rows) / sizeof(normal_rows[0]) == UserNewCollectionController::NUM_CONTROLS, "rows");
static_assert(sizeof(mobile_rows) / sizeof(mobile_rows[0]) == UserNewCollectionController::NUM_CONTROLS, "rows");

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char *NameRefusedText(char too_long)
{
    return too_long ? "UserNew_NameTooLong" : "UserNew_InvalidPlayerName";
}

const char *AlreadyExistsText()
{
    return EngLanguagesGetStringOrDefault("UserNew_ThatPlayerAlreadyExists", "That user already exists");
}

bool PlayerFileExists(const char *name)
{
    char path[USER_FILENAME_SIZE];
    return UserGetUserFileName(name, path, nullptr) && EngFileExists(path, 0);
}

} // namespace

char UserNewIsNameValid(const char *name, int max_len, char *out_too_long)
{
    if (out_too_long)
        *out_too_long = 0;
    if (!name || !name[0] || IsBlank(name[0]))
        return 0;
    const int length = static_cast<int>(std::strlen(name));
    if (length >= max_len) {
        if (out_too_long)
            *out_too_long = 1;
        return 0;
    }
    if (IsBlank(name[length - 1]))
        return 0;
    if (std::strpbrk(name, refused_characters))
        return 0;
    char copy[256];
    EngSafeStrcpy(copy, name, sizeof(copy));
    for (const char *text : refused_texts)
        if (EngStrIStr(copy, text, 0))
            return 0;
    for (const char *counted = counted_characters; *counted; counted++) {
        int count = 0;
        for (const char *c = name; *c; c++)
            count += *c == *counted;
        if (count > most_of_each)
            return 0;
    }
    // A name the file layer cannot store ("." or "..") would be played and
    // never saved.
    return UserIsNameUsableForFile(name);
}

const char *UserNewRefusedNameMessage(char too_long)
{
    return EngLanguagesGetStringOrDefault(NameRefusedText(too_long), "Invalid Player Name");
}

UserNewCollectionController::UserNewCollectionController(MWinScreens *screens)
    : ScreenController(screens, "UserNewCollectionController", "UserNew", windows, 1)
{
}

UserNewCC::UserNewCC(MWinScreens *screens, UserScreens *user_screens)
    : UserNewCollectionController(screens), m_user_screens(user_screens), m_name{}, m_prev_name{}, m_started(0),
      m_country_num(-1), m_countdown(0)
{
    DebugCheckFatal(user_screens != nullptr, "UserNewCC::UserNewCC", "No user screens");
}

void UserNewCC::ShowName()
{
    if (Control(NAME))
        Control(NAME)->SetText(m_name);
}

void UserNewCC::StartingCB(void *)
{
    if (Control(BACK))
        Control(BACK)->SetEscapeButtonForParentWindow();
    ShowName();
    if (!CountryGetChosenCountryCode()[0])
        CountrySetChosenCountryCode(CountryGetLocalCountryCode());
    const char *code = CountryGetChosenCountryCode();
    m_country_num = CountryGetCountryNumFromCode(code, 1);
    if (MWinButton *country = Control(COUNTRY)) {
        country->SetText(CountryGetCountryNameFromCode(code));
        country->SetExtraRenderCallback(UserNewCountyButtonExtraRenderCB, 0, this);
    }
    UserScreensCreateGraphics();
    UserScreensSetupTitleButton(Control(TAR_TEXT_PIC), 0);
    if (!ModulesGetParms()->no_countries) {
        CountryCreateGraphics();
    } else {
        for (Row row : {COUNTRY, COUNTRY_TEXT})
            if (Control(row))
                Control(row)->Hide();
    }
    if (m_started)
        return;
    m_started = 1;
    EngMiscGetDefaultUsersName(m_name, NAME_LIMIT);
    if (m_name[0] && (!UserIsNameUsableForFile(m_name) || PlayerFileExists(m_name)))
        m_name[0] = 0;
    if (m_name[0])
        ShowName();
    else
        AskForName();
}

void UserNewCC::TickCB()
{
    if (m_countdown > 1) {
        m_countdown--;
        return;
    }
    if (m_countdown != 1)
        return;
    m_countdown = 0;
    char too_long = 0;
    if (!UserNewIsNameValid(m_name, NAME_LIMIT, &too_long)) {
        m_mwin->PopupShowTimedMessage(nullptr, EngLanguagesGetStringOrDefault(NameRefusedText(too_long),
                                                                              "Invalid user name"),
                                      2, 0);
        m_name[0] = 0;
    } else if (PlayerFileExists(m_name)) {
        m_mwin->PopupShowTimedMessage(nullptr, AlreadyExistsText(), 2, 0);
        m_name[0] = 0;
    }
    ShowName();
}

char UserNewCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(NAME))
        AskForName();
    else if (button == Control(COUNTRY))
        CountryCB();
    else if (button == Control(CONTINUE))
        CreatePlayer(0);
    else if (button == Control(BACK))
        BackCB();
    else
        return 0;
    return 1;
}

void UserNewCC::AskForName()
{
    EngSafeStrcpy(m_prev_name, m_name, sizeof(m_prev_name));
    m_name[0] = 0;
    m_mwin->PopupGetTextSetEntryMode(0, 0, 1);
    m_mwin->PopupGetText(nullptr, EngLanguagesGetStringOrDefault("UserNew_EnterAPlayerName", "Enter name:"), m_name,
                         NAME_LIMIT, UserNewAfterNamePopupCB, this);
}

void UserNewAfterNamePopupCB(MWin *, char result, void *new_cc)
{
    if (!DebugCheckFatal(new_cc != nullptr, "UserNewAfterNamePopupCB", "No user data"))
        return;
    static_cast<UserNewCC *>(new_cc)->AfterNamePopup(result);
}

void UserNewCC::AfterNamePopup(char result)
{
    if (result == 1) {
        // Checked on the fifth frame, once the popup has gone from the screen.
        m_countdown = 5;
        return;
    }
    EngSafeStrcpy(m_name, m_prev_name, NAME_LIMIT);
    ShowName();
}

void UserNewCC::CreatePlayer(char from_reset)
{
    char too_long = 0;
    if (!UserNewIsNameValid(m_name, NAME_LIMIT, &too_long)) {
        m_mwin->PopupMessage(nullptr, UserNewRefusedNameMessage(too_long));
        return;
    }
    // The name may have a player since it was entered (the screen keeps it
    // between visits): only the load-player screen's Reset makes a record
    // over an existing name.
    if (!from_reset && PlayerFileExists(m_name)) {
        m_mwin->PopupMessage(nullptr, AlreadyExistsText());
        return;
    }
    UserClass *player = m_game ? m_game->GetUser() : nullptr;
    if (!player || !player->CreateNewUser(m_name, CountryGetChosenCountryCode(), from_reset))
        return;
    player->FinishLoading(1, from_reset);
    SplashEnd();
}

char UserNewCC::ResetAndLoadUser(const char *name)
{
    if (!name) {
        DebugErrorCode("UserNewCC::ResetAndLoadUser", 'BAPA');
        return 0;
    }
    EngSafeStrcpy(m_name, name, NAME_LIMIT);
    ShowName();
    if (m_mwin->IsPopupOn())
        m_mwin->PopupCloseIfOn();
    CreatePlayer(1);
    return 1;
}

void UserNewCC::CountryCB()
{
    CountrySetContinueCallback(nullptr, nullptr);
    m_screens->GotoScreen(USER_SCREEN_COUNTRY, nullptr);
}

void UserNewCC::BackCB() { m_screens->GoBack(); }

void UserNewCC::DrawCountryFlag(_Dimension *rect)
{
    if (eng_device)
        CountryDrawFlagOnRightSideOfButton(m_country_num, rect);
}

void UserNewCountyButtonExtraRenderCB(MWinButton *, _Dimension *rect, _MWinTextureState, int, void *new_cc)
{
    if (!DebugCheckFatal(new_cc != nullptr, "UserNewCountyButtonExtraRenderCB", "No user data"))
        return;
    static_cast<UserNewCC *>(new_cc)->DrawCountryFlag(rect);
}
