// One list of world high scores: downloaded from the score server for one
// program, score set and date range, parsed and checked line by line, and kept
// on disk as a cache file so that it is fetched again only when it has grown
// old. The download runs in the engine's internet reader thread; the main
// thread starts it and polls it once a frame without waiting.
//
// Every answer is checked before use: a line with a field out of range is
// dropped, an answer of another kind (an error, a message, a version notice,
// anything unknown) leaves the list as it was, and the cache file is written
// whole or not at all. Failures are reported through the error reporter and
// returned as false, null or the result codes of IsUpdateFinished.
//
// Also here: the date tests that decide whether two dates share a day, week,
// month or year, and the validity test of a score record.
#pragma once

#include "engine/net/EngInternetThread.h"
#include "modules/ScoresScore.h"

typedef bool (*ScoresFilterCB)(_ScoresScore *score);

enum {
    SCORES_MAIN_READERS = 20,
    SCORES_MAIN_ANSWER_SIZE = 8192,
    SCORES_MAIN_NAME_SIZE = 512,
};

// Results of IsUpdateFinished.
enum : unsigned char {
    SCORES_UPDATE_RUNNING = 0,
    SCORES_UPDATE_LIST = 1,
    SCORES_UPDATE_NOTHING = 254,
    SCORES_UPDATE_OTHER = 255,
};

// Status codes IsUpdateFinished gives besides the reader's own.
enum {
    SCORES_STATUS_BAD_DATA = -2,
    SCORES_STATUS_INVALID = -4,
    SCORES_STATUS_OLD_VERSION = -5,
};

class ScoresMain {
public:
    ScoresMain();
    ~ScoresMain();

    bool Setup(_ScoresProgram program, unsigned short scores_version, int max_scores, unsigned set,
               _ScoresRange range, ScoresFilterCB filter, char auto_update, unsigned refresh_minutes);
    bool IsSetup() const { return m_setup != 0; }
    // Starts a download; true when one runs.
    bool Update();
    bool IsUpdating();
    // SCORES_UPDATE_RUNNING while the download runs, SCORES_UPDATE_LIST when
    // a list was received, SCORES_UPDATE_NOTHING when the reader had nothing
    // and SCORES_UPDATE_OTHER otherwise. status (may be null) gets the
    // reader's or this call's code; message (may be null) is set only by a
    // message from the server, whose text this object keeps until the next
    // download or ReleaseAll.
    unsigned char IsUpdateFinished(_EngInternetThreadReadResult *status, const char **message);
    // What IsUpdateFinished does with a finished download's answer (length
    // bytes, not terminated), with the same results; public so that an answer
    // can be handled without a download.
    unsigned char TakeAnswer(const char *data, unsigned length, _EngInternetThreadReadResult *status,
                             const char **message);
    // 0 nothing done, 1 a download runs, 2 the list was loaded from the cache.
    unsigned char UpdateIfNeeded(char force);
    void StopUpdating();
    _ScoresScore *GetScoresList(char report);
    _ScoresScore *GetScore(int num);
    int GetNumberOfScores() const { return m_num_scores; }
    const char *GetScoresFileName() const { return m_file_name; }
    void DeleteScoresFile();
    void ReleaseAll();

    // Shortens the reader's time-out (15 s) for tests; 0 restores it.
    static void SetReadTimeoutForTests(int seconds);

    ScoresMain(const ScoresMain &) = delete;
    ScoresMain &operator=(const ScoresMain &) = delete;

private:
    void StepRing(const char *reason);
    void ParseList(char *text);
    bool ParseLine(char *line, _ScoresScore *slot);
    void WriteCache();
    bool ReadCache();
    void KeepMessage(const char *text);

    char m_setup;
    _ScoresProgram m_program;
    unsigned m_set;
    _ScoresRange m_range;
    ScoresFilterCB m_filter;
    unsigned short m_scores_version;
    int m_max_scores;
    char m_auto_update;
    unsigned m_refresh_minutes;
    int m_num_scores;
    _ScoresScore *m_list;
    double m_next_refresh;
    char m_updating;
    char *m_answer;
    char *m_file_name;
    unsigned m_answer_size;
    int m_first_place;
    int m_last_place;
    char *m_address;
    EngInternetThread *m_readers[SCORES_MAIN_READERS];
    int m_reader_index;
    // The last message from the server, kept for the caller.
    char *m_message;
};

// Day of the year, 1 for January 1; 0 for a missing date or a bad month.
int ScoresMainGetDatesYearDayNum(const _EngMiscDate *date);
// Day of the year / 7 + 1, held within 1..52; 0 for a missing date.
int ScoresMainGetDatesWeekNumber(const _EngMiscDate *date);
// Which ranges the two dates share; false for a missing date or a year of
// 1900 or less. Any flag may be null.
bool ScoresMainGetRangesFromDate(const _EngMiscDate *a, const _EngMiscDate *b, char *same_day, char *same_week,
                                 char *same_month, char *same_year);
// Whether a score may be sent: a positive score, a level of 0 or more, a
// name, a user id, flag digits 0..9, a valid date and, with check_platform, a
// known platform letter. Each failure is reported.
bool ScoresMainIsScoreValid(const _ScoresScore *score, char check_platform);
