// The native window of the updater (see the header), over platform/ui.
#include "modules/SWin.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"

#include <algorithm>
#include <cstring>

namespace {

const int FALLBACK_AREA_WIDTH = 1280, FALLBACK_AREA_HEIGHT = 1024;

// The native control of each kind; -1 for the slot that has none.
const int NATIVE_KINDS[] = {
    UI_GROUP_BOX,   // SWBT_GROUP_BOX
    UI_LABEL,       // SWBT_STATIC_TEXT
    UI_PUSH_BUTTON, // SWBT_PUSH_BUTTON
    UI_TEXT_BOX,    // SWBT_EDIT_BOX
    -1,             // SWBT_RADIO_GROUP
    -2,             // 5: no such kind
    UI_DROP_DOWN,   // SWBT_DROP_DOWN_LIST
    UI_PICTURE,     // SWBT_PICTURE
};

// Cuts, centres and moves a rectangle inside an area.
void FitInside(int area_width, int area_height, float *x, float *y, float *width, float *height)
{
    *width = std::min(*width, static_cast<float>(area_width));
    *height = std::min(*height, static_cast<float>(area_height));
    if (*x < 0)
        *x = (area_width - *width) / 2;
    if (*y < 0)
        *y = (area_height - *height) / 2;
    if (*x + *width > area_width)
        *x = area_width - *width;
    if (*y + *height > area_height)
        *y = area_height - *height;
}

// Ids of the native controls are the index plus one (ids start at 1).
int ControlId(int index) { return index + 1; }

} // namespace

SWin modules_swin;

_SWinPlace SWinPlaceWindow(int area_width, int area_height, float scale, int x, int y, int width, int height)
{
    _SWinPlace place = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                        static_cast<float>(height)};
    FitInside(area_width, area_height, &place.x, &place.y, &place.width, &place.height);
    if (scale > 1.0f) {
        // Grows about the area's centre.
        place.width *= scale;
        place.height *= scale;
        place.x = area_width / 2.0f - (area_width / 2.0f - place.x) * scale;
        place.y = area_height / 2.0f - (area_height / 2.0f - place.y) * scale;
    }
    return place;
}

_SWinPlace SWinPlaceControl(int area_width, int area_height, float scale, int x, int y, int width, int height)
{
    _SWinPlace place = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                        static_cast<float>(height)};
    FitInside(area_width, area_height, &place.x, &place.y, &place.width, &place.height);
    if (scale > 1.0f) {
        place.width *= scale;
        place.height *= scale;
        if (place.x >= 0)
            place.x *= scale;
        if (place.y >= 0)
            place.y *= scale;
    }
    return place;
}

SWin::SWin()
    : m_created(false), m_area(), m_scale(1.0f), m_quit(false), m_num_controls(0), m_controls(), m_window(nullptr),
      m_colour()
{
}

SWin::~SWin()
{
    if (m_created)
        DestroyMainWindow();
}

bool SWin::CreateMainWindow(const _SWinCreateInfo *info)
{
    const char *where = "SWin::CreateMainWindow";
    if (!info) {
        DebugError(where, "No info specified");
        return false;
    }
    if (m_created) {
        DebugError(where, "Window already created");
        return false;
    }
    int left, top, area_width, area_height;
    if (!EngMiscGetDesktopArea(&left, &top, &area_width, &area_height, 1)) {
        area_width = FALLBACK_AREA_WIDTH;
        area_height = FALLBACK_AREA_HEIGHT;
    }
    m_scale = UiGetScreenDpi() / 96.0f;
    _SWinPlace place = SWinPlaceWindow(area_width, area_height, m_scale, info->x, info->y, info->width, info->height);

    m_colour[0] = info->red;
    m_colour[1] = info->green;
    m_colour[2] = info->blue;
    char title[sizeof(info->title)];
    std::memcpy(title, info->title, sizeof(title));
    title[sizeof(title) - 1] = 0;
    _UiWindowParms parms = {title,
                            static_cast<int>(place.x),
                            static_cast<int>(place.y),
                            static_cast<int>(place.width),
                            static_cast<int>(place.height),
                            0,
                            info->red,
                            info->green,
                            info->blue};
    m_window = UiWindowCreate(&parms, EventCB, this);
    if (!m_window) {
        DebugError(where, "CreateWindow() Failed");
        return false;
    }
    m_area[0] = m_area[1] = 0.0f;
    m_area[2] = static_cast<float>(parms.width);
    m_area[3] = static_cast<float>(parms.height);
    m_num_controls = 0;
    std::memset(m_controls, 0, sizeof(m_controls));
    m_quit = false;
    m_created = true;
    return true;
}

