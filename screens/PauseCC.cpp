// The Pause screen (see the header).
#include "screens/PauseCC.h"

#include "engine/core/EngMisc.h"
#include "game/Game.h"
#include "game/GameNeighbours.h"
#include "game/HW_Screens.h"
#include "game/HiveWatcher.h"
#include "game/SavedGame.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"

#include <array>

namespace {

const _ScreenTextStyle title_style = {"MWIN_FONT_DEFAULT", 0, 0, 0, 1, 1, 1, MWTA_CENTER};

constexpr _ScreenControlRow Push(const char *id, const char *texbut, const char *text, float x, float y, float w,
                                 float h, const _ScreenTextStyle *style, char hidden)
{
    return {id, SCA_BUTTON, MWBT_PUSH, texbut, text, nullptr, x, y, w, h, style, {0, 0, 0, 0}, hidden};
}

// The menu column: each button's text, the column's top, each button's
// height and the step from one to the next. The tablets have no save.
std::array<_ScreenControlRow, PCB_COUNT> Column(float x, float y, float w, float h, float step, char with_save)
{
    const char *const texts[] = {"Resume Game", "High Scores",   "How To Play",     "Sound & Music",
                                 "Options",     "Quit Game",     "Save Game & Exit"};
    const char *const ids[] = {"Resume", "Scores", "Help", "Sounds", "Options", "Quit", "Save"};
    std::array<_ScreenControlRow, PCB_COUNT> rows = {
        {Push("Title", "MWIN_TEXBUT_NONE", "", 128, 0, 384, 84, &title_style, 0)}};
    for (int i = 0; i < PCB_COUNT - 1; i++)
        rows[PCB_RESUME + i] = Push(ids[i], "MWIN_TEXBUT_DEFAULT", texts[i], x, y + i * step, w, h,
                                    &screen_menu_style, PCB_RESUME + i == PCB_SAVE && !with_save);
    return rows;
}

const std::array<_ScreenControlRow, PCB_COUNT> normal_rows = Column(220, 120, 200, 35, 50, 1);
const std::array<_ScreenControlRow, PCB_COUNT> phone_portrait_rows = Column(150, 125, 340, 40, 50, 0);
const std::array<_ScreenControlRow, PCB_COUNT> phone_landscape_rows = Column(220, 90, 200, 40, 48, 0);
const std::array<_ScreenControlRow, PCB_COUNT> tablet_rows = Column(200, 120, 240, 40, 50, 0);

const _ScreenWindowRow windows[] = {
    {"MainWin",
     0,
     0,
     640,
     480,
     nullptr,
     {normal_rows.data(), phone_portrait_rows.data(), phone_landscape_rows.data(), tablet_rows.data(),
      tablet_rows.data()},
     PCB_COUNT},
};

// The screens the menu opens, by control.
struct Destination {
    _PauseControl control;
    unsigned int screen;
};
const Destination destinations[] = {
    {PCB_SCORES, HW_SCREEN_STAT},
    {PCB_HELP, HW_SCREEN_HELP},
    {PCB_SOUNDS, HW_SCREEN_PLRS},
    {PCB_OPTIONS, HW_SCREEN_OPTN},
};

void QuitDoneCB(MWin *, char result, void *user)
{
    if (user)
        static_cast<PauseCC *>(user)->QuitAnswered(result);
}

} // namespace

MWinCollectionController *PauseCC_Make(HW_Screens *screens)
{
    return new PauseCC(screens);
}

PauseCollectionController::PauseCollectionController(MWinScreens *screens)
    : ScreenController(screens, "PauseCollectionController", "Pause", windows, 1)
{
}

void PauseCC::StartingCB(void *)
{
    TitlePictureCreateGraphics();
    TitlePictureAttachToButton(Control(PCB_TITLE));
}

char PauseCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(PCB_RESUME)) {
        TitlePictureDestroyGraphics();
        m_game->CloseMenusAndPlay();
        return 1;
    }
    for (const Destination &destination : destinations) {
        if (button == Control(destination.control)) {
            TitlePictureDestroyGraphics();
            m_screens->GotoScreen(destination.screen, nullptr);
            return 1;
        }
    }
    if (button == Control(PCB_QUIT)) {
        if (m_mwin)
            m_mwin->PopupOkCancel(nullptr, "Are you sure you wish to quit the game ?", QuitDoneCB, this);
        return 1;
    }
    if (button == Control(PCB_SAVE)) {
        // A failed save has reported its reason; the game goes on from here.
        if (SaveGame(0, 1))
            EngMiscQuitMainLoop();
        return 1;
    }
    if (button == Control(PCB_TITLE)) {
        TitlePictureGoOnline(button);
        return 1;
    }
    return 0;
}

void PauseCC::QuitAnswered(char result)
{
    if (result != 1)
        return;
    DeleteSavedGame(0, 1);
    play_under_way = 0;
    TitlePictureDestroyGraphics();
    m_screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
}
