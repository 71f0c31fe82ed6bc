// The Notice screen (see the header).
#include "screens/NoticeCC.h"

#include "engine/core/EngDebug.h"
#include "game/HW_Screens.h"
#include "gui/MWinButton.h"
#include "screens/SelectCC.h"

const char *const notice_text = "Buy a factory, buy some weapons,\nand press \"START\" when ready.\n\n"
                                "Press the \"Menu\" button or the\n\"Escape\" key to return to the menus.";

namespace {

const _ScreenTextStyle kTitleStyle = {"MWIN_FONT_DEFAULT", 0, 0, 0, 1, 1, 1, MWTA_CENTER};
const _ScreenTextStyle kFrameStyle = {"Main", 0, 0, 0, 0.7f, 1, 1, MWTA_CENTER};

// The same rows serve every layout. The text lies inside the frame with a
// margin of 10 at the sides and 12 at the top; Ok sits on its lower part.
const _ScreenControlRow kNoticeRows[] = {
    {"Title", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 128, 0, 384, 84, &kTitleStyle, {}, 0},
    {"Frame", SCA_BUTTON, MWBT_PUSH, "Back2", "", nullptr, 132.5f, 142.5f, 375, 195, &kFrameStyle, {}, 0},
    {"Ok", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Ok", nullptr, 265, 297.5f, 110, 30, &screen_menu_style,
     {}, 0},
    {"Text", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "Text", nullptr, 142.5f, 154.5f, 355, 133,
     &screen_menu_style, {}, 0},
};
static_assert(sizeof(kNoticeRows) / sizeof(kNoticeRows[0]) == NoticeCollectionController::NOTICE_NUM_CONTROLS,
              "one row per control");

const _ScreenWindowRow kNoticeWindows[] = {
    {"Notice", 0, 0, 640, 480, nullptr, {kNoticeRows, nullptr, nullptr, nullptr, nullptr},
     NoticeCollectionController::NOTICE_NUM_CONTROLS},
};

} // namespace

NoticeCollectionController::NoticeCollectionController(MWinScreens *screens)
    : ScreenController(screens, "NoticeCollectionController", "Notice", kNoticeWindows, 1)
{
}

void NoticeCC::StartingCB(void *)
{
    if (MWinButton *text = Control(NOTICE_TEXT))
        text->SetMultilineText(notice_text);
    // Escape starts the game as Ok does.
    if (MWinButton *ok = Control(NOTICE_OK))
        ok->SetEscapeButtonForParentWindow();
}

char NoticeCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info) || button != Control(NOTICE_OK))
        return 0;
    HW_Screens *screens = dynamic_cast<HW_Screens *>(m_screens);
    SelectCC *select = screens ? dynamic_cast<SelectCC *>(screens->GetController(HWS_SELECT)) : nullptr;
    DebugCheckFatal(select != nullptr, "NoticeCC::ButtonPressedCB", "No select CC.");
    select->StartGame();
    return 1;
}

MWinCollectionController *NoticeCC_Make(HW_Screens *screens)
{
    return new NoticeCC(screens);
}
