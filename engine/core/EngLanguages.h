// Localised texts. Every text the player sees is looked up by a token such
// as "Main_ExitMsg" in language files: one text file per language in a
// languages folder, named after the language's English name ("English.txt",
// "Deutsch.txt"). Files are read through TextFile, so the byte-order mark
// tells their encoding and marked files arrive as 1252 text.
//
// File format, line by line:
// - only lines of 1 to 4095 characters count; a line starting with ';'
//   (comment) or '[' (heading) is skipped;
// - the token is the text before the first '=' (1 to 63 characters, nothing
//   trimmed: "Key = value" has the token "Key ");
// - the value is split into numbered sub-texts at every '#' whose neighbours
//   are both not '#' ("a#" gives "a" and "");
// - in each sub-text backslash-n becomes a line break, then the first "##"
//   becomes one '#';
// - "Language=" gives the language's native name and "FlagCountryCode=" its
//   flag's country code (two letters); both are stored as tokens too;
// - duplicate tokens are all kept; lookups find the first.
// While a language other than English is current, its lines are also
// decoded from UTF-8 (ConvertUtf8ToExtendedAscii) and empty lines skipped.
//
// Set-up runs 0 (nothing) -> EngLanguagesInit -> 1 (languages and their
// headers known) -> EngLanguagesInitFinished -> 2 (the current language's
// texts loaded). A token missing from a translation is taken from the
// English file, loaded on the first such lookup, and copied into the
// translation's table, so later lookups find it at once.
//
// Returned texts belong to the tables; they stay valid while tokens are
// added (each record has its own storage), until the language changes or
// EngLanguagesDestroy runs.
//
// Main thread only.
#pragma once

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"

#include <new>

// An owning list of records addressed by index. Each record is allocated on
// its own, so records and the texts they hold never move as the list grows.
template <typename T> class EngLangList {
public:
    EngLangList() = default;
    ~EngLangList() { Clear(); }
    EngLangList(const EngLangList &) = delete;
    EngLangList &operator=(const EngLangList &) = delete;

    // Appends a new empty record; null after a report.
    T *Add(const char *where)
    {
        if (m_count == m_capacity) {
            int capacity = m_capacity ? m_capacity * 2 : 16;
            unsigned size = static_cast<unsigned>(capacity) * sizeof(T *);
            void *items = m_items ? EngRealloc(m_items, size, where) : EngMalloc(size, where, 0);
            if (!items)
                return nullptr;
            m_items = static_cast<T **>(items);
            m_capacity = capacity;
        }
        T *item = new (std::nothrow) T();
        if (!item) {
            DebugErrorCode(where, 'OMEM');
            return nullptr;
        }
        m_items[m_count++] = item;
        return item;
    }
    // Drops the last record (one that could not be filled).
    void RemoveLast()
    {
        if (m_count > 0)
            delete m_items[--m_count];
    }
    int Count() const { return m_count; }
    // Null when index is out of range.
    T *Get(int index) const { return index >= 0 && index < m_count ? m_items[index] : nullptr; }
    void Clear()
    {
        for (int i = 0; i < m_count; i++)
            delete m_items[i];
        EngFree(m_items, 0, "EngLangList::Clear");
        m_items = nullptr;
        m_count = 0;
        m_capacity = 0;
    }

private:
    T **m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};

// Each setter copies its text; a null text reports 'BAPA' and clears the
// member. False when the text could not be set.
class EngLangInfoC {
public:
    EngLangInfoC() = default;
    ~EngLangInfoC();
    EngLangInfoC(const EngLangInfoC &) = delete;
    EngLangInfoC &operator=(const EngLangInfoC &) = delete;

    char SetNameInEnglish(const char *name);
    // The first length characters of name (length above 0).
    char SetNameInEnglishWithLen(const char *name, int length);
    char SetNameNative(const char *name);
    char SetFlagCountryCode(const char *code);
    // Each "" when not set.
    const char *GetNameInEnglish() const;
    const char *GetNameNative() const;
    const char *GetFlagCountryCode() const;

private:
    char *m_name_in_english = nullptr;
    char *m_name_native = nullptr;
    char *m_flag_country_code = nullptr;
};

class EngLangPathC {
public:
    EngLangPathC() = default;
    ~EngLangPathC();
    EngLangPathC(const EngLangPathC &) = delete;
    EngLangPathC &operator=(const EngLangPathC &) = delete;

    char SetPath(const char *path);
    const char *GetPath() const;

private:
    char *m_path = nullptr;
};

class EngLangSubTextC {
public:
    EngLangSubTextC() = default;
    ~EngLangSubTextC();
    EngLangSubTextC(const EngLangSubTextC &) = delete;
    EngLangSubTextC &operator=(const EngLangSubTextC &) = delete;

    char SetText(const char *text);
    const char *GetText() const;

private:
    char *m_text = nullptr;
};

// One token line: the token and its sub-texts in order.
class EngLangTextC {
public:
    EngLangTextC() = default;
    EngLangTextC(const EngLangTextC &) = delete;
    EngLangTextC &operator=(const EngLangTextC &) = delete;
    ~EngLangTextC();

