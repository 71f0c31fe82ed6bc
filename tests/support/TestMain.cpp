// Start-up shared by every test program: each runs in a private temporary
// folder that is also its home and data folder, with the desktop's message
// boxes and shell replaced by recording hooks.
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

// Memory tests ask for more than this on purpose and expect null back.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=2048";
}

// Starting SDL's video subsystem leaves one global block of libdbus behind
// for the life of the process, and GTK (the native windows) keeps its font
// configuration and type tables for the life of the process too; they are
// not ours to free.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libgtk-3.so\n"
           "leak:libgdk-3.so\n";
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);

    char folder[] = "/tmp/hw-test-XXXXXX";
    if (!mkdtemp(folder))
        return 2;
    std::string data = std::string(folder) + "/data";
    std::filesystem::create_directories(data);
    setenv("HOME", folder, 1);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    if (chdir(folder) != 0)
        return 2;

    TestHooks::Install();
    int result = RUN_ALL_TESTS();

    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}
