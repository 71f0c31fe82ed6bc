#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

struct ITEMIDLIST {
    std::string path;
};

namespace {

// XDG: a relative path in these variables is invalid and ignored.
std::string AbsoluteFromEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value && value[0] == '/' ? value : "";
}

std::string HomeFolder()
{
    std::string home = AbsoluteFromEnvironment("HOME");
    if (!home.empty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry;
    passwd *found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return "";
}

bool IsFolder(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Makes path and its missing parents, private to the user as XDG asks.
bool MakeFolders(const std::string &path)
{
    for (size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        std::string part = path.substr(0, at);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (at == std::string::npos)
            break;
    }
    return IsFolder(path);
}

std::string DataFolder()
{
    std::string data = AbsoluteFromEnvironment("XDG_DATA_HOME");
    if (data.empty()) {
        std::string home = HomeFolder();
        if (home.empty())
            return "";
        data = home + "/.local/share";
    }
    return MakeFolders(data) ? data : "";
}

// XDG_DESKTOP_DIR="$HOME/Desktop" or an absolute path, from user-dirs.dirs.
std::string DesktopFolder()
{
    std::string home = HomeFolder();
    if (home.empty())
        return "";
    std::string config = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    if (config.empty())
        config = home + "/.config";

    std::string desktop = home + "/Desktop";
    std::ifstream dirs(config + "/user-dirs.dirs");
    const std::string key = "XDG_DESKTOP_DIR=\"";
    for (std::string line; std::getline(dirs, line);) {
        size_t end = line.rfind('"');
        if (line.compare(0, key.size(), key) != 0 || end < key.size())
            continue;
        std::string value = line.substr(key.size(), end - key.size());
        if (value.compare(0, 5, "$HOME") == 0)
            desktop = home + value.substr(5);
        else if (!value.empty() && value[0] == '/')
            desktop = value;
    }
    // Many desktops have no desktop folder; the home folder stands in.
    if (IsFolder(desktop))
        return desktop;
    return IsFolder(home) ? home : "";
}

} // namespace

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, ITEMIDLIST **folder)
{
    if (!folder)
        return E_FAIL;
    *folder = nullptr;
    std::string path;
    if (csidl == CSIDL_APPDATA)
        path = DataFolder();
    else if (csidl == CSIDL_DESKTOPDIRECTORY)
        path = DesktopFolder();
    if (path.empty())
        return E_FAIL;
    *folder = new ITEMIDLIST{path};
    return S_OK;
}

BOOL SHGetPathFromIDListA(const ITEMIDLIST *folder, char *path)
{
    if (!folder || !path)
        return FALSE;
    return PlatformUtf8ToCp1252(folder->path.c_str(), path, MAX_PATH, 0);
}

void ILFree(ITEMIDLIST *folder)
{
    delete folder;
}
