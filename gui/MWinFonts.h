// The toolkit's font registry: named fonts, numbered by their position. The
// skin registers caller-owned fonts ("Main"), which the registry never
// deletes. -1 (MWIN_FONT_DEFAULT) names the standard font, which nothing in
// this program fills, so it resolves to no font; -2 (MWIN_FONT_NONE) is no
// font. Refused registrations are reported and answered with -2.
#pragma once

#include "gui/MWinTypes.h"

#include <vector>

class EngFont;
class MWin;

class MWinFonts {
public:
    explicit MWinFonts(MWin *root);
    ~MWinFonts();
    MWinFonts(const MWinFonts &) = delete;
    MWinFonts &operator=(const MWinFonts &) = delete;

    // The font's number, or -2.
    int AddUserFontPointer(const char *id, EngFont *font);
    // -1 and -2 for the two special ids; -2 silently for an empty id.
    int GetFontNumFromID(const char *id);
    // -1 the standard font; below -1 null.
    EngFont *GetFont(int num);

    char CreateFonts();
    void DestroyFonts();
    char IsCreated() const { return m_created; }

private:
    struct Record {
        char id[MWIN_ID_SIZE];
        EngFont *user_font;
    };

    MWin *m_root;
    char m_created;
    std::vector<Record> m_records;
    Record m_standard;
};
