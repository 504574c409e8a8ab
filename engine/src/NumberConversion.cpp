#include "src/NumberConversion.h"

#include <cmath>

namespace engine {

uint32_t DoubleToUInt32(double value) {
  if (!std::isfinite(value)) return 0;
  // fmod keeps the sign and is exact, so the result lies strictly between
  // -2^32 and 2^32 and converts without overflow.
  double wrapped = std::fmod(std::trunc(value), 4294967296.0);
  if (wrapped < 0) wrapped += 4294967296.0;
  return static_cast<uint32_t>(wrapped);
}

int32_t DoubleToInt32(double value) {
  // The two's complement reading of the wrapped value, without relying on
  // an implementation-defined narrowing conversion.
  const uint32_t bits = DoubleToUInt32(value);
  return bits <= 0x7FFFFFFFu ? static_cast<int32_t>(bits)
                             : static_cast<int32_t>(static_cast<int64_t>(bits) - 4294967296LL);
}

}  // namespace engine
