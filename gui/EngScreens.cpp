// The screen registry and the current-screen logic.
#include "gui/EngScreens.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "gui/MWin.h"
#include "gui/MWinScreens.h"

#include <cstring>

namespace {

const unsigned char TOOLKIT_UNDECIDED = 255;

bool HasTopBit(char flag)
{
    return (static_cast<unsigned char>(flag) & 0x80) != 0;
}

} // namespace

EngScreens::EngScreens(MWin *mwin, void *owner)
    : m_mwin(mwin), m_owner(owner), m_screens(16), m_on(0), m_current_id(0), m_current_index(-1),
      m_pre_changing(nullptr), m_post_changing(nullptr), m_toolkit_started(TOOLKIT_UNDECIDED)
{
    if (!mwin)
        DebugError("EngScreens::EngScreens", "No mwinp");
}

EngScreens::~EngScreens()
{
    Clear();
}

char EngScreens::Add(unsigned int id, MWinCollectionController *controller)
{
    for (int i = 0; i < m_screens.GetNumEntries(); i++) {
        const _EngScreen *screen = static_cast<const _EngScreen *>(m_screens.GetEntryData(i, nullptr));
        if (screen && screen->m_id == id && id != 0) {
            DebugError("EngScreens::Add", "Screen [%s] already exists.", EngCodeToString(static_cast<int>(id)));
            return 0;
        }
    }
    _EngScreen screen;
    std::memset(&screen, 0, sizeof(screen));
    screen.m_id = id;
    screen.m_controller = controller;
    if (m_screens.AddEntry(&screen, sizeof(screen)) < 0) {
        DebugError("EngScreens::Add", "Could not add screen.");
        return 0;
    }
    return 1;
}

_EngScreen *EngScreens::GetScreenFromID(unsigned int id, int *index)
{
    for (int i = 0; i < m_screens.GetNumEntries(); i++) {
        _EngScreen *screen = static_cast<_EngScreen *>(m_screens.GetEntryData(i, nullptr));
        // A removed record keeps its slot with id 0; 0 never matches.
        if (screen && screen->m_id == id && id != 0) {
            if (index)
                *index = i;
            return screen;
        }
    }
    DebugError("EngScreens::GetScreenFromID", "Screen [%s] not found.", EngCodeToString(static_cast<int>(id)));
    return nullptr;
}

char EngScreens::SetCurrentScreenID(unsigned int id)
{
    m_current_id = 0;
    m_current_index = -1;
    int index = -1;
    if (!GetScreenFromID(id, &index))
        return 0;
    m_current_id = id;
    m_current_index = index;
    return 1;
}

void EngScreens::SetChangingCallbacks(EngScreensChangingCB pre, EngScreensChangingCB post)
{
    m_pre_changing = pre;
    m_post_changing = post;
}

_EngScreen *EngScreens::GetCurrent()
{
    if (m_current_index < 0)
        return nullptr;
    return static_cast<_EngScreen *>(m_screens.GetEntryData(m_current_index, nullptr));
}

void EngScreens::StartCurrent(void *data)
{
    const char *where = "EngScreens::StartCurrent";
    if (!m_mwin) {
        DebugError(where, "No mwinp");
        return;
    }
    if (!m_mwin->IsOn()) {
        DebugError(where, "MWin is not on");
        return;
    }
    _EngScreen *screen = GetCurrent();
    if (m_current_id == 0 || !screen) {
        DebugError(where, "No start screen set.");
        return;
    }
    if (!DebugCheckFatal(screen->m_controller != nullptr, where, "No controller"))
        return;
    // The controller is copied: its own callbacks may register screens.
    MWinCollectionController *controller = screen->m_controller;
    controller->CreateCollection(m_mwin);
    m_on = 1;
    controller->StartingCB(data);
    m_mwin->ButtonsChanged();
}

void EngScreens::EndCurrent()
{
    _EngScreen *screen = GetCurrent();
    if (screen && screen->m_controller)
        screen->m_controller->ClearPointers();
}

