// The Main screen (see the header).
#include "screens/MainCC.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "game/Game.h"
#include "game/GameNeighbours.h"
#include "game/Sound.h"
#include "game/HW_Screens.h"
#include "game/Program.h"
#include "game/SavedGame.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "modules/Resolution.h"
#include "modules/UserClass.h"
#include "screens/GameAdsCC.h"

#include <array>
#include <cstdio>
#include <initializer_list>

namespace {

const _ScreenTextStyle kTitleStyle = {"MWIN_FONT_DEFAULT", 0, 0, 0, 1, 1, 1, MWTA_CENTER};
const _ScreenTextStyle kVersionStyle = {"Main", 1, 1, 1, 0.6f, 0.6f, 0.6f, MWTA_RIGHT};
const _ScreenTextStyle kWelcomeStyle = {"Main", 1, 1, 1, 0.8f, 1.5f, 1.5f, MWTA_CENTER};
const _ScreenTextStyle kDebugStyle = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_CENTER};
const _ScreenTextStyle *const kMenu = &screen_menu_style;
const char *const kDefault = "MWIN_TEXBUT_DEFAULT";
const char *const kNone = "MWIN_TEXBUT_NONE";

using MainRows = std::array<_ScreenControlRow, MainCollectionController::MAIN_NUM_CONTROLS>;
using MCC = MainCollectionController;

const MainRows kNormalRows = {{
    {"Title", SCA_BUTTON, MWBT_STATIC, "Back2", "", nullptr, 128, 0, 384, 84, &kTitleStyle, {}, 0},
    {"Version", SCA_BUTTON, MWBT_STATIC, kNone, "vX.X", nullptr, 560, 0, 75, 20, &kVersionStyle, {}, 0},
    {"Welcome", SCA_BUTTON, MWBT_STATIC, kNone, "Wecome, Name.", nullptr, 120, 100, 400, 35, &kWelcomeStyle, {}, 0},
    {"Play", SCA_BUTTON, MWBT_PUSH, kDefault, "New Game", nullptr, 235, 205, 170, 40, kMenu, {}, 0},
    {"Help", SCA_BUTTON, MWBT_PUSH, kDefault, "How To Play", nullptr, 330, 280, 150, 30, kMenu, {}, 0},
    {"Scores", SCA_BUTTON, MWBT_PUSH, kDefault, "High Scores", nullptr, 160, 280, 150, 30, kMenu, {}, 0},
    {"Sound", SCA_BUTTON, MWBT_PUSH, kDefault, "Sound & Music", nullptr, 330, 320, 150, 30, kMenu, {}, 0},
    {"Options", SCA_BUTTON, MWBT_PUSH, kDefault, "Options", nullptr, 160, 320, 150, 30, kMenu, {}, 0},
    {"About", SCA_BUTTON, MWBT_PUSH, kDefault, "About", nullptr, 330, 360, 150, 30, kMenu, {}, 0},
    {"User", SCA_BUTTON, MWBT_PUSH, kDefault, "Change Player", nullptr, 160, 360, 150, 30, kMenu, {}, 0},
    {"OtherGames", SCA_BUTTON, MWBT_PUSH, kDefault, "Other Games", nullptr, 160, 400, 150, 30, kMenu, {}, 0},
    {"Exit", SCA_BUTTON, MWBT_PUSH, kDefault, "Exit Game", nullptr, 330, 400, 150, 30, kMenu, {}, 0},
    {"Debug", SCA_BUTTON, MWBT_PUSH, kDefault, "Debug", nullptr, 10, 450, 50, 20, &kDebugStyle, {1, 1, 1, 0.493f}, 0},
    {"Review", SCA_BUTTON, MWBT_PUSH, kDefault, "Review", nullptr, 235, 150, 170, 30, kMenu, {}, 0},
}};

// The Normal rows with the given controls moved. Quitting is left to the
// device on the mobile layouts, so "Exit" is hidden.
MainRows MobileRows(std::initializer_list<_ScreenPlace> places)
{
    MainRows rows = kNormalRows;
    ScreenMoveRows(rows.data(), MCC::MAIN_NUM_CONTROLS, places);
    rows[MCC::MAIN_EXIT].hidden = 1;
    return rows;
}

// The portrait layouts keep the Normal arrangement, "OtherGames" centred
// under the two columns.
const MainRows kPhonePortraitRows = MobileRows({{MCC::MAIN_OTHER_GAMES, 245, 405, 150, 30}});
const MainRows kTabletPortraitRows = MobileRows({{MCC::MAIN_OTHER_GAMES, 245, 400, 150, 30}});

const MainRows kTabletLandscapeRows = MobileRows({
    {MCC::MAIN_PLAY, 235, 200, 170, 40},
    {MCC::MAIN_SCORES, 160, 275, 150, 35},
    {MCC::MAIN_HELP, 330, 275, 150, 35},
    {MCC::MAIN_OPTIONS, 160, 320, 150, 35},
    {MCC::MAIN_SOUND, 330, 320, 150, 35},
    {MCC::MAIN_USER, 160, 365, 150, 35},
    {MCC::MAIN_ABOUT, 330, 365, 150, 35},
    {MCC::MAIN_OTHER_GAMES, 245, 410, 150, 30},
});

