// Pages asking for the machine's location.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"

class CefGeolocationCallback : public virtual CefBase {
 public:
  virtual void Continue(bool allow) = 0;
};

// Called on the browser process's UI thread.
class CefGeolocationHandler : public virtual CefBase {
 public:
  // True when callback will answer, now or later; false refuses.
  virtual bool OnRequestGeolocationPermission(CefRefPtr<CefBrowser> /*browser*/,
                                              const CefString& /*requesting_url*/,
                                              int /*request_id*/,
                                              CefRefPtr<CefGeolocationCallback> /*callback*/) {
    return false;
  }
  virtual void OnCancelGeolocationPermission(CefRefPtr<CefBrowser> /*browser*/,
                                             const CefString& /*requesting_url*/,
                                             int /*request_id*/) {}
};
