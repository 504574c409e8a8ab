// The document object model.  The engine gives no access to a page's nodes:
// these classes exist for the operations that name them, and the engine
// passes null wherever a node or document would go.
#pragma once

#include "include/cef_base.h"

class CefDOMDocument : public virtual CefBase {};

class CefDOMNode : public virtual CefBase {};

class CefDOMVisitor : public virtual CefBase {
 public:
  virtual void Visit(CefRefPtr<CefDOMDocument> document) = 0;
};
