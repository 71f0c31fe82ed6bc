// The portable part of the native windows: control records, the event
// queue, the pump, and the null backend that tests answer through the hook.
#include "platform/ui/UiWindowInternal.h"

#include <cstdio>

namespace {

UiTestHookCB test_hook = nullptr;
bool test_null_backend = false;
float test_dpi = 0.0f;

// The null backend: no system window; the state lives in the records alone.
class NullBackend : public UiBackend {
public:
    bool CreateWindow(UiWindow *) override { return true; }
    void DestroyWindow(UiWindow *) override {}
    bool CreateControl(UiWindow *, UiControl *) override { return true; }
    void ShowControl(UiWindow *, UiControl *) override {}
    void Pump(UiWindow *window, bool wait) override
    {
        // Nobody is there to answer: a window waiting for the user is closed
        // rather than left waiting for ever.
        if (wait && window->events.empty())
            UiWindowPostEvent(window, UI_EVENT_CLOSE, 0);
    }
    void Click(UiWindow *window, UiControl *control) override { UiWindowUserClicked(window, control); }
    void Choose(UiWindow *window, UiControl *control, int index) override
    {
        UiWindowUserChose(window, control, index);
    }
    void PressEscape(UiWindow *window) override { UiWindowPostEvent(window, UI_EVENT_ESCAPE, 0); }
    void CloseBox(UiWindow *window) override { UiWindowPostEvent(window, UI_EVENT_CLOSE, 0); }
    bool WaitUntilShown(UiWindow *) override { return true; }
    bool TextIsWhole(UiControl *) override { return true; }
    void GetShownSize(UiWindow *window, int *width, int *height) override
    {
        *width = window->parms.width;
        *height = window->parms.height;
    }
};

bool IsList(const UiControl *control) { return control && control->kind == UI_DROP_DOWN; }

bool IsButton(const UiControl *control)
{
    return control && (control->kind == UI_PUSH_BUTTON || control->kind == UI_DEFAULT_BUTTON ||
                       control->kind == UI_RADIO_BUTTON);
}

// Runs a change of the program's on the control and shows it, raising no event.
template <typename Change> bool ChangeControl(UiWindow *window, int id, Change change)
{
    UiControl *control = UiWindowFindControl(window, id);
    if (!control || !change(control))
        return false;
    window->updating++;
    window->backend->ShowControl(window, control);
    window->updating--;
    window->drawn = false;
    return true;
}

void UncheckRestOfGroup(UiWindow *window, UiControl *checked)
{
    for (UiControl &other : window->controls) {
        if (&other != checked && other.kind == UI_RADIO_BUTTON && other.radio_group == checked->radio_group &&
            other.checked) {
            other.checked = false;
            window->updating++;
            window->backend->ShowControl(window, &other);
            window->updating--;
        }
    }
}

} // namespace

std::unique_ptr<UiBackend> UiMakeNullBackend() { return std::make_unique<NullBackend>(); }

