#include "platform/win32/Win32Headless.h"

#include <vector>

namespace {

const PlatformHeadlessMode DEFAULT_DESKTOP = {1920, 1080, 32, 60};
const std::vector<PlatformHeadlessMode> DEFAULT_MODES = {
    {1920, 1080, 32, 60}, {1280, 1024, 32, 60}, {1024, 768, 32, 60}, {800, 600, 32, 60}};

struct HeadlessDesktop {
    bool on = false;
    int work_left = 0, work_top = 0, work_width = 1920, work_height = 1040;
    std::vector<PlatformHeadlessMode> modes = DEFAULT_MODES;
    PlatformHeadlessMode desktop = DEFAULT_DESKTOP;
    int mouse_x = 0, mouse_y = 0;
    unsigned buttons = 0;
};

HeadlessDesktop headless;

} // namespace

void PlatformSetHeadless(bool on)
{
    headless.on = on;
}

bool PlatformIsHeadless()
{
    return headless.on;
}

void PlatformHeadlessSetWorkArea(int left, int top, int width, int height)
{
    headless.work_left = left;
    headless.work_top = top;
    headless.work_width = width;
    headless.work_height = height;
}

void PlatformHeadlessGetWorkArea(int *left, int *top, int *width, int *height)
{
    *left = headless.work_left;
    *top = headless.work_top;
    *width = headless.work_width;
    *height = headless.work_height;
}

void PlatformHeadlessSetModes(const PlatformHeadlessMode *modes, int count, const PlatformHeadlessMode *desktop)
{
    headless.modes.assign(modes, modes + (count > 0 ? count : 0));
    headless.desktop = *desktop;
}

int PlatformHeadlessGetModeCount()
{
    return static_cast<int>(headless.modes.size());
}

const PlatformHeadlessMode *PlatformHeadlessGetMode(int index)
{
    if (index < 0 || index >= PlatformHeadlessGetModeCount())
        return nullptr;
    return &headless.modes[index];
}

const PlatformHeadlessMode *PlatformHeadlessGetDesktopMode()
{
    return &headless.desktop;
}

void PlatformHeadlessSetMouse(int x, int y, unsigned buttons)
{
    headless.mouse_x = x;
    headless.mouse_y = y;
    headless.buttons = buttons;
}

void PlatformHeadlessGetMouse(int *x, int *y, unsigned *buttons)
{
    if (x)
        *x = headless.mouse_x;
    if (y)
        *y = headless.mouse_y;
    if (buttons)
        *buttons = headless.buttons;
}

void PlatformResetHeadlessForTests()
{
    headless = HeadlessDesktop();
}
