// World high-score lists, their cache files and the date tests (see the
// header).
#include "modules/ScoresMain.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "modules/ModulesFiles.h"
#include "modules/Platform.h"
#include "modules/ScoresHooks.h"
#include "platform/win32/Win32Files.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

namespace {

const int kDefaultReadTimeout = 15;
int read_timeout = kDefaultReadTimeout;

// The cache file: version, download time, count, then the records.
enum {
    CACHE_VERSION_OFFSET = 0,
    CACHE_YEAR_OFFSET = 2,
    CACHE_MONTH_OFFSET = 6,
    CACHE_DAY_OFFSET = 7,
    CACHE_HOUR_OFFSET = 10,
    CACHE_MINUTE_OFFSET = 14,
    CACHE_SECOND_OFFSET = 15,
    CACHE_COUNT_OFFSET = 18,
    CACHE_HEADER_SIZE = 22,
};

// The range's letter in the cache file name: all, year, month, week, day.
const char kRangeLetters[] = "AYMWD";

const int kFieldsPerLine = 10;
const int kMinYear = 2000;

// A whole field read as a number within [low, high]; text that is not a
// number reads as 0, as the server's own tools write it. False when the
// number lies outside the range.
bool ReadNumber(const char *field, long long low, long long high, long long *out)
{
    errno = 0;
    char *end = nullptr;
    long long value = strtoll(field, &end, 10);
    if (end == field)
        value = 0;
    if (errno == ERANGE || value < low || value > high)
        return false;
    *out = value;
    return true;
}

template <typename T> void Put(unsigned char *at, T value)
{
    memcpy(at, &value, sizeof(value));
}

template <typename T> T Get(const unsigned char *at)
{
    T value;
    memcpy(&value, at, sizeof(value));
    return value;
}

} // namespace

void ScoresMain::SetReadTimeoutForTests(int seconds)
{
    read_timeout = seconds > 0 ? seconds : kDefaultReadTimeout;
}

ScoresMain::ScoresMain()
    : m_setup(0), m_program(SP_THIS_GAME), m_set(0), m_range(SR_ALL), m_filter(nullptr), m_scores_version(0),
      m_max_scores(0), m_auto_update(0), m_refresh_minutes(0), m_num_scores(0), m_list(nullptr), m_next_refresh(0),
      m_updating(0), m_answer(nullptr), m_file_name(nullptr), m_answer_size(0), m_first_place(1), m_last_place(1),
      m_address(static_cast<char *>(EngMalloc(SCORES_MAIN_NAME_SIZE, "ScoresMain::ScoresMain", 1))), m_readers(),
      m_reader_index(0), m_message(nullptr)
{
}

ScoresMain::~ScoresMain()
{
    ReleaseAll();
    for (EngInternetThread *&reader : m_readers) {
        delete reader;
        reader = nullptr;
    }
    EngFree(m_address, 0, "ScoresMain::~ScoresMain");
}

bool ScoresMain::Setup(_ScoresProgram program, unsigned short scores_version, int max_scores, unsigned set,
                       _ScoresRange range, ScoresFilterCB filter, char auto_update, unsigned refresh_minutes)
{
    const char *where = "ScoresMain::Setup";
    if (max_scores <= 0 || program == 0 || scores_version == 0 || range < SR_ALL || range > SR_DAY ||
        refresh_minutes == 0) {
        DebugError(where, "Parameter Error");
        ReleaseAll();
        return false;
    }
    if (m_setup)
        StopUpdating();
    m_program = program;
    m_scores_version = scores_version;
    m_max_scores = max_scores;
    m_set = set;
    m_range = range;
    m_filter = filter;
    m_auto_update = auto_update;
    m_refresh_minutes = refresh_minutes;
    m_next_refresh = 0;
    m_updating = 0;
    EngFree(m_answer, 0, where);
    m_answer = nullptr;
    m_answer_size = 0;
    m_num_scores = 0;
    m_first_place = 1;
    m_last_place = max_scores - 1;
    EngFree(m_list, 0, where);
    EngFree(m_file_name, 0, where);
    m_list = static_cast<_ScoresScore *>(
        EngMalloc(static_cast<unsigned>(sizeof(_ScoresScore)) * static_cast<unsigned>(max_scores), where, 1));
    m_file_name = static_cast<char *>(EngMalloc(SCORES_MAIN_NAME_SIZE, where, 1));
    if (!m_list || !m_file_name) {
        ReleaseAll();
        return false;
    }
    if (program == SP_TEST)
        snprintf(m_file_name, SCORES_MAIN_NAME_SIZE, "ScoresMainTest.sco");
    else
        snprintf(m_file_name, SCORES_MAIN_NAME_SIZE, "%s%sScores_%d_%u_%c.sco", PrefFolderGetSubFolder("Scores", 1),
                 "\\", static_cast<int>(program), set, kRangeLetters[range]);
    m_setup = 1;
    return true;
}

