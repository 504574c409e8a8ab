// The loading of pages and frames.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/cef_frame.h"
#include "include/internal/cef_types.h"

// Called on the browser process's UI thread, or on a render process's main
// thread when a render process handler provides it.
class CefLoadHandler : public virtual CefBase {
 public:
  typedef cef_errorcode_t ErrorCode;

  // The browser started or stopped loading; it may now be able to go back
  // or forward.
  virtual void OnLoadingStateChange(CefRefPtr<CefBrowser> /*browser*/, bool /*isLoading*/,
                                    bool /*canGoBack*/, bool /*canGoForward*/) {}
  virtual void OnLoadStart(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/) {}
  virtual void OnLoadEnd(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                         int /*httpStatusCode*/) {}
  // A load failed or was stopped (ERR_ABORTED); errorText is Chromium's
  // name of the error.
  virtual void OnLoadError(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                           ErrorCode /*errorCode*/, const CefString& /*errorText*/,
                           const CefString& /*failedUrl*/) {}
};
