#include "src/CefPostDataImpl.h"

#include <algorithm>

#include "src/CefPostDataElementImpl.h"

namespace engine {

bool CefPostDataImpl::IsReadOnly() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_readOnly;
}

size_t CefPostDataImpl::GetElementCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_elements.size();
}

void CefPostDataImpl::GetElements(ElementVector& elements) {
  std::lock_guard<std::mutex> lock(m_mutex);
  elements = m_elements;
}

bool CefPostDataImpl::RemoveElement(CefRefPtr<CefPostDataElement> element) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_readOnly || element == nullptr) return false;
  const auto found = std::find(m_elements.begin(), m_elements.end(), element);
  if (found == m_elements.end()) return false;
  m_elements.erase(found);
  return true;
}

bool CefPostDataImpl::AddElement(CefRefPtr<CefPostDataElement> element) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_readOnly || element == nullptr) return false;
  if (std::find(m_elements.begin(), m_elements.end(), element) != m_elements.end()) return false;
  m_elements.push_back(element);
  return true;
}

void CefPostDataImpl::RemoveElements() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_readOnly) m_elements.clear();
}

void CefPostDataImpl::SetReadOnly() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_readOnly = true;
  for (const auto& element : m_elements) {
    CefPostDataElementImpl* own = dynamic_cast<CefPostDataElementImpl*>(element.get());
    if (own != nullptr) own->SetReadOnly();
  }
}

}  // namespace engine

CefRefPtr<CefPostData> CefPostData::Create() { return new engine::CefPostDataImpl(); }
