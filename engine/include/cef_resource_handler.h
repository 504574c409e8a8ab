// Serves a resource in place of the network.
#pragma once

#include "include/cef_base.h"
#include "include/cef_callback.h"
#include "include/cef_request.h"
#include "include/cef_response.h"

// Called on the browser process's IO thread.
class CefResourceHandler : public virtual CefBase {
 public:
  // True to handle the request, calling callback's Continue once the
  // response headers are known.
  virtual bool ProcessRequest(CefRefPtr<CefRequest> request, CefRefPtr<CefCallback> callback) = 0;
  // response_length is -1 when unknown; a non-empty redirectUrl redirects.
  virtual void GetResponseHeaders(CefRefPtr<CefResponse> response, int64& response_length,
                                  CefString& redirectUrl) = 0;
  // True with bytes_read > 0 while there is data; true with 0 and callback
  // kept when more comes later; false at the end.
  virtual bool ReadResponse(void* data_out, int bytes_to_read, int& bytes_read,
                            CefRefPtr<CefCallback> callback) = 0;
  virtual void Cancel() = 0;
};
