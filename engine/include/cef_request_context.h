// The state browsers share: cache, cookies and settings.  The engine has one,
// the global context, which is what a null request context stands for when a
// browser is created.
#pragma once

#include "include/cef_base.h"

class CefRequestContext : public virtual CefBase {
 public:
  virtual bool IsSame(CefRefPtr<CefRequestContext> other) = 0;
  virtual bool IsGlobal() = 0;
};
