// Dragging onto a browser.  The engine handles drops itself; a client has no
// operation to override here.
#pragma once

#include "include/cef_base.h"

class CefDragHandler : public virtual CefBase {};