bool ScoresMain::IsUpdating()
{
    if (!m_setup) {
        DebugErrorCode("ScoresMain::IsUpdating", 'NOSU');
        return false;
    }
    return m_updating != 0;
}

// Leaves the current reader to end on its own when it still runs, so the
// main thread never waits for a read.
void ScoresMain::StepRing(const char *reason)
{
    EngInternetThread *&current = m_readers[m_reader_index];
    if (!current)
        return;
    if (!current->IsWorkerRunning()) {
        delete current;
        current = nullptr;
        return;
    }
    DebugErrorNoLog("ScoresMain::StepRing", "Leaving reader %d (%s)", m_reader_index, reason);
    EngInternetThread *abandoned = current;
    m_reader_index = (m_reader_index + 1) % SCORES_MAIN_READERS;
    EngInternetThread *&next = m_readers[m_reader_index];
    if (next) {
        if (next->IsWorkerRunning()) {
            next->CancelReading();
            next->Destroy();
        }
        delete next;
        next = nullptr;
    }
    abandoned->CancelReading();
}

bool ScoresMain::Update()
{
    const char *where = "ScoresMain::Update";
    if (!m_setup || !m_address) {
        DebugErrorCode(where, 'NOSU');
        return false;
    }
    if (m_updating)
        return true;
    StepRing("update");
    m_answer_size = 0;
    if (!m_answer) {
        m_answer = static_cast<char *>(EngMalloc(SCORES_MAIN_ANSWER_SIZE, where, 1));
        if (!m_answer)
            return false;
    }
    snprintf(m_address, SCORES_MAIN_NAME_SIZE,
             "%s/cgi-bin/common/scores/Scores.fcgi?zz=%d&gv=%u&pr=%d&st=%d&ra=%d&sp=%d&ep=%d",
             EngServersGetScoreServerAddress(), 1, static_cast<unsigned>(m_scores_version),
             static_cast<int>(m_program), static_cast<int>(m_set), static_cast<int>(m_range), m_first_place,
             m_last_place);
    char name[16];
    snprintf(name, sizeof(name), "SCMT%d", m_reader_index);
    m_readers[m_reader_index] = new (std::nothrow) EngInternetThread(name, 0);
    if (!m_readers[m_reader_index]) {
        DebugErrorCode(where, 'OMEM');
        StopUpdating();
        return false;
    }
    // One byte more than the buffer holds, so an answer that does not fit is
    // seen and refused rather than cut.
    if (!m_readers[m_reader_index]->StartReading(m_address, SCORES_MAIN_ANSWER_SIZE + 1, read_timeout)) {
        DebugError(where, "StartReading() failed");
        StopUpdating();
        return false;
    }
    m_updating = 1;
    m_next_refresh = EngMainGetTime() + m_refresh_minutes * 60.0;
    return true;
}

void ScoresMain::KeepMessage(const char *text)
{
    EngFree(m_message, 0, "ScoresMain::KeepMessage");
    m_message = EngMallocStringFromString(text, 1, "ScoresMain::KeepMessage");
}

