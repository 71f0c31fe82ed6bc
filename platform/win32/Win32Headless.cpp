#include "platform/win32/Win32Headless.h"

#include <string>
#include <vector>

namespace {

struct Display {
    std::string name;
    std::vector<PlatformHeadlessMode> modes;
    PlatformHeadlessMode desktop;
};

const PlatformHeadlessMode DEFAULT_DESKTOP = {1920, 1080, 32, 60};
const std::vector<Display> DEFAULT_DISPLAYS = {
    {"Headless Display",
     {{1920, 1080, 32, 60}, {1280, 1024, 32, 60}, {1024, 768, 32, 60}, {800, 600, 32, 60}},
     DEFAULT_DESKTOP}};

struct HeadlessDesktop {
    bool on = false;
    int work_left = 0, work_top = 0, work_width = 1920, work_height = 1040;
    std::vector<Display> displays = DEFAULT_DISPLAYS;
    std::vector<int> sample_counts = {2, 4, 8};
    int mouse_x = 0, mouse_y = 0;
    unsigned buttons = 0;
};

HeadlessDesktop headless;

const Display *FindDisplay(int display)
{
    if (display < 0 || display >= PlatformHeadlessGetDisplayCount())
        return nullptr;
    return &headless.displays[display];
}

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

void PlatformHeadlessSetDisplays(const PlatformHeadlessDisplay *displays, int count)
{
    headless.displays.clear();
    for (int i = 0; i < count; i++) {
        const PlatformHeadlessDisplay &display = displays[i];
        int modes = display.modes && display.mode_count > 0 ? display.mode_count : 0;
        headless.displays.push_back(
            {display.name ? display.name : "", {display.modes, display.modes + modes}, display.desktop});
    }
}

void PlatformHeadlessSetModes(const PlatformHeadlessMode *modes, int count, const PlatformHeadlessMode *desktop)
{
    if (headless.displays.empty())
        headless.displays.push_back(DEFAULT_DISPLAYS[0]);
    Display &first = headless.displays[0];
    first.modes.assign(modes, modes + (modes && count > 0 ? count : 0));
    first.desktop = *desktop;
}

int PlatformHeadlessGetDisplayCount()
{
    return static_cast<int>(headless.displays.size());
}

const char *PlatformHeadlessGetDisplayName(int display)
{
    const Display *found = FindDisplay(display);
    return found ? found->name.c_str() : nullptr;
}

int PlatformHeadlessGetModeCount(int display)
{
    const Display *found = FindDisplay(display);
    return found ? static_cast<int>(found->modes.size()) : 0;
}

const PlatformHeadlessMode *PlatformHeadlessGetMode(int display, int index)
{
    const Display *found = FindDisplay(display);
    if (!found || index < 0 || index >= static_cast<int>(found->modes.size()))
        return nullptr;
    return &found->modes[index];
}

const PlatformHeadlessMode *PlatformHeadlessGetDesktopMode(int display)
{
    const Display *found = FindDisplay(display);
    return found ? &found->desktop : nullptr;
}

void PlatformHeadlessSetSampleCounts(const int *counts, int count)
{
    headless.sample_counts.assign(counts, counts + (counts && count > 0 ? count : 0));
}

bool PlatformHeadlessOffersSamples(int samples)
{
    for (int offered : headless.sample_counts)
        if (offered == samples)
            return true;
    return false;
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
