// The world scores' connections to the program (see the header).
#include "modules/ScoresHooks.h"

_ScoresHooks scores_hooks = {};

void ScoresResetHooksForTests()
{
    scores_hooks = _ScoresHooks();
}
