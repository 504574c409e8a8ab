// Sends one HTTP request and returns the response body as wide text.
#pragma once

#include <string>

class CHttpClient {
 public:
  CHttpClient();
  virtual ~CHttpClient();

  // POSTs m_strFormData (form-encoded by the caller) to url and returns the
  // body of whatever the server answers, error pages and redirects
  // included; empty when the request cannot be made, fails, or takes longer
  // than the exchange's time limit.  Never throws.
  std::wstring Post(std::string url);

  // The request body before its conversion to UTF-8.
  std::wstring m_strFormData;
};
