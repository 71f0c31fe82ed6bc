// The shared modules' hooks into the rest of the program (see the header).
#include "modules/ModulesHooks.h"

_ModulesHooks modules_hooks = {};

void ModulesResetHooksForTests() { modules_hooks = _ModulesHooks{}; }
