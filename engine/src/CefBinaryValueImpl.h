// The engine's binary value: bytes copied in at creation, never changed.
#pragma once

#include <vector>

#include "include/cef_values.h"

namespace engine {

class CefBinaryValueImpl : public CefBinaryValue {
 public:
  CefBinaryValueImpl(const void* data, size_t size);

  bool IsValid() override { return true; }
  bool IsOwned() override { return m_owned; }
  bool IsSame(CefRefPtr<CefBinaryValue> that) override { return that.get() == this; }
  bool IsEqual(CefRefPtr<CefBinaryValue> that) override;
  CefRefPtr<CefBinaryValue> Copy() override;
  size_t GetSize() override { return m_bytes.size(); }
  size_t GetData(void* buffer, size_t buffer_size, size_t data_offset) override;

  // Engine side: a copy that belongs to a container.
  CefRefPtr<CefBinaryValueImpl> OwnedCopy() const;
  const std::vector<unsigned char>& Bytes() const { return m_bytes; }

 private:
  std::vector<unsigned char> m_bytes;
  bool m_owned = false;

  IMPLEMENT_REFCOUNTING(CefBinaryValueImpl);
};

}  // namespace engine
