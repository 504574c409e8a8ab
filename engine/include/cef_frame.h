// A frame of a page: the main frame or one inside it.
#pragma once

#include "include/cef_base.h"
#include "include/cef_dom.h"
#include "include/cef_request.h"
#include "include/cef_string_visitor.h"
#include "include/internal/cef_types.h"

class CefBrowser;
class CefV8Context;

class CefFrame : public virtual CefBase {
 public:
  // False once the frame has gone from its page.
  virtual bool IsValid() = 0;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
  virtual void Cut() = 0;
  virtual void Copy() = 0;
  virtual void Paste() = 0;
  virtual void Delete() = 0;
  virtual void SelectAll() = 0;
  virtual void ViewSource() = 0;
  // The frame's HTML source, or its text, handed to the visitor later.
  virtual void GetSource(CefRefPtr<CefStringVisitor> visitor) = 0;
  virtual void GetText(CefRefPtr<CefStringVisitor> visitor) = 0;
  virtual void LoadRequest(CefRefPtr<CefRequest> request) = 0;
  virtual void LoadURL(const CefString& url) = 0;
  // Shows string_val as the frame's document, with url as its address.
  virtual void LoadString(const CefString& string_val, const CefString& url) = 0;
  virtual void ExecuteJavaScript(const CefString& code, const CefString& script_url,
                                 int start_line) = 0;
  virtual bool IsMain() = 0;
  virtual bool IsFocused() = 0;
  virtual CefString GetName() = 0;
  virtual int64 GetIdentifier() = 0;
  // Null for the main frame.
  virtual CefRefPtr<CefFrame> GetParent() = 0;
  virtual CefString GetURL() = 0;
  virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
  // Render process only: the frame's JavaScript context.
  virtual CefRefPtr<CefV8Context> GetV8Context() = 0;
  virtual void VisitDOM(CefRefPtr<CefDOMVisitor> visitor) = 0;
};
