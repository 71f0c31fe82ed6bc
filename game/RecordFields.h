// Numbers of the game's stored records (saved games, score files), copied to
// and from fixed byte offsets of a record buffer. The records are
// little-endian, as the host is, so a value is copied byte for byte; no
// structure is ever copied whole, so padding never reaches a file.
#pragma once

#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the records' numbers are copied in the host's order");

template <typename T> void RecordPut(unsigned char *record, int offset, T value)
{
    std::memcpy(record + offset, &value, sizeof(T));
}

template <typename T> T RecordGet(const unsigned char *record, int offset)
{
    T value;
    std::memcpy(&value, record + offset, sizeof(T));
    return value;
}
