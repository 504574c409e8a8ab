#include "src/CefRequestImpl.h"

#include "src/CefPostDataImpl.h"

namespace engine {

bool CefRequestImpl::IsReadOnly() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_readOnly;
}

CefString CefRequestImpl::GetURL() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_url;
}

void CefRequestImpl::SetURL(const CefString& url) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_url = url;
}

CefString CefRequestImpl::GetMethod() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_method;
}

void CefRequestImpl::SetMethod(const CefString& method) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_method = method;
}

CefRefPtr<CefPostData> CefRequestImpl::GetPostData() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_postData;
}

void CefRequestImpl::SetPostData(CefRefPtr<CefPostData> postData) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_postData = postData;
}

void CefRequestImpl::GetHeaderMap(HeaderMap& headerMap) {
  std::lock_guard<std::mutex> lock(m_mutex);
  headerMap = m_headers;
}

void CefRequestImpl::SetHeaderMap(const HeaderMap& headerMap) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_headers = headerMap;
}

void CefRequestImpl::Set(const CefString& url, const CefString& method,
                         CefRefPtr<CefPostData> postData, const HeaderMap& headerMap) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_readOnly) return;
  m_url = url;
  m_method = method;
  m_postData = postData;
  m_headers = headerMap;
}

int CefRequestImpl::GetFlags() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_flags;
}

void CefRequestImpl::SetFlags(int flags) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_flags = flags;
}

CefString CefRequestImpl::GetFirstPartyForCookies() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_firstPartyForCookies;
}

void CefRequestImpl::SetFirstPartyForCookies(const CefString& url) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_firstPartyForCookies = url;
}

CefRequest::ResourceType CefRequestImpl::GetResourceType() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_resourceType;
}

CefRequest::TransitionType CefRequestImpl::GetTransitionType() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_transitionType;
}

uint64 CefRequestImpl::GetIdentifier() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_identifier;
}

void CefRequestImpl::SetResourceType(ResourceType type) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_resourceType = type;
}

void CefRequestImpl::SetTransitionType(TransitionType type) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_transitionType = type;
}

void CefRequestImpl::SetIdentifier(uint64 identifier) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_identifier = identifier;
}

void CefRequestImpl::SetReadOnly() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_readOnly = true;
  CefPostDataImpl* postData = dynamic_cast<CefPostDataImpl*>(m_postData.get());
  if (postData != nullptr) postData->SetReadOnly();
}

}  // namespace engine

CefRefPtr<CefRequest> CefRequest::Create() { return new engine::CefRequestImpl(); }
