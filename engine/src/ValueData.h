// One value as the engine's value containers store it.  Simple values are
// held by value; binary data, dictionaries and lists by reference to the
// stored container, so that a copy of a ValueData still reaches the same
// container (reads hand out the stored container itself).
#pragma once

#include <string>

#include "include/cef_values.h"

namespace engine {

class CefBinaryValueImpl;
class CefDictionaryValueImpl;
class CefListValueImpl;

struct ValueData {
  ValueData();
  ValueData(const ValueData& other);
  ValueData(ValueData&& other) noexcept;
  ValueData& operator=(const ValueData& other);
  ValueData& operator=(ValueData&& other) noexcept;
  ~ValueData();

  // What a container reads outside its entries: VTYPE_INVALID.
  static const ValueData& Invalid();
  static ValueData Bool(bool value);
  static ValueData Int(int value);
  static ValueData Double(double value);
  static ValueData String(const CefString& value);
  // Stores a copy of the container, owned by whatever holds this value;
  // false when value is null or not one of the engine's own containers.
  static bool Binary(CefRefPtr<CefBinaryValue> value, ValueData& data);
  static bool Dictionary(CefRefPtr<CefDictionaryValue> value, ValueData& data);
  static bool List(CefRefPtr<CefListValue> value, ValueData& data);
  // A copy of what value holds, containers copied too.
  static bool FromValue(CefRefPtr<CefValue> value, ValueData& data);

  // The conversions of every container's getters.  GetBool is true only for
  // a true bool.  GetInt and GetDouble read any number or bool: a bool as 0
  // or 1, a double in GetInt cut toward zero (wrapping as JavaScript's
  // ToInt32 does); anything else gives 0.  GetString gives a string's text
  // and "" for anything else.  The container getters give null for a value
  // of another type.
  bool GetBool() const;
  int GetInt() const;
  double GetDouble() const;
  CefString GetString() const;
  CefRefPtr<CefBinaryValue> GetBinary() const;
  CefRefPtr<CefDictionaryValue> GetDictionary() const;
  CefRefPtr<CefListValue> GetList() const;

  // A copy with containers of its own (owned, writable).
  ValueData DeepCopy() const;
  // An empty dictionary or list.
  bool IsEmptyContainer() const;
  bool Equals(const ValueData& other) const;
  // Makes the containers inside read-only, all the way down.
  void SetReadOnly() const;

  cef_value_type_t type;
  bool boolValue;
  int intValue;
  double doubleValue;
  std::wstring stringValue;
  CefRefPtr<CefBinaryValueImpl> binary;
  CefRefPtr<CefDictionaryValueImpl> dictionary;
  CefRefPtr<CefListValueImpl> list;
};

}  // namespace engine
