// The one high-score record that the local table, the world list and its
// cache file, the Scores screen and the submission share: 88 bytes, the same
// layout in memory and on disk (little-endian). Also the names of the world
// lists: which program's list, and which date range of it.
#pragma once

#include "engine/core/EngMisc.h"

#include <cstddef>
#include <cstdint>

enum _ScoresProgram : int {
    SP_THIS_GAME = 55,
    // A test list: no cache file is written or read for it.
    SP_TEST = 99,
};

enum _ScoresRange : int {
    SR_ALL = 0,
    SR_YEAR = 1,
    SR_MONTH = 2,
    SR_WEEK = 3,
    SR_DAY = 4,
};

enum {
    SCORES_NAME_SIZE = 32,
    SCORES_COUNTRY_SIZE = 3,
    SCORES_SECOND_NAME_SIZE = 20,
    SCORES_FLAG_COUNT = 4,
};

struct _ScoresScore {
    int32_t score; // above 0 in every valid entry
    int32_t level; // difficulty x 100 + the level reached
    uint32_t value3;
    uint32_t value4;
    _EngMiscDate date; // the two bytes after the day are always 0
    uint16_t user_id;
    char name[SCORES_NAME_SIZE];
    char country[SCORES_COUNTRY_SIZE];
    char second_name[SCORES_SECOND_NAME_SIZE]; // only the world list fills it
    char platform; // a platform letter; 0 in local entries
    signed char flags[SCORES_FLAG_COUNT];
    char padding[2];
};

static_assert(sizeof(_EngMiscDate) == 8, "the record keeps the date in 8 bytes");
static_assert(sizeof(_ScoresScore) == 88, "the record is 88 bytes on disk");
static_assert(offsetof(_ScoresScore, date) == 16 && offsetof(_ScoresScore, user_id) == 24 &&
                  offsetof(_ScoresScore, name) == 26 && offsetof(_ScoresScore, country) == 58 &&
                  offsetof(_ScoresScore, second_name) == 61 && offsetof(_ScoresScore, platform) == 81 &&
                  offsetof(_ScoresScore, flags) == 82,
              "the record's fields sit where the cache file has them");
