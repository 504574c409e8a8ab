// Which engine thread the caller is on.
#pragma once

#include "include/internal/cef_types.h"

typedef cef_thread_id_t CefThreadId;

// True when called on the given engine thread.  The engine runs a UI thread
// and a thread that stands for the render process's main thread; the other
// thread ids name threads it does not have, so they are never current.
bool CefCurrentlyOn(CefThreadId threadId);
