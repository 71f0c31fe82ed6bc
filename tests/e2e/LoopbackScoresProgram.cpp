// The program as the world-score end-to-end test runs it: the real game,
// with its score server pointed at the loopback server named by the first
// argument, the way the network tests point it there. The program itself
// takes no server address from outside.
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "screens/ScreenMakers.h"

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    EngServersSetScoreServerAddressForTests(argv[1]);
    ScreenMakersSetAll();
    char *program_only[] = {argv[0], nullptr};
    return EngMainEntry(1, program_only);
}
