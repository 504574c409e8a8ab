// The engine's JavaScript exception: a record of where and what.
#pragma once

#include "include/cef_v8.h"

namespace engine {

class CefV8ExceptionImpl : public CefV8Exception {
 public:
  struct Info {
    CefString message;
    CefString sourceLine;
    CefString scriptResourceName;
    int lineNumber = 0;
    int startPosition = 0;
    int endPosition = 0;
    int startColumn = 0;
    int endColumn = 0;
  };

  explicit CefV8ExceptionImpl(const Info& info) : m_info(info) {}

  CefString GetMessage() override { return m_info.message; }
  CefString GetSourceLine() override { return m_info.sourceLine; }
  CefString GetScriptResourceName() override { return m_info.scriptResourceName; }
  int GetLineNumber() override { return m_info.lineNumber; }
  int GetStartPosition() override { return m_info.startPosition; }
  int GetEndPosition() override { return m_info.endPosition; }
  int GetStartColumn() override { return m_info.startColumn; }
  int GetEndColumn() override { return m_info.endColumn; }

 private:
  const Info m_info;

  IMPLEMENT_REFCOUNTING(CefV8ExceptionImpl);
};

}  // namespace engine
