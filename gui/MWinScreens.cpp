// The toolkit's screen set: the fade around switches, the hooks of the
// program's screen set, and the controllers' binding.
#include "gui/MWinScreens.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "gui/EngScreens.h"
#include "gui/MWin.h"
#include "gui/MWinDesktop.h"

#include <new>

namespace {

const double FADE_SECONDS = 0.15;
// Beyond this many steps the first frame's time is not believable.
const double MAX_FADE_STEPS = 1000000;

// One frame of the fade: the program's picture, the cursor, the screen
// darkened by level (0 clear, 1 black), shown at once.
void DrawFadeFrame(float level)
{
    if (eng_main_program)
        eng_main_program->RenderCB();
    if (eng_main_program && eng_main_program->GetWindow())
        eng_main_program->GetWindow()->DrawTextureCursor_PC();
    if (!eng_device)
        return;
    bool began = eng_device->BeginRenderingIfNeeded();
    bool prepared = eng_device->PrepareFor2DIfNeeded(0);
    EngDimDraw(level);
    if (prepared)
        eng_device->RestoreAfter2D();
    if (began)
        eng_device->EndRendering();
    eng_device->SwapBuffers();
}

} // namespace

// Controllers.

void MWinCollectionController::SetScreens(MWinScreens *screens)
{
    if (!DebugCheckFatal(screens != nullptr, "MWinCollectionController::SetScreens", " "))
        return;
    MWin *mwin = screens->GetMWin();
    if (!DebugCheckFatal(mwin != nullptr, "MWinCollectionController::SetScreens", " "))
        return;
    m_screens = screens;
    m_mwin = mwin;
    m_game = mwin->GetGame(1);
}

MWinScreens *MWinCollectionController::GetScreens(char allow_null)
{
    if (!allow_null)
        DebugCheckFatal(m_screens != nullptr, "MWinCollectionController::GetScreens", "No screens");
    return m_screens;
}

// The screen set.

MWinScreens::MWinScreens(MWin *mwin, char fade) : m_screens(nullptr), m_fade(fade), m_mwin(mwin)
{
    if (!DebugCheckFatal(mwin != nullptr, "MWinScreens::MWinScreens", "No m_mwinp"))
        return;
    m_screens = new (std::nothrow) EngScreens(mwin, this);
    mwin->SetScreens(this);
}

char MWinScreens::HasRegistry(const char *where) const
{
    if (!m_screens)
        DebugErrorCode(where, 'NOSU');
    return m_screens != nullptr;
}

MWinScreens::~MWinScreens()
{
    RemoveAllScreens();
    delete m_screens;
}

char MWinScreens::AddScreen(unsigned int id, MWinCollectionController *controller)
{
    if (!HasRegistry("MWinScreens::AddScreen"))
        return 0;
    return m_screens->Add(id, controller);
}

char MWinScreens::SetupAllScreens()
{
    if (!HasRegistry("MWinScreens::SetupAllScreens"))
        return 0;
    m_screens->RemoveAll();
    m_screens->SetChangingCallbacks(MWinScreens_PreChangingCB, MWinScreens_PostChangingCB);
    if (!SetupScreensCB()) {
        DebugError("MWinScreens::SetupAllScreens", "Could not setup program's screens");
        return 0;
    }
    return 1;
}

void MWinScreens::StartScreen(unsigned int id, char start_toolkit)
{
    if (!HasRegistry("MWinScreens::StartScreen"))
        return;
    m_screens->SetCurrentScreenID(id);
    Fade(-1);
    StartScreenCB();
    m_screens->TurnOn(start_toolkit);
    Fade(1);
}

void MWinScreens::End(char stop_toolkit)
{
    if (!HasRegistry("MWinScreens::End"))
        return;
    Fade(-1);
    m_screens->TurnOff(stop_toolkit);
    if (m_mwin->IsOn() && m_mwin->GetDesktop())
        m_mwin->GetDesktop()->RemoveAllCollections();
    EndCB();
    Fade(1);
}

