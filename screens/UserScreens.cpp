// The player screens' set and what they share (see the header).
#include "screens/UserScreens.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngPicture.h"
#include "engine/graphics/EngTexture.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinScreens.h"
#include "modules/Countries.h"
#include "modules/ModulesHooks.h"
#include "modules/Splash.h"
#include "screens/UserLoad.h"
#include "screens/UserNew.h"
#include "screens/UserSelect.h"
#include "screens/Users.h"

#include <new>

UserScreensCountryMaker user_screens_country_maker = nullptr;

namespace {

// The shared title and logo graphics, loaded once while the player screens
// are in use.
EngTexture title_texture;
EngPicture title_picture;
EngTexture logo_texture;
EngPicture logo_picture;

// The title control's size in each layout (Normal to IPadLandscape).
const float title_sizes[MWIN_NUM_LAYOUTS][2] = {{400, 90}, {620, 65}, {400, 90}, {460, 60}, {360, 75}};

bool IsJpegOrBmp(const char *file)
{
    const _EngTextureFileExt ext = EngTextureGetFileExtFromFilename(file, ETFE_UNKNOWN);
    return ext == ETFE_JPG || ext == ETFE_BMP;
}

void LoadPicture(EngPicture *picture, int item)
{
    const char *file = ModulesGetItemFilename(item);
    if (picture->GetNumSets() > 0 || !file[0])
        return;
    if (picture->LoadFromFile(nullptr, file, 0))
        picture->CreateGraphics();
}

} // namespace

// ---- The set ----

UserScreens::UserScreens(MWinScreens *screens)
    : m_screens(screens), m_select_cc(nullptr), m_users_cc(nullptr), m_load_cc(nullptr), m_new_cc(nullptr),
      m_country_cc(nullptr)
{
    const char *where = "UserScreens::UserScreens";
    DebugCheckFatal(screens != nullptr, where, "No screens");
    m_select_cc = new (std::nothrow) UserSelectCC(screens, this);
    DebugCheckFatal(m_select_cc != nullptr, where, "No memory (OnUserSelectCC)");
    m_users_cc = new (std::nothrow) UsersCC(screens, this);
    DebugCheckFatal(m_users_cc != nullptr, where, "No memory (UsersCC)");
    m_load_cc = new (std::nothrow) UserLoadCC(screens, this);
    DebugCheckFatal(m_load_cc != nullptr, where, "No memory (UserLoadCC)");
    m_new_cc = new (std::nothrow) UserNewCC(screens, this);
    DebugCheckFatal(m_new_cc != nullptr, where, "No memory (UserNewCC)");
    if (user_screens_country_maker) {
        m_country_cc = user_screens_country_maker(screens);
        DebugCheckFatal(m_country_cc != nullptr, where, "No memory (CountryCC)");
    }
}

UserScreens::~UserScreens()
{
    delete m_select_cc;
    delete m_users_cc;
    if (m_load_cc)
        m_load_cc->FreeUserNameList();
    delete m_load_cc;
    delete m_new_cc;
    delete m_country_cc;
}

char UserScreens::AddScreens(char with_country)
{
    const struct {
        unsigned int id;
        MWinCollectionController *controller;
    } screens[] = {{USER_SCREEN_SELECT, m_select_cc},
                   {USER_SCREEN_USERS, m_users_cc},
                   {USER_SCREEN_LOAD, m_load_cc},
                   {USER_SCREEN_NEW, m_new_cc}};
    char ok = 1;
    for (const auto &screen : screens)
        if (!m_screens->AddScreen(screen.id, screen.controller))
            ok = 0;
    // Without its module the country screen is not part of the set.
    if (with_country && m_country_cc && !m_screens->AddScreen(USER_SCREEN_COUNTRY, m_country_cc))
        return 0;
    return ok;
}

unsigned int UserScreens::GetFirstScreenId()
{
    return EngMiscIsTabletPlatform() ? USER_SCREEN_SELECT : USER_SCREEN_USERS;
}

void UserScreens::SetFirstScreen() { m_screens->SetCurrentScreen(GetFirstScreenId()); }

void UserScreens::StartFirstScreen() { m_screens->StartScreen(GetFirstScreenId(), -1); }

char UserScreens::IsUserScreenOn()
{
    if (!m_screens->IsOn())
        return 0;
    const unsigned int current = m_screens->GetCurrentScreen();
    for (unsigned int id : {USER_SCREEN_SELECT, USER_SCREEN_USERS, USER_SCREEN_LOAD, USER_SCREEN_NEW,
                            USER_SCREEN_COUNTRY})
        if (current == id)
            return 1;
    return 0;
}

