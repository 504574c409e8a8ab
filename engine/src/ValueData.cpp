#include "src/ValueData.h"

#include "src/CefBinaryValueImpl.h"
#include "src/CefDictionaryValueImpl.h"
#include "src/CefListValueImpl.h"
#include "src/CefValueImpl.h"
#include "src/NumberConversion.h"

namespace engine {

ValueData::ValueData() : type(VTYPE_NULL), boolValue(false), intValue(0), doubleValue(0.0) {}
ValueData::ValueData(const ValueData& other) = default;
ValueData::ValueData(ValueData&& other) noexcept = default;
ValueData& ValueData::operator=(const ValueData& other) = default;
ValueData& ValueData::operator=(ValueData&& other) noexcept = default;
ValueData::~ValueData() = default;

const ValueData& ValueData::Invalid() {
  static const ValueData invalid = [] {
    ValueData data;
    data.type = VTYPE_INVALID;
    return data;
  }();
  return invalid;
}

ValueData ValueData::Bool(bool value) {
  ValueData data;
  data.type = VTYPE_BOOL;
  data.boolValue = value;
  return data;
}

ValueData ValueData::Int(int value) {
  ValueData data;
  data.type = VTYPE_INT;
  data.intValue = value;
  return data;
}

ValueData ValueData::Double(double value) {
  ValueData data;
  data.type = VTYPE_DOUBLE;
  data.doubleValue = value;
  return data;
}

ValueData ValueData::String(const CefString& value) {
  ValueData data;
  data.type = VTYPE_STRING;
  data.stringValue = value.ToWString();
  return data;
}

bool ValueData::Binary(CefRefPtr<CefBinaryValue> value, ValueData& data) {
  const CefBinaryValueImpl* binary = dynamic_cast<CefBinaryValueImpl*>(value.get());
  if (binary == nullptr) return false;
  data = ValueData();
  data.type = VTYPE_BINARY;
  data.binary = binary->OwnedCopy();
  return true;
}

bool ValueData::Dictionary(CefRefPtr<CefDictionaryValue> value, ValueData& data) {
  const CefDictionaryValueImpl* dictionary = dynamic_cast<CefDictionaryValueImpl*>(value.get());
  if (dictionary == nullptr) return false;
  data = ValueData();
  data.type = VTYPE_DICTIONARY;
  // A copy, never the dictionary itself: storing a container inside itself
  // would otherwise make a cycle that no release could break.
  data.dictionary = dictionary->CopyImpl(true, false);
  return true;
}

bool ValueData::List(CefRefPtr<CefListValue> value, ValueData& data) {
  const CefListValueImpl* list = dynamic_cast<CefListValueImpl*>(value.get());
  if (list == nullptr) return false;
  data = ValueData();
  data.type = VTYPE_LIST;
  data.list = list->CopyImpl(true);
  return true;
}

bool ValueData::FromValue(CefRefPtr<CefValue> value, ValueData& data) {
  const CefValueImpl* source = dynamic_cast<CefValueImpl*>(value.get());
  if (source == nullptr) return false;
  data = source->Data().DeepCopy();
  return true;
}

bool ValueData::GetBool() const { return type == VTYPE_BOOL && boolValue; }

int ValueData::GetInt() const {
  switch (type) {
    case VTYPE_INT:
      return intValue;
    case VTYPE_DOUBLE:
      return DoubleToInt32(doubleValue);
    case VTYPE_BOOL:
      return boolValue ? 1 : 0;
    default:
      return 0;
  }
}

double ValueData::GetDouble() const {
  switch (type) {
    case VTYPE_DOUBLE:
      return doubleValue;
    case VTYPE_INT:
      return intValue;
    case VTYPE_BOOL:
      return boolValue ? 1.0 : 0.0;
    default:
      return 0.0;
  }
}

CefString ValueData::GetString() const {
  return type == VTYPE_STRING ? CefString(stringValue) : CefString();
}

CefRefPtr<CefBinaryValue> ValueData::GetBinary() const {
  return type == VTYPE_BINARY ? binary.get() : nullptr;
}

CefRefPtr<CefDictionaryValue> ValueData::GetDictionary() const {
  return type == VTYPE_DICTIONARY ? dictionary.get() : nullptr;
}

CefRefPtr<CefListValue> ValueData::GetList() const {
  return type == VTYPE_LIST ? list.get() : nullptr;
}

ValueData ValueData::DeepCopy() const {
  ValueData copy = *this;
  if (binary != nullptr) copy.binary = binary->OwnedCopy();
  if (dictionary != nullptr) copy.dictionary = dictionary->CopyImpl(true, false);
  if (list != nullptr) copy.list = list->CopyImpl(true);
  return copy;
}

bool ValueData::IsEmptyContainer() const {
  if (type == VTYPE_DICTIONARY) return dictionary->Values().empty();
  if (type == VTYPE_LIST) return list->Values().empty();
  return false;
}

bool ValueData::Equals(const ValueData& other) const {
  if (type != other.type) return false;
  switch (type) {
    case VTYPE_BOOL:
      return boolValue == other.boolValue;
    case VTYPE_INT:
      return intValue == other.intValue;
    case VTYPE_DOUBLE:
      return doubleValue == other.doubleValue;
    case VTYPE_STRING:
      return stringValue == other.stringValue;
    case VTYPE_BINARY:
      return binary->Bytes() == other.binary->Bytes();
    case VTYPE_DICTIONARY:
      return dictionary->IsEqual(other.dictionary.get());
    case VTYPE_LIST:
      return list->IsEqual(other.list.get());
    default:
      return true;
  }
}

void ValueData::SetReadOnly() const {
  if (dictionary != nullptr) dictionary->SetReadOnly();
  if (list != nullptr) list->SetReadOnly();
}

}  // namespace engine
