// The window record shared by the portable part of the native windows
// (UiWindow.cpp) and its backends: the portable part keeps and checks the
// state, the backend shows it and reports the user's actions back through
// UiWindowUserClicked / UiWindowUserChose / UiWindowPostEvent.
#pragma once

#include "platform/ui/UiWindow.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

struct UiControl {
    _UiControlKind kind;
    int id;
    int x, y, width, height; // where it is shown
    int given_x, given_width; // where the caller put it (a label may grow)
    std::string text; // 1252
    _UiTextAlign align = UI_ALIGN_LEFT;
    bool enabled = true;
    bool checked = false;
    int radio_group = 0; // radio buttons: the run of them this one belongs to
    std::vector<std::string> items;
    int selection = -1;
    void *native = nullptr; // the backend's widget
};

class UiBackend {
public:
    virtual ~UiBackend() = default;
    virtual bool CreateWindow(UiWindow *window) = 0;
    virtual void DestroyWindow(UiWindow *window) = 0;
    virtual bool CreateControl(UiWindow *window, UiControl *control) = 0;
    // Shows the control's state as it now stands.
    virtual void ShowControl(UiWindow *window, UiControl *control) = 0;
    // One pass of the desktop's loop; with wait it sleeps until there is work.
    // Without wait, a window not drawn since its last change is first given
    // the turns it needs to show itself as it stands (a moment at most).
    virtual void Pump(UiWindow *window, bool wait) = 0;
    // The user's actions, played through the backend's controls.
    virtual void Click(UiWindow *window, UiControl *control) = 0;
    virtual void Choose(UiWindow *window, UiControl *control, int index) = 0;
    virtual void PressEscape(UiWindow *window) = 0;
    virtual void CloseBox(UiWindow *window) = 0;
    virtual bool WaitUntilShown(UiWindow *window) = 0;
    virtual bool TextIsWhole(UiControl *control) = 0;
    virtual void GetShownSize(UiWindow *window, int *width, int *height) = 0;
};

struct UiWindow {
    _UiWindowParms parms;
    std::string title;
    UiEventCB callback = nullptr;
    void *user = nullptr;
    std::vector<UiControl> controls;
    std::deque<_UiEvent> events;
    int radio_groups = 0;
    // Set while the program changes a control, so the backend's change
    // signals raise no events.
    int updating = 0;
    // The desktop has drawn the window since the program last changed it.
    bool drawn = false;
    std::unique_ptr<UiBackend> backend;
    void *native = nullptr; // the backend's window
    void *native_extra = nullptr;
};

UiControl *UiWindowFindControl(UiWindow *window, int id);
void UiWindowPostEvent(UiWindow *window, _UiEventType type, int control_id);
// A button pressed by the user: radio buttons become checked first.
void UiWindowUserClicked(UiWindow *window, UiControl *control);
// An item chosen by the user: stored, and an event when it is another one.
void UiWindowUserChose(UiWindow *window, UiControl *control, int index);

std::unique_ptr<UiBackend> UiMakeNullBackend();
// Null when GTK cannot start (no display).
std::unique_ptr<UiBackend> UiMakeGtkBackend();
float UiGtkScreenDpi();
