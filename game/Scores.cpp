// The local high scores (see the header).
#include "game/Scores.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngEncryption.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngPrefs.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/RecordFields.h"
#include "modules/ModulesFiles.h"
#include "modules/ScoresMain.h"
#include "modules/UserClass.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

_ScoresScore scores_table[SCORES_MAX];
int scores_count = 0;
_ScoresScore *scores_subset = nullptr;
int scores_subset_count = 0;
_ScoresScore scores_last_score;
int scores_last_added_index = -1;
int scores_last_added_garden = -1;
char scores_file_name[SCORES_FILE_NAME_SIZE] = "Unset.sco";
void (*scores_get_today)(_EngMiscDate *date) = EngMiscGetCurrentDate;

namespace {

const int GARDENS = 4;
const int RANGES = 5;

// Offsets of the header and of an entry block.
enum {
    H_VERSION = 0,
    H_GARDEN = 2,
    E_SCORE = 0,
    E_LEVEL = 4,
    E_YEAR = 16,
    E_MONTH = 20,
    E_DAY = 21,
    E_USER_ID = 24,
    E_NAME = 26,
    E_NAME_SIZE = 22,
    E_COUNTRY = 48,
    E_COUNTRY_SIZE = 68,
    // Longest name and country a block may hold.
    E_NAME_MAX = 20,
    E_COUNTRY_MAX = 3,
};

const char *const range_words[RANGES] = {"all time", "yearly", "monthly", "weekly", "daily"};

void ClearNewestMarks(int rows)
{
    for (int i = 0; i < rows; i++)
        scores_table[i].flags[0] = 0;
}

bool IsSameText(const char *a, const char *b, size_t size)
{
    return std::strncmp(a, b, size) == 0;
}

// The queries match a player by name and the country the scores are stored under.
bool IsPlayers(const _ScoresScore &entry, const _UserInfo &player)
{
    return IsSameText(entry.name, player.name, USER_NAME_SIZE) &&
           IsSameText(entry.country, ScoresGetPlayersCountry(&player), SCORES_COUNTRY_SIZE);
}

bool IsInRange(const _EngMiscDate &today, const _EngMiscDate &date, int range)
{
    if (range == SR_ALL)
        return true;
    char day = 0, week = 0, month = 0, year = 0;
    if (range < SR_ALL || range > SR_DAY || !ScoresMainGetRangesFromDate(&today, &date, &day, &week, &month, &year))
        return false;
    const char same[RANGES] = {1, year, month, week, day};
    return same[range] != 0;
}

// A valid block's entry, zero outside the stored fields; false when the
// block holds no valid entry. Name and country are measured within their
// fields, so an unterminated one is refused rather than read past.
bool DecodeBlock(const unsigned char *block, _ScoresScore *entry)
{
    const char *name = reinterpret_cast<const char *>(block + E_NAME);
    const char *country = reinterpret_cast<const char *>(block + E_COUNTRY);
    const size_t name_length = strnlen(name, E_NAME_SIZE);
    const size_t country_length = strnlen(country, E_COUNTRY_SIZE);
    const int month = RecordGet<uint8_t>(block, E_MONTH), day = RecordGet<uint8_t>(block, E_DAY);
    if (RecordGet<int32_t>(block, E_SCORE) <= 0 || RecordGet<int32_t>(block, E_LEVEL) <= 0 || month < 1 || month > 12 ||
        day < 1 || day > 31 || name_length < 1 || name_length > E_NAME_MAX || country_length < 1 ||
        country_length > E_COUNTRY_MAX)
        return false;
    std::memset(entry, 0, sizeof(*entry));
    entry->score = RecordGet<int32_t>(block, E_SCORE);
    entry->level = RecordGet<int32_t>(block, E_LEVEL);
    entry->date.year = RecordGet<int32_t>(block, E_YEAR);
    entry->date.month = static_cast<char>(month);
    entry->date.day = static_cast<char>(day);
    entry->user_id = RecordGet<uint16_t>(block, E_USER_ID);
    std::memcpy(entry->name, name, name_length);
    // A code of three letters fills the field; the second name after it is
    // empty, so the code still reads as a text of three.
    std::memcpy(entry->country, country, country_length);
    return true;
}

void EncodeBlock(const _ScoresScore &entry, unsigned char *block)
{
    std::memset(block, 0, SCORES_BLOCK_SIZE);
    RecordPut<int32_t>(block, E_SCORE, entry.score);
    RecordPut<int32_t>(block, E_LEVEL, entry.level);
    RecordPut<int32_t>(block, E_YEAR, entry.date.year);
    RecordPut<uint8_t>(block, E_MONTH, static_cast<uint8_t>(entry.date.month));
    RecordPut<uint8_t>(block, E_DAY, static_cast<uint8_t>(entry.date.day));
    RecordPut<uint16_t>(block, E_USER_ID, entry.user_id);
    std::memcpy(block + E_NAME, entry.name, strnlen(entry.name, E_NAME_MAX));
    std::memcpy(block + E_COUNTRY, entry.country, strnlen(entry.country, SCORES_COUNTRY_SIZE));
}

// The table's entries in their order, enciphered behind the header, put in
// place of the current garden's file in one rename: a game closed (or
// killed) mid-write keeps the previous file.
bool WriteTable(const char *where)
{
    const unsigned header_size = SCORES_HEADER_SIZE + ENG_ENCRYPTION_IV_SIZE;
    const unsigned entry_size = SCORES_BLOCK_SIZE + ENG_ENCRYPTION_IV_SIZE;
    std::vector<unsigned char> bytes;
    bytes.reserve(header_size + static_cast<size_t>(scores_count) * entry_size);
    auto append = [&bytes](const unsigned char *plain, unsigned size) {
        unsigned char *block = EngEncryptionEncrypt(plain, size);
        if (!block)
            return false;
        bytes.insert(bytes.end(), block, block + size + ENG_ENCRYPTION_IV_SIZE);
        EngFree(block, 1, "ScoresWriteToFile");
        return true;
    };
    unsigned char header[SCORES_HEADER_SIZE] = {};
    RecordPut<int16_t>(header, H_VERSION, SCORES_FILE_VERSION);
    RecordPut<int16_t>(header, H_GARDEN, ScoresGetGarden());
    if (!append(header, sizeof(header))) {
        DebugError(where, "Could not write version to file <%s>", scores_file_name);
        return false;
    }
    for (int i = 0; i < scores_count; i++) {
        unsigned char block[SCORES_BLOCK_SIZE];
        EncodeBlock(scores_table[i], block);
        if (!append(block, sizeof(block))) {
            DebugError(where, "Could not write line to file <%s>", scores_file_name);
            return false;
        }
    }
    return ModulesWriteFileWhole(scores_file_name, bytes.data(), static_cast<unsigned>(bytes.size()), 0) == MWR_OK;
}

// Gives up a faulty file, with the reason and the file's name. The entries
// read before the fault replace it, in file order, so that a damaged tail
// costs only the scores in it; a file without one good entry is deleted.
// When they cannot be written (a full or read-only disk) the file stays as
// it is: the next read finds the same good entries again.
void DropFile(EngFile *file, const char *where, const char *reason)
{
    file->Close();
    if (scores_count == 0)
        EngFileDelete(scores_file_name, 1);
    else
        WriteTable(where);
    DebugError(where, "%s <%s>", reason, scores_file_name);
}

bool IsBefore(const _ScoresScore &a, const _ScoresScore &b)
{
    if (a.score != b.score)
        return a.score > b.score;
    if (a.level != b.level)
        return a.level > b.level;
    return std::memcmp(a.name, b.name, SCORES_NAME_SIZE) > 0;
}

// Marks the player's older entries to drop: each player keeps the best
// entry of all time, of this year and of this month, and every entry of
// today and the eight days before (every entry of the month before the 9th).
void MarkOldEntries(const _UserInfo &player, const _EngMiscDate &today)
{
    bool have_all = false, have_year = false, have_month = false;
    int best_all = 0, best_year = 0, best_month = 0;
    for (int i = 0; i < scores_count; i++) {
        _ScoresScore &entry = scores_table[i];
        if (entry.user_id != player.player_id || !IsSameText(entry.name, player.name, USER_NAME_SIZE))
            continue;
        bool drop = false;
        if (!have_all) {
            have_all = true;
            best_all = entry.score;
        }
        if (entry.date.year < today.year) {
            drop = entry.score < best_all;
        } else {
            if (!have_year) {
                have_year = true;
                best_year = entry.score;
            }
            if (entry.date.month < today.month) {
                drop = entry.score < best_year;
            } else {
                if (!have_month) {
                    have_month = true;
                    best_month = entry.score;
                }
                drop = today.day >= 9 && entry.date.day < today.day - 8 && entry.score < best_month;
            }
        }
        if (drop)
            entry.flags[0] = SCORES_DROP;
    }
}

void RemoveMarkedEntries()
{
    _ScoresScore *end = std::remove_if(scores_table, scores_table + scores_count,
                                       [](const _ScoresScore &entry) { return entry.flags[0] == SCORES_DROP; });
    scores_count = static_cast<int>(end - scores_table);
}

// The player, or null with the query's "User not loaded." report.
const _UserInfo *QueryPlayer(const char *where)
{
    const _UserInfo *player = PlayerGetLoaded();
    if (!player)
        DebugError(where, "User not loaded.");
    return player;
}

_ScoresScore *Returned(_ScoresScore *entry)
{
    if (entry)
        std::memset(entry->second_name, 0, sizeof(entry->second_name));
    return entry;
}

void FreeSubset()
{
    if (scores_subset)
        EngFree(scores_subset, 1, "ScoresGetSubsetForRange");
    scores_subset = nullptr;
    scores_subset_count = 0;
}

} // namespace

