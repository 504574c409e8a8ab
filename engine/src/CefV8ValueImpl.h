// The engine's JavaScript value.  The page's scripts run in a browser the
// engine drives from outside, so a value here is the native side's record:
// simple values hold their value; objects, arrays and functions hold their
// properties, which the engine mirrors into the page.  For that the engine
// reads an object's properties in the order they were set (Properties,
// Elements) and asks which ones changed since it last looked
// (TakeChangedKeys).
//
// Types and conversions, as the engine's public API defines them:
// - A value's type is the one it was created with; a page's number is an
//   int when it is a 32-bit signed integer, a uint when it is an unsigned
//   one that is not, and a double otherwise.  IsInt is true for an int
//   only, IsUInt for an int or a uint, IsDouble for any of the three.
// - GetIntValue and GetUIntValue read an int or a uint (each keeps its 32
//   bits, so a uint above 2^31 - 1 reads as a negative int and a negative
//   int as a large uint); any other type, a double or a bool included,
//   gives 0.
// - GetDoubleValue reads an int, a uint or a double; anything else gives 0.
// - GetBoolValue is true only for a true bool.
// - GetStringValue gives a string's text and "" for anything else.
// - Objects, arrays and functions are objects: they all hold named
//   properties and indexed elements.
//
// Properties follow the rules of native code in the engine: SetValue sets
// even a read-only property (READONLY keeps the page's scripts from
// changing it), DeleteValue refuses a DONTDELETE property, and GetKeys
// leaves DONTENUM properties out.  Reading a property that is not there
// gives an undefined value; operations that need an object give null,
// false or 0 on any other value.
//
// Values are thread-safe for the engine's sake: its runtime may list an
// object's properties on another thread while the render thread sets them.
// Handlers and accessors are always called with no lock held.
#pragma once

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "include/cef_v8.h"

namespace engine {

class CefV8ValueImpl : public CefV8Value {
 public:
  enum class Kind {
    kUndefined,
    kNull,
    kBool,
    kInt,
    kUInt,
    kDouble,
    kDate,
    kString,
    kObject,
    kArray,
    kFunction,
  };

  // A named property as the engine mirrors it.
  struct Property {
    CefString key;
    // Null for a property served by the object's accessor.
    CefRefPtr<CefV8Value> value;
    PropertyAttribute attribute = V8_PROPERTY_ATTRIBUTE_NONE;
    // Served by the object's accessor, with these access settings.
    bool accessor = false;
    AccessControl access = V8_ACCESS_CONTROL_DEFAULT;
  };

  explicit CefV8ValueImpl(Kind kind);

  bool IsValid() override { return true; }
  bool IsUndefined() override { return m_kind == Kind::kUndefined; }
  bool IsNull() override { return m_kind == Kind::kNull; }
  bool IsBool() override { return m_kind == Kind::kBool; }
  bool IsInt() override;
  bool IsUInt() override;
  bool IsDouble() override;
  bool IsDate() override { return m_kind == Kind::kDate; }
  bool IsString() override { return m_kind == Kind::kString; }
  bool IsObject() override { return IsObjectKind(); }
  bool IsArray() override { return m_kind == Kind::kArray; }
  bool IsFunction() override { return m_kind == Kind::kFunction; }
  bool IsSame(CefRefPtr<CefV8Value> that) override;

  bool GetBoolValue() override { return m_kind == Kind::kBool && m_bool; }
  int32 GetIntValue() override;
  uint32 GetUIntValue() override;
  double GetDoubleValue() override;
  CefTime GetDateValue() override;
  CefString GetStringValue() override;

  bool IsUserCreated() override { return IsObjectKind(); }
  bool HasException() override;
  CefRefPtr<CefV8Exception> GetException() override;
  bool ClearException() override;
  bool WillRethrowExceptions() override;
  bool SetRethrowExceptions(bool rethrow) override;

