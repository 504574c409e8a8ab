// Callbacks through which the client finishes work the engine handed it.
#pragma once

#include "include/cef_base.h"

class CefCallback : public virtual CefBase {
 public:
  virtual void Continue() = 0;
  virtual void Cancel() = 0;
};

class CefCompletionCallback : public virtual CefBase {
 public:
  virtual void OnComplete() = 0;
};
