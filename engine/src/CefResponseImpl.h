// The engine's web response.
#pragma once

#include <mutex>

#include "include/cef_response.h"

namespace engine {

class CefResponseImpl : public CefResponse {
 public:
  CefResponseImpl() = default;

  bool IsReadOnly() override;
  int GetStatus() override;
  void SetStatus(int status) override;
  CefString GetStatusText() override;
  void SetStatusText(const CefString& statusText) override;
  CefString GetMimeType() override;
  void SetMimeType(const CefString& mimeType) override;
  CefString GetHeader(const CefString& name) override;
  void GetHeaderMap(HeaderMap& headerMap) override;
  void SetHeaderMap(const HeaderMap& headerMap) override;

  // Engine side: responses the engine reports are read-only.
  void SetReadOnly();

 private:
  mutable std::mutex m_mutex;
  int m_status = 0;
  CefString m_statusText;
  CefString m_mimeType;
  HeaderMap m_headers;
  bool m_readOnly = false;

  IMPLEMENT_REFCOUNTING(CefResponseImpl);
};

}  // namespace engine
