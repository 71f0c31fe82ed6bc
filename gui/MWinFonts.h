// The toolkit's font registry: named fonts, numbered by their position. The
// skin registers caller-owned fonts ("Main"), which the registry never
// deletes; fonts are not made from files here. -1 (MWIN_FONT_DEFAULT) names
// the standard font, which nothing in this program fills, so it resolves to
// no font; -2 (MWIN_FONT_NONE) is no font. Every caller of a font must
// therefore live with a null one.
//
// Failures: refused registrations are reported and answered with -2; a
// lookup of an unknown id is reported (GetUserFont only when asked) and
// answered with -2 or null.
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
    // Null outside the list and for an entry without font.
    EngFont *GetFontByNum(int num);
    // No operation fills the standard font: always null here.
    EngFont *GetStandardFont() { return nullptr; }
    // Null for an unknown id, reported only when report is set.
    EngFont *GetUserFont(const char *id, char report);

    // Caller-owned fonts are ready as they are: true when every named
    // entry holds one.
    char CreateFonts();
    void DestroyFonts();
    char IsCreated() const { return m_created; }

private:
    struct Record {
        char id[MWIN_ID_SIZE];
        // The caller's font; null once released.
        EngFont *user_font;
    };

    int AddFontPointer(const char *id, EngFont *font);
    void ReleaseFonts();
    int FindRecord(const char *id);

    [[maybe_unused]] MWin *m_root;
    char m_created;
    std::vector<Record> m_records;
};