void ScoresInit()
{
    FreeSubset();
    std::snprintf(scores_file_name, sizeof(scores_file_name), "%s", "Unset.sco");
    scores_count = 0;
    scores_last_added_index = scores_last_added_garden = -1;
    std::memset(&scores_last_score, 0, sizeof(scores_last_score));
}

short ScoresGetGarden()
{
    return static_cast<short>(ScoresScreenGetGarden());
}

char *ScoresGetFilename(char create)
{
    const int garden = ScoresGetGarden();
    if (garden < 0 || garden >= GARDENS) {
        DebugError("ScoresGetFilename", "Invalid garden %d", garden);
        return nullptr;
    }
    std::snprintf(scores_file_name, sizeof(scores_file_name), "%s%sLG_%d.sco", PrefFolderGetSubFolder("Scores", create),
                  "\\", garden);
    return scores_file_name;
}

void ScoresReadCurrentGardenScores()
{
    const char *where = "ScoresReadCurrentGardenScores";
    scores_count = 0;
    ScoresScreenRefreshList();
    EngFile file;
    if (!ScoresGetFilename(0) || !file.OpenForReadingQuietly(scores_file_name, 0)) {
        ScoresScreenRefreshList();
        return;
    }
    long left = static_cast<long>(file.GetSize()) - (SCORES_HEADER_SIZE + ENG_ENCRYPTION_IV_SIZE);
    file.Rewind();
    unsigned char header[SCORES_HEADER_SIZE];
    if (!EngEncryptionReadFromOpenFileAndDecrypt(&file, header, sizeof(header)) ||
        RecordGet<int16_t>(header, H_VERSION) != SCORES_FILE_VERSION ||
        RecordGet<int16_t>(header, H_GARDEN) != ScoresGetGarden()) {
        DropFile(&file, where, "Score file invalid - deleted");
        ScoresScreenRefreshList();
        return;
    }
    while (left > 0) {
        unsigned char block[SCORES_BLOCK_SIZE];
        if (!EngEncryptionReadFromOpenFileAndDecrypt(&file, block, sizeof(block))) {
            DropFile(&file, where, "Score file invalid line - deleted");
            ScoresScreenRefreshList();
            return;
        }
        left -= SCORES_BLOCK_SIZE + ENG_ENCRYPTION_IV_SIZE;
        _ScoresScore entry;
        if (!DecodeBlock(block, &entry)) {
            DropFile(&file, where, "Invalid score entry - deleted");
            ScoresScreenRefreshList();
            return;
        }
        // Beyond the hundredth, valid entries are read and dropped.
        if (scores_count >= SCORES_MAX)
            continue;
        if (ScoresAreScoresTheSame(&entry, &scores_last_score))
            entry.flags[0] = SCORES_NEWEST;
        scores_table[scores_count++] = entry;
    }
    file.Close();
    ScoresSortTable();
    ScoresScreenRefreshList();
}