UserLoadCC *UserScreens::GetUserLoadCC()
{
    DebugCheckFatal(m_load_cc != nullptr, "UserScreens::GetUserLoadCC", "No user load cc");
    return m_load_cc;
}

UserNewCC *UserScreens::GetUserNewCC()
{
    DebugCheckFatal(m_new_cc != nullptr, "UserScreens::GetUserNewCC", "No user new cc");
    return m_new_cc;
}

// ---- Shared graphics ----

char UserScreensCreateGraphics()
{
    ModulesInstallEngPictureTextureFileOverwriteCB(nullptr);
    const _ModulesParms *parms = ModulesGetParms();
    if (parms->background_source == 1 && !title_texture.IsCreated()) {
        const char *file = ModulesGetItemFilename(MI_BACKGROUND_TEXTURE);
        if (file[0]) {
            if (parms->background_load_option)
                title_texture.LoadFromFile(file, 1, IsJpegOrBmp(file) ? 3 : 2);
            else
                title_texture.LoadFromFile(file, 0, 0);
        }
    } else if (parms->background_source == 2) {
        LoadPicture(&title_picture, MI_BACKGROUND_PICTURE);
    }
    if (parms->logo_source == 1 && !logo_texture.IsCreated()) {
        const char *file = ModulesGetItemFilename(MI_MAKER_TEXT);
        if (file[0])
            logo_texture.LoadFromFile(file, 0, 0);
    } else if (parms->logo_source == 2) {
        LoadPicture(&logo_picture, MI_LOGO_PICTURE);
    }
    if (parms->show_splash)
        SplashCreateGraphics();
    return 1;
}

void UserScreensDestroyGraphics()
{
    title_texture.Destroy();
    title_picture.DestroyGraphics();
    title_picture.Destroy();
    logo_texture.Destroy();
    logo_picture.DestroyGraphics();
    logo_picture.Destroy();
    SplashDestroyGraphics();
}

void UserScreensSetupTitleButton(MWinButton *control, char keep_position)
{
    if (!control)
        return;
    const _ModulesParms *parms = ModulesGetParms();
    control->SetBackTexButToNone();
    if (title_texture.IsCreated())
        control->PictureAttachTextureToButton(&title_texture, 0);
    else if (title_picture.GetNumSets() > 0)
        control->PictureAttachPictureToButton(&title_picture, 1);

    if (parms->title_rect[2] > 0 && parms->title_rect[3] > 0) {
        control->SetPosAndSize(parms->title_rect[0], parms->title_rect[1], parms->title_rect[2],
                               parms->title_rect[3]);
    } else {
        if (!keep_position)
            control->SetPosAndSize(110, 0, 420, 80);
        MWin *mwin = control->GetMWin();
        int layout = mwin ? mwin->GetLayout() : 0;
        if (layout < 0 || layout >= MWIN_NUM_LAYOUTS)
            layout = 0;
        float w = title_sizes[layout][0];
        const float h = title_sizes[layout][1];
        if (parms->title_width_factor > 0)
            w *= parms->title_width_factor;
        _Dimension dim;
        control->GetDimension(&dim);
        control->SetPosAndSize(320 - w / 2, dim.y, w, h);
    }

    if (parms->title_styling) {
        if (parms->title_texbut[0])
            control->SetBackTexButToTexBut(parms->title_texbut);
        const char *text = ModulesGetItemFilename(MI_BUTTON_TEXT);
        if (text[0])
            control->SetText(text);
        if (parms->title_scale_x != 0)
            control->SetTextScale(parms->title_scale_x, parms->title_scale_y);
        if (parms->title_colour[3] > 0)
            control->SetTextColour(parms->title_colour[0], parms->title_colour[1], parms->title_colour[2],
                                   parms->title_colour[3]);
    }
}

void UserScreensSetupLanguageFlagButton(MWin *mwin, MWinButton *control)
{
    if (!mwin || !control)
        return;
    if (!ModulesGetParms()->language_button || EngLanguagesGetNumLanguages() < 2)
        control->Hide();
}

void UserSelectPanelExtraRenderCB(MWinButton *, _Dimension *row, _MWinTextureState, int index, void *user_screens)
{
    UserScreens *screens = static_cast<UserScreens *>(user_screens);
    if (!screens) {
        DebugError("UserSelectPanelExtraRenderCB", "No context");
        return;
    }
    UserLoadCC *load_cc = screens->GetUserLoadCC();
    const char *country = load_cc ? load_cc->GetUserCountryOrEmpty(index) : "";
    if (country[0])
        CountryDrawFlagOnRightSideOfButton(CountryGetCountryNumFromCode(country, 1), row);
}
