#include "tests/fuzz/FuzzSupport.h"

#include "engine/core/EngDebug.h"
#include "platform/win32/Win32MessageBox.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

// A reader's failure report would show a box and wait for a click.
int AnswerMessageBox(const char *, const char *, UINT) { return IDOK; }

std::string MakeFolder()
{
    // Every input is written to a file and every report appends to the log:
    // a folder in memory keeps that off the disk where there is one.
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/hw-fuzz-XXXXXX" : "/tmp/hw-fuzz-XXXXXX";
    std::vector<char> buffer(pattern.c_str(), pattern.c_str() + pattern.size() + 1);
    char *name = mkdtemp(buffer.data());
    if (!name) {
        std::perror("mkdtemp");
        std::abort();
    }
    if (chdir(name) != 0) {
        std::perror("chdir");
        std::abort();
    }
    setenv("HOME", name, 1);
    setenv("XDG_DATA_HOME", name, 1);
    PlatformSetMessageBoxHook(AnswerMessageBox);
    // The folder goes with the process when it exits; when libFuzzer stops
    // on a finding no exit handler runs, and run.sh removes the folder named
    // here.
    static std::string kept = name;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(kept, ignored);
    });
    std::fprintf(stderr, "FuzzSetup: working in %s\n", name);
    return name;
}

} // namespace

const std::string &FuzzSetup()
{
    static const std::string folder = MakeFolder();
    return folder;
}

void FuzzWriteFile(const std::string &path, const uint8_t *data, size_t size)
{
    std::string name = path;
    std::replace(name.begin(), name.end(), '\\', '/');
    std::error_code ignored;
    std::filesystem::path folder = std::filesystem::path(name).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    FILE *file = std::fopen(name.c_str(), "wb");
    if (!file || (size && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

void FuzzEndInput() { DebugClearLogs(); }
