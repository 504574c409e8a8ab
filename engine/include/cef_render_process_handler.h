// A render process's events, on its main thread.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/cef_dom.h"
#include "include/cef_frame.h"
#include "include/cef_load_handler.h"
#include "include/cef_process_message.h"
#include "include/cef_request.h"
#include "include/cef_v8.h"
#include "include/cef_values.h"

class CefRenderProcessHandler : public virtual CefBase {
 public:
  typedef cef_navigation_type_t NavigationType;

  // extra_info is what the browser process's handler gave for it.
  virtual void OnRenderThreadCreated(CefRefPtr<CefListValue> /*extra_info*/) {}
  // Script is about to run for the first time: the moment to register
  // extensions.
  virtual void OnWebKitInitialized() {}
  virtual void OnBrowserCreated(CefRefPtr<CefBrowser> /*browser*/) {}
  virtual void OnBrowserDestroyed(CefRefPtr<CefBrowser> /*browser*/) {}
  virtual CefRefPtr<CefLoadHandler> GetLoadHandler() { return nullptr; }
  // True cancels the navigation.
  virtual bool OnBeforeNavigation(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                  CefRefPtr<CefRequest> /*request*/,
                                  NavigationType /*navigation_type*/, bool /*is_redirect*/) {
    return false;
  }
  // A frame's JavaScript context exists, before the page's scripts run in
  // it; the context is the current one during the call.
  virtual void OnContextCreated(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                CefRefPtr<CefV8Context> /*context*/) {}
  virtual void OnContextReleased(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                 CefRefPtr<CefV8Context> /*context*/) {}
  virtual void OnUncaughtException(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                   CefRefPtr<CefV8Context> /*context*/,
                                   CefRefPtr<CefV8Exception> /*exception*/,
                                   CefRefPtr<CefV8StackTrace> /*stackTrace*/) {}
  // node is null here: the engine gives no access to a page's nodes.
  virtual void OnFocusedNodeChanged(CefRefPtr<CefBrowser> /*browser*/,
                                    CefRefPtr<CefFrame> /*frame*/, CefRefPtr<CefDOMNode> /*node*/) {
  }
  // A message from the browser process.  True when the handler handled it.
  virtual bool OnProcessMessageReceived(CefRefPtr<CefBrowser> /*browser*/,
                                        CefProcessId /*source_process*/,
                                        CefRefPtr<CefProcessMessage> /*message*/) {
    return false;
  }
};
