// The engine's JavaScript context: a frame's global object, and the
// per-thread record of which context a thread has entered.
#pragma once

#include <atomic>

#include "include/cef_v8.h"

namespace engine {

class CefV8ContextImpl : public CefV8Context {
 public:
  // The engine makes one for each frame's script context.
  CefV8ContextImpl(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                   CefRefPtr<CefV8Value> global);

  bool IsValid() override { return m_valid.load(); }
  CefRefPtr<CefBrowser> GetBrowser() override { return m_browser; }
  CefRefPtr<CefFrame> GetFrame() override { return m_frame; }
  CefRefPtr<CefV8Value> GetGlobal() override { return m_global; }
  // False, entering nothing, once the context is no longer valid.
  bool Enter() override;
  bool Exit() override;
  bool IsSame(CefRefPtr<CefV8Context> that) override { return that.get() == this; }
  // Script runs in the page, out of reach of a synchronous call from native
  // code here, so Eval always fails: false, with retval and exception left
  // as they were.  The engine's runtime may derive from this class to offer
  // it.
  bool Eval(const CefString& code, CefRefPtr<CefV8Value>& retval,
            CefRefPtr<CefV8Exception>& exception) override;

  // Engine side: the page has released the context.  Threads that entered
  // it still leave it with Exit.
  void Invalidate() { m_valid.store(false); }

 private:
  const CefRefPtr<CefBrowser> m_browser;
  const CefRefPtr<CefFrame> m_frame;
  const CefRefPtr<CefV8Value> m_global;
  std::atomic<bool> m_valid{true};

  IMPLEMENT_REFCOUNTING(CefV8ContextImpl);
};

}  // namespace engine
