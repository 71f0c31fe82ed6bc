// The road data of one garden ("Data/113<garden>.dat"): the path every bug
// walks, step by step, and the ground map from which the placement grid is
// built. The file is the version float followed by one _TraverseData block
// exactly as it is held in memory, little-endian, 454,172 bytes in all.
//
// The game core owns this layout; the data generator writes its files with
// it and the tests of both read them back with it, so there is only one
// description. The header has no dependencies, as the generator links
// nothing of the game.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "road data is stored little-endian as in memory");

constexpr float ROAD_DATA_VERSION = 1.2f;
constexpr int ROAD_MAX_STEPS = 16000;
constexpr int ROAD_GRID_SIDE = 512;
// Only cells 32..479 on both axes lie on the board.
constexpr int ROAD_GRID_FIRST_BOARD_CELL = 32;
constexpr int ROAD_GRID_LAST_BOARD_CELL = 479;
// How far from the board's centre a road point may lie, in board units (the
// board spans -1..1): roads begin and end just off the board, and a point
// within this bound keeps every grid-cell conversion well inside an int.
constexpr float ROAD_MAX_POINT_DISTANCE = 8.0f;

struct _TraversePoint {
    float x;
    float y;
};

struct _TraverseData {
    int32_t num_steps;                          // N: the road is walked from step 0 to N - 1
    float heading[ROAD_MAX_STEPS];              // radians, atan2(dy, -dx) of the motion
    int32_t end_steps;                          // a bug at the end stands on step end_steps - 1
    _TraversePoint point[ROAD_MAX_STEPS + 1];   // board units, -1..1 across the board, y down
    uint8_t ground_map[ROAD_GRID_SIDE * ROAD_GRID_SIDE];  // cell (cx, cy) at cx * 512 + cy; 0 free
    float reserved;
    float step_length;                          // board distance between neighbouring points
};

static_assert(offsetof(_TraverseData, heading) == 4, "road data layout");
static_assert(offsetof(_TraverseData, end_steps) == 64004, "road data layout");
static_assert(offsetof(_TraverseData, point) == 64008, "road data layout");
static_assert(offsetof(_TraverseData, ground_map) == 192016, "road data layout");
static_assert(offsetof(_TraverseData, reserved) == 454160, "road data layout");
static_assert(offsetof(_TraverseData, step_length) == 454164, "road data layout");
static_assert(sizeof(_TraverseData) == 454168, "road data layout");

constexpr size_t ROAD_DATA_FILE_SIZE = sizeof(float) + sizeof(_TraverseData);

// The grid cell of a board coordinate: round((b + 1) * 224) + 32, exact
// halves rounded toward zero as the engine rounds.
inline int RoadDataCellOf(float board)
{
    float v = (board + 1.0f) * 448.0f * 0.5f;
    float whole = v >= 0.0f ? std::ceil(v - 0.5f) : std::floor(v + 0.5f);
    return (int)whole + ROAD_GRID_FIRST_BOARD_CELL;
}

// Writes the whole file image (ROAD_DATA_FILE_SIZE bytes) into `out`.
inline void RoadDataEncode(const _TraverseData &data, unsigned char *out)
{
    float version = ROAD_DATA_VERSION;
    memcpy(out, &version, sizeof(version));
    memcpy(out + sizeof(version), &data, sizeof(data));
}

// Checks a block's contents before anything walks the road: a step count of
// 1..16000, an end step within it, finite headings on every step in use and
// finite points within ROAD_MAX_POINT_DISTANCE of the board's centre. Fills
// `why` with the first fault found.
inline bool RoadDataCheck(const _TraverseData &data, char *why, size_t why_size)
{
    if (data.num_steps < 1 || data.num_steps > ROAD_MAX_STEPS) {
        snprintf(why, why_size, "Bad step count %d", (int)data.num_steps);
        return false;
    }
    if (data.end_steps < 1 || data.end_steps > data.num_steps) {
        snprintf(why, why_size, "Bad end step %d of %d", (int)data.end_steps, (int)data.num_steps);
        return false;
    }
    for (int i = 0; i < data.num_steps; i++) {
        if (!std::isfinite(data.heading[i]) || !std::isfinite(data.point[i].x) ||
            !std::isfinite(data.point[i].y)) {
            snprintf(why, why_size, "Bad value at step %d", i);
            return false;
        }
        if (std::fabs(data.point[i].x) > ROAD_MAX_POINT_DISTANCE ||
            std::fabs(data.point[i].y) > ROAD_MAX_POINT_DISTANCE) {
            snprintf(why, why_size, "Point too far from the board at step %d", i);
            return false;
        }
    }
    return true;
}

// The wave generator divides by the step length: one that is not finite or
// not above 0 becomes 1.0.
inline void RoadDataMendStepLength(_TraverseData *data)
{
    if (!std::isfinite(data->step_length) || data->step_length <= 0.0f)
        data->step_length = 1.0f;
}

// Reads a whole file image: at least ROAD_DATA_FILE_SIZE bytes (later bytes
// are not read), the version exactly 1.2f, and a block that passes
// RoadDataCheck. A step length that is not finite or not above 0 becomes 1.0.
inline bool RoadDataDecode(const unsigned char *bytes, size_t size, _TraverseData *data, char *why,
                           size_t why_size)
{
    if (size < ROAD_DATA_FILE_SIZE) {
        snprintf(why, why_size, "Short road data (%zu bytes)", size);
        return false;
    }
    float version;
    memcpy(&version, bytes, sizeof(version));
    if (version != ROAD_DATA_VERSION) {
        snprintf(why, why_size, "Incorrect version [%f] not [%f] in file", version, ROAD_DATA_VERSION);
        return false;
    }
    memcpy(data, bytes + sizeof(version), sizeof(*data));
    if (!RoadDataCheck(*data, why, why_size))
        return false;
    RoadDataMendStepLength(data);
    return true;
}
