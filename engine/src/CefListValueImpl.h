// The engine's list value.
#pragma once

#include <vector>

#include "include/cef_values.h"
#include "src/ValueData.h"

namespace engine {

class CefListValueImpl : public CefListValue {
 public:
  // An empty list; owned when it belongs to a container or a message.
  explicit CefListValueImpl(bool owned = false) : m_owned(owned) {}

  bool IsValid() override { return true; }
  bool IsOwned() override { return m_owned; }
  bool IsReadOnly() override { return m_readOnly; }
  bool IsSame(CefRefPtr<CefListValue> that) override { return that.get() == this; }
  bool IsEqual(CefRefPtr<CefListValue> that) override;
  CefRefPtr<CefListValue> Copy() override { return CopyImpl(false).get(); }

  bool SetSize(size_t size) override;
  size_t GetSize() override { return m_values.size(); }
  bool Clear() override;
  bool Remove(int index) override;
  CefValueType GetType(int index) override;
  CefRefPtr<CefValue> GetValue(int index) override;
  bool GetBool(int index) override { return At(index).GetBool(); }
  int GetInt(int index) override { return At(index).GetInt(); }
  double GetDouble(int index) override { return At(index).GetDouble(); }
  CefString GetString(int index) override { return At(index).GetString(); }
  CefRefPtr<CefBinaryValue> GetBinary(int index) override { return At(index).GetBinary(); }
  CefRefPtr<CefDictionaryValue> GetDictionary(int index) override {
    return At(index).GetDictionary();
  }
  CefRefPtr<CefListValue> GetList(int index) override { return At(index).GetList(); }

  bool SetValue(int index, CefRefPtr<CefValue> value) override;
  bool SetNull(int index) override { return Store(index, ValueData()); }
  bool SetBool(int index, bool value) override { return Store(index, ValueData::Bool(value)); }
  bool SetInt(int index, int value) override { return Store(index, ValueData::Int(value)); }
  bool SetDouble(int index, double value) override {
    return Store(index, ValueData::Double(value));
  }
  bool SetString(int index, const CefString& value) override {
    return Store(index, ValueData::String(value));
  }
  bool SetBinary(int index, CefRefPtr<CefBinaryValue> value) override;
  bool SetDictionary(int index, CefRefPtr<CefDictionaryValue> value) override;
  bool SetList(int index, CefRefPtr<CefListValue> value) override;

  // Engine side.  A deep copy, owned by a container when owned is set.
  CefRefPtr<CefListValueImpl> CopyImpl(bool owned) const;
  // Makes the list and everything inside it read-only, for good.
  void SetReadOnly();
  const std::vector<ValueData>& Values() const { return m_values; }

 private:
  // The value at index, or an invalid one outside the list.
  const ValueData& At(int index) const;
  // Puts data at index, growing the list with nulls as far as needed.
  bool Store(int index, ValueData data);

  std::vector<ValueData> m_values;
  bool m_owned = false;
  bool m_readOnly = false;

  IMPLEMENT_REFCOUNTING(CefListValueImpl);
};

}  // namespace engine
