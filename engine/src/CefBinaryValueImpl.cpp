#include "src/CefBinaryValueImpl.h"

#include <algorithm>
#include <cstring>

namespace engine {

CefBinaryValueImpl::CefBinaryValueImpl(const void* data, size_t size)
    : m_bytes(static_cast<const unsigned char*>(data),
              static_cast<const unsigned char*>(data) + size) {}

bool CefBinaryValueImpl::IsEqual(CefRefPtr<CefBinaryValue> that) {
  if (that == nullptr) return false;
  if (that.get() == this) return true;
  const size_t size = that->GetSize();
  if (size != m_bytes.size()) return false;
  std::vector<unsigned char> other(size);
  if (size > 0) that->GetData(other.data(), size, 0);
  return other == m_bytes;
}

CefRefPtr<CefBinaryValue> CefBinaryValueImpl::Copy() {
  return new CefBinaryValueImpl(m_bytes.data(), m_bytes.size());
}

size_t CefBinaryValueImpl::GetData(void* buffer, size_t buffer_size, size_t data_offset) {
  if (buffer == nullptr || buffer_size == 0 || data_offset >= m_bytes.size()) return 0;
  const size_t count = std::min(buffer_size, m_bytes.size() - data_offset);
  std::memcpy(buffer, m_bytes.data() + data_offset, count);
  return count;
}

CefRefPtr<CefBinaryValueImpl> CefBinaryValueImpl::OwnedCopy() const {
  CefRefPtr<CefBinaryValueImpl> copy = new CefBinaryValueImpl(m_bytes.data(), m_bytes.size());
  copy->m_owned = true;
  return copy;
}

}  // namespace engine

CefRefPtr<CefBinaryValue> CefBinaryValue::Create(const void* data, size_t data_size) {
  if (data == nullptr) return nullptr;
  return new engine::CefBinaryValueImpl(data, data_size);
}
