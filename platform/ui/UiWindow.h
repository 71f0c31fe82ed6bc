// Native windows: one plain system window with standard controls at fixed
// pixel positions (group boxes, texts, push buttons, radio buttons drawn as
// push buttons, a multi-line text box, drop-down lists and pictures), drawn
// by the desktop's own toolkit rather than the game's renderer. The start-up
// settings dialog and the updater's windows stand on it.
//
// The window keeps every control's state (text, enabled, checked, list items
// and selection) itself; the backend only shows it. What the user does comes
// back as events, queued and handed to the window's callback one at a time
// by UiWindowPump, so a callback may change any control. Changes made by the
// program raise no events, as on the desktop the Parts were written for.
//
// Two backends, chosen when a window is created: GTK 3 (controls in a
// GtkFixed), and a null backend with no window at all, chosen while a test
// hook is installed; the hook then answers the window in the user's place.
// Texts are the program's 1252 text and are converted at the GTK edge.
//
// Failures (no display, a bad control id) are reported through the result
// (null, -1 or false); the caller reports them in its own words.
// Main thread only.
#pragma once

#include <cstdint>
#include <vector>

struct UiWindow;

// Of a fixed type, so that any number a caller passes is a value that
// UiWindowAddControl can check and refuse.
enum _UiControlKind : int {
    UI_GROUP_BOX = 0,
    UI_LABEL = 1,          // centred vertically; the alignment sets the rest
    UI_LABEL_BORDERED = 2, // a label in a thin frame
    UI_PUSH_BUTTON = 3,
    UI_DEFAULT_BUTTON = 4, // the push button that Enter presses
    UI_RADIO_BUTTON = 5,   // drawn as a push button; one group per run of them
    UI_TEXT_BOX = 6,       // multi-line, scrolled, read-only
    UI_DROP_DOWN = 7,      // a list to choose one item from
    UI_PICTURE = 8,        // an image file, shown at its own size
};

enum _UiTextAlign { UI_ALIGN_LEFT = 0, UI_ALIGN_CENTRE = 1, UI_ALIGN_RIGHT = 2 };

enum _UiEventType {
    UI_EVENT_CLICKED = 0,           // a push or radio button was pressed
    UI_EVENT_SELECTION_CHANGED = 1, // the user chose another item of a list
    UI_EVENT_ESCAPE = 2,            // Escape was released over the window
    UI_EVENT_CLOSE = 3,             // the close box (the window stays until destroyed)
};

struct _UiEvent {
    _UiEventType type;
    int control_id; // 0 for the window's own events
};

typedef void (*UiEventCB)(UiWindow *window, const _UiEvent *event, void *user);

struct _UiWindowParms {
    const char *title;
    // Client area in desktop pixels; a negative x or y centres on the screen.
    int x, y, width, height;
    // A dialog frame: no caption, not resizable, centred on the screen.
    char dialog;
    // Background of the window and its labels, 0..1 each; all below 0 keeps
    // the theme's.
    float red, green, blue;
};

// Null when the window cannot be made (no display for GTK).
UiWindow *UiWindowCreate(const _UiWindowParms *parms, UiEventCB callback, void *user);
void UiWindowDestroy(UiWindow *window);

// Adds a control; ids are the caller's (above 0, unique in the window).
// False for a bad id or kind, or when the backend cannot make it.
bool UiWindowAddControl(UiWindow *window, _UiControlKind kind, int id, int x, int y, int width, int height,
                        const char *text);

// Handles at most one queued event (giving the backend one pass first when
// none is queued; with wait that pass sleeps until the desktop has
// something). 2 when an event was handed to the callback, 1 otherwise.
int UiWindowPump(UiWindow *window, bool wait);

// Control state. Each is false (or -1, or "") for an unknown id.
bool UiControlSetText(UiWindow *window, int id, const char *text);
bool UiControlGetText(UiWindow *window, int id, char *buffer, int size);
bool UiControlSetAlign(UiWindow *window, int id, _UiTextAlign align);
bool UiControlEnable(UiWindow *window, int id, bool enabled);
bool UiControlIsEnabled(UiWindow *window, int id);
// Checking a radio button unchecks the others of its group.
bool UiControlSetChecked(UiWindow *window, int id, bool checked);
bool UiControlIsChecked(UiWindow *window, int id);
bool UiListClear(UiWindow *window, int id);
bool UiListAddItem(UiWindow *window, int id, const char *text);
int UiListGetCount(UiWindow *window, int id);
const char *UiListGetItem(UiWindow *window, int id, int index);
// -1 selects nothing.
bool UiListSetSelection(UiWindow *window, int id, int index);
int UiListGetSelection(UiWindow *window, int id);
// Where the control was put in the client area, in pixels.
bool UiControlGetRect(UiWindow *window, int id, int *x, int *y, int *width, int *height);
// The picture's file ("" for other kinds).
const char *UiPictureGetFile(UiWindow *window, int id);

// The client area as created, in desktop pixels.
void UiWindowGetRect(UiWindow *window, int *x, int *y, int *width, int *height);
const char *UiWindowGetTitle(UiWindow *window);
bool UiWindowIsDialog(UiWindow *window);

// The screen's horizontal pixels per inch (96 when unknown, and on the
// null backend unless a test sets it).
float UiGetScreenDpi();

// ---- Tests ----

// Called by UiWindowPump whenever a window has no event queued, before the
// backend's own pass. With null_backend set, windows created from now on
// have no system window and the hook is the only user they have; a waiting
// pump that finds nothing even after the hook closes the window, so a test
// can never hang on one. Null removes the hook and goes back to GTK.
typedef void (*UiTestHookCB)(UiWindow *window);
void UiSetTestHook(UiTestHookCB hook, bool null_backend);
void UiSetTestDpi(float dpi);

// The user's actions, through the backend's own controls (on GTK the
// button is clicked, the list's item chosen or the key sent through GTK
// itself); each queues the event the user's action would.
bool UiTestClick(UiWindow *window, int id);
bool UiTestChoose(UiWindow *window, int id, int index);
bool UiTestPressEscape(UiWindow *window);
bool UiTestCloseBox(UiWindow *window);
// GTK: runs the desktop's pending work until the window is on screen (at
// most about two seconds). True at once on the null backend.
bool UiTestWaitUntilShown(UiWindow *window);
// The window's size as the desktop shows it (the created size on the null
// backend).
void UiTestGetShownSize(UiWindow *window, int *width, int *height);
// A label shown: whether its whole text shows, with no ellipsis (true for
// other kinds, and on the null backend).
bool UiTestTextIsWhole(UiWindow *window, int id);
// The whole X screen as it is shown: saved as a PNG file (when named) and
// read into pixels as 0xRRGGBB, rows from the top. False without a display.
bool UiTestCaptureScreen(const char *png_file, std::vector<uint32_t> *pixels, int *width, int *height);
