// The native side of the page functions: the network queries are answered
// here in the render process, the title requests go on to the browser
// process as process messages.
#pragma once

#include "include/cef_v8.h"

class CV8JsHandler : public CefV8Handler {
 public:
  // Render process main thread.
  bool Execute(const CefString& name, CefRefPtr<CefV8Value> object,
               const CefV8ValueList& arguments, CefRefPtr<CefV8Value>& retval,
               CefString& exception) override;

 private:
  IMPLEMENT_REFCOUNTING(CV8JsHandler);
};
