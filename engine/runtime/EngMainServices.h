// What the engine's entry function needs of the game core: its start-up and
// close-down, and the main window's title, class name and settings record.
// The game core defines these.
#pragma once

struct _EngCreateWindowParms;

// Module set-up, then the program object and its Init. Returns 1 when Init
// answered positive; 0 with *exit_code 0 for a quiet stop; 0 with *exit_code
// -1 after "No memory" or "Init Failed".
char MainCreateAndInitMainProgram(void *instance, char *command_line, int *exit_code);
// Closes the program object down and deletes it; logs "Exited program.".
void MainDeleteMainProgram(char ok);
const char *MainGetProgramName();
const char *MainGetWindowClassName();
_EngCreateWindowParms *MainGetCreateWindowParms();
