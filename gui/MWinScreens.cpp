// The screen stack: its state and the on test.
#include "gui/MWinScreens.h"

#include "gui/MWin.h"

MWinScreens::MWinScreens(MWin *mwin, char fade) : m_mwin(mwin), m_fade(fade), m_on(0), m_current(0) {}

char MWinScreens::IsOn()
{
    return m_mwin && m_mwin->IsOn() && m_on;
}
