// The Help screen (see the header).
#include "screens/HelpCC.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "game/Game.h"
#include "game/HW_Screens.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinScriptButton.h"
#include "modules/UserClass.h"

#include <array>
#include <cstring>

const char *const help_keys_text = "U: Upgrade Weapon\n\nF: Full Upgrade Weapon\n\nG: Place Gun\n\nS: Place Spray\n\n"
                                   "P: Place Projectile\n\nSpace: Pause/Resume\n\nEscape: Menus";

namespace {

using HCC = HelpCollectionController;

constexpr const char *kDefault = "MWIN_TEXBUT_DEFAULT";
const _ScreenTextStyle kTitleStyle = {"MWIN_FONT_DEFAULT", 0, 0, 0, 1, 1, 1, MWTA_CENTER};

// A layout: Info's area, the buttons' row (Prev and Next centred, Keys at
// the left, Back at the right), and which of Title and Keys it hides.
struct HelpLayout {
    float info[4];
    float prev_x, next_x, nav_y, keys_x, back_x, end_y, button_w, button_h;
    char hide_title, hide_keys;
};

constexpr _ScreenControlRow Push(const char *id, const char *text, float x, float y, const HelpLayout &l, char hidden)
{
    return {id, SCA_BUTTON, MWBT_PUSH, kDefault, text, nullptr, x, y, l.button_w, l.button_h, &screen_menu_style,
            {}, hidden};
}

constexpr std::array<_ScreenControlRow, HCC::HELP_NUM_CONTROLS> Rows(const HelpLayout &l)
{
    return {{
        {"Title", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 128, 0, 384, 84, &kTitleStyle, {},
         l.hide_title},
        Push("Prev", "Prev", l.prev_x, l.nav_y, l, 0),
        Push("Next", "Next", l.next_x, l.nav_y, l, 0),
        Push("Keys", "Keys", l.keys_x, l.end_y, l, l.hide_keys),
        Push("Back", "Back", l.back_x, l.end_y, l, 0),
        {"Info", SCA_SCRIPT_BUTTON, MWBT_PUSH, "Back2", "", nullptr, l.info[0], l.info[1], l.info[2], l.info[3],
         &screen_menu_style, {}, 0},
    }};
}

constexpr std::array<_ScreenControlRow, HCC::HELP_NUM_CONTROLS> kNormalRows =
    Rows({{85, 115, 470, 270}, 230, 330, 420, 10, 550, 440, 80, 30, 0, 0});
constexpr std::array<_ScreenControlRow, HCC::HELP_NUM_CONTROLS> kPhonePortraitRows =
    Rows({{10, 5, 620, 420}, 200, 330, 430, 10, 520, 430, 110, 45, 1, 1});
constexpr std::array<_ScreenControlRow, HCC::HELP_NUM_CONTROLS> kPhoneLandscapeRows =
    Rows({{0, 0, 640, 415}, 200, 330, 425, 10, 520, 425, 110, 50, 1, 1});
constexpr std::array<_ScreenControlRow, HCC::HELP_NUM_CONTROLS> kTabletPortraitRows =
    Rows({{10, 100, 620, 330}, 210, 330, 440, 10, 530, 440, 100, 35, 0, 1});
constexpr std::array<_ScreenControlRow, HCC::HELP_NUM_CONTROLS> kTabletLandscapeRows =
    Rows({{25, 85, 590, 340}, 210, 330, 435, 10, 530, 435, 100, 35, 0, 1});

const _ScreenWindowRow kHelpWindows[] = {
    {"Help",
     0,
     0,
     640,
     480,
     nullptr,
     {kNormalRows.data(), kPhonePortraitRows.data(), kPhoneLandscapeRows.data(), kTabletPortraitRows.data(),
      kTabletLandscapeRows.data()},
     HCC::HELP_NUM_CONTROLS},
};

// A page: its title, the body before the second heading, the heading (null
// for none) and the body after it. Body pieces are appended unchanged.
struct HelpPage {
    const char *title;
    const char *before[3];
    const char *heading;
    const char *after[3];
};

const HelpPage kPages[HelpCC::HELP_LAST_PAGE + 1] = {
    {"Objective",
     {"Your objective is to kill all bugs in your garden before they reach your house by destroying them with a "
      "variety of weapons."},
     "Creating Factories & Weapons",
     {"Before you can create any weapons, you must first create a factory for that weapon. To create a factory, ",
      "first select one by clicking on it with the mouse. Next move the mouse onto your garden and then click again "
      "to place the factory.",
      "\n\nAfter you create a factory one of your weapons will be available. Repeat the procedure above to place a "
      "weapon in the garden."}},
    {"Upgrading",
     {"A weapon can be upgraded to improve its capabilities. ",
      "To upgrade a weapon click on it and select \"Upgrade\" or simply press the \"U\" key when the mouse is over "
      "the weapon."},
     "Full Upgrades",
     {"A \"Full Upgrade\" upgrades a weapon to its maximum level, but takes the time and price of each of the "
      "individual upgrades added together. ",
      "Select \"Full Upgrade\" or press the \"F\" key to do a full upgrade of the selected weapon.\n\nThe weapons "
      "level is displayed when you move the mouse over it."}},
    {"Weapons",
     {"Weapons all have the following basic characteristics:\n\nLEVEL:  The weapons current upgrade level.\nPRICE:  "
      "How much the weapon or upgrade costs.\nRANGE:  How near to the weapon a bug can be detected.\nRELOAD RATE:  "
      "How often the weapon fires.\nDAMAGE:  How much damage the weapon inflicts.\nSLOWDOWN:  How much the weapon "
      "slows down a bug.",
      "\n\nThese characteristics are shown in a window when you select a weapon. The numbers shown on the right in "
      "the window represent the characteristics for the next upgrade level."},
     nullptr,
     {}},
    {"Targeting",
     {"You can also control the targeting mode of the weapon by selecting one of the following modes in the weapon "
      "info window:\n\nFRONT:  Target the front most bug in range (default setting)\nBACK:  Target the back most "
      "bug in range.\nSTRONG:  Target the strongest bug in range.\nWEAK:  Target the weakest bug in range.\nNEAR:  "
      "Target the nearest bug in range."},
     "Pausing & Resuming",
     {"Press the spacebar or the PAUSE or RESUME button to pause the progress of the bugs. This pauses upgrades "
      "also, but you still have full control of your weapons."}},
    {"Tips",
     {"Factories, weapons and upgrades costs money. Spend wisely.\n\nBugs are only targeted when inside the weapons "
      "range. The range is shown as a circle around the weapon and it increases with each upgrade.\n\nThe spray "
      "weapons are best used for slowing down the bugs.\n\nSell older weapons when they become ineffective against "
      "the stronger bugs."},
     nullptr,
     {}},
};

// Appends text to the string in the block, within the block's size.
void Append(char *block, unsigned size, const char *text)
{
    const size_t used = std::strlen(block);
    if (text && used < size)
        EngSafeStrcpy(block + used, text, static_cast<unsigned>(size - used));
}

} // namespace

