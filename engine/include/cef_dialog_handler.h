// File dialogs.  The engine shows its own; a client that wants to show them
// itself has no operation to override here.
#pragma once

#include "include/cef_base.h"

class CefDialogHandler : public virtual CefBase {};
