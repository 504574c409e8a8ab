#include "src/CefProcessMessageImpl.h"

namespace engine {

CefProcessMessageImpl::CefProcessMessageImpl(const CefString& name)
    : m_name(name.ToWString()), m_arguments(new CefListValueImpl(true)) {}

CefRefPtr<CefProcessMessage> CefProcessMessageImpl::Copy() {
  CefRefPtr<CefProcessMessageImpl> copy = new CefProcessMessageImpl(m_name);
  copy->m_arguments = m_arguments->CopyImpl(true);
  return copy.get();
}

void CefProcessMessageImpl::SetReadOnly() {
  m_readOnly = true;
  m_arguments->SetReadOnly();
}

}  // namespace engine

CefRefPtr<CefProcessMessage> CefProcessMessage::Create(const CefString& name) {
  return new engine::CefProcessMessageImpl(name);
}
