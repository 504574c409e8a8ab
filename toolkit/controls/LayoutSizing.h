// Size rules every layout applies to the children it places.
#pragma once

#include "toolkit/controls/ControlUI.h"

namespace SkinUI {

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
