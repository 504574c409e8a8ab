// A named message with a list of arguments, sent between the browser
// process and a render process (CefBrowser::SendProcessMessage).
#pragma once

#include "include/cef_base.h"
#include "include/cef_values.h"

typedef cef_process_id_t CefProcessId;

class CefProcessMessage : public virtual CefBase {
 public:
  static CefRefPtr<CefProcessMessage> Create(const CefString& name);

  virtual bool IsValid() = 0;
  // Messages that have been delivered are read-only, arguments included.
  virtual bool IsReadOnly() = 0;
  // A writable copy.
  virtual CefRefPtr<CefProcessMessage> Copy() = 0;
  virtual CefString GetName() = 0;
  virtual CefRefPtr<CefListValue> GetArgumentList() = 0;
};
