#include "engine/core/EngLanguages.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngPrefs.h"
#include "engine/core/EngTranslationCheck.h"
#include "engine/core/TextFile.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

const char *const COMMON_TEXTS_FOLDER = "Data\\Common\\CommonTexts";
const char *const ENGLISH = "English";
const char *const ENGLISH_FILE = "English.txt";
const int LANG_NAME_SIZE = 64;
const int MAX_LINE_LENGTH = 4095;
const int MAX_TOKEN_LENGTH = 63;
const int PATH_SIZE = 1024;

EngLangList<EngLangInfoC> lang_languages;
EngLangList<EngLangPathC> lang_paths;
// Table 0: the current language's texts; table 1: English, for the fallback.
EngLangTextTable lang_tables[2];
int lang_table_selected = 0;
int lang_current = -1;
char lang_is_english = 1;
// 0 not set up, 1 languages listed, 2 texts loaded.
int lang_setup_state = 0;

EngLangTextTable *SelectedTable()
{
    return &lang_tables[lang_table_selected];
}

// Replaces *member with a copy of text; a null text clears it.
char SetOwnedText(char **member, const char *text, const char *where)
{
    if (!text) {
        DebugErrorCode(where, 'BAPA');
        EngFree(*member, 0, where);
        *member = nullptr;
        return 0;
    }
    char *copy = EngMallocStringFromString(text, 0, where);
    if (!copy)
        return 0;
    EngFree(*member, 0, where);
    *member = copy;
    return 1;
}

const char *OrEmpty(const char *text)
{
    return text ? text : "";
}

// The index of the first token in table equal to token, or -1.
int FindToken(const EngLangTextTable *table, const char *token)
{
    for (int i = 0; i < table->Count(); i++)
        if (std::strcmp(table->Get(i)->GetToken(), token) == 0)
            return i;
    return -1;
}

// The length of the line's token when the line is a text line, else 0.
int TokenLength(const char *line)
{
    size_t length = strnlen(line, MAX_LINE_LENGTH + 1);
    if (length < 1 || length > static_cast<size_t>(MAX_LINE_LENGTH) || line[0] == ';' || line[0] == '[')
        return 0;
    const char *equals = std::strchr(line, '=');
    if (!equals || equals == line || equals - line > MAX_TOKEN_LENGTH)
        return 0;
    return static_cast<int>(equals - line);
}

void StripTrailingBlanks(char *text)
{
    size_t length = std::strlen(text);
    while (length > 0 && std::strchr("\r\n \t", text[length - 1]))
        text[--length] = 0;
}

// The 1252 byte of the UTF-8 pair at text when it is the form of a
// character U+00A1..U+00FF other than U+00AD, else 0.
unsigned char Latin1FromUtf8Pair(const unsigned char *text)
{
    if (text[0] == 0xC2 && text[1] >= 0xA1 && text[1] <= 0xBF && text[1] != 0xAD)
        return text[1];
    if (text[0] == 0xC3 && text[1] >= 0x80 && text[1] <= 0xBF)
        return static_cast<unsigned char>(text[1] + 0x40);
    return 0;
}

// Copies the sub-text of length bytes at piece into out (at least length + 1
// bytes), with backslash-n made a line break and then the first "##" one '#'.
void UnescapeSubText(const char *piece, int length, char *out)
{
    int used = 0;
    for (int i = 0; i < length; i++) {
        if (piece[i] == '\\' && i + 1 < length && piece[i + 1] == 'n') {
            out[used++] = '\n';
            i++;
        } else {
            out[used++] = piece[i];
        }
    }
    out[used] = 0;
    char *twice = std::strstr(out, "##");
    if (twice)
        std::memmove(twice, twice + 1, std::strlen(twice + 1) + 1);
}

