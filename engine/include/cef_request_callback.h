// Lets the client answer a request question later.
#pragma once

#include "include/cef_base.h"

class CefRequestCallback : public virtual CefBase {
 public:
  // Goes on with the request when allow is true, cancels it otherwise.
  virtual void Continue(bool allow) = 0;
  virtual void Cancel() = 0;
};
