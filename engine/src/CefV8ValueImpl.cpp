#include "src/CefV8ValueImpl.h"

#include <algorithm>
#include <climits>
#include <string>

#include "src/CefV8ExceptionImpl.h"

namespace engine {
namespace {

CefString IndexKey(int index) { return std::to_wstring(index); }

}  // namespace

CefV8ValueImpl::CefV8ValueImpl(Kind kind) : m_kind(kind) {}

bool CefV8ValueImpl::IsInt() { return m_kind == Kind::kInt; }

bool CefV8ValueImpl::IsUInt() { return m_kind == Kind::kInt || m_kind == Kind::kUInt; }

bool CefV8ValueImpl::IsDouble() {
  return m_kind == Kind::kInt || m_kind == Kind::kUInt || m_kind == Kind::kDouble;
}

bool CefV8ValueImpl::IsSame(CefRefPtr<CefV8Value> that) {
  if (that.get() == this) return true;
  const CefV8ValueImpl* other = dynamic_cast<CefV8ValueImpl*>(that.get());
  // Objects are the same only as the same object; simple values when they
  // are equal values of one type.
  if (other == nullptr || IsObjectKind() || other->m_kind != m_kind) return false;
  switch (m_kind) {
    case Kind::kBool:
      return other->m_bool == m_bool;
    case Kind::kInt:
      return other->m_int == m_int;
    case Kind::kUInt:
      return other->m_uint == m_uint;
    case Kind::kDouble:
      return other->m_double == m_double;
    case Kind::kDate:
      return other->m_date.GetDoubleT() == m_date.GetDoubleT();
    case Kind::kString:
      return other->m_string == m_string;
    default:
      return true;
  }
}

int32 CefV8ValueImpl::GetIntValue() {
  switch (m_kind) {
    case Kind::kInt:
      return m_int;
    case Kind::kUInt:
      return static_cast<int32>(m_uint);
    default:
      return 0;
  }
}

uint32 CefV8ValueImpl::GetUIntValue() {
  switch (m_kind) {
    case Kind::kInt:
      return static_cast<uint32>(m_int);
    case Kind::kUInt:
      return m_uint;
    default:
      return 0;
  }
}

double CefV8ValueImpl::GetDoubleValue() {
  switch (m_kind) {
    case Kind::kInt:
      return m_int;
    case Kind::kUInt:
      return m_uint;
    case Kind::kDouble:
      return m_double;
    default:
      return 0.0;
  }
}

CefTime CefV8ValueImpl::GetDateValue() { return m_kind == Kind::kDate ? m_date : CefTime(); }

CefString CefV8ValueImpl::GetStringValue() {
  return m_kind == Kind::kString ? m_string : CefString();
}

bool CefV8ValueImpl::HasException() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_exception != nullptr;
}

CefRefPtr<CefV8Exception> CefV8ValueImpl::GetException() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_exception;
}

bool CefV8ValueImpl::ClearException() {
  if (!IsObjectKind()) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_exception = nullptr;
  return true;
}

bool CefV8ValueImpl::WillRethrowExceptions() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_rethrow;
}

bool CefV8ValueImpl::SetRethrowExceptions(bool rethrow) {
  if (!IsObjectKind()) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_rethrow = rethrow;
  return true;
}

bool CefV8ValueImpl::HasValue(const CefString& key) {
  if (!IsObjectKind()) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  return FindProperty(key.ToWString()) != nullptr;
}

bool CefV8ValueImpl::HasValue(int index) {
  if (!IsObjectKind() || index < 0) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_elements.count(index) != 0;
}

bool CefV8ValueImpl::DeleteValue(const CefString& key) {
  if (!IsObjectKind()) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  const std::wstring name = key.ToWString();
  auto found = std::find_if(m_properties.begin(), m_properties.end(),
                            [&](const Property& p) { return p.key.ToWString() == name; });
  // Deleting what is not there succeeds, as it does in script.
  if (found == m_properties.end()) return true;
  if ((found->attribute & V8_PROPERTY_ATTRIBUTE_DONTDELETE) != 0) return false;
  m_properties.erase(found);
  NoteChange(key);
  return true;
}

bool CefV8ValueImpl::DeleteValue(int index) {
  if (!IsObjectKind() || index < 0) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  // A deleted element leaves a hole; the array keeps its length.
  if (m_elements.erase(index) != 0) NoteChange(IndexKey(index));
  return true;
}

CefRefPtr<CefV8Value> CefV8ValueImpl::GetValue(const CefString& key) {
  if (!IsObjectKind()) return nullptr;
  CefRefPtr<CefV8Accessor> accessor;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    const Property* property = FindProperty(key.ToWString());
    if (property == nullptr) return CefV8Value::CreateUndefined();
    if (!property->accessor) return property->value;
    accessor = m_accessor;
  }
  CefRefPtr<CefV8Value> retval;
  CefString exception;
  const bool handled = accessor->Get(key, this, retval, exception);
  if (handled && !exception.empty()) return nullptr;
  if (!handled || retval == nullptr) return CefV8Value::CreateUndefined();
  return retval;
}