// Appends the text line (token of token_length characters, '=', value) to
// table. False after a report.
char AddTextLine(EngLangTextTable *table, const char *line, int token_length)
{
    const char *where = "EngLangParseLanguageFile";
    char token[MAX_TOKEN_LENGTH + 1];
    std::memcpy(token, line, static_cast<size_t>(token_length));
    token[token_length] = 0;
    EngLangTextC *text = table->Add(where);
    if (!text || !text->SetToken(token)) {
        DebugError(where, "No memory (1)");
        return 0;
    }
    // The character before the value is the '=', so every '#' has two
    // neighbours to look at.
    const char *value = line + token_length + 1;
    const char *start = value;
    char piece[MAX_LINE_LENGTH + 1];
    for (const char *at = value;; at++) {
        bool separator = *at == '#' && at[-1] != '#' && at[1] != '#';
        if (!*at || separator) {
            UnescapeSubText(start, static_cast<int>(at - start), piece);
            if (!text->AddSubText(piece, where)) {
                DebugError(where, "No memory (3)");
                return 0;
            }
            if (!*at)
                return 1;
            start = at + 1;
        }
    }
}

char ParseHeader(TextFile *file, char **line, EngLangInfoC *info)
{
    const char *where = "EngLangParseLanguageFile";
    const char *name_key = "Language=";
    const char *code_key = "FlagCountryCode=";
    bool have_name = false;
    bool have_code = false;
    while (file->ReadLine(nullptr, line) == 0) {
        if (!TokenLength(*line))
            continue;
        if (std::strncmp(*line, name_key, std::strlen(name_key)) == 0) {
            char changed;
            char *value = ConvertUtf8ToExtendedAscii(*line + std::strlen(name_key), &changed);
            char name[LANG_NAME_SIZE + 1];
            EngSafeStrcpy(name, value, LANG_NAME_SIZE);
            if (changed)
                EngFree(value, 0, where);
            StripTrailingBlanks(name);
            info->SetNameNative(name);
            have_name = true;
        } else if (std::strncmp(*line, code_key, std::strlen(code_key)) == 0) {
            char code[4];
            EngSafeStrcpy(code, *line + std::strlen(code_key), 3);
            StripTrailingBlanks(code);
            info->SetFlagCountryCode(code);
            have_code = true;
        }
        if (have_name && have_code)
            return 1;
    }
    if (!have_name)
        DebugError(where, "Could not get language name.");
    if (!have_code)
        DebugError(where, "No FlagCountryCode entry.");
    return 0;
}

char ParseTexts(TextFile *file, char **line)
{
    EngLangTextTable *table = SelectedTable();
    while (file->ReadLine(nullptr, line) == 0) {
        char *text = *line;
        char changed = 0;
        if (!lang_is_english) {
            if (!text[0])
                continue;
            text = ConvertUtf8ToExtendedAscii(text, &changed);
        }
        int token_length = TokenLength(text);
        char added = !token_length || AddTextLine(table, text, token_length);
        if (changed)
            EngFree(text, 0, "EngLangParseLanguageFile");
        if (!added)
            return 0;
    }
    return 1;
}

// The token's number in the English table, copied into table 0; -1 when
// English has no such token either.
int FindInEnglish(const char *token, int sub)
{
    const char *where = "EngLanguagesGetTokenNumForToken";
    int english = EngLanguagesGetEnglishLanguageNumber();
    if (lang_tables[1].Count() == 0) {
        DebugInfoWithName(where, "Loading english texts");
        int current = lang_current;
        lang_table_selected = 1;
        lang_current = english;
        char loaded = EngLangParseLanguage(english, 0);
        lang_table_selected = 0;
        // A reading that ran out of memory has dropped every language.
        if (!loaded && lang_setup_state == 0)
            return -1;
        lang_current = current;
        if (lang_tables[1].Count() == 0) {
            DebugError(where, "No english texts.");
            return -1;
        }
    }
    lang_table_selected = 1;
    int found = EngLanguagesGetTokenNumForToken(token, sub, 1);
    lang_table_selected = 0;
    if (found < 0)
        return -1;
    EngLangTextC *copy = lang_tables[0].Add(where);
    if (!copy)
        return -1;
    if (!copy->CopyFrom(*lang_tables[1].Get(found), where)) {
        lang_tables[0].RemoveLast();
        return -1;
    }
    return lang_tables[0].Count() - 1;
}

const EngLangInfoC *CurrentLanguage()
{
    return lang_languages.Get(lang_current);
}

} // namespace

// --- Records ---

