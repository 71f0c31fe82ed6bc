#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32CodePage.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<PlatformRenameFunction> rename_function{nullptr};
std::string program_folder_for_tests;

// Paths longer than this are refused by the system anyway.
const size_t NATIVE_PATH_SIZE = 4096;

struct NativePath {
    char text[NATIVE_PATH_SIZE];
    bool ok;
    explicit NativePath(const char *path) : ok(PlatformPathFromAnsi(path, text, sizeof(text)))
    {
        if (!ok)
            errno = path ? ENAMETOOLONG : EINVAL;
    }
};

struct FoundName {
    std::string name;
    DWORD attributes;
};

struct Search {
    std::vector<FoundName> names;
    size_t next;
};

// The desktop lists names case-blind; ties fall back to the bytes so the
// order is total.
bool ComesBefore(const FoundName &a, const FoundName &b)
{
    size_t length = std::min(a.name.size(), b.name.size());
    for (size_t i = 0; i < length; i++) {
        unsigned char x = static_cast<unsigned char>(a.name[i]);
        unsigned char y = static_cast<unsigned char>(b.name[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y)
            return x < y;
    }
    if (a.name.size() != b.name.size())
        return a.name.size() < b.name.size();
    return a.name < b.name;
}

void FillFindData(const FoundName &found, WIN32_FIND_DATAA *data)
{
    data->dwFileAttributes = found.attributes;
    std::memcpy(data->cFileName, found.name.c_str(), found.name.size() + 1);
}

// Copies from into a new file to (which must not exist) and deletes from.
// On failure nothing new is left behind and errno tells why.
bool CopyAndDelete(const char *from, const char *to)
{
    int source = open(from, O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return false;
    struct stat info;
    if (fstat(source, &info) != 0) {
        int error = errno;
        close(source);
        errno = error;
        return false;
    }
    // Folders are not carried between file systems, as on the desktop.
    if (!S_ISREG(info.st_mode)) {
        close(source);
        errno = EISDIR;
        return false;
    }
    int target = open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777);
    if (target < 0) {
        int error = errno;
        close(source);
        errno = error;
        return false;
    }

    bool ok = true;
    char block[65536];
    for (;;) {
        ssize_t got = read(source, block, sizeof(block));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < got;) {
            ssize_t put = write(target, block + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                ok = false;
            else
                done += put;
        }
        if (!ok)
            break;
    }
    int error = errno;
    close(source);
    if (close(target) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(to);
        errno = error;
        return false;
    }
    return unlink(from) == 0;
}

} // namespace

bool PlatformPathFromAnsi(const char *path, char *out, size_t size)
{
    if (!path || !PlatformCp1252ToUtf8(path, out, size))
        return false;
    for (char *p = out; *p; p++)
        if (*p == '\\')
            *p = '/';
    return true;
}

