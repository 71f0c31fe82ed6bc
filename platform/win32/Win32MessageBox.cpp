#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Window.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

static std::atomic<PlatformMessageBoxHookCB> message_box_hook{nullptr};

// Set once the program is asked to close; read and written by signal
// handlers, so plain flags only.
static volatile sig_atomic_t boxes_closed = 0;
// The process group of the box on screen, 0 when none.
static volatile sig_atomic_t box_group = 0;

void PlatformCloseMessageBoxes()
{
    boxes_closed = 1;
    pid_t group = box_group;
    if (group > 0)
        kill(-group, SIGKILL);
}

void PlatformReopenMessageBoxesForTests()
{
    boxes_closed = 0;
}

void PlatformSetMessageBoxHook(PlatformMessageBoxHookCB hook)
{
    message_box_hook = hook;
}

// A child process kills its whole group (itself and the helper process that
// SDL's X11 box runs in) when the program that showed the box dies.
static void EndBoxGroup(int)
{
    kill(0, SIGKILL);
}

// The box runs in a child process that leads a process group of its own, so
// that a close-down asked for while it waits ends the box with the program:
// the wait itself cannot be interrupted, and a box left on screen by a
// killed program would stay there. Answers the button pressed, or -1 when
// the box was closed or could not be shown.
static int ShowBoxInChild(const SDL_MessageBoxData *data)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    // The child shares the program's display connection and must not write
    // to it: SDL's box shows the cursor first when it is hidden, so it is
    // shown here, and put back afterwards.
    int cursor_shown = SDL_ShowCursor(SDL_QUERY);
    SDL_ShowCursor(SDL_ENABLE);
    pid_t parent = getpid();
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        setpgid(0, 0);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, EndBoxGroup);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        // SDL can show a message box without a window or an initialised
        // video system.
        int pressed = -1;
        if (SDL_ShowMessageBox(data, &pressed) != 0)
            pressed = -1;
        ssize_t written = write(fds[1], &pressed, sizeof(pressed));
        _exit(written == static_cast<ssize_t>(sizeof(pressed)) ? 0 : 1);
    }
    close(fds[1]);
    int pressed = -1;
    if (child > 0) {
        // Set here too: the child may not have run yet when a signal comes.
        setpgid(child, child);
        box_group = child;
        if (boxes_closed)
            kill(-child, SIGKILL);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        box_group = 0;
        if (read(fds[0], &pressed, sizeof(pressed)) != static_cast<ssize_t>(sizeof(pressed)))
            pressed = -1;
    }
    close(fds[0]);
    if (cursor_shown == SDL_DISABLE)
        SDL_ShowCursor(SDL_DISABLE);
    return pressed;
}

static int ShowSdlMessageBox(const char *text, const char *caption, UINT type)
{
    Uint32 flags = 0;
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: flags = SDL_MESSAGEBOX_ERROR; break;
    case MB_ICONWARNING: flags = SDL_MESSAGEBOX_WARNING; break;
    case MB_ICONINFORMATION: flags = SDL_MESSAGEBOX_INFORMATION; break;
    default: break;
    }

    // Escape closes a box with one button, as Return does.
    SDL_MessageBoxButtonData ok_button = {
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
    SDL_MessageBoxButtonData yes_no[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    bool ask = (type & MB_TYPEMASK) == MB_YESNO;

    std::string title = PlatformCp1252ToUtf8String(caption);
    std::string message = PlatformCp1252ToUtf8String(text);
    SDL_MessageBoxData data = {};
    data.flags = flags;
    data.title = title.c_str();
    data.message = message.c_str();
    data.numbuttons = ask ? 2 : 1;
    data.buttons = ask ? yes_no : &ok_button;

    int pressed = ShowBoxInChild(&data);
    if (pressed < 0)
        return ask ? IDNO : IDOK;
    return pressed;
}

int MessageBoxA(HWND, const char *text, const char *caption, UINT type)
{
    PlatformMessageBoxHookCB hook = message_box_hook;
    if (hook)
        return hook(text, caption, type);
    // Once the program is closing, or without a display, no box holds it up.
    if (boxes_closed || PlatformIsDisplayLost())
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    return ShowSdlMessageBox(text, caption, type);
}