// The landscape phone: a wide title, no version, and two columns of large
// buttons drawn with the "Main" texture button (but "OtherGames").
const _ScreenTextStyle kPhoneWelcomeStyle = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_CENTER};
const MainRows kPhoneLandscapeRows = [] {
    MainRows rows = MobileRows({
        {MCC::MAIN_TITLE, 0, 0, 640, 120},
        {MCC::MAIN_WELCOME, 57.5f, 120, 525, 30},
        {MCC::MAIN_PLAY, 50, 180, 250, 60},
        {MCC::MAIN_HELP, 50, 250, 250, 60},
        {MCC::MAIN_SCORES, 50, 320, 250, 60},
        {MCC::MAIN_USER, 50, 390, 250, 60},
        {MCC::MAIN_SOUND, 340, 180, 250, 60},
        {MCC::MAIN_OPTIONS, 340, 250, 250, 60},
        {MCC::MAIN_ABOUT, 340, 320, 250, 60},
        {MCC::MAIN_OTHER_GAMES, 340, 390, 250, 60},
    });
    rows[MCC::MAIN_VERSION].hidden = 1;
    rows[MCC::MAIN_WELCOME].style = &kPhoneWelcomeStyle;
    for (MCC::MainControl control : {MCC::MAIN_PLAY, MCC::MAIN_HELP, MCC::MAIN_SCORES, MCC::MAIN_USER,
                                     MCC::MAIN_SOUND, MCC::MAIN_OPTIONS, MCC::MAIN_ABOUT})
        rows[control].texbut = "Main";
    return rows;
}();

const _ScreenWindowRow kMainWindows[] = {
    {"Main", 0, 0, 640, 480, nullptr,
     {kNormalRows.data(), kPhonePortraitRows.data(), kPhoneLandscapeRows.data(), kTabletPortraitRows.data(),
      kTabletLandscapeRows.data()},
     MCC::MAIN_NUM_CONTROLS},
};

// The player screens' first screen, where "Change Player" leads.
constexpr unsigned int kPlayersScreen = HW_ScreenId("uUSR");

// The buttons that only release the title picture and change screen.
struct _MainPlainLink {
    MainCollectionController::MainControl control;
    unsigned int screen_id;
};
const _MainPlainLink kPlainLinks[] = {
    {MainCollectionController::MAIN_SCORES, HW_SCREEN_STAT}, {MainCollectionController::MAIN_HELP, HW_SCREEN_HELP},
    {MainCollectionController::MAIN_SOUND, HW_SCREEN_PLRS},  {MainCollectionController::MAIN_OPTIONS, HW_SCREEN_OPTN},
    {MainCollectionController::MAIN_ABOUT, HW_SCREEN_ABOT},
};

} // namespace

MainCollectionController::MainCollectionController(MWinScreens *screens)
    : ScreenController(screens, "MainCollectionController", "Main", kMainWindows, 1)
{
}

void MainCC::StartingCB(void *)
{
    if (MWinButton *welcome = Control(MAIN_WELCOME)) {
        char text[64];
        std::snprintf(text, sizeof(text), "Welcome, %s.", m_game->GetUserInfo()->name);
        welcome->SetText(text);
    }
    if (MWinButton *version = Control(MAIN_VERSION)) {
        char text[32];
        std::snprintf(text, sizeof(text), "Version %.2f", MainGetProgramVersion());
        version->SetText(text);
    }
    if (MWinButton *debug = Control(MAIN_DEBUG))
        debug->Hide();
    TitlePictureCreateGraphics();
    TitlePictureAttachToButton(Control(MAIN_TITLE));
    if (MWinButton *review = Control(MAIN_REVIEW))
        review->Hide();
}

char MainCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(MAIN_PLAY)) {
        // A new game replaces the game in progress.
        DeleteSavedGame(0, 1);
        Leave(HW_SCREEN_SELE);
        return 1;
    }
    for (const _MainPlainLink &link : kPlainLinks) {
        if (button == Control(link.control)) {
            Leave(link.screen_id);
            return 1;
        }
    }
    if (button == Control(MAIN_USER)) {
        ChangePlayer();
        return 1;
    }
    if (button == Control(MAIN_OTHER_GAMES)) {
        OtherGamesCB();
        return 1;
    }
    if (button == Control(MAIN_TITLE)) {
        TitlePictureGoOnline(button);
        return 1;
    }
    if (button == Control(MAIN_EXIT)) {
        ExitCB();
        return 1;
    }
    return 0;
}

void MainCC::Leave(unsigned int screen_id)
{
    DestroyGraphics();
    m_screens->GotoScreen(screen_id, nullptr);
}

void MainCC::ChangePlayer()
{
    // The player screens must appear at the next start.
    m_game->GetUserInfo()->options.always_load = 0;
    m_game->GetUser()->Save(1);
    ResolutionUpdateSettingsFromCurrent();
    ResolutionSaveSettings();
    Leave(kPlayersScreen);
    // Chosen after the change, so the player screens get their own music.
    SoundUpdateMusicForCurrentState();
}

void MainCC::DestroyGraphics()
{
    TitlePictureDestroyGraphics();
}

void MainCC::ExitCB()
{
    EngMiscQuitMainLoop();
}

void MainCC::OtherGamesCB()
{
    HW_Screens *screens = dynamic_cast<HW_Screens *>(m_screens);
    GameAdsCC *ads = screens ? dynamic_cast<GameAdsCC *>(screens->GetController(HWS_GAME_ADS)) : nullptr;
    if (!ads) {
        DebugError("MainCC::OtherGamesCB", "No game ads CC.");
        return;
    }
    _UserInfo *player = m_game->GetUserInfo();
    GameAdsPrepareBrowse(ads, player->name, &player->current_ad);
    Leave(HW_SCREEN_GADS);
}

MWinCollectionController *MainCC_Make(HW_Screens *screens)
{
    return new MainCC(screens);
}
