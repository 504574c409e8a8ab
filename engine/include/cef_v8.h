// JavaScript values, contexts and native functions, in a render process.
// Everything here is used on the render process's main thread (the thread
// that runs the page's scripts).
#pragma once

#include <vector>

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/cef_frame.h"
#include "include/internal/cef_types.h"
#include "include/internal/cef_types_wrappers.h"

class CefV8Exception;
class CefV8Handler;
class CefV8StackFrame;
class CefV8Value;

typedef std::vector<CefRefPtr<CefV8Value>> CefV8ValueList;

// Registers a JavaScript extension: code that runs in every context before
// the page's own scripts.  Functions it declares as "native function name();"
// are served by handler, which receives their names.  Call it from
// CefRenderProcessHandler::OnWebKitInitialized.
bool CefRegisterExtension(const CefString& extension_name, const CefString& javascript_code,
                          CefRefPtr<CefV8Handler> handler);

// A JavaScript context: one frame's global object and what runs in it.
class CefV8Context : public virtual CefBase {
 public:
  // The context the calling thread has entered last, or null when it has
  // entered none.
  static CefRefPtr<CefV8Context> GetCurrentContext();
  static CefRefPtr<CefV8Context> GetEnteredContext();
  // True when the calling thread has entered a context.
  static bool InContext();

  // False once the context has been released.
  virtual bool IsValid() = 0;
  virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
  virtual CefRefPtr<CefFrame> GetFrame() = 0;
  virtual CefRefPtr<CefV8Value> GetGlobal() = 0;
  // Makes this the calling thread's current context until the matching
  // Exit.  Entering nests.
  virtual bool Enter() = 0;
  // False when this is not the calling thread's current context.
  virtual bool Exit() = 0;
  virtual bool IsSame(CefRefPtr<CefV8Context> that) = 0;
  // Runs code in this context: true with retval set, or false with
  // exception set.
  virtual bool Eval(const CefString& code, CefRefPtr<CefV8Value>& retval,
                    CefRefPtr<CefV8Exception>& exception) = 0;
};

// Serves native functions.
class CefV8Handler : public virtual CefBase {
 public:
  // Called when the function name is called with object as its receiver
  // ("this").  Returns true when it handled the call; then retval (when
  // set) is what the call yields, and a non-empty exception text is thrown
  // to the caller instead.
  virtual bool Execute(const CefString& name, CefRefPtr<CefV8Value> object,
                       const CefV8ValueList& arguments, CefRefPtr<CefV8Value>& retval,
                       CefString& exception) = 0;
};

// Serves the properties of an object created with an accessor whose values
// are computed when read or written.
class CefV8Accessor : public virtual CefBase {
 public:
  // True when it handled the read; retval is the value.
  virtual bool Get(const CefString& name, const CefRefPtr<CefV8Value> object,
                   CefRefPtr<CefV8Value>& retval, CefString& exception) = 0;
  // True when it handled the write.
  virtual bool Set(const CefString& name, const CefRefPtr<CefV8Value> object,
                   const CefRefPtr<CefV8Value> value, CefString& exception) = 0;
};

// An exception thrown by script or by a native function.
class CefV8Exception : public virtual CefBase {
 public:
  virtual CefString GetMessage() = 0;
  virtual CefString GetSourceLine() = 0;
  virtual CefString GetScriptResourceName() = 0;
  // 1-based; 0 when unknown.
  virtual int GetLineNumber() = 0;
  virtual int GetStartPosition() = 0;
  virtual int GetEndPosition() = 0;
  virtual int GetStartColumn() = 0;
  virtual int GetEndColumn() = 0;
};

// A JavaScript value.
class CefV8Value : public virtual CefBase {
 public:
  typedef cef_v8_accesscontrol_t AccessControl;
  typedef cef_v8_propertyattribute_t PropertyAttribute;

  static CefRefPtr<CefV8Value> CreateUndefined();
  static CefRefPtr<CefV8Value> CreateNull();
  static CefRefPtr<CefV8Value> CreateBool(bool value);
  static CefRefPtr<CefV8Value> CreateInt(int32 value);
  static CefRefPtr<CefV8Value> CreateUInt(uint32 value);
  static CefRefPtr<CefV8Value> CreateDouble(double value);
  static CefRefPtr<CefV8Value> CreateDate(const CefTime& date);
  static CefRefPtr<CefV8Value> CreateString(const CefString& value);
  // An object; accessor (may be null) serves the properties set with
  // SetValue(key, settings, attribute).
  static CefRefPtr<CefV8Value> CreateObject(CefRefPtr<CefV8Accessor> accessor);
  static CefRefPtr<CefV8Value> CreateArray(int length);
  // A function named name whose calls go to handler's Execute.
  static CefRefPtr<CefV8Value> CreateFunction(const CefString& name,
                                              CefRefPtr<CefV8Handler> handler);