void MWinScreens::GotoScreen(unsigned int id, void *data)
{
    if (!m_screens || !m_mwin) {
        DebugErrorCode("MWinScreens::GotoScreen", 'NOSU');
        return;
    }
    if (m_mwin->IsPopupOn()) {
        DebugError("MWinScreens::GotoScreen", "Called when a popup was on. Turning popup off...");
        m_mwin->PopupCloseIfOn();
    }
    Fade(-1);
    m_screens->Goto(id, data);
    Fade(1);
}

void MWinScreens::GoBack()
{
    if (!HasRegistry("MWinScreens::GoBack"))
        return;
    Fade(-1);
    m_screens->GoBack();
    Fade(1);
}

void MWinScreens::ReloadCurrentScreen()
{
    if (!HasRegistry("MWinScreens::ReloadCurrentScreen"))
        return;
    m_screens->ReloadCurrent();
}

char MWinScreens::SetCurrentScreen(unsigned int id)
{
    if (!HasRegistry("MWinScreens::SetCurrentScreen"))
        return 0;
    return m_screens->SetCurrentScreenID(id);
}

unsigned int MWinScreens::GetCurrentScreen() const
{
    if (!HasRegistry("MWinScreens::GetCurrentScreen"))
        return 0;
    return m_screens->GetCurrentScreenID();
}

char MWinScreens::Tick()
{
    if (!HasRegistry("MWinScreens::Tick"))
        return 0;
    return m_screens->Tick();
}

void MWinScreens::Render(int pass)
{
    if (!HasRegistry("MWinScreens::Render"))
        return;
    m_screens->Render(pass);
}

char MWinScreens::IsOn()
{
    if (!HasRegistry("MWinScreens::IsOn"))
        return 0;
    return m_mwin->IsOn() && m_screens->IsOn();
}

void MWinScreens::RemoveAllScreens()
{
    if (!HasRegistry("MWinScreens::RemoveAllScreens"))
        return;
    m_screens->RemoveAll();
}

void MWinScreens::PreChangingCB()
{
    if (!HasRegistry("MWinScreens::PreChangingCB"))
        return;
    if (m_screens->GetCurrentScreenID() == 0)
        return;
    PreChangingScreenCB();
    if (m_mwin->GetDesktop())
        m_mwin->GetDesktop()->RemoveAllCollections();
}

void MWinScreens::PostChangingCB()
{
    if (!HasRegistry("MWinScreens::PostChangingCB"))
        return;
    PostChangingScreenCB(m_screens->GetCurrentScreenID());
}

void MWinScreens_PreChangingCB(MWin *, void *user)
{
    if (!DebugCheckFatal(user != nullptr, "MWinScreens_PreChangingCB", "No user data"))
        return;
    static_cast<MWinScreens *>(user)->PreChangingCB();
}

void MWinScreens_PostChangingCB(MWin *, void *user)
{
    if (!DebugCheckFatal(user != nullptr, "MWinScreens_PostChangingCB", "No user data"))
        return;
    static_cast<MWinScreens *>(user)->PostChangingCB();
}

// The fade.

void MWinScreens::Fade(char direction)
{
    if (m_fade)
        FadeScreen(direction, FADE_SECONDS);
}

void MWinScreens::FadeScreen(char direction, double seconds)
{
    if (eng_main_frames_per_second <= 1 || seconds <= 0)
        return;
    // The level of darkness at progress p (0..1) of the fade.
    auto level_at = [direction](double p) { return static_cast<float>(direction == -1 ? p : 1 - p); };

    double start = EngMainUpdateProgramTime();
    DrawFadeFrame(level_at(0));
    double frame_time = EngMainUpdateProgramTime() - start;
    if (frame_time <= 0)
        return;
    double steps = seconds / frame_time;
    if (steps > MAX_FADE_STEPS)
        return;
    int count = static_cast<int>(steps);
    double step = count > 0 ? 1.0 / count : 1.0;
    double level = 0;
    double began = EngMainUpdateProgramTime();
    for (int i = 0; i < count; i++) {
        level = level + step > 1 ? 1 : level + step;
        // A frame slower than the first must not stretch the fade.
        if (EngMainUpdateProgramTime() - began > 2 * seconds)
            level = 1;
        DrawFadeFrame(level_at(level));
    }
}
