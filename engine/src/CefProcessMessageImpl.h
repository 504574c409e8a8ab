// The engine's process message.
#pragma once

#include <string>

#include "include/cef_process_message.h"
#include "src/CefListValueImpl.h"

namespace engine {

class CefProcessMessageImpl : public CefProcessMessage {
 public:
  explicit CefProcessMessageImpl(const CefString& name);

  bool IsValid() override { return true; }
  bool IsReadOnly() override { return m_readOnly; }
  CefRefPtr<CefProcessMessage> Copy() override;
  CefString GetName() override { return m_name; }
  // The message's own list: arguments set through it are the message's.
  CefRefPtr<CefListValue> GetArgumentList() override { return m_arguments.get(); }

  // Engine side: a delivered message is made read-only, arguments and all,
  // so that a handler cannot change what another handler will see.
  void SetReadOnly();

 private:
  std::wstring m_name;
  CefRefPtr<CefListValueImpl> m_arguments;
  bool m_readOnly = false;

  IMPLEMENT_REFCOUNTING(CefProcessMessageImpl);
};

}  // namespace engine
