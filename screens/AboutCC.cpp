// The About screen (see the header).
#include "screens/AboutCC.h"

#include "engine/core/EngMemory.h"
#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/runtime/EngProgram.h"
#include "game/Game.h"
#include "game/HW_Screens.h"
#include "game/Program.h"
#include "gui/MWinButton.h"

#include <array>
#include <cstdio>
#include <cstring>

const char *const about_product_page_path = "games/hive-watcher";

namespace {

using ACC = AboutCollectionController;

constexpr const char *kDefault = "MWIN_TEXBUT_DEFAULT";
const _ScreenTextStyle kTitleStyle = {"MWIN_FONT_DEFAULT", 0, 0, 0, 1, 1, 1, MWTA_CENTER};
const _ScreenTextStyle kVersionStyle = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_CENTER};

constexpr _ScreenControlRow Link(const char *id, const char *text, float x, float y, float w, float h)
{
    return {id, SCA_BUTTON, MWBT_PUSH, kDefault, text, nullptr, x, y, w, h, &screen_menu_style, {}, 0};
}

// The four buttons along the bottom at their x, then Title and Version.
constexpr std::array<_ScreenControlRow, ACC::ABOUT_NUM_CONTROLS> Rows(const float (&x)[4], float y, float w, float h)
{
    return {{
        {"Title", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 128, 0, 384, 84, &kTitleStyle, {}, 0},
        Link("HomePage", "Home Page", x[0], y, w, h),
        Link("Forums", "Forums", x[1], y, w, h),
        Link("Logs", "Logs", x[2], y, w, h),
        Link("Back", "Back", x[3], y, w, h),
        {"Version", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "Version", nullptr, 240, 90, 160, 10,
         &kVersionStyle, {1, 1, 1, 0.6f}, 0},
    }};
}

constexpr std::array<_ScreenControlRow, ACC::ABOUT_NUM_CONTROLS> kNormalRows =
    Rows({10, 190, 370, 550}, 440, 80, 30);
constexpr std::array<_ScreenControlRow, ACC::ABOUT_NUM_CONTROLS> kPhoneLandscapeRows =
    Rows({10, 175, 355, 520}, 420, 110, 50);
constexpr std::array<_ScreenControlRow, ACC::ABOUT_NUM_CONTROLS> kTabletLandscapeRows =
    Rows({10, 180, 360, 530}, 435, 100, 35);

const _ScreenWindowRow kAboutWindows[] = {
    {"About",
     0,
     0,
     640,
     480,
     kDefault,
     {kNormalRows.data(), nullptr, kPhoneLandscapeRows.data(), nullptr, kTabletLandscapeRows.data()},
     ACC::ABOUT_NUM_CONTROLS},
};

// Rows 2 and 7 carry the maker's web address, filled in when the screen
// starts from the one place the addresses are kept.
_AboutCredit credits[ABOUT_NUM_CREDITS] = {
    {"Design / Programming / Art / Sound / Music", 3},
    {"Lichenware", 2},
    {"", 4},
    {"", 0},
    {"Bug Artwork", 3},
    {"Drawn for this game by Lichenware", 2},
    {"", 0},
    {"", 5},
};

// The maker's web address as a reader writes it, without the scheme.
const char *SiteForReading()
{
    const char *site = EngServersGetMakerSiteAddress();
    const char *scheme_end = std::strstr(site, "://");
    return scheme_end ? scheme_end + 3 : site;
}

void FillAddressRows()
{
    EngSafeStrcpy(credits[2].text, SiteForReading(), sizeof(credits[2].text));
    std::snprintf(credits[7].text, sizeof(credits[7].text), "(c) 2015 Lichenware - %s", SiteForReading());
}

} // namespace

const _AboutCredit *AboutGetCredits()
{
    return credits;
}

void AboutGetCreditLooks(float fade, _AboutCreditLook looks[ABOUT_NUM_CREDITS])
{
    // What the font shows before the first row sets a style.
    _AboutCreditLook look = {0, 1, 1, 1, 1, 1, fade};
    for (int i = 0; i < ABOUT_NUM_CREDITS; i++) {
        look.y = 150.0f + 28.0f * i;
        switch (credits[i].style) {
        case 1: look = {look.y, 1.2f, 1.2f, 1, 1, 1, fade}; break;
        case 2: look = {look.y, 1.1f, 1.1f, 1, 1, 1, fade}; break;
        case 3: look = {look.y, 0.8f, 0.8f, 0.6f, 0.8f, 1.0f, 0.9f * fade}; break;
        case 4: look = {look.y, 0.9f, 0.9f, 1, 1, 1, 0.7f * fade}; break;
        case 5:
            look = {look.y + 15.0f, 0.8f, 0.7f, 1, 1, 1, 0.5f * fade};
            break;
        default: break;
        }
        looks[i] = look;
    }
}

AboutCollectionController::AboutCollectionController(MWinScreens *screens)
    : ScreenController(screens, "AboutCollectionController", "About", kAboutWindows, 1)
{
}

void AboutCollectionController::AdjustWindowInfo(int, int, _MWinWindowCreateInfo *info)
{
    // Named, though the window has no title bar to show it.
    EngSafeStrcpy(info->m_title, "About", sizeof(info->m_title));
}

void AboutCC::StartingCB(void *)
{
    if (MWinButton *back = Control(ABOUT_BACK))
        back->SetEscapeButtonForParentWindow();
    m_fade = 0;
    TitlePictureAttachToButton(Control(ABOUT_TITLE));
    if (MWinButton *version = Control(ABOUT_VERSION))
        version->SetTextPrintf("Version %.2f", MainGetProgramVersion());
    FillAddressRows();
}

void AboutCC::TickCB()
{
    if (m_fade >= 1)
        return;
    m_fade += eng_main_frame_time / 2;
    if (m_fade > 1)
        m_fade = 1;
}

void AboutCC::RenderCB(int pass)
{
    if (pass != 1)
        return;
    EngFont *font = m_game->GetFont();
    _AboutCreditLook looks[ABOUT_NUM_CREDITS];
    AboutGetCreditLooks(m_fade, looks);
    EngFontPrepareForDrawingDefaultOrientation(1);
    for (int i = 0; i < ABOUT_NUM_CREDITS; i++) {
        font->SetScaleWithAspectCorrection(looks[i].scale_x, looks[i].scale_y);
        font->SetColour(looks[i].r, looks[i].g, looks[i].b, looks[i].a);
        font->DrawString(320, looks[i].y, 1, 1, credits[i].text, 0);
    }
    EngFontRestoreAfterDrawing();
}

char AboutCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(ABOUT_HOME_PAGE) || button == Control(ABOUT_FORUMS)) {
        char path[128];
        std::snprintf(path, sizeof(path), "%s%s", about_product_page_path,
                      button == Control(ABOUT_FORUMS) ? "/forums" : "");
        // No question; a full-screen game closes first.
        VariousGoOnlineToHomeSite(m_mwin, nullptr, path, 0, 0, 1, 0);
        return 1;
    }
    if (button == Control(ABOUT_LOGS)) {
        m_screens->GotoScreen(HW_SCREEN_LOGS, nullptr);
        return 1;
    }
    if (button == Control(ABOUT_TITLE)) {
        TitlePictureGoOnline(button);
        return 1;
    }
    if (button == Control(ABOUT_BACK)) {
        m_screens->GoBack();
        return 1;
    }
    return 0;
}

MWinCollectionController *AboutCC_Make(HW_Screens *screens)
{
    return new AboutCC(screens);
}
