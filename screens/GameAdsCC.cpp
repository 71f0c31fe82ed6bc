// The "other games" screen (see the header).
#include "screens/GameAdsCC.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngServers.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindowInput.h"
#include "game/Game.h"
#include "game/HW_Screens.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinWindow.h"
#include "modules/GameAds.h"
#include "platform/win32/Win32Input.h"

#include <cstdio>
#include <string>

namespace {

using C = GameAdsCollectionController;

const _ScreenTextStyle kTitleStyle = {"Main", 1, 1, 1, 0.8f, 1.6f, 1.74f, MWTA_CENTER};
const _ScreenTextStyle kPictureStyle = {"Main", 0, 0, 0, 0.7f, 1, 1, MWTA_CENTER};
const _ScreenTextStyle kDescStyle = {"Main", 0.7f, 0.7f, 0.7f, 1, 1, 1, MWTA_CENTER};
const _ScreenTextStyle kPlatformStyle = {"Main", 0.5553f, 0.8f, 0.4455f, 1, 1, 1, MWTA_CENTER};
const _ScreenTextStyle *const kMenu = &screen_menu_style;
const char *const kDefault = "MWIN_TEXBUT_DEFAULT";
const char *const kNone = "MWIN_TEXBUT_NONE";

// A row the layout does not have.
#define NO_ROW {nullptr, SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, 0, 0, 0, 0, nullptr, {}, 0}

const _ScreenControlRow kNormalRows[] = {
    {"Title", SCA_BUTTON, MWBT_PUSH, kNone, "GAME TITLE", nullptr, 150, 0, 341, 35, &kTitleStyle, {}, 0},
    NO_ROW,
    {"Pic1Bg", SCA_BUTTON, MWBT_PUSH, "Back1", "", nullptr, 52, 125, 258, 265, &kPictureStyle, {}, 0},
    {"Pic1", SCA_BUTTON, MWBT_PUSH, "Back3", "", nullptr, 52, 125, 257, 262, &kPictureStyle, {}, 0},
    {"Pic2Bg", SCA_BUTTON, MWBT_PUSH, "Back1", "", nullptr, 329, 125, 258, 265, &kPictureStyle, {}, 0},
    {"Pic2", SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, 329, 125, 257, 262, &kPictureStyle, {}, 0},
    NO_ROW,
    {"PicCen", SCA_BUTTON, MWBT_PUSH, "Back1", "", nullptr, 125, 100, 390, 290, &kPictureStyle, {}, 0},
    {"Desc1", SCA_BUTTON, MWBT_PUSH, kNone, "Line 1 of the game description text.", nullptr, 25, 40, 590, 16,
     &kDescStyle, {}, 0},
    {"Desc2", SCA_BUTTON, MWBT_PUSH, kNone, "Line 2 of the game description text.", nullptr, 25, 60, 590, 16,
     &kDescStyle, {}, 0},
    {"Desc3", SCA_BUTTON, MWBT_PUSH, kNone, "Line 3 of the game description text.", nullptr, 25, 80, 590, 16,
     &kDescStyle, {}, 0},
    {"Desc4", SCA_BUTTON, MWBT_PUSH, kNone, "Line 4 of the game description text.", nullptr, 25, 100, 590, 16,
     &kDescStyle, {}, 0},
    {"Download", SCA_BUTTON, MWBT_PUSH, kDefault, "Instant Download", "GameAds_Download", 77.88f, 400, 130, 30, kMenu,
     {}, 0},
    {"TellAFriend", SCA_BUTTON, MWBT_PUSH, kDefault, "Tell A Friend", "GameAds_TellAFriend", 219.76f, 400, 130, 30,
     kMenu, {}, 0},
    {"Prev", SCA_BUTTON, MWBT_PUSH, kDefault, "Prev", "Common_Previous", 361.38f, 400, 95, 30, kMenu, {}, 0},
    {"Next", SCA_BUTTON, MWBT_PUSH, kDefault, "Next", "Common_Next", 467.12f, 400, 95, 30, kMenu, {}, 0},
    NO_ROW,
    NO_ROW,
    NO_ROW,
};
static_assert(sizeof(kNormalRows) / sizeof(kNormalRows[0]) == C::GADS_NUM_CONTROLS, "one row per control");

// The phones: one picture, one line of description, where the title runs,
// and the buttons along the bottom of a window that the phones' taller title
// bar leaves 425 high; the landscape phone has its own "Ok" beside the title.
#define PHONE_ROWS(back)                                                                                          \
    {"Title", SCA_BUTTON, MWBT_PUSH, kNone, "GAME TITLE", nullptr, 120, 0, 400, 40, &kTitleStyle, {}, 0}, NO_ROW,  \
        NO_ROW,                                                                                                    \
        {"Pic1", SCA_BUTTON, MWBT_PUSH, "Back1", "", nullptr, 120, 42, 400, 250, &kPictureStyle, {}, 0}, NO_ROW,  \
        NO_ROW, NO_ROW, NO_ROW,                                                                                    \
        {"Desc1", SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, 20, 296, 600, 24, &kDescStyle, {}, 0}, NO_ROW, NO_ROW, \
        NO_ROW, NO_ROW, NO_ROW,                                                                                    \
        {"Prev", SCA_BUTTON, MWBT_PUSH, kDefault, "Prev", "Common_Previous", 20, 370, 130, 50, kMenu, {}, 0},      \
        {"Next", SCA_BUTTON, MWBT_PUSH, kDefault, "Next", "Common_Next", 490, 370, 130, 50, kMenu, {}, 0},         \
        {"Platform", SCA_BUTTON, MWBT_STATIC, kNone, "", nullptr, 20, 322, 600, 24, &kPlatformStyle, {}, 0},       \
        {"GetApp", SCA_BUTTON, MWBT_PUSH, kDefault, "Get App!", "GameAds_GetApp", 235, 370, 170, 50, kMenu, {}, 0}, \
        back

const _ScreenControlRow kPhonePortraitRows[] = {PHONE_ROWS(NO_ROW)};
const _ScreenControlRow kPhoneLandscapeRows[] = {PHONE_ROWS(
    (_ScreenControlRow{"Back", SCA_BUTTON, MWBT_PUSH, kDefault, "Ok", "Common_ButtonDone", 530, 0, 100, 40, kMenu,
                       {}, 0}))};
static_assert(sizeof(kPhonePortraitRows) / sizeof(kPhonePortraitRows[0]) == C::GADS_NUM_CONTROLS, "one row per control");
static_assert(sizeof(kPhoneLandscapeRows) / sizeof(kPhoneLandscapeRows[0]) == C::GADS_NUM_CONTROLS,
              "one row per control");

// The iPad: a framed picture, four lines of description, where the title
// runs, and the buttons.
const _ScreenControlRow kTabletRows[] = {
    {"Title", SCA_BUTTON, MWBT_PUSH, kNone, "GAME TITLE", nullptr, 150, 0, 341, 35, &kTitleStyle, {}, 0},
    {"Pic1Frame", SCA_BUTTON, MWBT_PUSH, "Back3", "", nullptr, 115, 40, 410, 260, &kPictureStyle, {}, 0},
    NO_ROW,
    {"Pic1", SCA_BUTTON, MWBT_PUSH, "Black2", "", nullptr, 120, 45, 400, 250, &kPictureStyle, {}, 0},
    NO_ROW,
    NO_ROW,
    NO_ROW,
    NO_ROW,
    {"Desc1", SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, 25, 305, 590, 16, &kDescStyle, {}, 0},
    {"Desc2", SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, 25, 323, 590, 16, &kDescStyle, {}, 0},
    {"Desc3", SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, 25, 341, 590, 16, &kDescStyle, {}, 0},
    {"Desc4", SCA_BUTTON, MWBT_PUSH, kNone, "", nullptr, 25, 359, 590, 16, &kDescStyle, {}, 0},
    NO_ROW,
    NO_ROW,
    {"Prev", SCA_BUTTON, MWBT_PUSH, kDefault, "Prev", "Common_Previous", 25, 400, 130, 40, kMenu, {}, 0},
    {"Next", SCA_BUTTON, MWBT_PUSH, kDefault, "Next", "Common_Next", 485, 400, 130, 40, kMenu, {}, 0},
    {"Platform", SCA_BUTTON, MWBT_STATIC, kNone, "", nullptr, 25, 378, 590, 18, &kPlatformStyle, {}, 0},
    {"GetApp", SCA_BUTTON, MWBT_PUSH, kDefault, "Get App!", "GameAds_GetApp", 235, 400, 170, 40, kMenu, {}, 0},
    NO_ROW,
};
static_assert(sizeof(kTabletRows) / sizeof(kTabletRows[0]) == C::GADS_NUM_CONTROLS, "one row per control");

#undef PHONE_ROWS
#undef NO_ROW

const _ScreenWindowRow kGameAdsWindows[] = {
    {"MainWin", 0, 30, 640, 450, kDefault,
     {kNormalRows, kPhonePortraitRows, kPhoneLandscapeRows, kTabletRows, kTabletRows}, C::GADS_NUM_CONTROLS},
};

// The swipe hint's states; undecided until the screen first starts.
enum : unsigned char {
    kSwipeHintNone = 0,
    kSwipeHintWaiting = 1,
    kSwipeHintFadingIn = 2,
    kSwipeHintHolding = 3,
    kSwipeHintFadingOut = 4,
    kSwipeHintUndecided = 255,
};
const char *const kSwipeHint = "<-- SWIPE -->";
// How far, in picture widths, a drag goes before it browses.
constexpr float kSwipeBeyond = 0.05f;

// The title's platform suffix.
const char *PlatformSuffix(_GameAdsPlatform platform)
{
    switch (platform) {
    case GAP_IPHONE:
        return "  (iPhone)";
    case GAP_IPAD:
        return "  (iPad)";
    case GAP_ANDROID:
        return "  (Android)";
    default:
        return "";
    }
}

// Where the title runs, for the tablets' "Platform" line.
const char *PlatformLine(_GameAdsPlatform platform)
{
    switch (platform) {
    case GAP_IPHONE:
        return "for iPhones";
    case GAP_IPAD:
        return "for the iPad";
    case GAP_ANDROID:
        return "for Android";
    case GAP_ALL:
        return "from the Lichenware web site and the app stores";
    default:
        return "for Macs and PCs from the Lichenware web site";
    }
}

// The message for a phone or tablet title that cannot be downloaded here.
const char *AppStoreMessage(_GameAdsPlatform platform)
{
    switch (platform) {
    case GAP_IPHONE:
        return "Search the App Store on your iPhone for \"Lichenware\" to find the app.";
    case GAP_IPAD:
        return "Search the App Store on your iPad for \"Lichenware\" to find the app.";
    case GAP_ANDROID:
        return "Search Google Play on your Android phone\nor tablet for \"Lichenware\" to find the app.";
    default:
        return nullptr;
    }
}

void ShowControl(MWinButton *control, char shown)
{
    if (!control)
        return;
    if (shown)
        control->m_shown = 1;
    else
        control->Hide();
}

void AttachPicture(MWinButton *control, int picture)
{
    if (control && GameAdsGetPicTexture(picture))
        control->SetCustomTexButTexture(GameAdsGetPicTexture(picture));
}

} // namespace

