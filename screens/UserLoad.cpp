// The load-player screen and the list of saved players (see the header).
#include "screens/UserLoad.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngPrefs.h"
#include "game/Game.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "modules/Countries.h"
#include "modules/ModulesHooks.h"
#include "modules/Resolution.h"
#include "modules/Splash.h"
#include "modules/UserClass.h"
#include "screens/UserNew.h"
#include "screens/UserScreens.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

const _ScreenTextStyle small_style = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_CENTER};

const _ScreenControlRow normal_rows[] = {
    {"Panel", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", "", nullptr, 200, 145, 240, 230, &screen_menu_style, {}, 0},
    {"Load", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Load User", "UserLoad_Load", 455, 145, 100, 35,
     &screen_menu_style, {}, 0},
    {"Back", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Back", "Common_ButtonGoBack", 535, 430, 90, 35,
     &screen_menu_style, {}, 0},
    {"TarTextPic", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 170, 10, 300, 90, &screen_menu_style, {}, 0},
    {"LoadProgress", SCA_BUTTON, MWBT_PUSH, "Back1", "Loading: 0%", nullptr, 200, 430, 240, 35, &screen_menu_style,
     {}, 0},
    {"Settings", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Settings", nullptr, 30, 340, 100, 35, &small_style,
     {}, 0},
    {"Delete", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Delete User", "UserLoad_Delete", 100, 145, 85, 30,
     &small_style, {}, 0},
};

// The mobile layouts: the buttons in a row under a wider panel, no keys.
const _ScreenControlRow mobile_rows[] = {
    {"Panel", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", "", nullptr, 120, 110, 400, 270, &screen_menu_style, {}, 0},
    {"Load", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Load User", nullptr, 120, 395, 90, 40, &screen_menu_style,
     {}, 0},
    {"Back", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Back", nullptr, 430, 395, 90, 40, &screen_menu_style, {}, 0},
    {"TarTextPic", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 170, 10, 300, 90, &screen_menu_style, {}, 0},
    {"LoadProgress", SCA_BUTTON, MWBT_PUSH, "Back1", "Loading: 0%", nullptr, 200, 440, 240, 35, &screen_menu_style,
     {}, 0},
    {"Settings", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Settings", nullptr, 327, 395, 90, 40, &small_style,
     {}, 0},
    {"Delete", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Delete", nullptr, 223, 395, 90, 40, &small_style, {}, 0},
};

const _ScreenWindowRow windows[] = {
    {"MainWin", 0, 0, 640, 480, nullptr, {normal_rows, mobile_rows, mobile_rows, mobile_rows, mobile_rows},
     UserLoadCollectionController::NUM_CONTROLS},
};
static_assert(sizeof(normal_rows) / sizeof(normal_rows[0]) == UserLoadCollectionController::NUM_CONTROLS, "rows");
static_assert(sizeof(mobile_rows) / sizeof(mobile_rows[0]) == UserLoadCollectionController::NUM_CONTROLS, "rows");

// A player file of the Users folder: at least "x.usr", ending exactly ".usr".
char PlayerFileFilterCB(int, const char *name, const char *, void *)
{
    const size_t length = std::strlen(name);
    return length >= 5 && std::strcmp(name + length - 4, ".usr") == 0;
}

void SetEnabled(MWinButton *control, char on)
{
    if (control)
        control->SetEnabled(on);
}

void Hide(MWinButton *control)
{
    if (control)
        control->Hide();
}

UserClass *GamePlayer(Game *game) { return game ? game->GetUser() : nullptr; }

} // namespace

UserLoadCollectionController::UserLoadCollectionController(MWinScreens *screens)
    : ScreenController(screens, "UserLoadCollectionController", "UserLoad", windows, 1)
{
}

UserLoadCC::UserLoadCC(MWinScreens *screens, UserScreens *user_screens)
    : UserLoadCollectionController(screens), m_user_screens(user_screens)
{
    DebugCheckFatal(user_screens != nullptr, "UserLoadCC::UserLoadCC", "No user screens");
}

UserLoadCC::~UserLoadCC() { FreeUserNameList(); }

// ---- The list of saved players ----

void UserLoadCC::SetupUserNameList()
{
    FreeUserNameList();
    const char *folder = PrefFolderGetSubFolder("Users", 0);
    if (!EngFileDirectoryExists(folder))
        return;
    DirList list;
    if (!list.OpenDir(folder, PlayerFileFilterCB, nullptr))
        return;
    if (!list.PrepareToGetFilenamesInDir()) {
        list.CloseDir();
        return;
    }
    for (const char *file = list.GetNextFilenameInDir(); file[0]; file = list.GetNextFilenameInDir()) {
        const size_t name_length = std::strlen(file) - 4;
        if (name_length >= USER_LIST_NAME_SIZE) {
            DebugInfo("Player file <%s> skipped: its name is too long.", file);
            continue;
        }
        _UserListEntry entry;
        std::memset(&entry, 0, sizeof(entry));
        std::memcpy(entry.name, file, name_length);
        std::unique_ptr<UserClass> check(new (std::nothrow) UserClass(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN));
        if (check) {
            char always_load = 0;
            char country[USER_COUNTRY_SIZE] = "";
            if (check->LoadUser(entry.name, 1, &always_load, country))
                EngSafeStrcpy(entry.country, country, sizeof(entry.country));
        } else {
            DebugErrorCode("UserLoadCC::SetupUserNameList", 'OMEM');
        }
        m_names.AddEntry(&entry, sizeof(entry));
    }
    list.CleanupAfterGettingFilenamesInDir();
    list.CloseDir();
}

int UserLoadCC::GetNumUserNames() const { return m_names.GetNumEntries(); }

const _UserListEntry *UserLoadCC::Entry(int index) const
{
    return static_cast<const _UserListEntry *>(m_names.GetEntryData(index, nullptr));
}

const char *UserLoadCC::GetUserName(int index) const
{
    const _UserListEntry *entry = Entry(index);
    return entry ? entry->name : nullptr;
}

const char *UserLoadCC::GetUserNameOrEmpty(int index) const
{
    return index >= 0 && index < GetNumUserNames() ? Entry(index)->name : "";
}

const char *UserLoadCC::GetUserCountryOrEmpty(int index) const
{
    return index >= 0 && index < GetNumUserNames() ? Entry(index)->country : "";
}

void UserLoadCC::FreeUserNameList() { m_names.RemoveAllEntries(); }

char UserLoadCC::IsLastUserLoadedOk(char *out_always_load, char *out_country)
{
    SetupUserNameList();
    const char *name = ResolutionGetSettings()->player_name;
    if (!name[0])
        return 0;
    std::unique_ptr<UserClass> check(new (std::nothrow) UserClass(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN));
    if (!check) {
        DebugErrorCode("UserLoadCC::IsLastUserLoadedOk", 'OMEM');
        return 0;
    }
    return check->LoadUser(name, 1, out_always_load, out_country);
}

char UserLoadCC::DeletePlayer(const char *name, char reset_only)
{
    if (!UserDeleteUser(name, reset_only))
        return 0;
    // The player may still be loaded (after "Change Player"): it goes unsaved,
    // or the exit would write it back, and the start-up settings stop
    // offering to continue with it.
    UserClass *player = GamePlayer(m_game);
    if (player && player->IsLoaded() && std::strcmp(player->GetInfo()->name, name) == 0)
        player->UnloadUser();
    _ResolutionSettings *settings = ResolutionGetSettings();
    if (std::strcmp(settings->player_name, name) == 0) {
        settings->player_name[0] = 0;
        ResolutionSaveSettings();
    }
    return 1;
}

void UserLoadCC::DeleteSelectedUser(char reset_only)
{
    MWinButton *panel = Control(PANEL);
    const char *name = panel ? GetUserName(panel->PanelGetPos()) : nullptr;
    if (name)
        DeletePlayer(name, reset_only);
    StartingCB(nullptr);
}

const char *UserLoadFillPanelCB(int index, MWinButton *, void *load_cc)
{
    if (!DebugCheckFatal(load_cc != nullptr, "UserLoadFillPanelCB", "No user data"))
        return "";
    return static_cast<UserLoadCC *>(load_cc)->GetUserNameOrEmpty(index);
}

// ---- The screen ----

void UserLoadCC::StartingCB(void *)
{
    if (Control(BACK))
        Control(BACK)->SetEscapeButtonForParentWindow();
    SetupUserNameList();
    const int count = GetNumUserNames();
    if (MWinButton *panel = Control(PANEL)) {
        panel->PanelSetStringsCallback(count, 7, UserLoadFillPanelCB, this);
        panel->PanelSetExtraRenderCallback(UserSelectPanelExtraRenderCB, m_user_screens);
    }
    for (Row row : {PANEL, LOAD, SETTINGS, DELETE})
        SetEnabled(Control(row), count > 0);
    Hide(Control(SETTINGS));
    UserScreensCreateGraphics();
    UserScreensSetupTitleButton(Control(TAR_TEXT_PIC), 0);
    if (!ModulesGetParms()->no_countries)
        CountryCreateGraphics();
    Hide(Control(LOAD_PROGRESS));
}

char UserLoadCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(PANEL) || button == Control(SETTINGS))
        return 1;
    if (button == Control(DELETE))
        AskToDeleteSelectedUser();
    else if (button == Control(LOAD))
        LoadSelectedUser();
    else if (button == Control(BACK))
        BackCB();
    else
        return 0;
    return 1;
}

void UserLoadCC::LoadSelectedUser()
{
    MWinButton *panel = Control(PANEL);
    const int pos = panel ? panel->PanelGetPos() : -1;
    const char *name = pos >= 0 && pos < GetNumUserNames() ? GetUserName(pos) : nullptr;
    UserClass *player = GamePlayer(m_game);
    if (player && player->LoadUser(name, 0, nullptr, nullptr)) {
        player->FinishLoading(0, 0);
        SplashEnd();
        return;
    }
    m_mwin->PopupSetYesNoCancelTexts("Reset", "Delete", "Cancel");
    m_mwin->PopupYesNoCancel("Unable to load player.",
                             "It is possible that this player file is not compatible with the version of the "
                             "program.\n\nDo you want to reset this player (all settings will be reset, but "
                             "statistics etc. may be recoverable), or completely delete this player?",
                             UserLoadAfterLoadFailedPopupCB, this);
}

void UserLoadAfterLoadFailedPopupCB(MWin *, char result, void *load_cc)
{
    if (!DebugCheckFatal(load_cc != nullptr, "UserLoadAfterLoadFailedPopupCB", "No user data"))
        return;
    static_cast<UserLoadCC *>(load_cc)->AfterLoadFailedPopupCB(result);
}

void UserLoadCC::AfterLoadFailedPopupCB(char result)
{
    if (result == 1) {
        MWinButton *panel = Control(PANEL);
        const char *name = panel ? GetUserNameOrEmpty(panel->PanelGetPos()) : "";
        if (!name[0]) {
            DebugErrorCode("UserLoadCC::AfterLoadFailedPopupCB", 'IERR');
            return;
        }
        // A fresh record must be possible under this name before the old
        // one goes: a file named by hand may carry a name no player can have.
        char too_long = 0;
        if (!UserNewIsNameValid(name, UserNewCC::NAME_LIMIT, &too_long)) {
            m_mwin->PopupMessage(nullptr, UserNewRefusedNameMessage(too_long));
            return;
        }
        // The list is rebuilt by the deletion: keep the name apart.
        const std::string copy = name;
        DeleteSelectedUser(1);
        m_screens->GotoScreen(USER_SCREEN_NEW, nullptr);
        m_user_screens->GetUserNewCC()->ResetAndLoadUser(copy.c_str());
    } else if (result == 2) {
        DeleteSelectedUser(0);
    }
}

void UserLoadCC::AskToDeleteSelectedUser()
{
    MWinButton *panel = Control(PANEL);
    const int pos = panel ? panel->PanelGetPos() : -1;
    if (pos < 0 || pos >= GetNumUserNames())
        return;
    m_mwin->PopupYesNo(EngLanguagesGetStringOrDefault("UserLoad_Delete", "Delete User?"),
                       EngLanguagesGetStringOrDefault("UserLoad_Confirm", "Are you sure you want to delete this user?"),
                       UserLoadAfterDeletePopupCB, this);
}

void UserLoadAfterDeletePopupCB(MWin *, char result, void *load_cc)
{
    if (!DebugCheckFatal(load_cc != nullptr, "UserLoadAfterDeletePopupCB", "No user data"))
        return;
    static_cast<UserLoadCC *>(load_cc)->AfterDeletePopup(result);
}

void UserLoadCC::AfterDeletePopup(char result)
{
    if (result == 1)
        DeleteSelectedUser(0);
}

void UserLoadCC::BackCB() { m_screens->GoBack(); }
