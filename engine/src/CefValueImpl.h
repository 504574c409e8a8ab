// The engine's variant value.
#pragma once

#include "include/cef_values.h"
#include "src/ValueData.h"

namespace engine {

class CefValueImpl : public CefValue {
 public:
  CefValueImpl() = default;
  // Holds data as it is: a container in it stays the container it is, so
  // changes made through GetList and the like reach whoever else holds it.
  // A read-only value (one read from a read-only container) cannot be set.
  explicit CefValueImpl(const ValueData& data, bool readOnly = false)
      : m_data(data), m_readOnly(readOnly) {}

  bool IsValid() override { return true; }
  bool IsOwned() override { return false; }
  bool IsReadOnly() override { return m_readOnly; }
  bool IsSame(CefRefPtr<CefValue> that) override;
  bool IsEqual(CefRefPtr<CefValue> that) override;
  CefRefPtr<CefValue> Copy() override { return new CefValueImpl(m_data.DeepCopy()); }

  CefValueType GetType() override { return m_data.type; }
  bool GetBool() override { return m_data.GetBool(); }
  int GetInt() override { return m_data.GetInt(); }
  double GetDouble() override { return m_data.GetDouble(); }
  CefString GetString() override { return m_data.GetString(); }
  CefRefPtr<CefBinaryValue> GetBinary() override { return m_data.GetBinary(); }
  CefRefPtr<CefDictionaryValue> GetDictionary() override { return m_data.GetDictionary(); }
  CefRefPtr<CefListValue> GetList() override { return m_data.GetList(); }

  bool SetNull() override { return Store(ValueData()); }
  bool SetBool(bool value) override { return Store(ValueData::Bool(value)); }
  bool SetInt(int value) override { return Store(ValueData::Int(value)); }
  bool SetDouble(double value) override { return Store(ValueData::Double(value)); }
  bool SetString(const CefString& value) override { return Store(ValueData::String(value)); }
  bool SetBinary(CefRefPtr<CefBinaryValue> value) override;
  bool SetDictionary(CefRefPtr<CefDictionaryValue> value) override;
  bool SetList(CefRefPtr<CefListValue> value) override;

  // Engine side.
  const ValueData& Data() const { return m_data; }

 private:
  bool Store(ValueData data);

  ValueData m_data;
  bool m_readOnly = false;

  IMPLEMENT_REFCOUNTING(CefValueImpl);
};

}  // namespace engine