unsigned char ScoresMain::IsUpdateFinished(_EngInternetThreadReadResult *status, const char **message)
{
    const char *where = "ScoresMain::IsUpdateFinished";
    auto finish = [&](int code, unsigned char result) {
        if (status)
            *status = static_cast<_EngInternetThreadReadResult>(code);
        StopUpdating();
        return result;
    };
    if (!m_setup) {
        DebugErrorCode(where, 'NOSU');
        return SCORES_UPDATE_RUNNING;
    }
    EngInternetThread *reader = m_readers[m_reader_index];
    if (!m_list || !m_updating || !reader)
        return SCORES_UPDATE_OTHER;
    _EngInternetThreadReadResult reading = reader->GetReadingStatus(0);
    if (reading == EITRR_IN_PROGRESS) {
        if (status)
            *status = EITRR_IN_PROGRESS;
        return SCORES_UPDATE_RUNNING;
    }
    if (reading == EITRR_NONE)
        return finish(EITRR_NONE, SCORES_UPDATE_NOTHING);
    if (reading != EITRR_DONE) {
        DebugErrorNoLog(where, "Update failed [%d]", static_cast<int>(reading));
        return finish(reading, SCORES_UPDATE_OTHER);
    }

    unsigned length = 0;
    char *data = reader->GetDataReadFreeWhenDone(&length);
    unsigned char result = TakeAnswer(data, length, status, message);
    EngFree(data, 0, where);
    return result;
}

unsigned char ScoresMain::TakeAnswer(const char *data, unsigned length, _EngInternetThreadReadResult *status,
                                     const char **message)
{
    // Its reports are those of IsUpdateFinished, whose answer it takes.
    const char *where = "ScoresMain::IsUpdateFinished";
    auto finish = [&](int code, unsigned char result) {
        if (status)
            *status = static_cast<_EngInternetThreadReadResult>(code);
        StopUpdating();
        return result;
    };
    if (!m_setup || !m_list) {
        DebugErrorCode(where, 'NOSU');
        return SCORES_UPDATE_OTHER;
    }
    if (!data || length == 0) {
        DebugInfoWithName(where, "Update failed");
        return finish(SCORES_STATUS_BAD_DATA, SCORES_UPDATE_OTHER);
    }
    if (length >= SCORES_MAIN_ANSWER_SIZE) {
        DebugError(where, "Too much data read.");
        return finish(SCORES_STATUS_BAD_DATA, SCORES_UPDATE_OTHER);
    }
    // Update makes the buffer; an answer given without a download has none.
    if (!m_answer)
        m_answer = static_cast<char *>(EngMalloc(SCORES_MAIN_ANSWER_SIZE, where, 1));
    if (!m_answer)
        return finish(SCORES_STATUS_BAD_DATA, SCORES_UPDATE_OTHER);
    memcpy(m_answer, data, length);
    m_answer[length] = 0;
    m_answer_size = length;
    StepRing("done");
    m_updating = 0;
    m_next_refresh = EngMainGetTime() + m_refresh_minutes * 60.0;

    if (length < 3) {
        DebugError(where, "No data received");
        return finish(SCORES_STATUS_BAD_DATA, SCORES_UPDATE_OTHER);
    }
    if (strncmp(m_answer, "Y \n", 3) == 0) {
        ParseList(m_answer + 3);
        if (m_program != SP_TEST)
            WriteCache();
        return finish(EITRR_DONE, SCORES_UPDATE_LIST);
    }
    char kind = m_answer[0] == ' ' && m_answer[2] == ' ' ? m_answer[1] : 0;
    if (kind == 'X') {
        DebugError(where, "Error received: <%s>", m_answer);
        return finish(SCORES_STATUS_INVALID, SCORES_UPDATE_OTHER);
    }
    if (kind == 'M') {
        DebugInfoWithName(where, "Main scores message received: <%s>", m_answer + 3);
        KeepMessage(m_answer + 3);
        if (message)
            *message = m_message;
        return finish(EITRR_DONE, SCORES_UPDATE_OTHER);
    }
    if (kind == 'V') {
        int first = 0, newest = 0, third = 0;
        sscanf(m_answer + 3, "%d %d %d", &first, &newest, &third);
        if (first == m_scores_version && first < newest)
            return finish(SCORES_STATUS_OLD_VERSION, SCORES_UPDATE_OTHER);
        DebugError(where, "Version problem: <%.64s>  <%d,%d> <%d> <%d>", m_answer, first, m_scores_version, newest,
                   third);
        return finish(SCORES_STATUS_INVALID, SCORES_UPDATE_OTHER);
    }
    DebugError(where, "Invalid data received: <%.64s>", m_answer);
    return finish(SCORES_STATUS_INVALID, SCORES_UPDATE_OTHER);
}

