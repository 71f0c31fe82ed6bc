// Update answers: the update script's answer read as the version check and
// the internet test read it.
#include "modules/Updater.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    static const std::string address = FuzzServerAddress() + "/cgi-bin/common/updater/CheckVersionV2.cgi";
    FuzzServeAnswer(data, size);
    for (char raw : {0, 1}) {
        UpdaterReadURL(address.c_str(), raw);
        char name[256];
        UpdaterGetSafeFileName(UpdaterGetDownloadLink(), name, sizeof(name));
    }
    UpdaterResetForTests();
    FuzzEndInput();
    return 0;
}