CefRefPtr<CefV8Value> CefV8ValueImpl::GetValue(int index) {
  if (!IsObjectKind() || index < 0) return nullptr;
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_elements.find(index);
  return found != m_elements.end() ? found->second : CefV8Value::CreateUndefined();
}

bool CefV8ValueImpl::SetValue(const CefString& key, CefRefPtr<CefV8Value> value,
                              PropertyAttribute attribute) {
  if (!IsObjectKind() || value == nullptr) return false;
  CefRefPtr<CefV8Accessor> accessor;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    Property* property = FindProperty(key.ToWString());
    if (property == nullptr) {
      Property added;
      added.key = key;
      added.value = value;
      added.attribute = attribute;
      m_properties.push_back(added);
      NoteChange(key);
      return true;
    }
    if (!property->accessor) {
      property->value = value;
      property->attribute = attribute;
      NoteChange(key);
      return true;
    }
    accessor = m_accessor;
  }
  // A property the accessor serves is written through it.
  CefString exception;
  return accessor->Set(key, this, value, exception) && exception.empty();
}

bool CefV8ValueImpl::SetValue(int index, CefRefPtr<CefV8Value> value) {
  if (!IsObjectKind() || index < 0 || value == nullptr) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_elements[index] = value;
  if (m_kind == Kind::kArray && index >= m_arrayLength) m_arrayLength = index + 1;
  NoteChange(IndexKey(index));
  return true;
}

bool CefV8ValueImpl::SetValue(const CefString& key, AccessControl settings,
                              PropertyAttribute attribute) {
  if (!IsObjectKind() || m_accessor == nullptr) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  Property* property = FindProperty(key.ToWString());
  if (property == nullptr) {
    m_properties.emplace_back();
    property = &m_properties.back();
    property->key = key;
  }
  property->value = nullptr;
  property->attribute = attribute;
  property->accessor = true;
  property->access = settings;
  NoteChange(key);
  return true;
}

bool CefV8ValueImpl::GetKeys(std::vector<CefString>& keys) {
  keys.clear();
  if (!IsObjectKind()) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  for (const auto& element : m_elements) keys.push_back(IndexKey(element.first));
  for (const Property& property : m_properties) {
    if ((property.attribute & V8_PROPERTY_ATTRIBUTE_DONTENUM) == 0) keys.push_back(property.key);
  }
  return true;
}

bool CefV8ValueImpl::SetUserData(CefRefPtr<CefBase> user_data) {
  if (!IsObjectKind()) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_userData = user_data;
  return true;
}

CefRefPtr<CefBase> CefV8ValueImpl::GetUserData() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_userData;
}

int CefV8ValueImpl::GetExternallyAllocatedMemory() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_externalMemory;
}

int CefV8ValueImpl::AdjustExternallyAllocatedMemory(int change_in_bytes) {
  if (!IsObjectKind()) return 0;
  std::lock_guard<std::mutex> lock(m_mutex);
  // Kept within int, the total can only be what was reported; a change
  // that would overflow it saturates instead of wrapping.
  const long long total = static_cast<long long>(m_externalMemory) + change_in_bytes;
  m_externalMemory =
      static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, total)));
  return m_externalMemory;
}

int CefV8ValueImpl::GetArrayLength() {
  if (m_kind != Kind::kArray) return 0;
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_arrayLength;
}

CefString CefV8ValueImpl::GetFunctionName() {
  return m_kind == Kind::kFunction ? m_functionName : CefString();
}

CefRefPtr<CefV8Handler> CefV8ValueImpl::GetFunctionHandler() {
  return m_kind == Kind::kFunction ? m_handler : nullptr;
}

CefRefPtr<CefV8Value> CefV8ValueImpl::ExecuteFunction(CefRefPtr<CefV8Value> object,
                                                      const CefV8ValueList& arguments) {
  if (m_kind != Kind::kFunction || m_handler == nullptr) return nullptr;
  SetException(nullptr);
  // Without a receiver, the call's "this" is the current context's global
  // object, as for a plain call in script.
  if (object == nullptr) {
    CefRefPtr<CefV8Context> context = CefV8Context::GetCurrentContext();
    if (context != nullptr) object = context->GetGlobal();
  }
  CefRefPtr<CefV8Value> retval;
  CefString exception;
  const bool handled = m_handler->Execute(m_functionName, object, arguments, retval, exception);
  if (!handled) return nullptr;
  if (!exception.empty()) {
    CefV8ExceptionImpl::Info info;
    info.message = exception;
    SetException(new CefV8ExceptionImpl(info));
    return nullptr;
  }
  return retval;
}

