// The pattern every game screen is built on (see the header).
#include "screens/ScreenController.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngPrefs.h"
#include "engine/graphics/EngPicture.h"
#include "game/Program.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinScriptButton.h"
#include "gui/MWinScrollbar.h"
#include "gui/MWinTabPanel.h"
#include "gui/MWinWindow.h"

#include <cstdio>
#include <cstring>
#include <string>

const _ScreenTextStyle screen_menu_style = {"Main", 1, 1, 1, 0.7f, 1, 1.1f, MWTA_CENTER};

namespace {

EngPicture title_picture;

// The control rows of a window in a layout (Normal for an unknown layout or
// a layout without its own table).
const _ScreenControlRow *RowsOf(const _ScreenWindowRow &window, int layout)
{
    if (layout >= 0 && layout < MWIN_NUM_LAYOUTS && window.controls[layout])
        return window.controls[layout];
    return window.controls[0];
}

MWinButton *AddControl(MWinWindow *window, const _ScreenControlRow &row)
{
    switch (row.adder) {
    case SCA_SCRIPT_BUTTON:
        return window->AddScriptButton(row.id, row.texbut, row.x, row.y, row.w, row.h);
    case SCA_TAB_PANEL:
        return window->AddTabPanel(row.id, row.texbut, row.x, row.y, row.w, row.h);
    case SCA_HORZ_SCROLLBAR:
        return window->AddHorzScrollbar(row.id, row.texbut, row.text, row.x, row.y, row.w, row.h);
    case SCA_BUTTON:
    default:
        return window->AddButton(row.id, row.kind, row.texbut, row.text, row.x, row.y, row.w, row.h);
    }
}

} // namespace

void ScreenMoveRows(_ScreenControlRow *rows, int num_rows, std::initializer_list<_ScreenPlace> places)
{
    for (const _ScreenPlace &place : places) {
        if (place.row < 0 || place.row >= num_rows)
            continue;
        _ScreenControlRow &row = rows[place.row];
        row.x = place.x;
        row.y = place.y;
        row.w = place.w;
        row.h = place.h;
    }
}

ScreenController::ScreenController(MWinScreens *screens, const char *class_name, const char *collection_id,
                                   const _ScreenWindowRow *windows, int num_windows)
    : m_class_name(class_name), m_collection_id(collection_id), m_window_rows(windows),
      m_num_windows(num_windows), m_collection(nullptr)
{
    std::snprintf(m_where, sizeof(m_where), "%s::SetScreensVar", class_name);
    m_windows.assign(num_windows, nullptr);
    m_controls.resize(num_windows);
    for (int i = 0; i < num_windows; i++)
        m_controls[i].assign(windows[i].num_controls, nullptr);
    ClearPointers();
    SetScreensVar(screens);
}

std::string ScreenController::Where(const char *operation) const
{
    return std::string(m_class_name) + "::" + operation;
}

void ScreenController::SetScreensVar(MWinScreens *screens)
{
    DebugCheckFatal(screens != nullptr, m_where, "No screens");
    DebugCheckFatal(screens->GetMWin() != nullptr, m_where, "No mwin");
    SetScreens(screens);
}

char ScreenController::CreateCollection(MWin *mwin)
{
    if (!mwin) {
        DebugError(Where("CreateCollection").c_str(), "No mwinp");
        return 0;
    }
    return AddCollectionToDesktop(mwin, mwin->GetDesktop()) != nullptr;
}

MWinCollection *ScreenController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    const std::string where = Where("AddCollectionToDesktop");
    m_collection = nullptr;
    if (!mwin) {
        DebugError(where.c_str(), "No mwinp");
        return nullptr;
    }
    if (!desktop)
        desktop = mwin->GetDesktop();
    if (!desktop) {
        DebugError(where.c_str(), "Could not get default desktop");
        return nullptr;
    }
    MWinCollection *collection = desktop->AddCollection(m_collection_id);
    if (!collection) {
        DebugError(where.c_str(), "Could not create collection <%s>", m_collection_id);
        return nullptr;
    }
    int layout = mwin->GetLayout();
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS)
        layout = 0;
    collection->SetScreenLayout(layout);
    for (int i = 0; i < m_num_windows; i++)
        AddWindowToCollection(i, layout, collection);
    m_collection = collection;
    return collection;
}