EngLangInfoC::~EngLangInfoC()
{
    EngFree(m_name_in_english, 0, "EngLangInfoC::~EngLangInfoC");
    EngFree(m_name_native, 0, "EngLangInfoC::~EngLangInfoC");
    EngFree(m_flag_country_code, 0, "EngLangInfoC::~EngLangInfoC");
}

char EngLangInfoC::SetNameInEnglish(const char *name)
{
    return SetOwnedText(&m_name_in_english, name, "EngLangInfoC::SetNameInEnglish");
}

char EngLangInfoC::SetNameInEnglishWithLen(const char *name, int length)
{
    const char *where = "EngLangInfoC::SetNameInEnglishWithLen";
    if (!name || length <= 0) {
        DebugErrorCode(where, 'BAPA');
        EngFree(m_name_in_english, 0, where);
        m_name_in_english = nullptr;
        return 0;
    }
    char *part = static_cast<char *>(EngMalloc(static_cast<unsigned>(length) + 1, where, 0));
    if (!part)
        return 0;
    EngSafeStrcpy(part, name, static_cast<unsigned>(length) + 1);
    char result = SetNameInEnglish(part);
    EngFree(part, 0, where);
    return result;
}

char EngLangInfoC::SetNameNative(const char *name)
{
    return SetOwnedText(&m_name_native, name, "EngLangInfoC::SetNameNative");
}

char EngLangInfoC::SetFlagCountryCode(const char *code)
{
    return SetOwnedText(&m_flag_country_code, code, "EngLangInfoC::SetFlagCountryCode");
}

const char *EngLangInfoC::GetNameInEnglish() const
{
    return OrEmpty(m_name_in_english);
}

const char *EngLangInfoC::GetNameNative() const
{
    return OrEmpty(m_name_native);
}

const char *EngLangInfoC::GetFlagCountryCode() const
{
    return OrEmpty(m_flag_country_code);
}

EngLangPathC::~EngLangPathC()
{
    EngFree(m_path, 0, "EngLangPathC::~EngLangPathC");
}

char EngLangPathC::SetPath(const char *path)
{
    return SetOwnedText(&m_path, path, "EngLangPathC::SetPath");
}

const char *EngLangPathC::GetPath() const
{
    return OrEmpty(m_path);
}

EngLangSubTextC::~EngLangSubTextC()
{
    EngFree(m_text, 0, "EngLangSubTextC::~EngLangSubTextC");
}

char EngLangSubTextC::SetText(const char *text)
{
    return SetOwnedText(&m_text, text, "EngLangSubTextC::SetText");
}

const char *EngLangSubTextC::GetText() const
{
    return OrEmpty(m_text);
}

EngLangTextC::~EngLangTextC()
{
    EngFree(m_token, 0, "EngLangTextC::~EngLangTextC");
}

char EngLangTextC::SetToken(const char *token)
{
    return SetOwnedText(&m_token, token, "EngLangTextC::SetToken");
}

const char *EngLangTextC::GetToken() const
{
    return OrEmpty(m_token);
}

char EngLangTextC::AddSubText(const char *text, const char *where)
{
    EngLangSubTextC *sub = m_sub_texts.Add(where);
    return sub && sub->SetText(text);
}

int EngLangTextC::GetNumSubTexts() const
{
    return m_sub_texts.Count();
}

const char *EngLangTextC::GetSubText(int num) const
{
    const EngLangSubTextC *sub = m_sub_texts.Get(num);
    return sub ? sub->GetText() : "";
}

char EngLangTextC::CopyFrom(const EngLangTextC &other, const char *where)
{
    m_sub_texts.Clear();
    if (!SetToken(other.GetToken()))
        return 0;
    for (int i = 0; i < other.GetNumSubTexts(); i++)
        if (!AddSubText(other.GetSubText(i), where))
            return 0;
    return 1;
}

// --- Set-up and loading ---

char EngLanguagesSetLangNameStringToEnglish(char *name, char only_if_empty, char note_if_empty)
{
    const char *where = "EngLanguagesSetLangNameStringToEnglish";
    if (!name) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    if (name[0] && only_if_empty)
        return 0;
    if (!name[0] && note_if_empty)
        DebugNoteWithName(2, where, "String empty.");
    if (std::strcmp(name, ENGLISH) == 0)
        return 0;
    EngSafeStrcpy(name, ENGLISH, LANG_NAME_SIZE);
    return 1;
}

