#include "toolkit/core/Delegate.h"

namespace SkinUI {

CDelegateBase::CDelegateBase(void* pObject, const void* pFunction, size_t functionSize)
    : m_pObject(pObject), m_function(), m_functionSize(functionSize) {
  std::memcpy(m_function, pFunction, functionSize);
}

CDelegateBase::CDelegateBase(const CDelegateBase& source)
    : m_pObject(source.m_pObject), m_function(), m_functionSize(source.m_functionSize) {
  std::memcpy(m_function, source.m_function, sizeof m_function);
}

CDelegateBase::~CDelegateBase() = default;

bool CDelegateBase::Equals(const CDelegateBase& other) const {
  return m_pObject == other.m_pObject && m_functionSize == other.m_functionSize &&
         std::memcmp(m_function, other.m_function, m_functionSize) == 0;
}

bool CDelegateBase::operator()(void* param) { return Invoke(param); }

CDelegateStatic::CDelegateStatic(Fn pFn) : CDelegateBase(nullptr, &pFn, sizeof pFn), m_pFn(pFn) {}

CDelegateBase* CDelegateStatic::Copy() const { return new (std::nothrow) CDelegateStatic(*this); }

bool CDelegateStatic::Invoke(void* param) { return m_pFn(param); }

CEventSource::~CEventSource() {
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
    delete static_cast<CDelegateBase*>(m_aDelegates[i]);
  }
  for (int i = 0; i < m_aRemoved.GetSize(); ++i) delete static_cast<CDelegateBase*>(m_aRemoved[i]);
}

CEventSource::operator bool() const {
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
    if (m_aDelegates[i] != nullptr) return true;
  }
  return false;
}

void CEventSource::operator+=(const CDelegateBase& d) {
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
    auto* present = static_cast<CDelegateBase*>(m_aDelegates[i]);
    if (present != nullptr && present->Equals(d)) return;
  }
  CDelegateBase* copy = d.Copy();
  if (copy != nullptr && !m_aDelegates.Add(copy)) delete copy;
}

void CEventSource::operator+=(FnType pFn) { (*this) += CDelegateStatic(pFn); }

void CEventSource::operator-=(const CDelegateBase& d) {
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
    auto* present = static_cast<CDelegateBase*>(m_aDelegates[i]);
    if (present == nullptr || !present->Equals(d)) continue;
    if (m_nCalling > 0) {
      // The delegate may be the one running; it is freed after the call.
      m_aDelegates.SetAt(i, nullptr);
      // Without room to remember it, leaking it is the only safe choice.
      m_aRemoved.Add(present);
    } else {
      delete present;
      m_aDelegates.Remove(i);
    }
    return;
  }
}

void CEventSource::operator-=(FnType pFn) { (*this) -= CDelegateStatic(pFn); }

bool CEventSource::operator()(void* param) {
  ++m_nCalling;
  bool result = true;
  for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
    auto* d = static_cast<CDelegateBase*>(m_aDelegates[i]);
    if (d == nullptr) continue;
    if (!(*d)(param)) {
      result = false;
      break;
    }
  }
  if (--m_nCalling == 0) Compact();
  return result;
}

void CEventSource::Compact() {
  for (int i = m_aDelegates.GetSize() - 1; i >= 0; --i) {
    if (m_aDelegates[i] == nullptr) m_aDelegates.Remove(i);
  }
  for (int i = 0; i < m_aRemoved.GetSize(); ++i) delete static_cast<CDelegateBase*>(m_aRemoved[i]);
  m_aRemoved.Empty();
}

}  // namespace SkinUI
