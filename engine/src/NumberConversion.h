// How the engine's values turn a double into a 32-bit integer: as
// JavaScript's ToInt32 and ToUint32 do, so that a value converts the same in
// a V8 value and in a list.  The fraction is cut off toward zero, the rest
// wraps modulo 2^32, and NaN and the infinities give 0.
#pragma once

#include <cstdint>

namespace engine {

int32_t DoubleToInt32(double value);
uint32_t DoubleToUInt32(double value);

}  // namespace engine