void EngScreens::SetBackScreen(unsigned int id)
{
    _EngScreen *screen = GetCurrent();
    if (!screen)
        return;
    screen->m_back_id = (id != 0 && GetScreenFromID(id, nullptr)) ? id : 0;
}

void EngScreens::StartScreen(void *data)
{
    if (m_pre_changing)
        m_pre_changing(m_mwin, m_owner);
    StartCurrent(data);
    if (m_post_changing)
        m_post_changing(m_mwin, m_owner);
}

void EngScreens::TurnOn(char start_toolkit)
{
    if (m_on)
        return;
    bool start = HasTopBit(start_toolkit) ? !(m_mwin && m_mwin->IsOn()) : start_toolkit != 0;
    if (start) {
        if (!m_mwin) {
            DebugError("EngScreens::TurnOn", "No mwinp");
            return;
        }
        if (!m_mwin->Startup()) {
            DebugFatal("EngScreens::TurnOn", "Could not start the user interface");
            return;
        }
    }
    m_toolkit_started = start ? 1 : 0;
    StartScreen(nullptr);
}

void EngScreens::TurnOff(char stop_toolkit)
{
    if (!m_on)
        return;
    EndCurrent();
    bool stop = HasTopBit(stop_toolkit) ? m_toolkit_started == 1 : stop_toolkit != 0;
    if (stop && m_mwin)
        m_mwin->Shutdown();
    m_toolkit_started = TOOLKIT_UNDECIDED;
    if (stop_toolkit == 2) {
        m_current_id = 0;
        m_current_index = -1;
    }
    m_on = 0;
}

void EngScreens::Goto(unsigned int id, void *data)
{
    unsigned int old = m_current_id;
    int index = -1;
    if (!GetScreenFromID(id, &index))
        return;
    EndCurrent();
    SetCurrentScreenID(id);
    SetBackScreen(old);
    StartScreen(data);
}

void EngScreens::GoBack()
{
    _EngScreen *screen = GetCurrent();
    unsigned int back = screen ? screen->m_back_id : 0;
    if (!GetScreenFromID(back, nullptr))
        return;
    EndCurrent();
    // The back screen keeps its own back id, so GoBack walks the chain.
    SetCurrentScreenID(back);
    StartScreen(nullptr);
}

void EngScreens::ReloadCurrent()
{
    EndCurrent();
    StartScreen(nullptr);
    if (m_mwin)
        m_mwin->ButtonsChanged();
}

char EngScreens::Tick()
{
    if (!m_on)
        return 0;
    _EngScreen *screen = GetCurrent();
    if (screen && screen->m_controller)
        screen->m_controller->TickCB();
    // One toolkit tick per frame; the controller may have ended the program
    // or the stack.
    if (!eng_main_program || eng_main_program->GetExitFlag() || !m_on || !m_mwin)
        return 0;
    m_mwin->Tick();
    return 1;
}

void EngScreens::Render(int pass)
{
    if (!m_on)
        return;
    _EngScreen *screen = GetCurrent();
    if (screen && screen->m_controller)
        screen->m_controller->RenderCB(pass);
}

void EngScreens::RemoveScreen(int index)
{
    _EngScreen *screen = static_cast<_EngScreen *>(m_screens.GetEntryData(index, nullptr));
    if (!screen || (screen->m_id == 0 && !screen->m_controller))
        return;
    if (screen->m_controller && screen->m_controller->GetScreens(1))
        screen->m_controller->ClearPointers();
    else
        DebugError("EngScreens::RemoveScreen", "Bad controller_p");
    std::memset(screen, 0, sizeof(*screen));
}

void EngScreens::RemoveAll()
{
    for (int i = 0; i < m_screens.GetNumEntries(); i++)
        RemoveScreen(i);
    m_screens.RemoveAllEntries();
    m_current_id = 0;
    m_current_index = -1;
}

void EngScreens::Clear()
{
    RemoveAll();
    m_current_index = -1;
    m_on = 0;
}
