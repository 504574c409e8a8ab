// What a browser shows: address, title, icon, tooltips, status and console.
#pragma once

#include <vector>

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/cef_frame.h"

// Called on the browser process's UI thread.
class CefDisplayHandler : public virtual CefBase {
 public:
  // A frame's address has changed.
  virtual void OnAddressChange(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                               const CefString& /*url*/) {}
  virtual void OnTitleChange(CefRefPtr<CefBrowser> /*browser*/, const CefString& /*title*/) {}
  virtual void OnFaviconURLChange(CefRefPtr<CefBrowser> /*browser*/,
                                  const std::vector<CefString>& /*icon_urls*/) {}
  virtual void OnFullscreenModeChange(CefRefPtr<CefBrowser> /*browser*/, bool /*fullscreen*/) {}
  // True when the client shows the tooltip itself; it may also change text.
  virtual bool OnTooltip(CefRefPtr<CefBrowser> /*browser*/, CefString& /*text*/) { return false; }
  virtual void OnStatusMessage(CefRefPtr<CefBrowser> /*browser*/, const CefString& /*value*/) {}
  // True keeps the message off the engine's own console output.
  virtual bool OnConsoleMessage(CefRefPtr<CefBrowser> /*browser*/, const CefString& /*message*/,
                                const CefString& /*source*/, int /*line*/) {
    return false;
  }
};
