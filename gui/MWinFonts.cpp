// The font registry: caller-owned fonts by identifier and number.
#include "gui/MWinFonts.h"

#include "engine/core/EngDebug.h"
#include "gui/MWinIDs.h"

#include <cstring>

MWinFonts::MWinFonts(MWin *root) : m_root(root), m_created(0)
{
    if (!root)
        DebugFatal("MWinFonts::MWinFonts", "Internal Error (MWinFonts)");
}

MWinFonts::~MWinFonts()
{
    ReleaseFonts();
}

int MWinFonts::AddUserFontPointer(const char *id, EngFont *font)
{
    if (MWinIsIDInvalid(id)) {
        DebugError("MWinFonts::AddUserFontPointer", "No id specified");
        return MWIN_FONT_NONE;
    }
    return AddFontPointer(id, font);
}

int MWinFonts::AddFontPointer(const char *id, EngFont *font)
{
    const char *where = "MWinFonts::AddFontPointer";
    if (!font) {
        DebugError(where, "No font passed in");
        return MWIN_FONT_NONE;
    }
    if (FindRecord(id) >= 0) {
        DebugError(where, "Font <%s> already created", id);
        return MWIN_FONT_NONE;
    }
    Record record = {};
    if (!MWinCopyID(record.id, id))
        return MWIN_FONT_NONE;
    record.user_font = font;
    m_records.push_back(record);
    return static_cast<int>(m_records.size() - 1);
}

int MWinFonts::FindRecord(const char *id)
{
    for (size_t i = 0; i < m_records.size(); i++)
        if (MWinAreIDsTheSame(m_records[i].id, id))
            return static_cast<int>(i);
    return -1;
}

int MWinFonts::GetFontNumFromID(const char *id)
{
    if (MWinIsIDInvalid(id))
        return MWIN_FONT_NONE;
    if (std::strcmp(id, "MWIN_FONT_DEFAULT") == 0)
        return MWIN_FONT_DEFAULT;
    if (std::strcmp(id, "MWIN_FONT_NONE") == 0)
        return MWIN_FONT_NONE;
    int num = FindRecord(id);
    if (num < 0)
        DebugError("MWinFonts::GetFontNumFromID", "Font <%s> does not exist", id);
    return num < 0 ? MWIN_FONT_NONE : num;
}

EngFont *MWinFonts::GetFont(int num)
{
    if (num == MWIN_FONT_DEFAULT)
        return GetStandardFont();
    return num < MWIN_FONT_DEFAULT ? nullptr : GetFontByNum(num);
}

EngFont *MWinFonts::GetFontByNum(int num)
{
    if (num < 0 || num >= static_cast<int>(m_records.size()))
        return nullptr;
    return m_records[num].user_font;
}

EngFont *MWinFonts::GetUserFont(const char *id, char report)
{
    const char *where = "MWinFonts::GetUserFont";
    if (MWinIsIDInvalid(id)) {
        DebugError(where, "No id specified");
        return nullptr;
    }
    int num = FindRecord(id);
    if (num < 0) {
        if (report)
            DebugError(where, "Font <%s> does not exist", id);
        return nullptr;
    }
    return GetFontByNum(num);
}

char MWinFonts::CreateFonts()
{
    char all = 1;
    for (const Record &record : m_records)
        if (!record.user_font) {
            DebugError("MWinFonts::CreateFonts", "Could not create font <%s>", record.id);
            all = 0;
        }
    m_created = all;
    return all;
}

void MWinFonts::DestroyFonts()
{
    // The registry makes no fonts of its own; caller's fonts stay usable.
    m_created = 0;
}

void MWinFonts::ReleaseFonts()
{
    DestroyFonts();
    for (Record &record : m_records)
        record.user_font = nullptr;
}
