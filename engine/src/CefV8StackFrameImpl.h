// One call of a JavaScript stack trace, as the engine reports it.
#pragma once

#include "include/cef_v8.h"

namespace engine {

class CefV8StackFrameImpl : public CefV8StackFrame {
 public:
  struct Info {
    CefString scriptName;
    CefString scriptNameOrSourceURL;
    CefString functionName;
    int lineNumber = 0;
    int column = 0;
    bool isEval = false;
    bool isConstructor = false;
  };

  explicit CefV8StackFrameImpl(const Info& info) : m_info(info) {}

  bool IsValid() override { return true; }
  CefString GetScriptName() override { return m_info.scriptName; }
  CefString GetScriptNameOrSourceURL() override { return m_info.scriptNameOrSourceURL; }
  CefString GetFunctionName() override { return m_info.functionName; }
  int GetLineNumber() override { return m_info.lineNumber; }
  int GetColumn() override { return m_info.column; }
  bool IsEval() override { return m_info.isEval; }
  bool IsConstructor() override { return m_info.isConstructor; }

 private:
  const Info m_info;

  IMPLEMENT_REFCOUNTING(CefV8StackFrameImpl);
};

}  // namespace engine
