// The popup state of the toolkit's root: whether a popup is open, closing
// it, and its time-out. A popup lives in its own collection "MWIN_POPUP" at
// the top of the desktop; while it is open the desktop dims what lies below.
#include "engine/runtime/EngMain.h"
#include "gui/MWin.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"

#include <cstring>

char MWin::IsPopupOn()
{
    return m_popup_collection != nullptr;
}

char MWin::PopupCloseIfOn()
{
    if (!IsPopupOn())
        return 0;
    char id[MWIN_ID_SIZE];
    std::memcpy(id, m_popup_collection->GetID(), sizeof(id));
    m_popup_collection = nullptr;
    m_popup_timeout = 0;
    if (m_desktop) {
        m_desktop->RemoveCollection(id);
        m_desktop->SetDimInactive(0);
    }
    RequestRender();
    return 1;
}

void MWin::PopupCheckTimeout()
{
    if (IsPopupOn() && m_popup_timeout > 0 && eng_main_program_time >= m_popup_timeout)
        PopupCloseIfOn();
}
