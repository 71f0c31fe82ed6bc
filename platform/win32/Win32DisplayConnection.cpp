// The loss of the connection to the X server. Xlib's own handler prints a
// line and ends the process at once, losing the play since the last save;
// ours hands the loss to the program first (see Win32Window.h). Kept apart
// from the window code: Xlib's header defines common words as macros.
#include "platform/win32/Win32Window.h"

#include <X11/Xlib.h>

#include <atomic>
#include <unistd.h>

namespace {

std::atomic<PlatformDisplayLostCB> display_lost_cb{nullptr};
std::atomic<bool> display_lost{false};

// Xlib ends the process when this returns, so it never does: the program's
// callback runs once, and a second loss noticed while it runs (a call on the
// dead connection) ends the process at once.
int DisplayConnectionLost(Display *)
{
    if (!display_lost.exchange(true)) {
        PlatformDisplayLostCB lost = display_lost_cb;
        if (lost)
            lost();
    }
    _exit(1);
}

} // namespace

void PlatformSetDisplayLostCB(PlatformDisplayLostCB lost)
{
    display_lost_cb = lost;
}

void PlatformWatchDisplayConnection()
{
    XSetIOErrorHandler(DisplayConnectionLost);
}

bool PlatformIsDisplayLost()
{
    return display_lost;
}