  bool HasValue(const CefString& key) override;
  bool HasValue(int index) override;
  bool DeleteValue(const CefString& key) override;
  bool DeleteValue(int index) override;
  CefRefPtr<CefV8Value> GetValue(const CefString& key) override;
  CefRefPtr<CefV8Value> GetValue(int index) override;
  bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value,
                PropertyAttribute attribute) override;
  bool SetValue(int index, CefRefPtr<CefV8Value> value) override;
  bool SetValue(const CefString& key, AccessControl settings, PropertyAttribute attribute) override;
  // Elements first, by index, then named properties in the order set.
  bool GetKeys(std::vector<CefString>& keys) override;
  bool SetUserData(CefRefPtr<CefBase> user_data) override;
  CefRefPtr<CefBase> GetUserData() override;
  int GetExternallyAllocatedMemory() override;
  int AdjustExternallyAllocatedMemory(int change_in_bytes) override;

  // One more than the highest index set, and never less than the length
  // the array was created with.
  int GetArrayLength() override;

  CefString GetFunctionName() override;
  CefRefPtr<CefV8Handler> GetFunctionHandler() override;
  // Calls the handler's Execute on the calling thread.  Returns the result
  // the handler set; null when it set none, did not handle the call, or
  // threw (then HasException is true until the next call or
  // ClearException).
  CefRefPtr<CefV8Value> ExecuteFunction(CefRefPtr<CefV8Value> object,
                                        const CefV8ValueList& arguments) override;
  // The same with context entered on the calling thread for the call; null
  // without calling when context cannot be entered.
  CefRefPtr<CefV8Value> ExecuteFunctionWithContext(CefRefPtr<CefV8Context> context,
                                                   CefRefPtr<CefV8Value> object,
                                                   const CefV8ValueList& arguments) override;

  // Engine side.
  Kind GetKind() const { return m_kind; }
  CefRefPtr<CefV8Accessor> GetAccessor() const { return m_accessor; }
  // Every named property, DONTENUM ones included, in the order first set
  // (setting a property again keeps its place; deleting it and setting it
  // anew puts it last).
  std::vector<Property> Properties() const;
  // The attribute of object's named property key; NONE when object is not
  // one of the engine's objects or has no such property.
  static PropertyAttribute AttributeOf(CefRefPtr<CefV8Value> object, const CefString& key);
  // The elements there are, by index (an array's holes are left out).
  std::vector<std::pair<int, CefRefPtr<CefV8Value>>> Elements() const;
  // The keys of the properties and elements set or deleted since the last
  // call, each once, in the order they first changed; elements by their
  // index in decimal.
  std::vector<CefString> TakeChangedKeys();
  // An exception raised on the native side of a call, as a handler's
  // exception text is; for the engine's own calls of function values.
  void SetException(CefRefPtr<CefV8Exception> exception);

 private:
  friend class CefV8Value;

  bool IsObjectKind() const {
    return m_kind == Kind::kObject || m_kind == Kind::kArray || m_kind == Kind::kFunction;
  }
  // Under the lock: the property named key, or null.
  Property* FindProperty(const std::wstring& key);
  const Property* FindProperty(const std::wstring& key) const;
  void NoteChange(const CefString& key);

  const Kind m_kind;
  bool m_bool = false;
  int32 m_int = 0;
  uint32 m_uint = 0;
  double m_double = 0.0;
  CefTime m_date;
  CefString m_string;

  // Objects, arrays and functions.
  CefRefPtr<CefV8Accessor> m_accessor;
  CefString m_functionName;
  CefRefPtr<CefV8Handler> m_handler;

  mutable std::mutex m_mutex;
  std::vector<Property> m_properties;
  std::map<int, CefRefPtr<CefV8Value>> m_elements;
  int m_arrayLength = 0;
  std::vector<CefString> m_changedKeys;
  CefRefPtr<CefBase> m_userData;
  int m_externalMemory = 0;
  CefRefPtr<CefV8Exception> m_exception;
  bool m_rethrow = false;

  IMPLEMENT_REFCOUNTING(CefV8ValueImpl);
};

}  // namespace engine
