// One piece of a request's upload data.
#pragma once

#include <mutex>
#include <vector>

#include "include/cef_request.h"

namespace engine {

class CefPostDataElementImpl : public CefPostDataElement {
 public:
  CefPostDataElementImpl() = default;

  bool IsReadOnly() override;
  void SetToEmpty() override;
  void SetToFile(const CefString& fileName) override;
  void SetToBytes(size_t size, const void* bytes) override;
  Type GetType() override;
  CefString GetFile() override;
  size_t GetBytesCount() override;
  size_t GetBytes(size_t size, void* bytes) override;

  // Engine side: elements of a request the engine reports are read-only.
  void SetReadOnly();

 private:
  mutable std::mutex m_mutex;
  Type m_type = PDE_TYPE_EMPTY;
  CefString m_file;
  std::vector<unsigned char> m_bytes;
  bool m_readOnly = false;

  IMPLEMENT_REFCOUNTING(CefPostDataElementImpl);
};

}  // namespace engine