char EngLangIsLanguageFileName(int, const char *name, const char *, void *)
{
    size_t length = name ? std::strlen(name) : 0;
    return length >= 5 && length <= 59 && std::strcmp(name + length - 4, ".txt") == 0;
}

char EngLanguagesInit(const char *folder, const char *default_name, char english_only)
{
    const char *where = "EngLanguagesInit";
    if (lang_setup_state != 0)
        DebugErrorCode(where, 'ALSU');
    // Starting over: nothing of an earlier set-up stays.
    EngLanguagesDestroy();

    if (!folder || !EngFileDirectoryExists(folder)) {
        DebugError(where, "Languages directory does not exists <%s>", EngStrOrNone(folder));
        EngLanguagesDestroy();
        return 0;
    }
    DirList dir_list;
    if (!dir_list.OpenDir(folder, EngLangIsLanguageFileName, nullptr) || !dir_list.PrepareToGetFilenamesInDir()) {
        DebugError(where, "dir_list.OpenDir() failed");
        EngLanguagesDestroy();
        return 0;
    }
    const char *wanted = default_name && default_name[0] ? default_name : ENGLISH;
    for (const char *name = dir_list.GetNextFilenameInDir(); name[0]; name = dir_list.GetNextFilenameInDir()) {
        if (english_only && std::strcmp(name, ENGLISH_FILE) != 0)
            continue;
        EngLangInfoC *info = lang_languages.Add(where);
        if (!info || !info->SetNameInEnglishWithLen(name, static_cast<int>(std::strlen(name)) - 4)) {
            EngLanguagesDestroy();
            return 0;
        }
        if (strcasecmp(info->GetNameInEnglish(), wanted) == 0)
            lang_current = lang_languages.Count() - 1;
    }
    dir_list.CleanupAfterGettingFilenamesInDir();
    dir_list.CloseDir();

    if (lang_languages.Count() == 0) {
        DebugError(where, "No language files found in directory <%s>", folder);
        EngLanguagesDestroy();
        return 0;
    }
    if (lang_current < 0) {
        const char *first = lang_languages.Get(0)->GetNameInEnglish();
        if (default_name && default_name[0])
            DebugError(where, "Could not find default language <%s> - using language 0 <%s>", default_name, first);
        else
            DebugError(where, "Could not find default language - using language 0 <%s>", first);
        lang_current = 0;
    }
    if (!EngLanguagesAddTextsPath(folder)) {
        EngLanguagesDestroy();
        return 0;
    }
    for (int i = 0; i < lang_languages.Count(); i++)
        if (!EngLangParseLanguage(i, 1))
            DebugError(where, "Could not read the header of language <%s>",
                       lang_languages.Get(i)->GetNameInEnglish());
    EngLangCheckIfCurrentLangEnglish();
    lang_setup_state = 1;
    return 1;
}

char EngLanguagesInitWithCommonTexts(const char *default_name, char english_only)
{
    return EngLanguagesInit(COMMON_TEXTS_FOLDER, default_name, english_only);
}

void EngLanguagesInitFinished()
{
    if (lang_setup_state != 1) {
        DebugErrorCode("EngLanguagesInitFinished", 'NOSU');
        return;
    }
    lang_setup_state = 2;
    EngLangParseLanguage(lang_current, 0);
    // A translation is checked against English; English itself is not.
    if (lang_setup_state == 2 && EngLanguagesGetCurrentLanguageNumber() != EngLanguagesGetEnglishLanguageNumber())
        EngLangCheckTranslation();
}

char EngLanguagesAddTextsPath(const char *folder)
{
    const char *where = "EngLanguagesAddTextsPath";
    if (!folder || !EngFileDirectoryExists(folder)) {
        DebugError(where, "Languages directory does not exists <%s>", EngStrOrNone(folder));
        return 0;
    }
    for (int i = 0; i < lang_paths.Count(); i++) {
        if (std::strcmp(lang_paths.Get(i)->GetPath(), folder) == 0) {
            DebugError(where, "Path already present <%s>", folder);
            return 0;
        }
    }
    EngLangPathC *path = lang_paths.Add(where);
    if (!path)
        return 0;
    if (!path->SetPath(folder)) {
        lang_paths.RemoveLast();
        return 0;
    }
    return 1;
}