char ScoresWriteToFile()
{
    const char *where = "ScoresWriteToFile";
    ScoresSortTable();
    scores_last_added_index = -1;
    for (int i = 0; i < scores_count; i++) {
        if (scores_table[i].flags[0] == SCORES_NEWEST) {
            scores_last_added_index = i;
            scores_last_added_garden = ScoresGetGarden();
        }
    }
    if (!ScoresGetFilename(1))
        return 0;
    return WriteTable(where);
}

char ScoresAreScoresTheSame(const _ScoresScore *a, const _ScoresScore *b)
{
    if (!a || !b) {
        DebugErrorCode("ScoresAreScoresTheSame", 'BAPA');
        return 0;
    }
    return a->score == b->score && a->level == b->level && std::memcmp(&a->date, &b->date, sizeof(a->date)) == 0 &&
           a->user_id == b->user_id && IsSameText(a->name, b->name, SCORES_NAME_SIZE) &&
           IsSameText(a->country, b->country, SCORES_COUNTRY_SIZE) && a->platform == b->platform;
}

void ScoresSortTable()
{
    std::sort(scores_table, scores_table + scores_count, IsBefore);
}

const char *ScoresGetPlayersCountry(const _UserInfo *player)
{
    return player->country[0] == '?' ? "US" : player->country;
}