UiControl *UiWindowFindControl(UiWindow *window, int id)
{
    if (!window)
        return nullptr;
    for (UiControl &control : window->controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

void UiWindowPostEvent(UiWindow *window, _UiEventType type, int control_id)
{
    window->events.push_back(_UiEvent{type, control_id});
}

void UiWindowUserClicked(UiWindow *window, UiControl *control)
{
    if (control->kind == UI_RADIO_BUTTON && !control->checked) {
        control->checked = true;
        UncheckRestOfGroup(window, control);
    }
    UiWindowPostEvent(window, UI_EVENT_CLICKED, control->id);
}

void UiWindowUserChose(UiWindow *window, UiControl *control, int index)
{
    if (index < -1 || index >= static_cast<int>(control->items.size()) || index == control->selection)
        return;
    control->selection = index;
    UiWindowPostEvent(window, UI_EVENT_SELECTION_CHANGED, control->id);
}

UiWindow *UiWindowCreate(const _UiWindowParms *parms, UiEventCB callback, void *user)
{
    if (!parms || parms->width <= 0 || parms->height <= 0)
        return nullptr;
    std::unique_ptr<UiBackend> backend = test_null_backend ? UiMakeNullBackend() : UiMakeGtkBackend();
    if (!backend)
        return nullptr;
    UiWindow *window = new UiWindow;
    window->parms = *parms;
    window->title = parms->title ? parms->title : "";
    window->parms.title = nullptr;
    window->callback = callback;
    window->user = user;
    window->backend = std::move(backend);
    if (!window->backend->CreateWindow(window)) {
        delete window;
        return nullptr;
    }
    return window;
}

void UiWindowDestroy(UiWindow *window)
{
    if (!window)
        return;
    window->backend->DestroyWindow(window);
    delete window;
}

bool UiWindowAddControl(UiWindow *window, _UiControlKind kind, int id, int x, int y, int width, int height,
                        const char *text)
{
    if (!window || id <= 0 || UiWindowFindControl(window, id) || kind < UI_GROUP_BOX || kind > UI_PICTURE)
        return false;
    UiControl control;
    control.kind = kind;
    control.id = id;
    control.x = control.given_x = x;
    control.y = y;
    control.width = control.given_width = width;
    control.height = height;
    control.text = text ? text : "";
    if (kind == UI_RADIO_BUTTON) {
        // A radio button right after another one joins its group.
        bool follows = !window->controls.empty() && window->controls.back().kind == UI_RADIO_BUTTON;
        control.radio_group = follows ? window->radio_groups : ++window->radio_groups;
    }
    window->controls.push_back(control);
    window->updating++;
    bool made = window->backend->CreateControl(window, &window->controls.back());
    window->updating--;
    window->drawn = false;
    if (!made)
        window->controls.pop_back();
    return made;
}

int UiWindowPump(UiWindow *window, bool wait)
{
    if (!window)
        return 1;
    if (window->events.empty() && test_hook)
        test_hook(window);
    if (window->events.empty())
        window->backend->Pump(window, wait);
    if (window->events.empty())
        return 1;
    _UiEvent event = window->events.front();
    window->events.pop_front();
    if (window->callback)
        window->callback(window, &event, window->user);
    return 2;
}

bool UiControlSetText(UiWindow *window, int id, const char *text)
{
    return ChangeControl(window, id, [text](UiControl *c) {
        c->text = text ? text : "";
        return true;
    });
}

bool UiControlGetText(UiWindow *window, int id, char *buffer, int size)
{
    UiControl *control = UiWindowFindControl(window, id);
    if (!control || !buffer || size <= 0)
        return false;
    std::snprintf(buffer, static_cast<size_t>(size), "%s", control->text.c_str());
    return true;
}

bool UiControlSetAlign(UiWindow *window, int id, _UiTextAlign align)
{
    if (align < UI_ALIGN_LEFT || align > UI_ALIGN_RIGHT)
        return false;
    return ChangeControl(window, id, [align](UiControl *c) {
        c->align = align;
        return true;
    });
}

bool UiControlEnable(UiWindow *window, int id, bool enabled)
{
    return ChangeControl(window, id, [enabled](UiControl *c) {
        c->enabled = enabled;
        return true;
    });
}

bool UiControlIsEnabled(UiWindow *window, int id)
{
    UiControl *control = UiWindowFindControl(window, id);
    return control && control->enabled;
}

bool UiControlSetChecked(UiWindow *window, int id, bool checked)
{
    bool changed = ChangeControl(window, id, [checked](UiControl *c) {
        if (!IsButton(c))
            return false;
        c->checked = checked;
        return true;
    });
    if (changed && checked) {
        UiControl *control = UiWindowFindControl(window, id);
        if (control->kind == UI_RADIO_BUTTON)
            UncheckRestOfGroup(window, control);
    }
    return changed;
}

bool UiControlIsChecked(UiWindow *window, int id)
{
    UiControl *control = UiWindowFindControl(window, id);
    return control && control->checked;
}

bool UiListClear(UiWindow *window, int id)
{
    return ChangeControl(window, id, [](UiControl *c) {
        if (!IsList(c))
            return false;
        c->items.clear();
        c->selection = -1;
        return true;
    });
}

bool UiListAddItem(UiWindow *window, int id, const char *text)
{
    return ChangeControl(window, id, [text](UiControl *c) {
        if (!IsList(c))
            return false;
        c->items.push_back(text ? text : "");
        return true;
    });
}

int UiListGetCount(UiWindow *window, int id)
{
    UiControl *control = UiWindowFindControl(window, id);
    return IsList(control) ? static_cast<int>(control->items.size()) : -1;
}

const char *UiListGetItem(UiWindow *window, int id, int index)
{
    UiControl *control = UiWindowFindControl(window, id);
    if (!IsList(control) || index < 0 || index >= static_cast<int>(control->items.size()))
        return "";
    return control->items[index].c_str();
}

bool UiListSetSelection(UiWindow *window, int id, int index)
{
    return ChangeControl(window, id, [index](UiControl *c) {
        if (!IsList(c) || index < -1 || index >= static_cast<int>(c->items.size()))
            return false;
        c->selection = index;
        return true;
    });
}

int UiListGetSelection(UiWindow *window, int id)
{
    UiControl *control = UiWindowFindControl(window, id);
    return IsList(control) ? control->selection : -1;
}

bool UiControlGetRect(UiWindow *window, int id, int *x, int *y, int *width, int *height)
{
    UiControl *control = UiWindowFindControl(window, id);
    if (!control)
        return false;
    *x = control->x;
    *y = control->y;
    *width = control->width;
    *height = control->height;
    return true;
}

const char *UiPictureGetFile(UiWindow *window, int id)
{
    UiControl *control = UiWindowFindControl(window, id);
    return control && control->kind == UI_PICTURE ? control->text.c_str() : "";
}

void UiWindowGetRect(UiWindow *window, int *x, int *y, int *width, int *height)
{
    if (!window)
        return;
    *x = window->parms.x;
    *y = window->parms.y;
    *width = window->parms.width;
    *height = window->parms.height;
}

const char *UiWindowGetTitle(UiWindow *window) { return window ? window->title.c_str() : ""; }

bool UiWindowIsDialog(UiWindow *window) { return window && window->parms.dialog; }

float UiGetScreenDpi()
{
    if (test_null_backend)
        return test_dpi > 0.0f ? test_dpi : 96.0f;
    return UiGtkScreenDpi();
}

void UiSetTestHook(UiTestHookCB hook, bool null_backend)
{
    test_hook = hook;
    test_null_backend = hook && null_backend;
}

void UiSetTestDpi(float dpi) { test_dpi = dpi; }

bool UiTestClick(UiWindow *window, int id)
{
    UiControl *control = UiWindowFindControl(window, id);
    if (!IsButton(control) || !control->enabled)
        return false;
    window->backend->Click(window, control);
    return true;
}

bool UiTestChoose(UiWindow *window, int id, int index)
{
    UiControl *control = UiWindowFindControl(window, id);
    if (!IsList(control) || !control->enabled || index < 0 || index >= static_cast<int>(control->items.size()))
        return false;
    window->backend->Choose(window, control, index);
    return true;
}

bool UiTestPressEscape(UiWindow *window)
{
    if (!window)
        return false;
    window->backend->PressEscape(window);
    return true;
}

bool UiTestCloseBox(UiWindow *window)
{
    if (!window)
        return false;
    window->backend->CloseBox(window);
    return true;
}

bool UiTestWaitUntilShown(UiWindow *window) { return window && window->backend->WaitUntilShown(window); }

void UiTestGetShownSize(UiWindow *window, int *width, int *height)
{
    *width = *height = 0;
    if (window)
        window->backend->GetShownSize(window, width, height);
}

bool UiTestTextIsWhole(UiWindow *window, int id)
{
    UiControl *control = UiWindowFindControl(window, id);
    return control && window->backend->TextIsWhole(control);
}
