#include "src/CefV8StackTraceImpl.h"

namespace engine {

CefRefPtr<CefV8StackFrame> CefV8StackTraceImpl::GetFrame(int index) {
  if (index < 0 || static_cast<size_t>(index) >= m_frames.size()) return nullptr;
  return m_frames[static_cast<size_t>(index)];
}

}  // namespace engine

// Native code runs beside the page's scripts, not inside them, so there is
// no script stack to see from here: the trace is valid and empty.
CefRefPtr<CefV8StackTrace> CefV8StackTrace::GetCurrent(int /*frame_limit*/) {
  return new engine::CefV8StackTraceImpl({});
}
