#include "toolkit/controls/ContainerGrowth.h"

#include <climits>
#include <cstdlib>

namespace SkinUI {

namespace {

constexpr int kFirstCapacity = 11;

}  // namespace

bool GrowStorage(void** storage, int* count, int* capacity, size_t elementSize) {
  if (*count == INT_MAX) return false;
  const int newCount = *count + 1;
  if (newCount >= *capacity) {
    if (*capacity > INT_MAX / 2) return false;
    const int newCapacity = *capacity == 0 ? kFirstCapacity : *capacity * 2;
    const size_t bytes = static_cast<size_t>(newCapacity) * elementSize;
    if (elementSize != 0 && bytes / elementSize != static_cast<size_t>(newCapacity)) return false;
    void* grown = std::realloc(*storage, bytes);
    if (grown == nullptr) return false;
    *storage = grown;
    *capacity = newCapacity;
  }
  *count = newCount;
  return true;
}

}  // namespace SkinUI
