// A JavaScript stack trace, as the engine reports it with an uncaught
// exception.
#pragma once

#include <vector>

#include "include/cef_v8.h"

namespace engine {

class CefV8StackTraceImpl : public CefV8StackTrace {
 public:
  explicit CefV8StackTraceImpl(std::vector<CefRefPtr<CefV8StackFrame>> frames)
      : m_frames(std::move(frames)) {}

  bool IsValid() override { return true; }
  int GetFrameCount() override { return static_cast<int>(m_frames.size()); }
  CefRefPtr<CefV8StackFrame> GetFrame(int index) override;

 private:
  const std::vector<CefRefPtr<CefV8StackFrame>> m_frames;

  IMPLEMENT_REFCOUNTING(CefV8StackTraceImpl);
};

}  // namespace engine