GameAdsCollectionController::GameAdsCollectionController(MWinScreens *screens)
    : ScreenController(screens, "GameAdsCollectionController", "GameAds", kGameAdsWindows, 1)
{
}

void GameAdsCollectionController::AdjustWindowInfo(int, int layout, _MWinWindowCreateInfo *info)
{
    info->m_has_hide_button = 1;
    info->m_has_title_bar = 1;
    EngSafeStrcpy(info->m_title, "Also by Lichenware", sizeof(info->m_title));
    EngSafeStrcpy(info->m_title_token, "GameAds_AlsoText", sizeof(info->m_title_token));
    EngSafeStrcpy(info->m_font, "Main", sizeof(info->m_font));
    EngSafeStrcpy(info->m_hide_text, "Back", sizeof(info->m_hide_text));
    EngSafeStrcpy(info->m_hide_texbut, kDefault, sizeof(info->m_hide_texbut));
    EngSafeStrcpy(info->m_hide_token, "Common_ButtonGoBack", sizeof(info->m_hide_token));
    PlaceUnderTitleBar(layout, info);
}

char GameAdsCollectionController::CreateCollection(MWin *mwin)
{
    char made = ScreenController::CreateCollection(mwin);
    if (MWinWindow *window = GetWindow(0)) {
        window->SetTitleTextColour(1, 1, 1, 0.7f);
        window->SetTitleTextScale(1, 1.1f);
        window->SetTitleTextAlign(MWTA_CENTER);
        window->SetScrollSize(0, 0);
    }
    return made;
}

