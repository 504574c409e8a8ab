#include "src/CefV8ContextImpl.h"

#include <windows.h>

#include <vector>

namespace engine {
namespace {

// The contexts the thread has entered and not yet left, innermost last.
// Each entry holds a reference, which a thread that ends without leaving
// gives back when it ends.
class EnteredContexts {
 public:
  EnteredContexts() = default;
  EnteredContexts(const EnteredContexts&) = delete;
  EnteredContexts& operator=(const EnteredContexts&) = delete;
  ~EnteredContexts() {
    for (CefV8Context* context : m_contexts) context->Release();
  }

  void Push(CefV8Context* context) {
    context->AddRef();
    m_contexts.push_back(context);
  }
  bool PopIfTop(CefV8Context* context) {
    if (m_contexts.empty() || m_contexts.back() != context) return false;
    m_contexts.pop_back();
    context->Release();
    return true;
  }
  CefV8Context* Top() const { return m_contexts.empty() ? nullptr : m_contexts.back(); }

 private:
  std::vector<CefV8Context*> m_contexts;
};

void WINAPI FreeEnteredContexts(void* contexts) { delete static_cast<EnteredContexts*>(contexts); }

// Kept in fiber-local storage rather than in a thread_local object: the
// system calls the slot's callback on the ending thread itself, while the
// compiler's emulated thread_local runs destructors after it has freed
// their storage.
DWORD EnteredContextsSlot() {
  static const DWORD slot = ::FlsAlloc(&FreeEnteredContexts);
  return slot;
}

EnteredContexts& ThisThread() {
  const DWORD slot = EnteredContextsSlot();
  EnteredContexts* contexts = static_cast<EnteredContexts*>(::FlsGetValue(slot));
  if (contexts == nullptr) {
    contexts = new EnteredContexts();
    ::FlsSetValue(slot, contexts);
  }
  return *contexts;
}

}  // namespace

CefV8ContextImpl::CefV8ContextImpl(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                   CefRefPtr<CefV8Value> global)
    : m_browser(browser), m_frame(frame), m_global(global) {}

bool CefV8ContextImpl::Enter() {
  if (!IsValid()) return false;
  ThisThread().Push(this);
  return true;
}

bool CefV8ContextImpl::Exit() { return ThisThread().PopIfTop(this); }

bool CefV8ContextImpl::Eval(const CefString& /*code*/, CefRefPtr<CefV8Value>& /*retval*/,
                            CefRefPtr<CefV8Exception>& /*exception*/) {
  return false;
}

}  // namespace engine

// The engine does not tell the context that runs script apart from the one
// entered last: both are the calling thread's innermost entered context.
CefRefPtr<CefV8Context> CefV8Context::GetCurrentContext() { return engine::ThisThread().Top(); }

CefRefPtr<CefV8Context> CefV8Context::GetEnteredContext() { return engine::ThisThread().Top(); }

bool CefV8Context::InContext() { return engine::ThisThread().Top() != nullptr; }