DWORD GetFileAttributesA(const char *path)
{
    NativePath native(path);
    struct stat info;
    if (!native.ok || stat(native.text, &info) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

BOOL CreateDirectoryA(const char *path, void *)
{
    NativePath native(path);
    return native.ok && mkdir(native.text, 0777) == 0;
}

BOOL DeleteFileA(const char *path)
{
    NativePath native(path);
    return native.ok && unlink(native.text) == 0;
}

BOOL PlatformGetDiskFreeBytes(const char *folder, uint64_t *free_bytes)
{
    NativePath native(folder);
    struct statvfs info;
    if (!free_bytes || !native.ok || statvfs(native.text, &info) != 0)
        return FALSE;
    // Blocks free to a program without special rights, in fragment units.
    *free_bytes = static_cast<uint64_t>(info.f_bavail) * static_cast<uint64_t>(info.f_frsize);
    return TRUE;
}

BOOL MoveFileA(const char *existing, const char *new_name)
{
    NativePath from(existing);
    NativePath to(new_name);
    if (!from.ok || !to.ok)
        return FALSE;
    struct stat info;
    if (lstat(to.text, &info) == 0) {
        errno = EEXIST;
        return FALSE;
    }
    PlatformRenameFunction function = rename_function;
    if ((function ? function : std::rename)(from.text, to.text) == 0)
        return TRUE;
    if (errno != EXDEV)
        return FALSE;
    return CopyAndDelete(from.text, to.text);
}

BOOL MoveFileExA(const char *existing, const char *new_name, DWORD flags)
{
    if (!(flags & MOVEFILE_REPLACE_EXISTING))
        return MoveFileA(existing, new_name);
    NativePath from(existing);
    NativePath to(new_name);
    if (!from.ok || !to.ok)
        return FALSE;
    PlatformRenameFunction function = rename_function;
    return (function ? function : std::rename)(from.text, to.text) == 0;
}

HANDLE FindFirstFileA(const char *pattern, WIN32_FIND_DATAA *data)
{
    NativePath native(pattern);
    if (!native.ok || !data)
        return INVALID_HANDLE_VALUE;

    std::string folder = native.text;
    size_t slash = folder.rfind('/');
    std::string mask = slash == std::string::npos ? folder : folder.substr(slash + 1);
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    if (mask != "*.*" && mask != "*") {
        errno = EINVAL;
        return INVALID_HANDLE_VALUE;
    }

    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return INVALID_HANDLE_VALUE;
    Search *search = new Search{{}, 0};
    while (dirent *entry = readdir(dir)) {
        char name[MAX_PATH];
        if (!PlatformUtf8ToCp1252(entry->d_name, name, sizeof(name), 0))
            continue;
        bool is_dir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            std::string full = folder + "/" + entry->d_name;
            is_dir = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        search->names.push_back({name, is_dir ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL});
    }
    closedir(dir);

    if (search->names.empty()) {
        delete search;
        errno = ENOENT;
        return INVALID_HANDLE_VALUE;
    }
    std::sort(search->names.begin(), search->names.end(), ComesBefore);
    FillFindData(search->names[0], data);
    search->next = 1;
    return search;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA *data)
{
    Search *search = static_cast<Search *>(handle);
    if (!search || handle == INVALID_HANDLE_VALUE || !data)
        return FALSE;
    if (search->next >= search->names.size()) {
        errno = ENOENT;
        return FALSE;
    }
    FillFindData(search->names[search->next++], data);
    return TRUE;
}

BOOL FindClose(HANDLE handle)
{
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return FALSE;
    delete static_cast<Search *>(handle);
    return TRUE;
}

void PlatformSetRenameFunction(PlatformRenameFunction function)
{
    rename_function = function;
}

BOOL PlatformEnterProgramFolder()
{
    if (!program_folder_for_tests.empty())
        return chdir(program_folder_for_tests.c_str()) == 0;
    char folder[NATIVE_PATH_SIZE];
    ssize_t length = readlink("/proc/self/exe", folder, sizeof(folder) - 1);
    if (length <= 0)
        return FALSE;
    // A link as long as the buffer may have been cut.
    if (static_cast<size_t>(length) >= sizeof(folder) - 1) {
        errno = ENAMETOOLONG;
        return FALSE;
    }
    folder[length] = 0;
    char *slash = std::strrchr(folder, '/');
    if (!slash) {
        errno = ENOENT;
        return FALSE;
    }
    // The root folder keeps its slash.
    slash[slash == folder ? 1 : 0] = 0;
    return chdir(folder) == 0;
}

void PlatformSetProgramFolderForTests(const char *folder)
{
    program_folder_for_tests = folder ? folder : "";
}

int PlatformLockFile(const char *path)
{
    NativePath native(path);
    if (!native.ok)
        return PLATFORM_LOCK_FAILED;
    // A folder that cannot be written to still lets an existing file be locked.
    int file = open(native.text, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0)
        file = open(native.text, O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return PLATFORM_LOCK_FAILED;
    // flock belongs to this open file: a second lock of the same process is
    // refused as another process's would be.
    if (flock(file, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(file);
        errno = error;
        return error == EWOULDBLOCK ? PLATFORM_LOCK_HELD : PLATFORM_LOCK_FAILED;
    }
    return file;
}

void PlatformUnlockFile(int lock)
{
    if (lock >= 0)
        close(lock);
}
