// The Select screen, where a new game begins: the four gardens as pictures in
// a two-by-two grid, each with a button that cycles the difficulty the
// garden will be played at (among those the player has opened), and the game
// started when a garden's picture is pressed. Before the first games of a
// player (the record's notice count) the press passes through the Notice
// screen, which then starts the game through SelectCC::StartGame.
//
// The garden thumbnails are module state shared with the Scores screen; the
// chosen garden survives between visits. A thumbnail that cannot be loaded
// is reported by the texture loader and its picture stays empty; the garden
// can still be played. A bad garden number or a null button given to
// UpdateDifficultyButton is reported ('IERR', 'BAPA') and changes nothing;
// values outside 0 to 2 in a player's garden record are corrected silently
// when the screen shows them.
#pragma once

#include "screens/ScreenController.h"

class EngTexture;
class HW_Screens;
struct _UserGardenProgress;

class SelectCollectionController : public ScreenController {
public:
    // The controls of the window "Main", in the order they are added; the
    // gardens' frames, pictures and difficulty buttons are numbered by
    // garden (SELECT_LEVEL0 + 2 is garden 2's picture).
    enum SelectControl {
        SELECT_TITLE,
        SELECT_SELECT_T,
        SELECT_BG0,
        SELECT_LEVEL0 = SELECT_BG0 + 4,
        SELECT_DIFF0 = SELECT_LEVEL0 + 4,
        SELECT_BACK = SELECT_DIFF0 + 4,
        SELECT_NUM_CONTROLS,
    };

    explicit SelectCollectionController(MWinScreens *screens);
    MWinButton *Control(int control) const { return GetControl(0, control); }
};

class SelectCC : public SelectCollectionController {
public:
    explicit SelectCC(MWinScreens *screens) : SelectCollectionController(screens) {}

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // Makes the garden's record valid and shows its chosen difficulty on the
    // button, or hides the button while only the first difficulty is open.
    void UpdateDifficultyButton(MWinButton *button, int garden);
    // Starts a game on the chosen garden at its chosen difficulty and closes
    // the menus.
    void StartGame();

private:
    _UserGardenProgress *Garden(int garden);
    void ReleaseGraphics();
};

// The number of gardens on the screen.
constexpr int SELECT_GARDENS = 4;

// The garden chosen by the last press of a garden's picture (0 at start).
extern int select_chosen_garden;

// Loads the four garden thumbnails ("Data/110<garden>.dat"); true at once
// when they are loaded, false when one could not be.
char SelectCC_CreateGraphics();
void SelectCC_DestroyGraphics();
// A garden's thumbnail (null for a bad garden).
EngTexture *SelectCC_GetThumbnail(int garden);

MWinCollectionController *SelectCC_Make(HW_Screens *screens);
