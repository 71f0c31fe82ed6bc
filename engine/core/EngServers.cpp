#include "engine/core/EngServers.h"

const char *EngServersGetMakerSiteAddress()
{
    return "http://www.lichenware.invalid";
}