void ScoresMain::ParseList(char *text)
{
    m_num_scores = 0;
    char *line = text;
    while (m_num_scores < m_max_scores && *line != '*' && *line != 0) {
        char *end = strchr(line, '\n');
        // An unterminated last line may have been cut on the way: not read.
        if (!end)
            break;
        *end = 0;
        _ScoresScore *slot = &m_list[m_num_scores];
        if (ParseLine(line, slot) && (!m_filter || m_filter(slot)))
            m_num_scores++;
        line = end + 1;
    }
}

// Fills slot from one line of ten space-separated fields; false drops the
// line. The slot's flags and padding are not carried by the line.
bool ScoresMain::ParseLine(char *line, _ScoresScore *slot)
{
    int blanks = 0;
    for (const char *c = line; *c; c++)
        blanks += *c == ' ';
    if (blanks < kFieldsPerLine - 1) {
        DebugError("ScoresMain::ParseLine", "Invalid line received: <%s>", line);
        return false;
    }
    char *fields[kFieldsPerLine];
    fields[0] = line;
    char *p = line;
    for (int i = 1; i < kFieldsPerLine; i++) {
        p = strchr(p, ' ');
        *p++ = 0;
        fields[i] = p;
    }
    long long score, level, value3, value4, user_id, year, month, day;
    if (!ReadNumber(fields[0], 0, INT32_MAX, &score) || !ReadNumber(fields[1], INT32_MIN, INT32_MAX, &level) ||
        !ReadNumber(fields[2], -static_cast<long long>(UINT32_MAX), UINT32_MAX, &value3) ||
        !ReadNumber(fields[3], -static_cast<long long>(UINT32_MAX), UINT32_MAX, &value4) ||
        !ReadNumber(fields[4], 1, UINT16_MAX, &user_id))
        return false;

    char *name = fields[5];
    size_t name_length = strlen(name);
    if (name_length == 0 || name_length >= SCORES_NAME_SIZE)
        return false;
    char country[SCORES_COUNTRY_SIZE] = {};
    memcpy(country, fields[6], strnlen(fields[6], 2));
    if (!scores_hooks.country_num_from_code || scores_hooks.country_num_from_code(country) < 0)
        return false;
    // The program submits an empty second name, which the server may echo.
    const char *second_name = fields[7];
    if (strlen(second_name) >= SCORES_SECOND_NAME_SIZE)
        return false;

    // "YYYY-MM-DD": whatever stands at the two separators.
    char *date = fields[8];
    if (strlen(date) != 10)
        return false;
    date[4] = 0;
    date[7] = 0;
    if (!ReadNumber(date, kMinYear, INT32_MAX, &year) || !ReadNumber(date + 5, 1, 12, &month) ||
        !ReadNumber(date + 8, 1, 31, &day))
        return false;

    for (char *c = name; *c; c++)
        if (*c == '_')
            *c = ' ';
    slot->score = static_cast<int32_t>(score);
    slot->level = static_cast<int32_t>(level);
    // Unsigned as the server means them: a negative value wraps around.
    slot->value3 = static_cast<uint32_t>(value3);
    slot->value4 = static_cast<uint32_t>(value4);
    slot->date.year = static_cast<int>(year);
    slot->date.month = static_cast<char>(month);
    slot->date.day = static_cast<char>(day);
    slot->user_id = static_cast<uint16_t>(user_id);
    snprintf(slot->name, sizeof(slot->name), "%s", name);
    memcpy(slot->country, country, sizeof(slot->country));
    snprintf(slot->second_name, sizeof(slot->second_name), "%s", second_name);
    slot->platform = fields[9][0];
    return true;
}

void ScoresMain::WriteCache()
{
    unsigned size = CACHE_HEADER_SIZE + static_cast<unsigned>(m_num_scores) * sizeof(_ScoresScore);
    unsigned char *block = static_cast<unsigned char *>(EngMalloc(size, "ScoresMain::WriteCache", 1));
    if (!block)
        return;
    _EngMiscDateAndTime now = {};
    EngMiscGetCurrentDateAndTime(&now);
    Put<uint16_t>(block + CACHE_VERSION_OFFSET, m_scores_version);
    Put<int32_t>(block + CACHE_YEAR_OFFSET, now.date.year);
    block[CACHE_MONTH_OFFSET] = static_cast<unsigned char>(now.date.month);
    block[CACHE_DAY_OFFSET] = static_cast<unsigned char>(now.date.day);
    Put<int32_t>(block + CACHE_HOUR_OFFSET, now.hour);
    block[CACHE_MINUTE_OFFSET] = static_cast<unsigned char>(now.minute);
    block[CACHE_SECOND_OFFSET] = static_cast<unsigned char>(now.second);
    Put<int32_t>(block + CACHE_COUNT_OFFSET, m_num_scores);
    memcpy(block + CACHE_HEADER_SIZE, m_list, static_cast<size_t>(m_num_scores) * sizeof(_ScoresScore));
    // Whole or not at all: a reader never meets a half-written cache.
    ModulesWriteFileWhole(m_file_name, block, size, 0);
    EngFree(block, 0, "ScoresMain::WriteCache");
}

