#include "engine/core/EngTranslationCheck.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

const char *const WHERE = "EngLangCheckTranslation";
const int JOINED_SIZE = 512;

void RawBlank()
{
    DebugRaw("%s", "");
}

// Writes the heading (and a blank line) before the first line of a section,
// and two blank lines after a section that listed something.
class Section {
public:
    explicit Section(const char *heading) : m_heading(heading), m_listed(false) {}
    ~Section()
    {
        if (m_listed) {
            RawBlank();
            RawBlank();
        }
    }
    void StartLine()
    {
        if (!m_listed) {
            DebugRaw("%s", m_heading);
            RawBlank();
        }
        m_listed = true;
    }

private:
    const char *m_heading;
    bool m_listed;
};

bool IsUntranslated(const char *text)
{
    return !text[0] || text[0] == '^';
}

// The first record of each token of a table, so that each look-up costs the
// same however many tokens a (damaged) file holds. The table must outlive it.
class FirstTokens {
public:
    explicit FirstTokens(const EngLangTextTable *table)
    {
        for (int i = 0; i < table->Count(); i++)
            m_first.emplace(table->Get(i)->GetToken(), table->Get(i));
    }
    const EngLangTextC *Find(const char *token) const
    {
        auto found = m_first.find(token);
        return found == m_first.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<std::string_view, const EngLangTextC *> m_first;
};

// A copy of the table in which each token keeps only its non-empty
// sub-texts; false when it could not be made.
bool CopyWithoutEmptySubTexts(const EngLangTextTable *table, EngLangTextTable *copy)
{
    for (int i = 0; i < table->Count(); i++) {
        const EngLangTextC *text = table->Get(i);
        EngLangTextC *entry = copy->Add(WHERE);
        if (!entry || !entry->SetToken(text->GetToken()))
            return false;
        for (int k = 0; k < text->GetNumSubTexts(); k++) {
            const char *sub = text->GetSubText(k);
            if (!sub[0])
                DebugInfo("[%s:%d] is empty", text->GetToken(), k);
            else if (!entry->AddSubText(sub, WHERE))
                return false;
        }
    }
    return true;
}

// Lists "token=sub0#sub1..." with line breaks written as backslash-n, as
// much of it as fits in a line of the log.
void ListWholeLine(const EngLangTextC *text)
{
    char *joined = static_cast<char *>(EngMalloc(JOINED_SIZE, WHERE, 1));
    if (!joined)
        return;
    int count = text->GetNumSubTexts();
    for (int k = 0; k < count; k++) {
        char *piece = EngLangChangeNewLinesToSlashNsInString(text->GetSubText(k), 0);
        if (!piece)
            break;
        int length = static_cast<int>(std::strlen(joined));
        bool fits = length < JOINED_SIZE - 2 - static_cast<int>(std::strlen(piece));
        if (fits) {
            std::strcat(joined, piece);
            if (k < count - 1)
                std::strcat(joined, "#");
        }
        EngFree(piece, 0, WHERE);
        if (!fits)
            break;
    }
    DebugRaw("%s=%s", text->GetToken(), joined);
    EngFree(joined, 0, WHERE);
}

void ListSubText(const char *token, int num, const char *text)
{
    DebugRaw("[%s:%d]=%s", token, num, text);
}

void ListMissingTexts(const EngLangTextTable *english, const EngLangTextTable *translated)
{
    Section section("Missing texts:");
    FirstTokens translated_tokens(translated);
    for (int i = 0; i < english->Count(); i++) {
        const EngLangTextC *text = english->Get(i);
        if (!text->GetToken()[0])
            continue;
        const EngLangTextC *copy = translated_tokens.Find(text->GetToken());
        int english_count = text->GetNumSubTexts();
        if (!copy || copy->GetNumSubTexts() == 0 || copy->GetSubText(0)[0] == '^') {
            section.StartLine();
            ListWholeLine(text);
        } else if (copy->GetNumSubTexts() == english_count) {
            for (int k = 0; k < english_count; k++) {
                if (IsUntranslated(copy->GetSubText(k))) {
                    section.StartLine();
                    ListSubText(text->GetToken(), k, text->GetSubText(k));
                }
            }
        } else {
            for (int k = copy->GetNumSubTexts(); k < english_count; k++) {
                section.StartLine();
                ListSubText(text->GetToken(), k, text->GetSubText(k));
            }
        }
    }
}

void ListSurplusTexts(const EngLangTextTable *english, const EngLangTextTable *translated)
{
    Section section("Texts that don't exist:");
    FirstTokens english_tokens(english);
    for (int i = 0; i < translated->Count(); i++) {
        const EngLangTextC *copy = translated->Get(i);
        const EngLangTextC *text = english_tokens.Find(copy->GetToken());
        if (text) {
            for (int k = text->GetNumSubTexts(); k < copy->GetNumSubTexts(); k++) {
                section.StartLine();
                ListSubText(copy->GetToken(), k, copy->GetSubText(k));
            }
            continue;
        }
        section.StartLine();
        char *first = copy->GetNumSubTexts() > 0 ? EngLangChangeNewLinesToSlashNsInString(copy->GetSubText(0), 0)
                                                 : nullptr;
        DebugRaw("%s=%s", copy->GetToken(), first ? first : "");
        EngFree(first, 0, WHERE);
    }
}

// Each token that occurs more than once is listed once, where it occurs the
// second time: alone when it occurs twice, with its count when more often.
// Counting first keeps a file of thousands of equal tokens to one line and
// linear time.
void ListDuplicates(const EngLangTextTable *table, const char *heading)
{
    Section section(heading);
    std::unordered_map<std::string_view, int> counts;
    for (int i = 0; i < table->Count(); i++)
        counts[table->Get(i)->GetToken()]++;
    std::unordered_map<std::string_view, int> seen;
    for (int i = 0; i < table->Count(); i++) {
        const char *token = table->Get(i)->GetToken();
        if (std::strcmp(token, "Language") == 0 || std::strcmp(token, "FlagCountryCode") == 0)
            continue;
        if (++seen[token] != 2)
            continue;
        section.StartLine();
        int count = counts[token];
        if (count == 2)
            DebugRaw("%s", token);
        else
            DebugRaw("%s (%d times)", token, count);
    }
}

} // namespace

