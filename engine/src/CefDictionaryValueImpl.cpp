#include "src/CefDictionaryValueImpl.h"

#include "src/CefListValueImpl.h"
#include "src/CefValueImpl.h"

namespace engine {
bool CefDictionaryValueImpl::IsEqual(CefRefPtr<CefDictionaryValue> that) {
  const CefDictionaryValueImpl* other = dynamic_cast<CefDictionaryValueImpl*>(that.get());
  if (other == nullptr) return false;
  if (other == this) return true;
  if (other->m_values.size() != m_values.size()) return false;
  auto mine = m_values.begin();
  auto theirs = other->m_values.begin();
  for (; mine != m_values.end(); ++mine, ++theirs) {
    if (mine->first != theirs->first || !mine->second.Equals(theirs->second)) return false;
  }
  return true;
}

bool CefDictionaryValueImpl::Clear() {
  if (m_readOnly) return false;
  m_values.clear();
  return true;
}

bool CefDictionaryValueImpl::GetKeys(KeyList& keys) {
  keys.clear();
  for (const auto& entry : m_values) keys.push_back(entry.first);
  return true;
}

bool CefDictionaryValueImpl::Remove(const CefString& key) {
  if (m_readOnly) return false;
  return m_values.erase(key.ToWString()) != 0;
}

CefRefPtr<CefValue> CefDictionaryValueImpl::GetValue(const CefString& key) {
  const ValueData& data = At(key);
  if (data.type == VTYPE_INVALID) return nullptr;
  return new CefValueImpl(data, m_readOnly);
}

bool CefDictionaryValueImpl::SetValue(const CefString& key, CefRefPtr<CefValue> value) {
  ValueData data;
  return ValueData::FromValue(value, data) && Store(key, std::move(data));
}

bool CefDictionaryValueImpl::SetBinary(const CefString& key, CefRefPtr<CefBinaryValue> value) {
  ValueData data;
  return ValueData::Binary(value, data) && Store(key, std::move(data));
}

bool CefDictionaryValueImpl::SetDictionary(const CefString& key,
                                           CefRefPtr<CefDictionaryValue> value) {
  ValueData data;
  return ValueData::Dictionary(value, data) && Store(key, std::move(data));
}

bool CefDictionaryValueImpl::SetList(const CefString& key, CefRefPtr<CefListValue> value) {
  ValueData data;
  return ValueData::List(value, data) && Store(key, std::move(data));
}

CefRefPtr<CefDictionaryValueImpl> CefDictionaryValueImpl::CopyImpl(
    bool owned, bool excludeEmptyChildren) const {
  CefRefPtr<CefDictionaryValueImpl> copy = new CefDictionaryValueImpl();
  for (const auto& entry : m_values) {
    ValueData value = entry.second;
    if (excludeEmptyChildren && value.dictionary != nullptr) {
      // Filtered first, so that a child left empty by the filter goes too.
      value.dictionary = value.dictionary->CopyImpl(true, true);
      if (value.IsEmptyContainer()) continue;
    } else {
      if (excludeEmptyChildren && value.IsEmptyContainer()) continue;
      value = value.DeepCopy();
    }
    copy->m_values.emplace(entry.first, std::move(value));
  }
  copy->m_owned = owned;
  return copy;
}

void CefDictionaryValueImpl::SetReadOnly() {
  m_readOnly = true;
  for (const auto& entry : m_values) entry.second.SetReadOnly();
}

const ValueData& CefDictionaryValueImpl::At(const CefString& key) const {
  const auto found = m_values.find(key.ToWString());
  return found != m_values.end() ? found->second : ValueData::Invalid();
}

bool CefDictionaryValueImpl::Store(const CefString& key, ValueData data) {
  if (m_readOnly) return false;
  m_values[key.ToWString()] = std::move(data);
  return true;
}

}  // namespace engine

CefRefPtr<CefDictionaryValue> CefDictionaryValue::Create() {
  return new engine::CefDictionaryValueImpl();
}