GameAdsCC::GameAdsCC(MWinScreens *screens)
    : GameAdsCollectionController(screens), m_browse_mode(0), m_started_once(0), m_pulse(0), m_pulse_phase(0),
      m_download_alpha(1), m_pressed(nullptr), m_back(nullptr), m_swipe_hint_state(kSwipeHintUndecided),
      m_swipe_hint_fade(0), m_swipe_hint_time(0), m_swipe_button_down(0)
{
}

bool GameAdsCC::IsCurrent() const
{
    return m_screens && m_screens->GetCurrentScreen() == HW_SCREEN_GADS;
}

void GameAdsCC::CreateGraphics()
{
    DestroyGraphics();
    if (IsCurrent())
        GameAdsCreateGraphics(1);
}

void GameAdsCC::DestroyGraphics()
{
    if (IsCurrent()) {
        for (int control : {GADS_PIC1, GADS_PIC2})
            if (MWinButton *picture = Control(control))
                picture->SetCustomTexButTexture(nullptr);
    }
    GameAdsDestroyGraphics();
}

void GameAdsCC::ClearPointers()
{
    ScreenController::ClearPointers();
    m_pressed = nullptr;
    m_back = nullptr;
}

void GameAdsCC::StartingCB(void *)
{
    const bool tablet = EngMiscIsTabletPlatform();
    GameAdsSetCurGameAd(GameAdsGetCurGameAd());
    const _GameAdsPlatform platform = GameAdsGetCurAdPlatform();

    if (MWinButton *title = Control(GADS_TITLE)) {
        std::string text = GameAdsGetCurAdTitle();
        if (!tablet)
            text += PlatformSuffix(platform);
        title->SetText(text.c_str());
    }
    for (int line = 0; line < 4; line++)
        if (MWinButton *desc = Control(GADS_DESC1 + line))
            desc->SetText(GameAdsGetCurAdDescription(line));
    if (tablet) {
        if (MWinButton *where = Control(GADS_PLATFORM))
            where->SetText(PlatformLine(platform));
        ShowControl(Control(GADS_GET_APP), 0);
    }

    CreateGraphics();
    for (int control : {GADS_PIC1_BG, GADS_PIC1, GADS_PIC2_BG, GADS_PIC2})
        ShowControl(Control(control), 1);
    ShowControl(Control(GADS_PIC_CEN), 0);
    ShowControl(Control(GADS_PIC_CEN_BG), 0);
    AttachPicture(Control(GADS_PIC1), 0);
    AttachPicture(Control(GADS_PIC2), 1);

    if (m_browse_mode) {
        MWinWindow *window = GetWindow(0);
        m_back = Control(GADS_BACK);
        if (!m_back && window)
            m_back = window->GetHideButton();
        if (m_back)
            m_back->SetEscapeButtonForParentWindow();
        else
            DebugError(Where("StartingCB").c_str(), "No back button");
    }

    m_pulse = 0;
    if (MWinButton *download = Control(GADS_DOWNLOAD)) {
        if (!GameAdsGetCurAdDownloadAddress()) {
            if (platform == GAP_IPHONE || platform == GAP_IPAD)
                download->SetText(EngLanguagesGetStringOrDefault("GameAds_AppStore", "App Store"));
            else if (platform == GAP_ANDROID)
                download->SetText(EngLanguagesGetStringOrDefault("GameAds_PlayStore", "Play Store"));
            else
                download->SetText(EngLanguagesGetStringOrDefault("Startup_HomePage", "Home Page"));
        } else {
            if (std::string(download->GetTextP()) != "Download")
                download->SetText(EngLanguagesGetStringOrDefault("GameAds_Download", "Instant Download"));
            m_pulse = 1;
        }
        m_download_alpha = 1;
        download->SetColourMultiplierAlpha(m_download_alpha);
    }

    if (platform == GAP_IPAD || platform == GAP_ALL) {
        MWinButton *centre = Control(GADS_PIC_CEN);
        if (!centre)
            DebugError(Where("StartingCB").c_str(), "No center pic button");
        for (int control : {GADS_PIC1_BG, GADS_PIC1, GADS_PIC2_BG, GADS_PIC2})
            ShowControl(Control(control), 0);
        ShowControl(centre, 1);
        ShowControl(Control(GADS_PIC_CEN_BG), 1);
        AttachPicture(centre, 0);
    }

    m_started_once = 1;
    if (m_swipe_hint_state == kSwipeHintUndecided)
        m_swipe_hint_state = GameAdsGetNumIncludedAds() > 1 ? kSwipeHintWaiting : kSwipeHintNone;
    if (GameAdsGetNumIncludedAds() <= 1) {
        ShowControl(Control(GADS_PREV), 0);
        ShowControl(Control(GADS_NEXT), 0);
    }

    // On a tablet a sideways drag on the picture browses; a finger still
    // down from the drag that browsed here starts no new drag.
    _Dimension picture;
    MWinButton *shown = Control(GADS_PIC1);
    m_swipe_button_down = eng_main_key_states[VK_LBUTTON] > 1;
    if (tablet && shown && shown->GetScreenDimension(&picture))
        m_scroller.TurnOn(&picture, 1, 1, 0, -1, 1, 1, -1, 1, 0, 0, 0, 0, 0, -1, 0, 0.9f);
    else
        m_scroller.TurnOff();
}

char GameAdsCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *)
{
    if (!button)
        return 0;
    m_pressed = button;
    return 1;
}

void GameAdsCC::Browse(int (*step)())
{
    DestroyGraphics();
    step();
    StartingCB(nullptr);
}

void GameAdsCC::TickCB()
{
    if (m_pressed) {
        MWinButton *pressed = m_pressed;
        m_pressed = nullptr;
        HandlePress(pressed);
        return;
    }
    if (eng_main_key_states[VK_LEFT] > 1) {
        eng_main_key_states[VK_LEFT] = 0;
        Browse(GameAdsGoToPrevAd);
    } else if (eng_main_key_states[VK_RIGHT] > 1) {
        eng_main_key_states[VK_RIGHT] = 0;
        Browse(GameAdsGoToNextAd);
    }
    if (m_scroller.IsOn())
        TickSwipe();
    MWinButton *download = Control(GADS_DOWNLOAD);
    if (download && download->IsShown() && m_pulse) {
        m_download_alpha = 0.7f + 0.3f * EngMiscUpdateThrob(&m_pulse_phase, 4 * eng_main_frame_time, nullptr);
        download->SetColourMultiplierAlpha(m_download_alpha);
    }
}

void GameAdsCC::TickSwipe()
{
    const float x = m_mwin->GetMouseX(), y = m_mwin->GetMouseY();
    const char down = eng_main_key_states[VK_LBUTTON] > 1;
    if (down != m_swipe_button_down)
        m_scroller.MouseButton(0, down, x, y, 0, 0);
    else if (down)
        m_scroller.MouseMove(x, y, 0);
    m_swipe_button_down = down;
    m_scroller.Tick();
    // The picture follows the finger: a drag to the right brings the
    // previous title, to the left the next.
    const float dragged = m_scroller.GetPositionX();
    if (dragged < -kSwipeBeyond)
        Browse(GameAdsGoToPrevAd);
    else if (dragged > kSwipeBeyond)
        Browse(GameAdsGoToNextAd);
}

