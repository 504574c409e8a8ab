// The page functions the bridge tests call, all answered by one handler
// that dispatches on the name, as the application's own handler does.
#pragma once

#include "include/cef_v8.h"

namespace enginetest {

// probe(...)    "probe(type:value,...)" describing what arrived
// notify(...)   sends the process message "note" with the arguments'
//               strings to the browser side; gives undefined
// classify(...) how the engine's value API sees each argument (see the
//               source file)
// where()       "main" or "inner": the frame of the context it runs in
// slow()        "slow done", after holding the page for 1.5 s
// refuse()      sets a result and an exception text, then reports the call
//               as not handled
// fail()        reports the call as handled with the exception "bad input"
class PageCallHandler : public CefV8Handler {
 public:
  // Installs the functions above for the contexts made from now on.
  static void Install();

  bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
               CefRefPtr<CefV8Value>& retval, CefString& exception) override;

  IMPLEMENT_REFCOUNTING(PageCallHandler);
};

}  // namespace enginetest
