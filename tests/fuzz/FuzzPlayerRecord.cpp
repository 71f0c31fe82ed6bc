// Player records: the bytes stored as a player's file, plain and enciphered
// as the program keeps it, and loaded as the Players screen loads a player.
#include "engine/core/EngEncryption.h"
#include "engine/core/EngPrefs.h"
#include "modules/UserClass.h"
#include "tests/fuzz/FuzzSupport.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = (FuzzSetup(), PrefFolderSetup("Hive Watcher", 0, nullptr, 0), EngEncryptionInit("HiveKey"));
    (void)ready;
    char name[USER_FILENAME_SIZE];
    if (!UserGetUserFileName("Ann", name, nullptr))
        return 0;
    for (char mode : {UFM_PLAIN, UFM_ENCIPHERED_OR_PLAIN}) {
        if (mode == UFM_PLAIN)
            FuzzWriteFile(name, data, size);
        else if (!EngEncryptionEncryptAndWriteToFile(name, data, static_cast<unsigned>(size)))
            continue;
        UserClass user(nullptr, "HiveWatcher", 0, mode);
        char always = 0;
        char country[4] = {};
        user.LoadUser("Ann", 1, &always, country);
        user.LoadUser("Ann", 0, &always, country);
    }
    FuzzEndInput();
    return 0;
}