  virtual bool IsValid() = 0;
  virtual bool IsUndefined() = 0;
  virtual bool IsNull() = 0;
  virtual bool IsBool() = 0;
  virtual bool IsInt() = 0;
  virtual bool IsUInt() = 0;
  virtual bool IsDouble() = 0;
  virtual bool IsDate() = 0;
  virtual bool IsString() = 0;
  // Objects, arrays and functions.
  virtual bool IsObject() = 0;
  virtual bool IsArray() = 0;
  virtual bool IsFunction() = 0;
  // The same object, or an equal value of the same type.
  virtual bool IsSame(CefRefPtr<CefV8Value> that) = 0;

  virtual bool GetBoolValue() = 0;
  virtual int32 GetIntValue() = 0;
  virtual uint32 GetUIntValue() = 0;
  virtual double GetDoubleValue() = 0;
  virtual CefTime GetDateValue() = 0;
  virtual CefString GetStringValue() = 0;

  // Objects only, below.
  virtual bool IsUserCreated() = 0;
  // The exception the last call of a function value threw.
  virtual bool HasException() = 0;
  virtual CefRefPtr<CefV8Exception> GetException() = 0;
  virtual bool ClearException() = 0;
  virtual bool WillRethrowExceptions() = 0;
  virtual bool SetRethrowExceptions(bool rethrow) = 0;

  virtual bool HasValue(const CefString& key) = 0;
  virtual bool HasValue(int index) = 0;
  virtual bool DeleteValue(const CefString& key) = 0;
  virtual bool DeleteValue(int index) = 0;
  virtual CefRefPtr<CefV8Value> GetValue(const CefString& key) = 0;
  virtual CefRefPtr<CefV8Value> GetValue(int index) = 0;
  virtual bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value,
                        PropertyAttribute attribute) = 0;
  virtual bool SetValue(int index, CefRefPtr<CefV8Value> value) = 0;
  // Declares key as a property served by the object's accessor.
  virtual bool SetValue(const CefString& key, AccessControl settings,
                        PropertyAttribute attribute) = 0;
  // The enumerable property names.
  virtual bool GetKeys(std::vector<CefString>& keys) = 0;
  virtual bool SetUserData(CefRefPtr<CefBase> user_data) = 0;
  virtual CefRefPtr<CefBase> GetUserData() = 0;
  virtual int GetExternallyAllocatedMemory() = 0;
  virtual int AdjustExternallyAllocatedMemory(int change_in_bytes) = 0;

  // Arrays only.
  virtual int GetArrayLength() = 0;

  // Functions only.
  virtual CefString GetFunctionName() = 0;
  virtual CefRefPtr<CefV8Handler> GetFunctionHandler() = 0;
  // Calls the function with object as its receiver (null for none).
  // Returns what the call yields, or null when it threw (HasException then
  // tells).
  virtual CefRefPtr<CefV8Value> ExecuteFunction(CefRefPtr<CefV8Value> object,
                                                const CefV8ValueList& arguments) = 0;
  // The same, inside context.
  virtual CefRefPtr<CefV8Value> ExecuteFunctionWithContext(CefRefPtr<CefV8Context> context,
                                                           CefRefPtr<CefV8Value> object,
                                                           const CefV8ValueList& arguments) = 0;
};

// The script calls on the stack at some moment, innermost first.
class CefV8StackTrace : public virtual CefBase {
 public:
  // At most frame_limit calls of the calling thread's current stack.
  static CefRefPtr<CefV8StackTrace> GetCurrent(int frame_limit);

  virtual bool IsValid() = 0;
  virtual int GetFrameCount() = 0;
  virtual CefRefPtr<CefV8StackFrame> GetFrame(int index) = 0;
};

// One call of a stack trace.
class CefV8StackFrame : public virtual CefBase {
 public:
  virtual bool IsValid() = 0;
  virtual CefString GetScriptName() = 0;
  virtual CefString GetScriptNameOrSourceURL() = 0;
  virtual CefString GetFunctionName() = 0;
  virtual int GetLineNumber() = 0;
  virtual int GetColumn() = 0;
  virtual bool IsEval() = 0;
  virtual bool IsConstructor() = 0;
};
