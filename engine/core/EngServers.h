// The addresses of the maker's servers, all kept in this one module. The
// defaults lie under the reserved ".invalid" domain, so a build that has not
// been pointed at real servers fails at once instead of reaching out.
#pragma once

// The root of the maker's web site, without a trailing '/'.
const char *EngServersGetMakerSiteAddress();
// The base of the score server's scripts (world lists and submissions),
// without a trailing '/'.
const char *EngServersGetScoreServerAddress();

// The host of the tell-a-friend script, without a trailing '/'.
const char *EngServersGetTellAFriendAddress();
// The updater's version script, a full address without a query.
const char *EngServersGetUpdateScriptAddress();

// Points the maker's web site (and the installers under it) elsewhere; null
// restores the default.
void EngServersSetMakerSiteAddressForTests(const char *address);
// Points the score server elsewhere (a loopback server); null restores the
// default.
void EngServersSetScoreServerAddressForTests(const char *address);
// Points the update script elsewhere (a loopback server); null restores the
// default.
void EngServersSetUpdateScriptAddressForTests(const char *address);
