// Size rules every layout applies to the children it places.
#pragma once

#include <cstdint>

#include "toolkit/controls/ControlUI.h"

namespace SkinUI {

// Layouts add up the sizes and paddings of all their children, and a skin
// may hold many children of huge sizes.  The sums are kept in 64 bits and
// brought back within this bound (far beyond any screen, far inside 32
// bits) whenever they become coordinates again, so that no number of
// children can overflow them.
constexpr int64_t kMaxLayoutCoordinate = int64_t{1} << 28;

inline int ToCoordinate(int64_t value) {
  if (value > kMaxLayoutCoordinate) return static_cast<int>(kMaxLayoutCoordinate);
  if (value < -kMaxLayoutCoordinate) return static_cast<int>(-kMaxLayoutCoordinate);
  return static_cast<int>(value);
}

// A width or height kept within the child's own minimum and maximum; the
// maximum wins when the two contradict each other.
inline int ClampWidth(const CControlUI& control, int cx) {
  if (cx < control.GetMinWidth()) cx = control.GetMinWidth();
  if (cx > control.GetMaxWidth()) cx = control.GetMaxWidth();
  return cx;
}

inline int ClampHeight(const CControlUI& control, int cy) {
  if (cy < control.GetMinHeight()) cy = control.GetMinHeight();
  if (cy > control.GetMaxHeight()) cy = control.GetMaxHeight();
  return cy;
}

}  // namespace SkinUI
