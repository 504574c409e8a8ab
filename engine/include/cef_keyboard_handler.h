// Keyboard events, before and after the page sees them.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/internal/cef_types_wrappers.h"
#include "include/internal/cef_win.h"

// Called on the browser process's UI thread.
class CefKeyboardHandler : public virtual CefBase {
 public:
  // True when the client consumed the event before the page saw it; setting
  // *is_keyboard_shortcut asks to see it again in OnKeyEvent if the page
  // does not take it.
  virtual bool OnPreKeyEvent(CefRefPtr<CefBrowser> /*browser*/, const CefKeyEvent& /*event*/,
                             CefEventHandle /*os_event*/, bool* /*is_keyboard_shortcut*/) {
    return false;
  }
  // True when the client handled an event the page left alone.
  virtual bool OnKeyEvent(CefRefPtr<CefBrowser> /*browser*/, const CefKeyEvent& /*event*/,
                          CefEventHandle /*os_event*/) {
    return false;
  }
};
