#include "src/CefPostDataElementImpl.h"

#include <algorithm>
#include <cstring>

namespace engine {

bool CefPostDataElementImpl::IsReadOnly() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_readOnly;
}

void CefPostDataElementImpl::SetToEmpty() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_readOnly) return;
  m_type = PDE_TYPE_EMPTY;
  m_file.clear();
  m_bytes.clear();
}

void CefPostDataElementImpl::SetToFile(const CefString& fileName) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_readOnly) return;
  m_type = PDE_TYPE_FILE;
  m_file = fileName;
  m_bytes.clear();
}

void CefPostDataElementImpl::SetToBytes(size_t size, const void* bytes) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_readOnly) return;
  m_type = PDE_TYPE_BYTES;
  m_file.clear();
  const unsigned char* begin = static_cast<const unsigned char*>(bytes);
  if (begin == nullptr) size = 0;
  m_bytes.assign(begin, begin + size);
}

CefPostDataElement::Type CefPostDataElementImpl::GetType() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_type;
}

CefString CefPostDataElementImpl::GetFile() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_file;
}

size_t CefPostDataElementImpl::GetBytesCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_bytes.size();
}

size_t CefPostDataElementImpl::GetBytes(size_t size, void* bytes) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (bytes == nullptr) return 0;
  const size_t count = std::min(size, m_bytes.size());
  if (count > 0) std::memcpy(bytes, m_bytes.data(), count);
  return count;
}

void CefPostDataElementImpl::SetReadOnly() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_readOnly = true;
}

}  // namespace engine

CefRefPtr<CefPostDataElement> CefPostDataElement::Create() {
  return new engine::CefPostDataElementImpl();
}