void GameAdsCC::RenderCB(int pass)
{
    if (pass != 1 || !EngMiscIsTabletPlatform())
        return;
    UpdateSwipeHint();
    if (m_swipe_hint_fade <= 0)
        return;
    EngFont *font = m_game->GetFont();
    if (!font)
        return;
    EngFontPrepareForDrawingDefaultOrientation(1);
    font->SetScaleWithAspectCorrection(1, 1);
    font->SetColour(0, 0, 0, m_swipe_hint_fade);
    font->DrawString(323, 243, 1, 1, kSwipeHint, 0);
    font->SetColour(1, 1, 1, m_swipe_hint_fade);
    font->DrawString(320, 240, 1, 1, kSwipeHint, 0);
    EngFontRestoreAfterDrawing();
}

// The hint waits half a second, fades in by twice the frame time a frame,
// holds a second and a half and fades out as fast; then it is done for the
// run.
void GameAdsCC::UpdateSwipeHint()
{
    const float step = 2.0f * eng_main_frame_time;
    switch (m_swipe_hint_state) {
    case kSwipeHintWaiting:
        if (m_swipe_hint_time <= 0)
            m_swipe_hint_time = eng_main_program_time + 0.5;
        if (eng_main_program_time >= m_swipe_hint_time)
            m_swipe_hint_state = kSwipeHintFadingIn;
        break;
    case kSwipeHintFadingIn:
        m_swipe_hint_fade += step;
        if (m_swipe_hint_fade >= 1) {
            m_swipe_hint_fade = 1;
            m_swipe_hint_time = eng_main_program_time + 1.5;
            m_swipe_hint_state = kSwipeHintHolding;
        }
        break;
    case kSwipeHintHolding:
        if (eng_main_program_time >= m_swipe_hint_time)
            m_swipe_hint_state = kSwipeHintFadingOut;
        break;
    case kSwipeHintFadingOut:
        m_swipe_hint_fade -= step;
        if (m_swipe_hint_fade <= 0) {
            m_swipe_hint_fade = 0;
            m_swipe_hint_state = kSwipeHintNone;
        }
        break;
    }
}

