// The program as the world-score and updater end-to-end tests run it: the
// real game, with its score server and its update script pointed at the
// loopback server named by the first argument, the way the network tests
// point them there. The program itself takes no server address from
// outside.
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "screens/ScreenMakers.h"

#include <string>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    EngServersSetScoreServerAddressForTests(argv[1]);
    const std::string update_script = std::string(argv[1]) + "/cgi-bin/common/updater/CheckVersionV2.cgi";
    EngServersSetUpdateScriptAddressForTests(update_script.c_str());
    ScreenMakersSetAll();
    char *program_only[] = {argv[0], nullptr};
    return EngMainEntry(1, program_only);
}