char EngLangParseLanguage(int language, char header_only)
{
    const char *where = "EngLangParseLanguage";
    if (lang_paths.Count() == 0 || (!header_only && lang_setup_state != 2)) {
        DebugErrorCode(where, 'NOSU');
        return 0;
    }
    const EngLangInfoC *info = lang_languages.Get(language);
    if (!info) {
        DebugErrorCode(where, 'IERR');
        return 0;
    }
    EngLanguagesClearTexts(nullptr);
    for (int i = 0; i < lang_paths.Count(); i++) {
        const char *folder = lang_paths.Get(i)->GetPath();
        if (!folder[0] || !info->GetNameInEnglish()[0])
            continue;
        char path[PATH_SIZE];
        int length = snprintf(path, sizeof(path), "%s%s%s.txt", folder, "\\", info->GetNameInEnglish());
        if (length < 0 || length >= PATH_SIZE) {
            DebugError(where, "Path too long <%s>", folder);
            return 0;
        }
        if (!EngLangParseLanguageFile(path, language, header_only))
            return 0;
    }
    return 1;
}

char EngLangParseLanguageFile(const char *path, int language, char header_only)
{
    const char *where = "EngLangParseLanguageFile";
    EngLangInfoC *info = lang_languages.Get(language);
    if (!path || !info) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    TextFile file;
    if (file.Open(path, TEXT_FILE_READ, 0, 0) < 0) {
        DebugError(where, "Could not open file <%s>", path);
        return 0;
    }
    char *line = nullptr;
    char result = header_only ? ParseHeader(&file, &line, info) : ParseTexts(&file, &line);
    TextFileFreeBuffer(line);
    file.Close();
    if (!result && !header_only)
        EngLanguagesDestroy();
    return result;
}

void EngLanguagesClearTexts(EngLangTextTable *table)
{
    (table ? table : SelectedTable())->Clear();
}

void EngLanguagesDestroy()
{
    lang_tables[0].Clear();
    lang_tables[1].Clear();
    lang_languages.Clear();
    lang_paths.Clear();
    lang_table_selected = 0;
    lang_current = -1;
    lang_is_english = 1;
    lang_setup_state = 0;
}

char EngLanguagesSetCurrentLanguage(int number)
{
    if (!lang_languages.Get(number)) {
        DebugError("EngLanguagesSetCurrentLanguage", "Bad lang num %d.", number);
        return 0;
    }
    if (number == lang_current)
        return 1;
    EngLanguagesClearTexts(nullptr);
    lang_current = number;
    EngLangCheckIfCurrentLangEnglish();
    return EngLangParseLanguage(number, 0);
}

// --- Queries ---

char EngLanguagesHaveLanguages()
{
    return lang_languages.Count() > 0;
}

int EngLanguagesGetNumLanguages()
{
    return lang_languages.Count();
}

int EngLanguagesGetCurrentLanguageNumber()
{
    const char *where = "EngLanguagesGetCurrentLanguageNumber";
    if (lang_languages.Count() == 0) {
        DebugErrorCode(where, 'NOSU');
        return 0;
    }
    if (!CurrentLanguage()) {
        DebugError(where, "Bad cur lang %d.", lang_current);
        lang_current = 0;
        EngLangCheckIfCurrentLangEnglish();
    }
    return lang_current;
}

int EngLanguagesGetEnglishLanguageNumber()
{
    for (int i = 0; i < lang_languages.Count(); i++)
        if (std::strcmp(lang_languages.Get(i)->GetNameInEnglish(), ENGLISH) == 0)
            return i;
    return -1;
}

char EngLangCheckIfCurrentLangEnglish()
{
    if (lang_languages.Count() == 0) {
        lang_is_english = 1;
        return lang_is_english;
    }
    if (!CurrentLanguage()) {
        DebugError("EngLangCheckIfCurrentLangEnglish", "Bad cur lang value %d (%d)", lang_current,
                   lang_languages.Count());
        lang_current = 0;
    }
    const EngLangInfoC *info = CurrentLanguage();
    lang_is_english = std::strcmp(info->GetNameInEnglish(), ENGLISH) == 0 &&
                      std::strcmp(info->GetNameNative(), ENGLISH) == 0;
    return lang_is_english;
}