    char SetToken(const char *token);
    const char *GetToken() const;
    // Appends a copy of text; false after a report.
    char AddSubText(const char *text, const char *where);
    int GetNumSubTexts() const;
    // "" when num is out of range.
    const char *GetSubText(int num) const;
    // Makes this record a copy of other (token and sub-texts).
    char CopyFrom(const EngLangTextC &other, const char *where);

private:
    char *m_token = nullptr;
    EngLangList<EngLangSubTextC> m_sub_texts;
};

typedef EngLangList<EngLangTextC> EngLangTextTable;

// Set-up and loading.

// Puts "English" into name (a 64-character buffer) unless it already holds
// exactly that; with only_if_empty a non-empty name is left alone, with
// note_if_empty an empty one is noted. True when "English" was written.
char EngLanguagesSetLangNameStringToEnglish(char *name, char only_if_empty, char note_if_empty);
// Lists the language files of folder and reads their headers. The language
// whose English name matches default_name (ignoring case; "English" when
// null) becomes current, else language 0. With english_only only
// "English.txt" is taken. True when at least one language was registered.
char EngLanguagesInit(const char *folder, const char *default_name, char english_only);
// EngLanguagesInit on the shared texts folder "Data\Common\CommonTexts".
char EngLanguagesInitWithCommonTexts(const char *default_name, char english_only);
// Loads the current language's texts; for a translation, the translation
// check runs then.
void EngLanguagesInitFinished();
char EngLanguagesAddTextsPath(const char *folder);
// Reads the language's file in every texts folder: its header only, or all
// its texts into the selected table.
char EngLangParseLanguage(int language, char header_only);
char EngLangParseLanguageFile(const char *path, int language, char header_only);
// Empties table (null: the selected one).
void EngLanguagesClearTexts(EngLangTextTable *table);
// Frees everything and returns to the state at start (set-up state 0, no
// current language).
void EngLanguagesDestroy();
char EngLanguagesSetCurrentLanguage(int number);
// The filter of the language folder's listing: names of 5 to 59 characters
// ending in ".txt".
char EngLangIsLanguageFileName(int count, const char *name, const char *dir, void *user);

// Queries.

char EngLanguagesHaveLanguages();
int EngLanguagesGetNumLanguages();
int EngLanguagesGetCurrentLanguageNumber();
// The number of the language whose English name is "English", or -1.
int EngLanguagesGetEnglishLanguageNumber();
// True when the current language's English and native names are both
// "English".
char EngLangCheckIfCurrentLangEnglish();
const char *EngLanguagesGetLanguageNameNative(int number);
const char *EngLanguagesGetFlagCountryCode(int number);
const char *EngLanguagesGetCurrentLanguageNameInEnglish();
const char *EngLanguagesGetCurrentFlagCountryCode();

// The token's number when it has sub-text sub; with fallback a token
// missing from a translation is taken from English. -1 when not found.
int EngLanguagesGetTokenNumForToken(const char *token, int sub, char fallback);
int EngLanguagesGetTokenNum(const char *token, char fallback);
// No fallback; count (may be null) receives the number of sub-texts.
int EngLanguagesGetTokenNumAndNumSubTextsForToken(const char *token, int *count);
const char *EngLanguagesGetTokenText(int number);
// Silent lookups without fallback.
char EngLanguagesDoesTokenHaveSubText(const char *token, int sub);
char EngLanguagesDoesTokenExist(const char *token);
// The sub-text, "" (and a report) when missing.
const char *EngLanguagesGetString(const char *token, int sub);
const char *EngLanguagesGetStringForToken(const char *token);
const char *EngLanguagesGetString(int number, int sub);
const char *EngLanguagesGetStringForTokenNum(int number);
// Sub-text 0, or default_text when the token is missing; never reported.
const char *EngLanguagesGetStringOrDefault(const char *token, const char *default_text);
// Writes the token's text into destination with its first "%1" replaced by
// first and, when second is given, its first "%2" by second. False when the
// text is empty or might not fit.
char EngLanguagesSetStringFromTokenWith2Args(const char *token, const char *first, const char *second,
                                             char *destination, int size);
char EngLanguagesSetStringFromTokenWith1Arg(const char *token, const char *first, char *destination, int size);
// A copy of text (free it with EngFree) with CRs dropped, line breaks written
// as backslash-n and, with quote, '"' written as '\''.
char *EngLangChangeNewLinesToSlashNsInString(const char *text, char quote);
// Decodes the UTF-8 forms of U+00A1..U+00FF (but U+00AD) to their single
// bytes and drops every other byte of 128 or more. When nothing decodes, text
// itself comes back unchanged and *changed is 0; otherwise a new EngMalloc
// text that the caller frees, with *changed 1.
char *ConvertUtf8ToExtendedAscii(char *text, char *changed);

// For the translation check: the selected text table and the current
// language number as stored (-1 when none).
const EngLangTextTable *EngLanguagesGetCurrentTexts();
int EngLanguagesGetStoredLanguageNumber();
