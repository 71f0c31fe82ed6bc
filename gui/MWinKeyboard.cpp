// The on-screen keyboard's entry points on the toolkit's root. The keyboard
// takes over the screen for a text entry on phones and tablets only; on the
// desktop no entry is ever open, so the normal screens always draw.
#include "gui/MWin.h"

char MWin::PopupRenderFullScreenTextEntryMobile(char)
{
    // No keyboard entry is open on the desktop: nothing to draw instead.
    return 0;
}

void MWin::PopupGetTextSetEntryMode(int kind, char hidden, char automatic_capitals)
{
    m_entry_kind = kind;
    m_entry_hidden = hidden;
    m_entry_auto_capitals = automatic_capitals;
}