// Loads the list from a cache of this version that is young enough; false
// abandons the cache.
bool ScoresMain::ReadCache()
{
    if (m_program == SP_TEST)
        return false;
    EngFile file;
    if (!file.OpenForReadingQuietly(m_file_name, 0))
        return false;
    unsigned char header[CACHE_HEADER_SIZE] = {};
    if (!file.Read(header, CACHE_COUNT_OFFSET, 0) ||
        Get<uint16_t>(header + CACHE_VERSION_OFFSET) != m_scores_version)
        return false;
    _EngMiscDateAndTime saved = {};
    saved.date.year = Get<int32_t>(header + CACHE_YEAR_OFFSET);
    saved.date.month = static_cast<char>(header[CACHE_MONTH_OFFSET]);
    saved.date.day = static_cast<char>(header[CACHE_DAY_OFFSET]);
    saved.hour = Get<int32_t>(header + CACHE_HOUR_OFFSET);
    saved.minute = static_cast<char>(header[CACHE_MINUTE_OFFSET]);
    saved.second = static_cast<char>(header[CACHE_SECOND_OFFSET]);
    _EngMiscDateAndTime now = {};
    EngMiscGetCurrentDateAndTime(&now);
    unsigned file_minutes = EngMiscGetMinutesFromDateAndTime(&saved);
    unsigned now_minutes = EngMiscGetMinutesFromDateAndTime(&now);
    if (file_minutes < now_minutes - m_refresh_minutes)
        return false;
    int32_t count = 0;
    if (file.Read(header + CACHE_COUNT_OFFSET, 4, 0))
        count = Get<int32_t>(header + CACHE_COUNT_OFFSET);
    if (count < 0 || count > m_max_scores - 1)
        return false;
    int accepted = 0;
    for (int i = 0; i < count; i++) {
        _ScoresScore record;
        if (!file.Read(&record, sizeof(record), 0)) {
            m_num_scores = 0;
            return false;
        }
        if (!m_filter || m_filter(&record))
            m_list[accepted++] = record;
    }
    file.Close();
    m_num_scores = accepted;
    m_next_refresh = EngMainGetTime() +
                     (static_cast<double>(m_refresh_minutes) - now_minutes + static_cast<double>(file_minutes)) * 60.0;
    if (m_next_refresh <= EngMainGetTime())
        EngFileDelete(m_file_name, 0);
    return true;
}

unsigned char ScoresMain::UpdateIfNeeded(char force)
{
    if (!m_setup) {
        DebugErrorCode("ScoresMain::UpdateIfNeeded", 'NOSU');
        return 0;
    }
    if (!m_file_name || !m_list)
        return 0;
    if (m_updating)
        return 1;
    if (force)
        m_next_refresh = EngMainGetTime() - 0.1;
    if (m_next_refresh == 0) {
        m_next_refresh = EngMainUpdateProgramTime() + 0.2;
        return 0;
    }
    if (m_next_refresh > EngMainGetTime())
        return 0;
    if (ReadCache())
        return 2;
    if (m_auto_update)
        return Update() ? 1 : 0;
    return 0;
}

void ScoresMain::StopUpdating()
{
    if (!m_setup) {
        DebugErrorCode("ScoresMain::StopUpdating", 'NOSU');
        return;
    }
    m_answer_size = 0;
    StepRing("stop");
    EngFree(m_answer, 0, "ScoresMain::StopUpdating");
    m_answer = nullptr;
    m_updating = 0;
}