HelpCollectionController::HelpCollectionController(MWinScreens *screens)
    : ScreenController(screens, "HelpCollectionController", "Help", kHelpWindows, 1)
{
}

HelpCC::HelpCC(MWinScreens *screens) : HelpCollectionController(screens), m_page(0), m_page_text(nullptr) {}

HelpCC::~HelpCC()
{
    // Info may be gone by now: only the text is freed.
    if (m_page_text)
        EngFree(m_page_text, 0, "HelpCC::~HelpCC");
}

char *HelpCC::ComposePageText(int page)
{
    if (page < 0 || page > HELP_LAST_PAGE) {
        DebugError("HelpCC::UpdateText", "Bad page num %d.", page);
        return nullptr;
    }
    const HelpPage &p = kPages[page];
    size_t length = std::strlen(p.title) + (p.heading ? std::strlen(p.heading) : 0);
    for (const char *piece : p.before)
        length += piece ? std::strlen(piece) : 0;
    for (const char *piece : p.after)
        length += piece ? std::strlen(piece) : 0;
    // The tags and paragraph breaks fit in the 64 spare bytes.
    const unsigned size = static_cast<unsigned>(64 + length);
    char *text = static_cast<char *>(EngMalloc(size, "HelpCC_UpdatesTextsFromTexts", 1));
    if (!text) {
        DebugErrorCode("HelpCC::UpdateText", 'IERR');
        return nullptr;
    }
    Append(text, size, "<1>");
    Append(text, size, p.title);
    Append(text, size, "\n\n");
    for (const char *piece : p.before)
        Append(text, size, piece);
    if (p.heading) {
        Append(text, size, "\n\n\n<1>");
        Append(text, size, p.heading);
        Append(text, size, "\n\n");
        for (const char *piece : p.after)
            Append(text, size, piece);
    }
    return text;
}

void HelpCC::ReleaseText()
{
    // The button lets go of the page before its text goes.
    if (MWinScriptButton *info = dynamic_cast<MWinScriptButton *>(Control(HELP_INFO)))
        info->ClearText();
    if (m_page_text) {
        EngFree(m_page_text, 0, "HelpCC::UpdateText");
        m_page_text = nullptr;
    }
}

void HelpCC::UpdateText()
{
    ReleaseText();
    m_page_text = ComposePageText(m_page);
    if (!m_page_text)
        return;
    if (MWinScriptButton *info = dynamic_cast<MWinScriptButton *>(Control(HELP_INFO)))
        info->SetText(m_page_text);
    // Back stays "Done" once the last page was reached; the next visit builds
    // the button anew.
    if (m_page == HELP_LAST_PAGE) {
        if (MWinButton *back = Control(HELP_BACK))
            back->SetText("Done");
    }
}

void HelpCC::StartingCB(void *)
{
    m_page = 0;
    if (MWinButton *prev = Control(HELP_PREV))
        prev->Disable();
    if (MWinButton *next = Control(HELP_NEXT))
        next->Enable();
    if (MWinButton *back = Control(HELP_BACK))
        back->SetEscapeButtonForParentWindow();
    if (EngMiscIsTabletPlatform()) {
        if (MWinButton *keys = Control(HELP_KEYS))
            keys->Hide();
    }
    TitlePictureAttachToButton(Control(HELP_TITLE));
    m_game->GetUserOptions()->tutorial_hints = 1;
    UpdateText();
}

char HelpCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    const bool prev = button == Control(HELP_PREV);
    if (prev || button == Control(HELP_NEXT)) {
        if (prev && m_page > 0)
            m_page--;
        else if (!prev && m_page < HELP_LAST_PAGE)
            m_page++;
        if (MWinButton *control = Control(HELP_PREV))
            control->SetEnabled(m_page > 0);
        if (MWinButton *control = Control(HELP_NEXT))
            control->SetEnabled(m_page < HELP_LAST_PAGE);
        UpdateText();
        return 1;
    }
    if (button == Control(HELP_KEYS)) {
        m_mwin->PopupMessageNoTitle(help_keys_text);
        return 1;
    }
    if (button == Control(HELP_TITLE)) {
        TitlePictureGoOnline(button);
        return 1;
    }
    if (button == Control(HELP_BACK)) {
        ReleaseText();
        m_screens->GoBack();
        return 1;
    }
    return 0;
}

MWinCollectionController *HelpCC_Make(HW_Screens *screens)
{
    return new HelpCC(screens);
}
