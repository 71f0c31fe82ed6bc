// The country screen (see the header).
#include "screens/CountryCC.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/runtime/EngDevice.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinScreens.h"
#include "modules/Countries.h"

#include <algorithm>
#include <new>

namespace {

const _ScreenTextStyle title_style = {"Main", 1, 1, 1, 0.75f, 1.3f, 1.42f, MWTA_CENTER};

const _ScreenControlRow normal_rows[] = {
    {"Title", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "SELECT YOUR COUNTRY", "Country_Title", 189, 18, 262, 18,
     &title_style, {}, 0},
    {"Continue", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Continue", "Common_ButtonContinue", 250, 425, 140, 35,
     &screen_menu_style, {}, 0},
    {"Country", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", " unset", nullptr, 169.5f, 50, 301, 323,
     &screen_menu_style, {}, 0},
    {"Note", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "Your country is displayed in network games.",
     "Country_Note", 40, 380, 560, 33, &screen_menu_style, {}, 0},
};

// The mobile layouts: a wider list, and a note about online scores.
const _ScreenControlRow mobile_rows[] = {
    {"Title", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "SELECT YOUR COUNTRY", nullptr, 120, 10, 400, 30,
     &title_style, {}, 0},
    {"Continue", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Continue", nullptr, 230, 420, 180, 45,
     &screen_menu_style, {}, 0},
    {"Country", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", " unset", nullptr, 120, 50, 400, 320,
     &screen_menu_style, {}, 0},
    {"Note", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "Your country is used for online scores.", nullptr, 40,
     378, 560, 33, &screen_menu_style, {}, 0},
};

const _ScreenWindowRow windows[] = {
    {"MainWin", 0, 0, 640, 480, nullptr, {normal_rows, mobile_rows, mobile_rows, mobile_rows, mobile_rows},
     CountryCollectionController::NUM_CONTROLS},
};
static_assert(sizeof(normal_rows) / sizeof(normal_rows[0]) == CountryCollectionController::NUM_CONTROLS, "rows");
static_assert(sizeof(mobile_rows) / sizeof(mobile_rows[0]) == CountryCollectionController::NUM_CONTROLS, "rows");

// The flags beside the list in each layout: width, height and the extra
// height that keeps them centred on the row's text.
const float flag_widths[MWIN_NUM_LAYOUTS] = {20, 70, 40, 45, 30};
const float flag_heights[MWIN_NUM_LAYOUTS] = {10, 35, 40, 22, 30};
const float flag_extra_heights[MWIN_NUM_LAYOUTS] = {2, 4, 4, 4, 4};

// The panel's rows each take the toolkit's default row height.
const int ROWS_FROM_LAYOUT = -1;

} // namespace

CountryCollectionController::CountryCollectionController(MWinScreens *screens)
    : ScreenController(screens, "CountryCollectionController", "Country", windows, 1)
{
}

CountryCC::CountryCC(MWinScreens *screens) : CountryCollectionController(screens), m_remembered(0), m_built_y{},
                                             m_built_h{}
{
}

const char *CountryListTextCB(int row, MWinButton *, void *)
{
    return row >= 0 && row < COUNTRY_NUM_COUNTRIES ? country_list[row].name : "";
}

void CountryCC::StartingCB(void *)
{
    MWinButton *list = Control(COUNTRY);
    if (!list) {
        DebugErrorCode("CountryCC::StartingCB", 'DNEX');
        return;
    }
    list->PanelAllowNoSelection(1);
    list->PanelSetStringsCallback(COUNTRY_NUM_COUNTRIES, ROWS_FROM_LAYOUT, CountryListTextCB, this);
    const int local = CountryGetLocalCountryPos();
    if (local >= 0) {
        list->PanelSetPos(local, 0, 0);
        list->PanelCenterOnPos();
    }
    if (!m_remembered) {
        for (int row = 0; row < NUM_CONTROLS; row++) {
            _Dimension built = {};
            if (Control(static_cast<Row>(row)) && Control(static_cast<Row>(row))->GetDimension(&built)) {
                m_built_y[row] = built.y;
                m_built_h[row] = built.h;
            }
        }
        m_remembered = 1;
    }
    PlaceControls();
    CountryCreateGraphics();
}

