#include "src/CefResponseImpl.h"

#include <cwctype>

namespace engine {
namespace {

bool SameHeaderName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

}  // namespace

bool CefResponseImpl::IsReadOnly() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_readOnly;
}

int CefResponseImpl::GetStatus() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_status;
}

void CefResponseImpl::SetStatus(int status) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_status = status;
}

CefString CefResponseImpl::GetStatusText() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_statusText;
}

void CefResponseImpl::SetStatusText(const CefString& statusText) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_statusText = statusText;
}

CefString CefResponseImpl::GetMimeType() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_mimeType;
}

void CefResponseImpl::SetMimeType(const CefString& mimeType) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_mimeType = mimeType;
}

CefString CefResponseImpl::GetHeader(const CefString& name) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const std::wstring wanted = name.ToWString();
  for (const auto& header : m_headers) {
    if (SameHeaderName(header.first.ToWString(), wanted)) return header.second;
  }
  return CefString();
}

void CefResponseImpl::GetHeaderMap(HeaderMap& headerMap) {
  std::lock_guard<std::mutex> lock(m_mutex);
  headerMap = m_headers;
}

void CefResponseImpl::SetHeaderMap(const HeaderMap& headerMap) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_headers = headerMap;
}

void CefResponseImpl::SetReadOnly() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_readOnly = true;
}

}  // namespace engine

CefRefPtr<CefResponse> CefResponse::Create() { return new engine::CefResponseImpl(); }