const char *EngLanguagesGetLanguageNameNative(int number)
{
    const EngLangInfoC *info = lang_languages.Get(number);
    return info ? info->GetNameNative() : "";
}

const char *EngLanguagesGetFlagCountryCode(int number)
{
    const EngLangInfoC *info = lang_languages.Get(number);
    return info ? info->GetFlagCountryCode() : "";
}

const char *EngLanguagesGetCurrentLanguageNameInEnglish()
{
    const EngLangInfoC *info = CurrentLanguage();
    return info ? info->GetNameInEnglish() : "";
}

const char *EngLanguagesGetCurrentFlagCountryCode()
{
    const EngLangInfoC *info = CurrentLanguage();
    return info ? info->GetFlagCountryCode() : "";
}

int EngLanguagesGetTokenNumForToken(const char *token, int sub, char fallback)
{
    const char *where = "EngLanguagesGetTokenNumForToken";
    if (!token || !token[0]) {
        DebugError(where, "Invalid token name");
        return -1;
    }
    const EngLangTextTable *table = SelectedTable();
    int found = FindToken(table, token);
    if (found >= 0) {
        if (sub >= 0 && sub < table->Get(found)->GetNumSubTexts())
            return found;
        DebugError(where, "Invalid sub text num %d for token <%s>", sub, token);
        return -1;
    }
    if (!fallback)
        return -1;
    int english = EngLanguagesGetEnglishLanguageNumber();
    if (!lang_is_english && lang_table_selected == 0 && english >= 0 && lang_current != english) {
        DebugNoteWithName(2, where, "Token <%s:%d> not translated", token, sub);
        found = FindInEnglish(token, sub);
        if (found >= 0)
            return found;
    }
    DebugError(where, "Token not found [%s].", token);
    return -1;
}

int EngLanguagesGetTokenNum(const char *token, char fallback)
{
    return EngLanguagesGetTokenNumForToken(token, 0, fallback);
}

int EngLanguagesGetTokenNumAndNumSubTextsForToken(const char *token, int *count)
{
    const char *where = "EngLanguagesGetTokenNumAndNumSubTextsForToken";
    if (count)
        *count = 0;
    if (!token || !token[0]) {
        DebugError(where, "Invalid token");
        return -1;
    }
    const EngLangTextTable *table = SelectedTable();
    for (int i = 0; i < table->Count(); i++) {
        if (std::strcmp(EngLanguagesGetTokenText(i), token) == 0) {
            if (count)
                *count = table->Get(i)->GetNumSubTexts();
            return i;
        }
    }
    DebugError(where, "Could not find token [%s]", token);
    return -1;
}

const char *EngLanguagesGetTokenText(int number)
{
    const EngLangTextC *text = SelectedTable()->Get(number);
    return text ? text->GetToken() : "";
}

char EngLanguagesDoesTokenHaveSubText(const char *token, int sub)
{
    if (!EngLanguagesHaveLanguages() || !token || !token[0])
        return 0;
    const EngLangTextC *text = SelectedTable()->Get(FindToken(SelectedTable(), token));
    return text && sub >= 0 && sub < text->GetNumSubTexts();
}

char EngLanguagesDoesTokenExist(const char *token)
{
    return EngLanguagesDoesTokenHaveSubText(token, 0);
}

const char *EngLanguagesGetString(const char *token, int sub)
{
    int number = EngLanguagesGetTokenNumForToken(token, sub, 1);
    if (number < 0) {
        DebugError("EngLanguagesGetString", "Token <%s:%d> not found", EngStrOrNone(token), sub);
        return "";
    }
    return SelectedTable()->Get(number)->GetSubText(sub);
}

const char *EngLanguagesGetStringForToken(const char *token)
{
    return EngLanguagesGetString(token, 0);
}

