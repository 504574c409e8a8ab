// Lets the client answer an authentication challenge later.
#pragma once

#include "include/cef_base.h"

class CefAuthCallback : public virtual CefBase {
 public:
  virtual void Continue(const CefString& username, const CefString& password) = 0;
  virtual void Cancel() = 0;
};