CefRefPtr<CefV8Value> CefV8ValueImpl::ExecuteFunctionWithContext(CefRefPtr<CefV8Context> context,
                                                                 CefRefPtr<CefV8Value> object,
                                                                 const CefV8ValueList& arguments) {
  if (context == nullptr) return ExecuteFunction(object, arguments);
  if (m_kind != Kind::kFunction || !context->Enter()) return nullptr;
  CefRefPtr<CefV8Value> result = ExecuteFunction(object, arguments);
  context->Exit();
  return result;
}

std::vector<CefV8ValueImpl::Property> CefV8ValueImpl::Properties() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_properties;
}

CefV8Value::PropertyAttribute CefV8ValueImpl::AttributeOf(CefRefPtr<CefV8Value> object,
                                                          const CefString& key) {
  const CefV8ValueImpl* value = dynamic_cast<CefV8ValueImpl*>(object.get());
  if (value == nullptr) return V8_PROPERTY_ATTRIBUTE_NONE;
  std::lock_guard<std::mutex> lock(value->m_mutex);
  const Property* property = value->FindProperty(key.ToWString());
  return property != nullptr ? property->attribute : V8_PROPERTY_ATTRIBUTE_NONE;
}

std::vector<std::pair<int, CefRefPtr<CefV8Value>>> CefV8ValueImpl::Elements() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return std::vector<std::pair<int, CefRefPtr<CefV8Value>>>(m_elements.begin(), m_elements.end());
}

std::vector<CefString> CefV8ValueImpl::TakeChangedKeys() {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<CefString> changed;
  changed.swap(m_changedKeys);
  return changed;
}

void CefV8ValueImpl::SetException(CefRefPtr<CefV8Exception> exception) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_exception = exception;
}

CefV8ValueImpl::Property* CefV8ValueImpl::FindProperty(const std::wstring& key) {
  for (Property& property : m_properties) {
    if (property.key.ToWString() == key) return &property;
  }
  return nullptr;
}

const CefV8ValueImpl::Property* CefV8ValueImpl::FindProperty(const std::wstring& key) const {
  return const_cast<CefV8ValueImpl*>(this)->FindProperty(key);
}

void CefV8ValueImpl::NoteChange(const CefString& key) {
  if (std::find(m_changedKeys.begin(), m_changedKeys.end(), key) == m_changedKeys.end())
    m_changedKeys.push_back(key);
}

}  // namespace engine

using engine::CefV8ValueImpl;

CefRefPtr<CefV8Value> CefV8Value::CreateUndefined() {
  return new CefV8ValueImpl(CefV8ValueImpl::Kind::kUndefined);
}

CefRefPtr<CefV8Value> CefV8Value::CreateNull() {
  return new CefV8ValueImpl(CefV8ValueImpl::Kind::kNull);
}

CefRefPtr<CefV8Value> CefV8Value::CreateBool(bool value) {
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kBool);
  created->m_bool = value;
  return created.get();
}

CefRefPtr<CefV8Value> CefV8Value::CreateInt(int32 value) {
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kInt);
  created->m_int = value;
  return created.get();
}

CefRefPtr<CefV8Value> CefV8Value::CreateUInt(uint32 value) {
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kUInt);
  created->m_uint = value;
  return created.get();
}

CefRefPtr<CefV8Value> CefV8Value::CreateDouble(double value) {
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kDouble);
  created->m_double = value;
  return created.get();
}

CefRefPtr<CefV8Value> CefV8Value::CreateDate(const CefTime& date) {
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kDate);
  created->m_date = date;
  return created.get();
}

CefRefPtr<CefV8Value> CefV8Value::CreateString(const CefString& value) {
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kString);
  created->m_string = value;
  return created.get();
}

CefRefPtr<CefV8Value> CefV8Value::CreateObject(CefRefPtr<CefV8Accessor> accessor) {
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kObject);
  created->m_accessor = accessor;
  return created.get();
}

CefRefPtr<CefV8Value> CefV8Value::CreateArray(int length) {
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kArray);
  created->m_arrayLength = length > 0 ? length : 0;
  return created.get();
}

CefRefPtr<CefV8Value> CefV8Value::CreateFunction(const CefString& name,
                                                 CefRefPtr<CefV8Handler> handler) {
  // A function nobody serves could never be called.
  if (handler == nullptr) return nullptr;
  CefRefPtr<CefV8ValueImpl> created = new CefV8ValueImpl(CefV8ValueImpl::Kind::kFunction);
  created->m_functionName = name;
  created->m_handler = handler;
  return created.get();
}
