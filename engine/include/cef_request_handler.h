// Navigations and resource requests, with the client's say over them.
#pragma once

#include "include/cef_auth_callback.h"
#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/cef_frame.h"
#include "include/cef_request.h"
#include "include/cef_request_callback.h"
#include "include/cef_resource_handler.h"
#include "include/cef_response.h"
#include "include/cef_response_filter.h"
#include "include/cef_ssl_info.h"
#include "include/internal/cef_types.h"

// Called on the browser process's UI thread for navigations and on its IO
// thread for resources, unless said otherwise.
class CefRequestHandler : public virtual CefBase {
 public:
  typedef cef_return_value_t ReturnValue;
  typedef cef_termination_status_t TerminationStatus;
  typedef cef_urlrequest_status_t URLRequestStatus;
  typedef cef_window_open_disposition_t WindowOpenDisposition;

  // Before a frame navigates.  True cancels the navigation.
  virtual bool OnBeforeBrowse(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                              CefRefPtr<CefRequest> /*request*/, bool /*is_redirect*/) {
    return false;
  }
  // A navigation meant for another tab or window.  True cancels it.
  virtual bool OnOpenURLFromTab(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                const CefString& /*target_url*/,
                                WindowOpenDisposition /*target_disposition*/,
                                bool /*user_gesture*/) {
    return false;
  }
  // Before a resource loads; the client may change request.  RV_CONTINUE_ASYNC
  // means callback answers later.
  virtual ReturnValue OnBeforeResourceLoad(CefRefPtr<CefBrowser> /*browser*/,
                                           CefRefPtr<CefFrame> /*frame*/,
                                           CefRefPtr<CefRequest> /*request*/,
                                           CefRefPtr<CefRequestCallback> /*callback*/) {
    return RV_CONTINUE;
  }
  // A handler that serves the resource instead of the network, or null.
  virtual CefRefPtr<CefResourceHandler> GetResourceHandler(CefRefPtr<CefBrowser> /*browser*/,
                                                           CefRefPtr<CefFrame> /*frame*/,
                                                           CefRefPtr<CefRequest> /*request*/) {
    return nullptr;
  }
  // The resource redirects to new_url, which the client may change.
  virtual void OnResourceRedirect(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                  CefRefPtr<CefRequest> /*request*/, CefString& /*new_url*/) {}
  // The response has arrived.  True restarts the request (changed by the
  // client).
  virtual bool OnResourceResponse(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                  CefRefPtr<CefRequest> /*request*/,
                                  CefRefPtr<CefResponse> /*response*/) {
    return false;
  }
  // A filter the response body passes through, or null.
  virtual CefRefPtr<CefResponseFilter> GetResourceResponseFilter(
      CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
      CefRefPtr<CefRequest> /*request*/, CefRefPtr<CefResponse> /*response*/) {
    return nullptr;
  }
  virtual void OnResourceLoadComplete(CefRefPtr<CefBrowser> /*browser*/,
                                      CefRefPtr<CefFrame> /*frame*/,
                                      CefRefPtr<CefRequest> /*request*/,
                                      CefRefPtr<CefResponse> /*response*/,
                                      URLRequestStatus /*status*/,
                                      int64 /*received_content_length*/) {}
  // A server or proxy asks for credentials.  True when callback will give
  // them (or cancel); false cancels at once.
  virtual bool GetAuthCredentials(CefRefPtr<CefBrowser> /*browser*/, CefRefPtr<CefFrame> /*frame*/,
                                  bool /*isProxy*/, const CefString& /*host*/, int /*port*/,
                                  const CefString& /*realm*/, const CefString& /*scheme*/,
                                  CefRefPtr<CefAuthCallback> /*callback*/) {
    return false;
  }
  // A page asks for more storage.  True when callback will answer; false
  // refuses at once.
  virtual bool OnQuotaRequest(CefRefPtr<CefBrowser> /*browser*/, const CefString& /*origin_url*/,
                              int64 /*new_size*/, CefRefPtr<CefRequestCallback> /*callback*/) {
    return false;
  }
  // An address with a scheme the engine does not know; setting
  // allow_os_execution hands it to the system.
  virtual void OnProtocolExecution(CefRefPtr<CefBrowser> /*browser*/, const CefString& /*url*/,
                                   bool& /*allow_os_execution*/) {}
  // The server's certificate is not valid.  True when callback will answer;
  // false cancels the request at once.
  virtual bool OnCertificateError(CefRefPtr<CefBrowser> /*browser*/, cef_errorcode_t /*cert_error*/,
                                  const CefString& /*request_url*/,
                                  CefRefPtr<CefSSLInfo> /*ssl_info*/,
                                  CefRefPtr<CefRequestCallback> /*callback*/) {
    return false;
  }
  virtual void OnPluginCrashed(CefRefPtr<CefBrowser> /*browser*/,
                               const CefString& /*plugin_path*/) {}
  // The render process has set up the browser's view.
  virtual void OnRenderViewReady(CefRefPtr<CefBrowser> /*browser*/) {}
  virtual void OnRenderProcessTerminated(CefRefPtr<CefBrowser> /*browser*/,
                                         TerminationStatus /*status*/) {}
};