const char *EngLanguagesGetString(int number, int sub)
{
    const char *where = "EngLanguagesGetString";
    const EngLangTextC *text = SelectedTable()->Get(number);
    if (!text) {
        DebugError(where, "Token <%d> does not exist", number);
        return "";
    }
    if (sub < 0 || sub >= text->GetNumSubTexts()) {
        DebugError(where, "Sub text num <%d> does not exist in token <%s>", sub, text->GetToken());
        return "";
    }
    return text->GetSubText(sub);
}

const char *EngLanguagesGetStringForTokenNum(int number)
{
    return EngLanguagesGetString(number, 0);
}

const char *EngLanguagesGetStringOrDefault(const char *token, const char *default_text)
{
    if (!EngLanguagesDoesTokenExist(token))
        return default_text;
    return SelectedTable()->Get(FindToken(SelectedTable(), token))->GetSubText(0);
}

char EngLanguagesSetStringFromTokenWith2Args(const char *token, const char *first, const char *second,
                                             char *destination, int size)
{
    const char *where = "EngLanguagesSetStringFromTokenWith2Args";
    if (!token || !first || !destination) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    const char *text = EngLanguagesGetStringForToken(token);
    if (!text[0])
        return 0;
    int text_length = static_cast<int>(std::strlen(text));
    int first_length = static_cast<int>(std::strlen(first));
    int second_length = second ? static_cast<int>(std::strlen(second)) : 0;
    if (text_length >= size - first_length - second_length) {
        DebugError(where, "Lengths not ok (%d > %d - %d - %d)", text_length, size, first_length, second_length);
        return 0;
    }
    // Both places are found in the token's text, so a value holding "%2"
    // is never replaced itself.
    const char *first_at = std::strstr(text, "%1");
    const char *second_at = second ? std::strstr(text, "%2") : nullptr;
    int used = 0;
    for (const char *at = text; *at;) {
        const char *insert = at == first_at ? first : at == second_at ? second : nullptr;
        if (insert) {
            size_t length = std::strlen(insert);
            std::memcpy(destination + used, insert, length);
            used += static_cast<int>(length);
            at += 2;
        } else {
            destination[used++] = *at++;
        }
    }
    destination[used] = 0;
    return 1;
}

char EngLanguagesSetStringFromTokenWith1Arg(const char *token, const char *first, char *destination, int size)
{
    return EngLanguagesSetStringFromTokenWith2Args(token, first, nullptr, destination, size);
}

char *EngLangChangeNewLinesToSlashNsInString(const char *text, char quote)
{
    const char *where = "EngLangChangeNewLinesToSlashNsInString";
    if (!text) {
        DebugErrorCode(where, 'BAPA');
        return nullptr;
    }
    size_t length = std::strlen(text);
    char *out = static_cast<char *>(EngMalloc(static_cast<unsigned>(length * 2 + 1), where, 1));
    if (!out)
        return nullptr;
    size_t used = 0;
    for (const char *at = text; *at; at++) {
        if (*at == '\r')
            continue;
        if (*at == '\n') {
            out[used++] = '\\';
            out[used++] = 'n';
        } else {
            out[used++] = quote && *at == '"' ? '\'' : *at;
        }
    }
    return out;
}

char *ConvertUtf8ToExtendedAscii(char *text, char *changed)
{
    *changed = 0;
    if (!text)
        return text;
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(text);
    bool any = false;
    for (size_t i = 0; bytes[i] && !any; i++)
        any = bytes[i] >= 0x80 && Latin1FromUtf8Pair(bytes + i);
    if (!any)
        return text;
    size_t length = std::strlen(text);
    char *out = static_cast<char *>(EngMalloc(static_cast<unsigned>(length + 1), "ConvertUtf8ToExtendedAscii", 1));
    if (!out)
        return text;
    size_t used = 0;
    for (size_t i = 0; bytes[i];) {
        if (bytes[i] < 0x80) {
            out[used++] = static_cast<char>(bytes[i++]);
            continue;
        }
        unsigned char code = Latin1FromUtf8Pair(bytes + i);
        if (code) {
            out[used++] = static_cast<char>(code);
            i += 2;
        } else {
            i++;
        }
    }
    *changed = 1;
    return out;
}

const EngLangTextTable *EngLanguagesGetCurrentTexts()
{
    return SelectedTable();
}

int EngLanguagesGetStoredLanguageNumber()
{
    return lang_current;
}
