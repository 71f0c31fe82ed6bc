#include "engine/core/EngServers.h"

#include <string>

namespace {

const char kScoreServerDefault[] = "http://scores.lichenware.invalid";
std::string score_server = kScoreServerDefault;

} // namespace

const char *EngServersGetMakerSiteAddress()
{
    return "http://www.lichenware.invalid";
}

const char *EngServersGetScoreServerAddress()
{
    return score_server.c_str();
}

void EngServersSetScoreServerAddressForTests(const char *address)
{
    score_server = address ? address : kScoreServerDefault;
}