void ScoresRecordFinishedGame()
{
    scores_last_added_index = scores_last_added_garden = -1;
    ClearNewestMarks(scores_count);
    const int garden = ScoresGetGarden();
    if (garden >= 0 && garden < GARDENS && play_score != 0)
        ScoresAddGameScore();
}

char ScoresAddGameScore()
{
    scores_last_added_index = -1;
    ClearNewestMarks(SCORES_MAX);
    std::memset(&scores_last_score, 0, sizeof(scores_last_score));
    const _UserInfo *player = PlayerGetLoaded();
    if (!player) {
        DebugError("ScoresAddGameScore", "User not loaded");
        return 0;
    }
    if (play_score == 0)
        return 0;
    ScoresReadCurrentGardenScores();
    ClearNewestMarks(SCORES_MAX);
    _EngMiscDate today = {};
    scores_get_today(&today);

    MarkOldEntries(*player, today);
    RemoveMarkedEntries();

    // A full table gives up its last (lowest) entry, even to a lower score.
    _ScoresScore &slot = scores_table[scores_count < SCORES_MAX ? scores_count++ : SCORES_MAX - 1];
    std::memset(&slot, 0, sizeof(slot));
    slot.date.year = today.year;
    slot.date.month = today.month;
    slot.date.day = today.day;
    slot.score = play_score;
    slot.level = levels_difficulty * 100 + play_level + 1;
    slot.user_id = player->player_id;
    std::snprintf(slot.name, sizeof(slot.name), "%.*s", USER_NAME_SIZE - 1, player->name);
    std::snprintf(slot.country, sizeof(slot.country), "%.*s", USER_COUNTRY_SIZE - 1,
                  ScoresGetPlayersCountry(player));
    slot.flags[0] = SCORES_NEWEST;
    scores_last_score = slot;
    ScoresWriteToFile();
    return 1;
}

void ScoresPromptToSubmitLastScore()
{
    if (!ScoresScreenIsCurrent()) {
        DebugErrorCode("ScoresPromptToSubmitLastScore", 'IERR');
        return;
    }
    const _UserInfo *player = PlayerGetLoaded();
    int found = -1;
    for (int r = 0; r < RANGES && found < 0; r++) {
        const _ScoresScore *best = ScoresGetUsersBestScoreForCurrentGardenNotLastScore(static_cast<_ScoresRange>(r));
        if (!best || best->score < play_score)
            found = r;
    }
    char name[USER_NAME_SIZE] = "";
    if (player)
        std::snprintf(name, sizeof(name), "%.*s", USER_NAME_SIZE - 1, player->name);
    char text[512];
    if (found >= 0) {
        std::snprintf(text, sizeof(text),
                      "%s, you scored %ld and got to level %d.\n\nThis is your best %s score for this garden.\n\n"
                      "Submit this score?",
                      name, static_cast<long>(play_score), play_level + 1, range_words[found]);
        ScoresScreenAskSubmit(text);
    } else {
        std::snprintf(text, sizeof(text),
                      "%s, you scored %ld and got to level %d.\n\nYou already have a better score than this one.",
                      name, static_cast<long>(play_score), play_level + 1);
        PopupMessageNoTitle(text);
    }
}