void CountryCC::PlaceControls()
{
    float top = 0, bottom = 0;
    CountryGetScreenOffsets(&top, &bottom);
    if (top == 0 && bottom == 0)
        return;
    for (int row = 0; row < NUM_CONTROLS; row++) {
        MWinButton *control = Control(static_cast<Row>(row));
        _Dimension now = {};
        if (!control || !control->GetDimension(&now))
            continue;
        float y = m_built_y[row], h = m_built_h[row];
        if (row == TITLE) {
            y += top;
        } else if (row == COUNTRY) {
            y += top;
            h -= top + bottom;
        } else {
            y -= bottom;
        }
        control->SetPosAndSize(now.x, y, now.w, h);
    }
}

void CountryCC::RenderCB(int pass)
{
    MWinButton *list = Control(COUNTRY);
    if (pass != 1 || !eng_device || !list || !list->IsShown())
        return;
    int first = 0, end = 0;
    if (!list->PanelGetVisibleRange(&first, &end))
        return;
    const bool prepared = eng_device->PrepareFor2DIfNeeded(1);
    eng_device->EnableBlendingType(0);

    const int layout = m_mwin && m_mwin->GetLayout() >= 0 && m_mwin->GetLayout() < MWIN_NUM_LAYOUTS
                           ? m_mwin->GetLayout()
                           : 0;
    const float width = flag_widths[layout], extra = flag_extra_heights[layout];
    float height = flag_heights[layout];
    // The list's crop, widened to the left so that the flags beside the
    // rows are cut at its top and bottom as the rows are.
    _Dimension area = {};
    list->GetScreenDimension(&area);
    const float strip = 1.5f * width;
    _Dimension entry = {};
    if (list->TurnOnCropToArea(area.x - strip, area.y, area.w + strip, area.h) &&
        list->PanelGetPosDimension(first, &entry)) {
        height = std::min(height, entry.h);
        for (int row = first; row < end && row < COUNTRY_NUM_COUNTRIES; row++) {
            if (!list->PanelGetPosDimension(row, &entry))
                continue;
            const _Dimension flag = {entry.x - width - 1, entry.y + entry.h / 2 + extra / 2 + 0.5f - height / 2,
                                     width, height + extra};
            CountryDrawFlag(static_cast<unsigned>(row), &flag);
        }
    }
    if (eng_device->IsCropOn())
        eng_device->TurnOffCrop();

    eng_device->DisableBlending();
    if (prepared)
        eng_device->RestoreAfter2D();
}

char CountryCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(COUNTRY)) {
        // Enter on the list chooses, a click only selects.
        if (info->m_panel_mode == 1)
            CountryControlContinueCB(m_mwin, this);
        return 1;
    }
    if (button == Control(CONTINUE)) {
        CountryControlContinueCB(m_mwin, this);
        return 1;
    }
    return 0;
}

void CountryControlContinueCB(MWin *mwin, CountryCC *screen)
{
    const char *where = "CountryControlContinueCB";
    if (!DebugCheckFatal(mwin != nullptr, where, "No mwin") ||
        !DebugCheckFatal(screen != nullptr, where, "No controller"))
        return;
    MWinButton *list = screen->Control(CountryCollectionController::COUNTRY);
    if (!list) {
        DebugErrorCode(where, 'IERR');
        return;
    }
    const int chosen = list->PanelGetPos();
    if (chosen < 0 || chosen >= COUNTRY_NUM_COUNTRIES) {
        mwin->PopupMessageNoTitle(
            EngLanguagesGetStringOrDefault("Country_PleaseSelectACountryFirst", "Please select a country first"));
        return;
    }
    // Without a continue callback the player goes back to the screen before.
    if (!CountryChooseCountry(chosen))
        screen->GetScreens(0)->GoBack();
}

MWinCollectionController *CountryCC_Make(MWinScreens *screens)
{
    return new (std::nothrow) CountryCC(screens);
}