void EngLangCheckTranslation()
{
    RawBlank();
    DebugRaw("Checking translation...");
    RawBlank();
    RawBlank();

    int current = EngLanguagesGetStoredLanguageNumber();
    int count = EngLanguagesGetNumLanguages();
    if (current < 0 || current >= count) {
        DebugError(WHERE, "Bad cur lang value %d (%d)", current, count);
        return;
    }
    if (EngLangCheckIfCurrentLangEnglish()) {
        DebugNoteWithName(2, WHERE, "Current language is English.");
        ListDuplicates(EngLanguagesGetCurrentTexts(), "Duplicate texts in English file:");
        return;
    }

    EngLangTextTable translated;
    if (!CopyWithoutEmptySubTexts(EngLanguagesGetCurrentTexts(), &translated))
        return;

    int english = EngLanguagesGetEnglishLanguageNumber();
    if (english < 0) {
        DebugNoteWithName(2, WHERE, "No English language.");
        return;
    }
    EngLanguagesSetCurrentLanguage(english);
    if (!EngLangCheckIfCurrentLangEnglish()) {
        DebugNoteWithName(2, WHERE, "Language %d is not English.", english);
        EngLanguagesSetCurrentLanguage(current);
        return;
    }

    const EngLangTextTable *english_texts = EngLanguagesGetCurrentTexts();
    ListMissingTexts(english_texts, &translated);
    ListSurplusTexts(english_texts, &translated);
    ListDuplicates(english_texts, "Duplicate texts in English file:");
    ListDuplicates(&translated, "Duplicate texts in translated file:");

    EngLanguagesSetCurrentLanguage(current);
    DebugRaw("Check complete.");
    RawBlank();
}