void GameAdsCC::HandlePress(MWinButton *pressed)
{
    MWinWindow *window = GetWindow(0);
    const bool hide_button = window && pressed == window->GetHideButton();
    if (pressed == Control(GADS_PREV)) {
        Browse(GameAdsGoToPrevAd);
    } else if (pressed == Control(GADS_NEXT)) {
        Browse(GameAdsGoToNextAd);
    } else if ((m_back && pressed == m_back) || hide_button) {
        DestroyGraphics();
        ClearPointers();
        m_screens->GoBack();
    } else if (pressed == Control(GADS_GET_APP)) {
        DebugErrorCode(Where("TickCB").c_str(), 'NOIM');
    } else if (pressed == Control(GADS_TELL_A_FRIEND)) {
        GameAdsTellAFriend();
    } else if (pressed == Control(GADS_DOWNLOAD)) {
        PressDownload();
    }
}

void GameAdsCC::PressDownload()
{
    if (GameAdsGetCurAdDownloadAddress()) {
        GameAdsDownloadCurAdAtExit();
        return;
    }
    if (const char *message = AppStoreMessage(GameAdsGetCurAdPlatform())) {
        if (m_mwin)
            m_mwin->PopupMessageNoTitle(message);
        return;
    }
    GameAdsOpenCurAdPage();
}

void GameAdsPrepareBrowse(GameAdsCC *ads, const char *player_name, short *current_ad)
{
    GameAdsSetIncludedAds();
    if (ads)
        ads->SetBrowseMode();
    char path[400];
    std::snprintf(path, sizeof(path), "%s/games/", EngServersGetMakerSiteAddress());
    GameAdsSetInternetLinksPath(path, "HiveWatcherPC", player_name);
    if (current_ad && *current_ad < 0)
        *current_ad = GameAdsGetTarnwickAdNumForCurrentPlatform();
    GameAdsSetCurGameAdVar(current_ad);
    GameAdsSetPicFilenameCB(GameAdsPictureFile);
}

MWinCollectionController *GameAdsCC_Make(HW_Screens *screens)
{
    return new GameAdsCC(screens);
}