MWinWindow *ScreenController::AddWindowToCollection(int window, int layout, MWinCollection *collection)
{
    const std::string where = Where("AddWindowToCollection");
    if (window < 0 || window >= m_num_windows || !collection)
        return nullptr;
    m_windows[window] = nullptr;
    const _ScreenWindowRow &row = m_window_rows[window];
    _MWinWindowCreateInfo info;
    std::memset(&info, 0, sizeof(info));
    info.m_x = row.x;
    info.m_y = row.y;
    info.m_w = row.w;
    info.m_h = row.h;
    EngSafeStrcpy(info.m_back_texbut, row.back_texbut ? row.back_texbut : "MWIN_TEXBUT_NONE",
                  sizeof(info.m_back_texbut));
    EngSafeStrcpy(info.m_title_texbut, "MWIN_TEXBUT_NONE", sizeof(info.m_title_texbut));
    EngSafeStrcpy(info.m_font, "MWIN_FONT_DEFAULT", sizeof(info.m_font));
    AdjustWindowInfo(window, layout, &info);

    collection->SetScreenLayout(layout);
    MWinWindow *win = collection->AddWindow(row.id, &info);
    if (!win) {
        DebugError(where.c_str(), "Could not add window");
        return nullptr;
    }
    m_windows[window] = win;
    win->SetTitleTextColour(1, 1, 1, 1);
    win->SetTitleTextScale(1, 1);
    win->SetTitleTextAlign(MWTA_LEFT);
    win->SetScrollSize(0, 0);
    if (!AddWindowButtonsToWindow(window, layout, win))
        DebugError(where.c_str(), "Could not add buttons to window");
    win->SetController(this);
    return win;
}

char ScreenController::AddWindowButtonsToWindow(int window, int layout, MWinWindow *win)
{
    const std::string where = Where("AddWindowButtonsToWindow");
    if (window < 0 || window >= m_num_windows)
        return 0;
    std::vector<MWinButton *> &pointers = m_controls[window];
    for (MWinButton *&pointer : pointers)
        pointer = nullptr;
    if (!win) {
        DebugError(where.c_str(), "No window");
        return 0;
    }
    const _ScreenControlRow *rows = RowsOf(m_window_rows[window], layout);
    char ok = 1;
    for (int i = 0; i < m_window_rows[window].num_controls; i++) {
        const _ScreenControlRow &row = rows[i];
        // A row without an id is a control this layout does not have.
        if (!row.id)
            continue;
        MWinButton *control = AddControl(win, row);
        pointers[i] = control;
        if (!control) {
            ok = 0;
            continue;
        }
        if (row.style) {
            control->SetFont(row.style->font);
            control->SetTextColour(row.style->r, row.style->g, row.style->b, row.style->a);
            control->SetTextScale(row.style->scale_x, row.style->scale_y);
            control->SetTextAlign(row.style->align);
        }
        if (row.lang_key)
            control->SetLangToken(row.lang_key);
        if (row.multiplier[3] > 0)
            control->SetColourMultiplier(row.multiplier[0], row.multiplier[1], row.multiplier[2], row.multiplier[3]);
        if (row.hidden)
            control->Hide();
    }
    if (!ok)
        DebugError(where.c_str(), "Could not add button(s) to window");
    return ok;
}

void ScreenController::ClearPointers()
{
    m_collection = nullptr;
    for (MWinWindow *&window : m_windows)
        window = nullptr;
    for (std::vector<MWinButton *> &window : m_controls)
        for (MWinButton *&control : window)
            control = nullptr;
}

const _ScreenControlRow *ScreenController::GetRows(int window, int layout) const
{
    return window >= 0 && window < m_num_windows ? RowsOf(m_window_rows[window], layout) : nullptr;
}

void ScreenController::PlaceUnderTitleBar(int layout, _MWinWindowCreateInfo *info)
{
    const _MWinLayoutSettings *settings = m_mwin ? m_mwin->GetLayoutSettings(layout) : nullptr;
    if (layout == MWIN_LAYOUT_NORMAL || !settings)
        return;
    info->m_y = settings->m_title_h;
    info->m_h = 480.0f - settings->m_title_h;
}

MWinWindow *ScreenController::GetWindow(int window) const
{
    return window >= 0 && window < m_num_windows ? m_windows[window] : nullptr;
}

MWinButton *ScreenController::GetControl(int window, int row) const
{
    if (window < 0 || window >= m_num_windows || row < 0 || row >= static_cast<int>(m_controls[window].size()))
        return nullptr;
    return m_controls[window][row];
}

// ---- The title picture ----

char TitlePictureCreateGraphics()
{
    if (!title_picture.LoadFromFile(nullptr, "Data/1021.dat", 0))
        return 0;
    return title_picture.CreateGraphics();
}

void TitlePictureDestroyGraphics()
{
    title_picture.DestroyGraphics();
    title_picture.Destroy();
}

char TitlePictureIsLoaded()
{
    return title_picture.AreGraphicsCreated() || title_picture.GetNumTextures() > 0;
}

void TitlePictureAttachToButton(MWinButton *button)
{
    if (!button)
        return;
    button->SetBackTexButToNone();
    button->PictureAttachPictureToButton(&title_picture, 1);
}

void TitlePictureGoOnline(MWinButton *button)
{
    VariousGoOnline(button ? button->GetMWin() : nullptr, nullptr, MainGetWebPageAddress(1), 1, 1, 1, 0);
}
