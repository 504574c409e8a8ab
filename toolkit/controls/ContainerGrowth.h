// The growth rule the toolkit's arrays share.
#pragma once

#include <cstddef>

namespace SkinUI {

// Counts one more element of `elementSize` bytes.  When the new count reaches
// or passes the capacity, the capacity doubles (or becomes 11 from 0) and the
// storage is reallocated, so an array always keeps one spare slot after an
// addition.  When the storage cannot grow, nothing changes and the result is
// false.
bool GrowStorage(void** storage, int* count, int* capacity, size_t elementSize);

}  // namespace SkinUI
