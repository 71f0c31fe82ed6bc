// The font registry: caller-owned fonts by identifier and number.
#include "gui/MWinFonts.h"

#include "engine/core/EngDebug.h"
#include "gui/MWinIDs.h"

#include <cstring>

MWinFonts::MWinFonts(MWin *root) : m_root(root), m_created(0), m_standard{}
{
    if (!root)
        DebugFatal("MWinFonts::MWinFonts", "Internal Error (MWinFonts)");
}

MWinFonts::~MWinFonts()
{
    DestroyFonts();
}

int MWinFonts::AddUserFontPointer(const char *id, EngFont *font)
{
    const char *where = "MWinFonts::AddFontPointer";
    if (MWinIsIDInvalid(id)) {
        DebugError("MWinFonts::AddUserFontPointer", "No id specified");
        return MWIN_FONT_NONE;
    }
    if (!font) {
        DebugError(where, "No font passed in");
        return MWIN_FONT_NONE;
    }
    for (const Record &record : m_records)
        if (MWinAreIDsTheSame(record.id, id)) {
            DebugError(where, "Font <%s> already created", id);
            return MWIN_FONT_NONE;
        }
    Record record = {};
    if (!MWinCopyID(record.id, id))
        return MWIN_FONT_NONE;
    record.user_font = font;
    for (size_t i = 0; i < m_records.size(); i++)
        if (!m_records[i].id[0]) {
            m_records[i] = record;
            return static_cast<int>(i);
        }
    m_records.push_back(record);
    return static_cast<int>(m_records.size() - 1);
}

int MWinFonts::GetFontNumFromID(const char *id)
{
    if (MWinIsIDInvalid(id))
        return MWIN_FONT_NONE;
    if (std::strcmp(id, "MWIN_FONT_DEFAULT") == 0)
        return MWIN_FONT_DEFAULT;
    if (std::strcmp(id, "MWIN_FONT_NONE") == 0)
        return MWIN_FONT_NONE;
    for (size_t i = 0; i < m_records.size(); i++)
        if (MWinAreIDsTheSame(m_records[i].id, id))
            return static_cast<int>(i);
    DebugError("MWinFonts::GetFontNumFromID", "Font <%s> does not exist", id);
    return MWIN_FONT_NONE;
}

EngFont *MWinFonts::GetFont(int num)
{
    if (num == MWIN_FONT_DEFAULT)
        return m_standard.user_font;
    if (num < 0 || num >= static_cast<int>(m_records.size()))
        return nullptr;
    return m_records[num].user_font;
}

char MWinFonts::CreateFonts()
{
    // Caller-owned fonts are ready as they are.
    m_created = 1;
    return 1;
}

void MWinFonts::DestroyFonts()
{
    m_created = 0;
}
