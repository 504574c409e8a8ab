// Receives a text the engine produces later (a frame's source or text).
#pragma once

#include "include/cef_base.h"

class CefStringVisitor : public virtual CefBase {
 public:
  virtual void Visit(const CefString& string) = 0;
};