char ScoresGetSubsetForRange(_ScoresRange range, char, char)
{
    FreeSubset();
    _EngMiscDate today = {};
    scores_get_today(&today);
    int count = 0;
    for (int i = 0; i < scores_count; i++)
        count += IsInRange(today, scores_table[i].date, range);
    if (count == 0)
        return 0;
    scores_subset = static_cast<_ScoresScore *>(EngMalloc(count * sizeof(_ScoresScore), "ScoresGetSubsetForRange", 1));
    if (!scores_subset) {
        DebugErrorCode("ScoresGetSubsetForRange", 'OMEM');
        return 0;
    }
    for (int i = 0; i < scores_count; i++)
        if (IsInRange(today, scores_table[i].date, range))
            scores_subset[scores_subset_count++] = scores_table[i];
    return 1;
}

_ScoresScore *ScoresGetUsersBestScoreForCurrentGardenAndRange(_ScoresRange range)
{
    const _UserInfo *player = QueryPlayer("ScoresGetUsersBestScoreForCurrentGardenAndRange");
    if (!player)
        return nullptr;
    ScoresReadCurrentGardenScores();
    if (scores_count == 0 || !ScoresGetSubsetForRange(range, 1, 0))
        return nullptr;
    _ScoresScore *best = nullptr;
    for (int i = 0; i < scores_subset_count; i++) {
        _ScoresScore &entry = scores_subset[i];
        if (IsPlayers(entry, *player) && entry.score > (best ? best->score : 0))
            best = &entry;
    }
    return Returned(best);
}

_ScoresScore *ScoresGetUsersBestScoreForCurrentGardenNotLastScore(_ScoresRange range)
{
    const _UserInfo *player = QueryPlayer("ScoresGetUsersBestScoreForCurrentGardenNotLastScore");
    if (!player)
        return nullptr;
    ScoresReadCurrentGardenScores();
    if (scores_count == 0)
        return nullptr;
    _EngMiscDate today = {};
    scores_get_today(&today);
    _ScoresScore *best = nullptr;
    for (int i = 0; i < scores_count; i++) {
        _ScoresScore &entry = scores_table[i];
        if (IsPlayers(entry, *player) && entry.score > (best ? best->score : 0) && entry.flags[0] != SCORES_NEWEST &&
            IsInRange(today, entry.date, range))
            best = &entry;
    }
    return Returned(best);
}

_ScoresScore *ScoresGetUsersLastScoreForCurrentGarden()
{
    const _UserInfo *player = QueryPlayer("ScoresGetUsersLastScoreForCurrentGarden");
    if (!player)
        return nullptr;
    ScoresReadCurrentGardenScores();
    for (int i = 0; i < scores_count; i++)
        if (IsPlayers(scores_table[i], *player) && scores_table[i].flags[0] == SCORES_NEWEST)
            return Returned(&scores_table[i]);
    return nullptr;
}

void ScoresDeleteUsersScoresForCurrentGarden()
{
    const _UserInfo *player = QueryPlayer("ScoresDeleteUsersScoresForCurrentGarden");
    if (!player)
        return;
    ScoresReadCurrentGardenScores();
    if (scores_count == 0)
        return;
    _ScoresScore *end = std::remove_if(scores_table, scores_table + scores_count,
                                       [player](const _ScoresScore &entry) { return IsPlayers(entry, *player); });
    scores_count = static_cast<int>(end - scores_table);
    ScoresWriteToFile();
}

void ScoresResetForTests()
{
    ScoresInit();
    std::memset(scores_table, 0, sizeof(scores_table));
    scores_get_today = EngMiscGetCurrentDate;
}
