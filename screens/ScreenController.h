// The pattern every game screen is built on. A screen is a controller (the
// toolkit's MWinCollectionController) whose windows and controls are
// described by tables: one window row per window (its id, rectangle,
// background and one table of control rows per layout), one control row per
// control in the order the builder adds them, which is also the order of the
// controller's control pointers. When the screen is entered the toolkit asks
// CreateCollection; the controller builds the screen's collection, its
// windows for the toolkit's layout (0 Normal to 4 IPadLandscape; any other
// number builds Normal) and their controls, and becomes each window's
// receiver of presses. The collection and everything in it live only while
// the screen is current; ClearPointers forgets them before the toolkit
// deletes them, so no pointer outlives its control.
//
// Failures are logged under the operation's own name and never stop the
// program: a control that cannot be made leaves its pointer null ("Could not
// add button(s) to window", then "Could not add buttons to window"), a
// window that cannot be made leaves the screen without it ("Could not add
// window"), a collection that cannot be made is reported with the screen's
// collection id. A missing screen set or toolkit at construction is fatal.
//
// The title picture functions share the game's one title picture among the
// menu screens that show it.
#pragma once

#include "gui/MWinScreens.h"
#include "gui/MWinTypes.h"

#include <initializer_list>
#include <string>
#include <vector>

class MWin;
class MWinButton;
class MWinCollection;
class MWinDesktop;
class MWinWindow;

// How a control row is added: a plain control of the row's kind, or a
// control class of its own.
enum _ScreenControlAdder : char {
    SCA_BUTTON,
    SCA_SCRIPT_BUTTON,
    SCA_TAB_PANEL,
    SCA_HORZ_SCROLLBAR,
};

// Font, text colour, text scale and alignment of a control.
struct _ScreenTextStyle {
    const char *font;
    float r, g, b, a;
    float scale_x, scale_y;
    _MWinTextAlign align;
};

// The menu buttons' common setting: font "Main", colour 1, 1, 1, 0.7, scale
// 1, 1.1, centred.
extern const _ScreenTextStyle screen_menu_style;

// One control of a window, as a screen's control table gives it.
struct _ScreenControlRow {
    const char *id; // null: the layout has no such control (its pointer stays null)
    _ScreenControlAdder adder;
    _MWinButtonType kind; // for SCA_BUTTON
    const char *texbut;
    const char *text;     // "" for none
    const char *lang_key; // null for none
    float x, y, w, h;
    const _ScreenTextStyle *style;
    // The colour multiplier r, g, b, a, set when a is above 0.
    float multiplier[4];
    char hidden;
};

// Where a layout puts a control: its row in the table and its rectangle.
struct _ScreenPlace {
    int row;
    float x, y, w, h;
};

// Moves rows of a control table (a layout's copy of another's) to their
// places in the layout.
void ScreenMoveRows(_ScreenControlRow *rows, int num_rows, std::initializer_list<_ScreenPlace> places);

// One window of a screen and its controls in each layout. A layout whose
// table is null uses the Normal table; every layout's table has the Normal
// table's rows in the same order, so a control keeps its pointer index.
struct _ScreenWindowRow {
    const char *id;
    float x, y, w, h;
    const char *back_texbut; // null: "MWIN_TEXBUT_NONE"
    const _ScreenControlRow *controls[MWIN_NUM_LAYOUTS];
    int num_controls;
};

class ScreenController : public MWinCollectionController {
public:
    // class_name names the screen's layout class in its messages
    // ("MainCollectionController"); collection_id is the screen's
    // collection ("Main"). The window rows must outlive the controller.
    ScreenController(MWinScreens *screens, const char *class_name, const char *collection_id,
                     const _ScreenWindowRow *windows, int num_windows);

    // Binds the controller to the screen set, its toolkit and game; fatal
    // without a screen set or toolkit.
    void SetScreensVar(MWinScreens *screens);
    char CreateCollection(MWin *mwin) override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop);
    // The window of the row at the layout, with its controls; null when the
    // window could not be made.
    MWinWindow *AddWindowToCollection(int window, int layout, MWinCollection *collection);
    // True when every control was made.
    char AddWindowButtonsToWindow(int window, int layout, MWinWindow *win);
    void ClearPointers() override;

    // True at once for a null control or info; the screens compare the
    // control with their pointers after this.
    static char IsPressEmpty(MWinButton *button, _MWinButtonCallbackInfo *info) { return !button || !info; }

    MWinCollection *GetCollection() const { return m_collection; }
    // The control rows a window is built from in a layout.
    const _ScreenControlRow *GetRows(int window, int layout) const;
    MWinWindow *GetWindow(int window) const;
    // The control of a row of a window, null while the screen is not built
    // or when it could not be made.
    MWinButton *GetControl(int window, int row) const;

protected:
    // Lets a screen change a window's descriptor (drag mode, title bar,
    // a layout's own size) before the window is made in the layout; the
    // default leaves it as the row gives it.
    virtual void AdjustWindowInfo(int, int, _MWinWindowCreateInfo *) {}
    // A full-screen window with a title bar, in a layout other than Normal:
    // it starts under the layout's title bar and reaches the screen's bottom.
    void PlaceUnderTitleBar(int layout, _MWinWindowCreateInfo *info);
    // "<class name>::<operation>", the name the messages carry.
    std::string Where(const char *operation) const;

    char m_where[80];
    const char *m_class_name;
    const char *m_collection_id;
    const _ScreenWindowRow *m_window_rows;
    int m_num_windows;
    MWinCollection *m_collection;
    std::vector<MWinWindow *> m_windows;
    std::vector<std::vector<MWinButton *>> m_controls;
};

// The game's title picture ("Data/1021.dat"), shared by the menu screens.
char TitlePictureCreateGraphics();
void TitlePictureDestroyGraphics();
// True while the title picture (its description or its textures) is held.
char TitlePictureIsLoaded();
// Shows the title picture, animated, as the control's background.
void TitlePictureAttachToButton(MWinButton *button);
// Offers to open the game's home page.
void TitlePictureGoOnline(MWinButton *button);
