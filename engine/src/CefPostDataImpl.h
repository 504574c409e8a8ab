// A request's upload data.
#pragma once

#include <mutex>

#include "include/cef_request.h"

namespace engine {

class CefPostDataImpl : public CefPostData {
 public:
  CefPostDataImpl() = default;

  bool IsReadOnly() override;
  size_t GetElementCount() override;
  void GetElements(ElementVector& elements) override;
  bool RemoveElement(CefRefPtr<CefPostDataElement> element) override;
  // False for a null element, on read-only data, and for an element that is
  // there already.
  bool AddElement(CefRefPtr<CefPostDataElement> element) override;
  void RemoveElements() override;

  // Engine side: makes the data and its elements (the engine's own) read-only.
  void SetReadOnly();

 private:
  mutable std::mutex m_mutex;
  ElementVector m_elements;
  bool m_readOnly = false;

  IMPLEMENT_REFCOUNTING(CefPostDataImpl);
};

}  // namespace engine
