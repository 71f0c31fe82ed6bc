// The game's program object and its start-up. MainCreateAndInitMainProgram
// sets the shared modules up once, creates the one `Program` (the engine's
// program object with the game's hooks) and runs its InitCB: languages, the
// modules' settings and file hooks, the countries, the `Game`, the weekly
// update check and the start-up settings dialog. Every engine hook then goes
// to the `Game`; MainDeleteMainProgram closes the program down on every way
// out.
//
// Failures: a program object that cannot be made ends the start with "No
// memory" and exit code -1; InitCB answers 0 ("Init Failed", exit code -1)
// when the languages or the modules cannot be set up, and -1 (a quiet end,
// exit code 0) when the update check or the dialog ends the program. Without
// a `Game` the hooks that report success answer false and the others do
// nothing.
#pragma once

#include "engine/runtime/EngMainServices.h"
#include "engine/runtime/EngProgram.h"

class Game;

class Program : public EngProgram {
public:
    Program();
    ~Program() override;

    char InitCB(const char *command_line) override;
    char PreCreateWindowCB(_EngCreateWindowParms *parms) override;
    char PreDeviceInitCB() override;
    char PostDeviceInitCB() override;
    char CreateGraphicsObjectsCB() override;
    void DestroyGraphicsObjectsCB() override;
    char TickCB() override;
    void RenderCB() override;
    char InputEventCB(int event, float a, float b) override;
    void OrientationChangedCB(_EngOrientation orientation) override;
    void ComputerSleepingCB(char sleeping) override;
    void ActivatedCB(char active) override;
    void WindowMinimisedCB(char minimised) override;
    void GraphicsObjectsCreatedCB() override;
    void PreDestroyDeviceCB() override;
    void ExitCB() override;

    Game *GetGame() { return m_game; }
    // Releases the player screens' graphics and goes to the Main screen.
    void AfterCountryChosen();

private:
    Game *m_game;
};

extern Program *main_program;
extern Game *main_game;

// The one-time set-up of the shared modules; later calls do nothing.
void MainInitModules();

float MainGetProgramVersion();
float MainGetUserFileVersion();
// 1 the game's home page, 2 its forum page; null for any other number.
const char *MainGetWebPageAddress(int page);

// The data file of a shared modules' item; "" (after "Unexpected item %d")
// for an item the game does not supply.
const char *Program_GetModulesItemFilenameCB(int item);
// The game's own texture-name hook: "HiveWatcherText.png" (exact case) is
// "Data/1022.dat"; any other name is refused with "Unexpected file <%s>".
char Program_SetEngPictureTextureFileOverwriteCB(const char *picture_file, const char *texture_file, char *out,
                                                 int out_size);
void ProgramAfterCountryCB(Program *program);

// For tests: how the next program object is made (null: the allocation
// fails), and forgetting that the modules were set up.
typedef Program *(*ProgramFactoryCB)();
void ProgramSetFactoryForTests(ProgramFactoryCB factory);
void MainResetModulesForTests();
