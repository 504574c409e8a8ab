#include "src/CefValueImpl.h"

namespace engine {

bool CefValueImpl::IsSame(CefRefPtr<CefValue> that) {
  if (that.get() == this) return true;
  const CefValueImpl* other = dynamic_cast<CefValueImpl*>(that.get());
  if (other == nullptr || other->m_data.type != m_data.type) return false;
  // Two values are the same when they hold the same container.
  switch (m_data.type) {
    case VTYPE_BINARY:
      return other->m_data.binary == m_data.binary;
    case VTYPE_DICTIONARY:
      return other->m_data.dictionary == m_data.dictionary;
    case VTYPE_LIST:
      return other->m_data.list == m_data.list;
    default:
      return false;
  }
}

bool CefValueImpl::IsEqual(CefRefPtr<CefValue> that) {
  const CefValueImpl* other = dynamic_cast<CefValueImpl*>(that.get());
  return other != nullptr && m_data.Equals(other->m_data);
}

bool CefValueImpl::SetBinary(CefRefPtr<CefBinaryValue> value) {
  ValueData data;
  return ValueData::Binary(value, data) && Store(std::move(data));
}

bool CefValueImpl::SetDictionary(CefRefPtr<CefDictionaryValue> value) {
  ValueData data;
  return ValueData::Dictionary(value, data) && Store(std::move(data));
}

bool CefValueImpl::SetList(CefRefPtr<CefListValue> value) {
  ValueData data;
  return ValueData::List(value, data) && Store(std::move(data));
}

bool CefValueImpl::Store(ValueData data) {
  if (m_readOnly) return false;
  m_data = std::move(data);
  return true;
}

}  // namespace engine

CefRefPtr<CefValue> CefValue::Create() { return new engine::CefValueImpl(); }
