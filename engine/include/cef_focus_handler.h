// Keyboard focus moving into and out of a browser.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/internal/cef_types.h"

// Called on the browser process's UI thread.
class CefFocusHandler : public virtual CefBase {
 public:
  typedef cef_focus_source_t FocusSource;

  // Focus leaves the browser's last (next) or first (!next) element.
  virtual void OnTakeFocus(CefRefPtr<CefBrowser> /*browser*/, bool /*next*/) {}
  // True keeps the browser from taking focus.
  virtual bool OnSetFocus(CefRefPtr<CefBrowser> /*browser*/, FocusSource /*source*/) {
    return false;
  }
  virtual void OnGotFocus(CefRefPtr<CefBrowser> /*browser*/) {}
};
