// The engine's dictionary value: keys kept in sorted order.
#pragma once

#include <map>
#include <string>

#include "include/cef_values.h"
#include "src/ValueData.h"

namespace engine {

class CefDictionaryValueImpl : public CefDictionaryValue {
 public:
  CefDictionaryValueImpl() = default;

  bool IsValid() override { return true; }
  bool IsOwned() override { return m_owned; }
  bool IsReadOnly() override { return m_readOnly; }
  bool IsSame(CefRefPtr<CefDictionaryValue> that) override { return that.get() == this; }
  bool IsEqual(CefRefPtr<CefDictionaryValue> that) override;
  CefRefPtr<CefDictionaryValue> Copy(bool exclude_empty_children) override {
    return CopyImpl(false, exclude_empty_children).get();
  }

  size_t GetSize() override { return m_values.size(); }
  bool Clear() override;
  bool HasKey(const CefString& key) override { return m_values.count(key.ToWString()) != 0; }
  bool GetKeys(KeyList& keys) override;
  bool Remove(const CefString& key) override;
  CefValueType GetType(const CefString& key) override { return At(key).type; }
  CefRefPtr<CefValue> GetValue(const CefString& key) override;
  bool GetBool(const CefString& key) override { return At(key).GetBool(); }
  int GetInt(const CefString& key) override { return At(key).GetInt(); }
  double GetDouble(const CefString& key) override { return At(key).GetDouble(); }
  CefString GetString(const CefString& key) override { return At(key).GetString(); }
  CefRefPtr<CefBinaryValue> GetBinary(const CefString& key) override { return At(key).GetBinary(); }
  CefRefPtr<CefDictionaryValue> GetDictionary(const CefString& key) override {
    return At(key).GetDictionary();
  }
  CefRefPtr<CefListValue> GetList(const CefString& key) override { return At(key).GetList(); }

  bool SetValue(const CefString& key, CefRefPtr<CefValue> value) override;
  bool SetNull(const CefString& key) override { return Store(key, ValueData()); }
  bool SetBool(const CefString& key, bool value) override {
    return Store(key, ValueData::Bool(value));
  }
  bool SetInt(const CefString& key, int value) override {
    return Store(key, ValueData::Int(value));
  }
  bool SetDouble(const CefString& key, double value) override {
    return Store(key, ValueData::Double(value));
  }
  bool SetString(const CefString& key, const CefString& value) override {
    return Store(key, ValueData::String(value));
  }
  bool SetBinary(const CefString& key, CefRefPtr<CefBinaryValue> value) override;
  bool SetDictionary(const CefString& key, CefRefPtr<CefDictionaryValue> value) override;
  bool SetList(const CefString& key, CefRefPtr<CefListValue> value) override;

  // Engine side.  A deep copy, owned by a container when owned is set;
  // with excludeEmptyChildren, empty dictionaries and lists are left out,
  // and so are dictionaries that the same rule leaves empty.
  CefRefPtr<CefDictionaryValueImpl> CopyImpl(bool owned, bool excludeEmptyChildren) const;
  // Makes the dictionary and everything inside it read-only, for good.
  void SetReadOnly();
  const std::map<std::wstring, ValueData>& Values() const { return m_values; }

 private:
  const ValueData& At(const CefString& key) const;
  bool Store(const CefString& key, ValueData data);

  std::map<std::wstring, ValueData> m_values;
  bool m_owned = false;
  bool m_readOnly = false;

  IMPLEMENT_REFCOUNTING(CefDictionaryValueImpl);
};

}  // namespace engine
