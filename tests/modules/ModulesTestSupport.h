// Shared by the module tests: a fresh per-user folder, the program's cipher
// key and settings module set up as the game sets them, a headless desktop
// with known modes, and small file helpers.
#pragma once

#include "engine/core/EngDebug.h"
#include "engine/core/EngEncryption.h"
#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngWindow.h"
#include "modules/ModulesHooks.h"
#include "modules/Resolution.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Headless.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace modules_test {

namespace fs = std::filesystem;

inline _EngCreateWindowParms window_parms;

inline float ProgramVersion() { return 2.01f; }
inline _EngCreateWindowParms *CreateWindowParms() { return &window_parms; }

// The per-user folder as the system spells it.
inline fs::path ProductFolder() { return fs::path(std::getenv("XDG_DATA_HOME")) / "Lichenware" / "Hive Watcher"; }
inline fs::path UsersFolder() { return ProductFolder() / "Users"; }
inline fs::path SettingsFile() { return ProductFolder() / "Resolution.dat"; }

// A rename that always fails, to play a failed replace.
inline int FailingRename(const char *, const char *) { return -1; }

// A value of type T at a byte offset of a buffer.
template <typename T> T At(const std::string &bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

template <typename T> void Put(std::string *bytes, size_t offset, T value)
{
    std::memcpy(&(*bytes)[offset], &value, sizeof(T));
}

class ModulesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        EngWindowResetForTests();
        PrefFolderResetForTests();
        PlatformResetHeadlessForTests();
        PlatformSetHeadless(true);
        std::error_code ignored;
        fs::remove_all(ProductFolder().parent_path(), ignored);
        PrefFolderSetup("Hive Watcher", 0, nullptr, 0);
        EngEncryptionInit("HiveKey");
        ModulesResetHooksForTests();
        modules_hooks.get_program_version = ProgramVersion;
        modules_hooks.get_create_window_parms = CreateWindowParms;
        window_parms = _EngCreateWindowParms{};
        ResolutionResetForTests();
        ResolutionSetup(3, 0, 2.01f, 1.5f, nullptr, 0, 1, 0, 0, 0);
        // The updater's script on a loopback port nobody listens on: a
        // module that checks for updates fails at once, without the network.
        EngServersSetUpdateScriptAddressForTests("http://127.0.0.1:1/cgi-bin/common/updater/CheckVersionV2.cgi");
    }

    void TearDown() override
    {
        PlatformSetRenameFunction(nullptr);
        EngServersSetUpdateScriptAddressForTests(nullptr);
        ModulesResetHooksForTests();
        ResolutionResetForTests();
        EngEncryptionResetForTests();
        PlatformSetHeadless(false);
    }

    // Some stored entry holds the text.
    static bool Logged(const std::string &text)
    {
        for (const std::string &stored : StoredLines())
            if (stored.find(text) != std::string::npos)
                return true;
        return false;
    }
};

} // namespace modules_test