int SWin::AddButtonToWindow(_SWinButtonType kind, int x, int y, int width, int height, const char *text)
{
    const char *where = "SWin::AddButtonToWindow";
    if (!m_created) {
        DebugError(where, "No window");
        return -1;
    }
    if (m_num_controls >= SWIN_MAX_CONTROLS) {
        DebugError(where, "Too many buttons");
        return -1;
    }
    int count = static_cast<int>(sizeof(NATIVE_KINDS) / sizeof(NATIVE_KINDS[0]));
    if (kind < 0 || kind >= count || NATIVE_KINDS[kind] == -2) {
        DebugError(where, "Unknown button type %d", static_cast<int>(kind));
        return -1;
    }
    int area_width = static_cast<int>(m_area[2]), area_height = static_cast<int>(m_area[3]);
    _SWinPlace place = SWinPlaceControl(area_width, area_height, m_scale, x, y, width, height);

    int index = m_num_controls;
    Control &control = m_controls[index];
    control = Control{};
    control.kind = kind;
    control.x = static_cast<int>(place.x);
    control.y = static_cast<int>(place.y);
    control.width = static_cast<int>(place.width);
    control.height = static_cast<int>(place.height);
    control.selection = -1;

    if (NATIVE_KINDS[kind] >= 0) {
        int cx = control.x, cy = control.y, cw = control.width, ch = control.height;
        if (kind == SWBT_PICTURE) {
            cx = x;
            cy = y;
            cw = width;
            ch = height;
        } else if (kind == SWBT_DROP_DOWN_LIST) {
            // The list's height reaches to the bottom of the window.
            ch = area_height - cy;
        }
        if (!UiWindowAddControl(m_window, static_cast<_UiControlKind>(NATIVE_KINDS[kind]), ControlId(index), cx, cy,
                                cw, ch, text)) {
            DebugError(where, "CreateWindow() Failed");
            return -1;
        }
    }
    m_num_controls++;
    return index;
}

int SWin::AddPushButtonToWindow(int x, int y, int width, int height, const char *text, SWinPushButtonCB callback)
{
    int index = AddButtonToWindow(SWBT_PUSH_BUTTON, x, y, width, height, text);
    if (index >= 0)
        m_controls[index].push_callback = callback;
    return index;
}

bool SWin::PushButtonSetCallback(int index, SWinPushButtonCB callback)
{
    if (!m_created || index < 0 || index >= m_num_controls)
        return false;
    if (m_controls[index].kind != SWBT_PUSH_BUTTON) {
        DebugError("SWin::PushButtonSetCallback", "Not a push button");
        return false;
    }
    m_controls[index].push_callback = callback;
    return true;
}

bool SWin::ListSetCallback(int index, SWinListCB callback, int *int_target, char *char_target)
{
    if (!m_created || index < 0 || index >= m_num_controls)
        return false;
    Control &control = m_controls[index];
    if (control.kind != SWBT_DROP_DOWN_LIST) {
        DebugError("SWin::ListSetCallback", "Not a drop-down list");
        return false;
    }
    control.list_callback = callback;
    control.list_int_target = int_target;
    control.list_char_target = char_target;
    return true;
}

SWin::Control *SWin::FindNativeControl(int index, const char *where)
{
    if (!m_created || index < 0 || index >= m_num_controls)
        return nullptr;
    if (NATIVE_KINDS[m_controls[index].kind] < 0) {
        DebugError(where, "No window");
        return nullptr;
    }
    return &m_controls[index];
}

bool SWin::SetButtonText(int index, const char *text)
{
    return FindNativeControl(index, "SWin::SetButtonText") && UiControlSetText(m_window, ControlId(index), text);
}

bool SWin::GetButtonText(int index, char *buffer, int size)
{
    return FindNativeControl(index, "SWin::GetButtonText") &&
           UiControlGetText(m_window, ControlId(index), buffer, size);
}

bool SWin::SetButtonTextAlign(int index, _SWinTextAlign align)
{
    if (align < SWTA_LEFT || align > SWTA_RIGHT)
        return false;
    return FindNativeControl(index, "SWin::SetButtonTextAlign") &&
           UiControlSetAlign(m_window, ControlId(index), static_cast<_UiTextAlign>(align));
}

int SWin::GetListSelection(int index) const
{
    if (index < 0 || index >= m_num_controls || m_controls[index].kind != SWBT_DROP_DOWN_LIST)
        return -1;
    return m_controls[index].selection;
}

int SWin::ProcessAnyWindowsMessages()
{
    if (!m_created) {
        DebugError("SWin::ProcessAnyWindowsMessages", "No window");
        return 0;
    }
    if (m_quit)
        return 0;
    int result = UiWindowPump(m_window, false);
    if (result == 1 && m_quit)
        return 0;
    return result;
}

bool SWin::QuitWindowLoop()
{
    if (!m_created) {
        DebugError("SWin::QuitWindowLoop", "No window");
        return false;
    }
    m_quit = true;
    return true;
}

bool SWin::DestroyMainWindow()
{
    if (!m_created) {
        DebugError("SWin::DestroyMainWindow", "No window");
        return false;
    }
    UiWindowDestroy(m_window);
    Destroyed();
    return true;
}

// What the desktop's destroy message does: the loop ends and the window is gone.
void SWin::Destroyed()
{
    m_quit = true;
    m_created = false;
    m_window = nullptr;
}

void SWin::EventCB(UiWindow *, const _UiEvent *event, void *user)
{
    SWin *swin = static_cast<SWin *>(user);
    int index = event->control_id - 1;
    bool control = index >= 0 && index < swin->m_num_controls;
    switch (event->type) {
    case UI_EVENT_CLICKED:
        if (control && swin->m_controls[index].kind == SWBT_PUSH_BUTTON && swin->m_controls[index].push_callback)
            swin->m_controls[index].push_callback(swin);
        break;
    case UI_EVENT_SELECTION_CHANGED:
        if (control && swin->m_controls[index].kind == SWBT_DROP_DOWN_LIST) {
            Control &list = swin->m_controls[index];
            list.selection = UiListGetSelection(swin->m_window, event->control_id);
            if (list.list_int_target)
                *list.list_int_target = list.selection;
            if (list.list_char_target)
                *list.list_char_target = static_cast<char>(list.selection);
            if (list.list_callback)
                list.list_callback(swin, list.selection);
        }
        break;
    case UI_EVENT_ESCAPE:
    case UI_EVENT_CLOSE:
        swin->DestroyMainWindow();
        break;
    }
}
