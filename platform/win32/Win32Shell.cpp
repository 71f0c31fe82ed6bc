#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Files.h"

#include <atomic>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

static std::atomic<PlatformShellOpenHookCB> shell_open_hook{nullptr};

void PlatformSetShellOpenHook(PlatformShellOpenHookCB hook)
{
    shell_open_hook = hook;
}

static HINSTANCE ShellResult(bool ok)
{
    // The shell answers a value above 32 on success and an error number otherwise.
    return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(ok ? 33 : 2));
}

// Starts xdg-open detached (double fork), so no child is left to reap and the
// caller does not wait for the opened program.
static bool XdgOpen(const char *file)
{
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (fork() == 0) {
            execlp("xdg-open", "xdg-open", file, static_cast<char *>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

HINSTANCE ShellExecuteA(HWND, const char *verb, const char *file, const char *parameters,
                        const char *directory, int show)
{
    if (!file || !file[0])
        return ShellResult(false);
    PlatformShellOpenHookCB hook = shell_open_hook;
    if (hook)
        return ShellResult(hook(verb, file, parameters, directory, show));
    // Only "open" (or the default verb) means anything here.
    if (verb && verb[0] && std::strcmp(verb, "open") != 0)
        return ShellResult(false);
    // The program's names are 1252 text with '\' separators.
    char native[4096];
    if (!PlatformPathFromAnsi(file, native, sizeof(native)))
        return ShellResult(false);
    return ShellResult(XdgOpen(native));
}
