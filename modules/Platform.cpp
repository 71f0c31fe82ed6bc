// Platform letters (see the header).
#include "modules/Platform.h"

#include "engine/core/EngDebug.h"

#include <cstring>

namespace {

const char kValidLetters[] = "ABFILMPRSWbmr";

} // namespace

char PlatformGetCurrentPlatform()
{
    return 'W';
}

bool PlatformIsPlatformValid(char platform, char report)
{
    if (platform != 0 && strchr(kValidLetters, platform))
        return true;
    if (report)
        DebugError("PlatformIsPlatformValid", "Invalid platform '%d'.", platform);
    return false;
}
