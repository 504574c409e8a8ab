// Printing on platforms where the engine needs the client's print dialog.
// On Windows the engine prints by itself and never calls it.
#pragma once

#include "include/cef_base.h"

class CefPrintHandler : public virtual CefBase {};