_ScoresScore *ScoresMain::GetScoresList(char report)
{
    if (!m_setup) {
        DebugErrorCode("ScoresMain::GetScoresList", 'NOSU');
        return nullptr;
    }
    if (!m_list && report)
        DebugError("ScoresMain::GetScoresList", "No scores");
    return m_list;
}

_ScoresScore *ScoresMain::GetScore(int num)
{
    const char *where = "ScoresMain::GetScore";
    if (!m_setup) {
        DebugErrorCode(where, 'NOSU');
        return nullptr;
    }
    if (!m_list) {
        DebugError(where, "No scores");
        return nullptr;
    }
    if (num < 0 || num >= m_num_scores) {
        DebugError(where, "Bad num %d (%d)", num, m_num_scores);
        return nullptr;
    }
    return &m_list[num];
}

void ScoresMain::DeleteScoresFile()
{
    if (!m_setup) {
        DebugErrorCode("ScoresMain::DeleteScoresFile", 'NOSU');
        return;
    }
    m_next_refresh = 0;
    if (EngFileExists(m_file_name, 0))
        EngFileDelete(m_file_name, 0);
}

void ScoresMain::ReleaseAll()
{
    const char *where = "ScoresMain::ReleaseAll";
    if (m_setup)
        StopUpdating();
    EngFree(m_file_name, 0, where);
    EngFree(m_list, 0, where);
    EngFree(m_answer, 0, where);
    EngFree(m_message, 0, where);
    m_file_name = nullptr;
    m_list = nullptr;
    m_answer = nullptr;
    m_message = nullptr;
    m_num_scores = 0;
    m_setup = 0;
}

int ScoresMainGetDatesYearDayNum(const _EngMiscDate *date)
{
    static const int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const char *where = "ScoresMainGetDatesYearDayNum";
    if (!date) {
        DebugError(where, "No date.");
        return 0;
    }
    if (date->month < 1 || date->month > 12) {
        DebugError(where, "Invalid month %d.", date->month);
        return 0;
    }
    bool leap = (date->year % 4 == 0 && date->year % 100 != 0) || date->year % 400 == 0;
    return kDaysBefore[date->month - 1] + (leap && date->month > 2 ? 1 : 0) + date->day;
}

int ScoresMainGetDatesWeekNumber(const _EngMiscDate *date)
{
    if (!date) {
        DebugError("ScoresMainGetDatesWeekNumber", "No date.");
        return 0;
    }
    int week = ScoresMainGetDatesYearDayNum(date) / 7 + 1;
    return week < 1 ? 1 : week > 52 ? 52 : week;
}

bool ScoresMainGetRangesFromDate(const _EngMiscDate *a, const _EngMiscDate *b, char *same_day, char *same_week,
                                 char *same_month, char *same_year)
{
    for (char *flag : {same_day, same_week, same_month, same_year})
        if (flag)
            *flag = 0;
    if (!a || !b || a->year <= 1900 || b->year <= 1900) {
        DebugError("ScoresMainGetRangesFromDate", "Invalid dates");
        return false;
    }
    if (a->year != b->year)
        return true;
    bool month = a->month == b->month;
    if (same_year)
        *same_year = 1;
    if (same_month)
        *same_month = month;
    if (same_day)
        *same_day = month && a->day == b->day;
    if (same_week)
        *same_week = ScoresMainGetDatesWeekNumber(a) == ScoresMainGetDatesWeekNumber(b);
    return true;
}

bool ScoresMainIsScoreValid(const _ScoresScore *score, char check_platform)
{
    const char *where = "ScoresMainIsScoreValid";
    if (!score) {
        DebugErrorCode(where, 'BAPA');
        return false;
    }
    if (score->score <= 0 || score->level < 0 || !score->name[0] || score->user_id == 0) {
        DebugError(where, "IE_IS [%ld %ld %.*s %d]", static_cast<long>(score->score), static_cast<long>(score->level),
                   SCORES_NAME_SIZE, score->name, score->user_id);
        return false;
    }
    for (signed char flag : score->flags) {
        if (flag < 0 || flag > 9) {
            DebugError(where, "IS_IF [%d %d %d %d]", score->flags[0], score->flags[1], score->flags[2],
                       score->flags[3]);
            return false;
        }
    }
    if (!EngMiscIsDateValid(&score->date, 1))
        return false;
    return !check_platform || PlatformIsPlatformValid(score->platform, 1);
}
