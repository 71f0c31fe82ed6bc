// The addresses of the maker's servers, all kept in this one module. The
// defaults lie under the reserved ".invalid" domain, so a build that has not
// been pointed at real servers fails at once instead of reaching out.
#pragma once

// The root of the maker's web site, without a trailing '/'.
const char *EngServersGetMakerSiteAddress();
