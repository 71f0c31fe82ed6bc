#include "engine/core/EngServers.h"

#include <string>

namespace {

const char kMakerSiteDefault[] = "http://www.lichenware.invalid";
std::string maker_site = kMakerSiteDefault;
const char kScoreServerDefault[] = "http://scores.lichenware.invalid";
std::string score_server = kScoreServerDefault;
const char kUpdateScriptDefault[] = "http://www.lichenware.invalid/cgi-bin/common/updater/CheckVersionV2.cgi";
std::string update_script = kUpdateScriptDefault;

} // namespace

const char *EngServersGetMakerSiteAddress()
{
    return maker_site.c_str();
}

const char *EngServersGetTellAFriendAddress()
{
    return "http://friends.lichenware.invalid";
}

const char *EngServersGetScoreServerAddress()
{
    return score_server.c_str();
}

const char *EngServersGetUpdateScriptAddress()
{
    return update_script.c_str();
}

void EngServersSetMakerSiteAddressForTests(const char *address)
{
    maker_site = address ? address : kMakerSiteDefault;
}

void EngServersSetScoreServerAddressForTests(const char *address)
{
    score_server = address ? address : kScoreServerDefault;
}

void EngServersSetUpdateScriptAddressForTests(const char *address)
{
    update_script = address ? address : kUpdateScriptDefault;
}
