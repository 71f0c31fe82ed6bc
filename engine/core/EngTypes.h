// Fixed-size integer types the engine relies on (checked at start-up).
#pragma once

#include <cstdint>

typedef int8_t EngInt8;
typedef uint8_t EngUInt8;
typedef int16_t EngInt16;
typedef uint16_t EngUInt16;
typedef int32_t EngInt32;
typedef uint32_t EngUInt32;
