#include "src/CefListValueImpl.h"

#include "src/CefValueImpl.h"

namespace engine {
bool CefListValueImpl::IsEqual(CefRefPtr<CefListValue> that) {
  const CefListValueImpl* other = dynamic_cast<CefListValueImpl*>(that.get());
  if (other == nullptr) return false;
  if (other == this) return true;
  if (other->m_values.size() != m_values.size()) return false;
  for (size_t i = 0; i < m_values.size(); ++i) {
    if (!m_values[i].Equals(other->m_values[i])) return false;
  }
  return true;
}

bool CefListValueImpl::SetSize(size_t size) {
  if (m_readOnly) return false;
  m_values.resize(size);
  return true;
}

bool CefListValueImpl::Clear() {
  if (m_readOnly) return false;
  m_values.clear();
  return true;
}

bool CefListValueImpl::Remove(int index) {
  if (m_readOnly || index < 0 || static_cast<size_t>(index) >= m_values.size()) return false;
  m_values.erase(m_values.begin() + index);
  return true;
}

CefValueType CefListValueImpl::GetType(int index) { return At(index).type; }

CefRefPtr<CefValue> CefListValueImpl::GetValue(int index) {
  const ValueData& data = At(index);
  if (data.type == VTYPE_INVALID) return nullptr;
  return new CefValueImpl(data, m_readOnly);
}

bool CefListValueImpl::SetValue(int index, CefRefPtr<CefValue> value) {
  ValueData data;
  return ValueData::FromValue(value, data) && Store(index, std::move(data));
}

bool CefListValueImpl::SetBinary(int index, CefRefPtr<CefBinaryValue> value) {
  ValueData data;
  return ValueData::Binary(value, data) && Store(index, std::move(data));
}

bool CefListValueImpl::SetDictionary(int index, CefRefPtr<CefDictionaryValue> value) {
  ValueData data;
  return ValueData::Dictionary(value, data) && Store(index, std::move(data));
}

bool CefListValueImpl::SetList(int index, CefRefPtr<CefListValue> value) {
  ValueData data;
  return ValueData::List(value, data) && Store(index, std::move(data));
}

CefRefPtr<CefListValueImpl> CefListValueImpl::CopyImpl(bool owned) const {
  CefRefPtr<CefListValueImpl> copy = new CefListValueImpl(owned);
  copy->m_values.reserve(m_values.size());
  for (const ValueData& value : m_values) copy->m_values.push_back(value.DeepCopy());
  return copy;
}

void CefListValueImpl::SetReadOnly() {
  m_readOnly = true;
  for (const ValueData& value : m_values) value.SetReadOnly();
}

const ValueData& CefListValueImpl::At(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= m_values.size()) return ValueData::Invalid();
  return m_values[static_cast<size_t>(index)];
}

bool CefListValueImpl::Store(int index, ValueData data) {
  if (m_readOnly || index < 0) return false;
  const size_t position = static_cast<size_t>(index);
  if (position >= m_values.size()) m_values.resize(position + 1);
  m_values[position] = std::move(data);
  return true;
}

}  // namespace engine

CefRefPtr<CefListValue> CefListValue::Create() { return new engine::CefListValueImpl(); }
