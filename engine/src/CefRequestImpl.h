// The engine's web request.
#pragma once

#include <mutex>

#include "include/cef_request.h"

namespace engine {

class CefRequestImpl : public CefRequest {
 public:
  CefRequestImpl() = default;

  bool IsReadOnly() override;
  CefString GetURL() override;
  void SetURL(const CefString& url) override;
  CefString GetMethod() override;
  void SetMethod(const CefString& method) override;
  CefRefPtr<CefPostData> GetPostData() override;
  void SetPostData(CefRefPtr<CefPostData> postData) override;
  void GetHeaderMap(HeaderMap& headerMap) override;
  void SetHeaderMap(const HeaderMap& headerMap) override;
  void Set(const CefString& url, const CefString& method, CefRefPtr<CefPostData> postData,
           const HeaderMap& headerMap) override;
  int GetFlags() override;
  void SetFlags(int flags) override;
  CefString GetFirstPartyForCookies() override;
  void SetFirstPartyForCookies(const CefString& url) override;
  ResourceType GetResourceType() override;
  TransitionType GetTransitionType() override;
  uint64 GetIdentifier() override;

  // Engine side: what only the engine sets.
  void SetResourceType(ResourceType type);
  void SetTransitionType(TransitionType type);
  void SetIdentifier(uint64 identifier);
  // Makes the request and its upload data read-only, for requests the
  // client may look at but not change.
  void SetReadOnly();

 private:
  mutable std::mutex m_mutex;
  CefString m_url;
  CefString m_method = "GET";
  CefRefPtr<CefPostData> m_postData;
  HeaderMap m_headers;
  int m_flags = UR_FLAG_NONE;
  CefString m_firstPartyForCookies;
  ResourceType m_resourceType = RT_MAIN_FRAME;
  TransitionType m_transitionType = TT_EXPLICIT;
  uint64 m_identifier = 0;
  bool m_readOnly = false;

  IMPLEMENT_REFCOUNTING(CefRequestImpl);
};

}  // namespace engine
