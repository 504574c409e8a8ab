#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "include/cef_v8.h"
#include "src/CefV8ContextImpl.h"
#include "src/CefV8ValueImpl.h"

namespace {

using engine::CefV8ValueImpl;

// Records its calls; answers with a fixed result or exception.
class RecordingHandler : public CefV8Handler {
 public:
  bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
               CefRefPtr<CefV8Value>& retval, CefString& exception) override {
    ++calls;
    lastName = name;
    lastObject = object;
    lastArguments = arguments;
    contextDuringCall = CefV8Context::GetCurrentContext();
    if (!handles) return false;
    if (!throws.empty()) exception = throws;
    if (result != nullptr) retval = result;
    return true;
  }

  bool handles = true;
  CefRefPtr<CefV8Value> result;
  CefString throws;
  int calls = 0;
  CefString lastName;
  CefRefPtr<CefV8Value> lastObject;
  CefV8ValueList lastArguments;
  CefRefPtr<CefV8Context> contextDuringCall;

 private:
  IMPLEMENT_REFCOUNTING(RecordingHandler);
};

// Serves one number property and remembers what was written to it.
class CountingAccessor : public CefV8Accessor {
 public:
  bool Get(const CefString& name, const CefRefPtr<CefV8Value> /*object*/,
           CefRefPtr<CefV8Value>& retval, CefString& /*exception*/) override {
    if (name.ToString() != "counter") return false;
    retval = CefV8Value::CreateInt(++reads);
    return true;
  }
  bool Set(const CefString& name, const CefRefPtr<CefV8Value> /*object*/,
           const CefRefPtr<CefV8Value> value, CefString& exception) override {
    if (name.ToString() != "counter") return false;
    if (value->IsString()) {
      exception = "counter takes numbers";
      return true;
    }
    written = value->GetIntValue();
    return true;
  }

  int reads = 0;
  int written = 0;

 private:
  IMPLEMENT_REFCOUNTING(CountingAccessor);
};

std::vector<std::string> Keys(CefRefPtr<CefV8Value> object) {
  std::vector<CefString> keys;
  object->GetKeys(keys);
  std::vector<std::string> names;
  for (const CefString& key : keys) names.push_back(key.ToString());
  return names;
}

std::vector<std::string> Names(const std::vector<CefString>& keys) {
  std::vector<std::string> names;
  for (const CefString& key : keys) names.push_back(key.ToString());
  return names;
}

TEST(CefV8Value, TypesOverlapAsJavaScriptNumbersDo) {
  CefTime date;
  date.SetDoubleT(1433162096.0);
  struct Case {
    const char* name;
    CefRefPtr<CefV8Value> value;
    // undefined, null, bool, int, uint, double, date, string, object, array, function
    const char* flags;
  };
  const Case cases[] = {
      {"undefined", CefV8Value::CreateUndefined(), "U.........."},
      {"null", CefV8Value::CreateNull(), ".N........."},
      {"bool", CefV8Value::CreateBool(false), "..B........"},
      // An int is a uint too; a uint is never an int, small or not.
      {"negative int", CefV8Value::CreateInt(-5), "...IuD....."},
      {"int", CefV8Value::CreateInt(5), "...IuD....."},
      {"small uint", CefV8Value::CreateUInt(5), "....uD....."},
      {"large uint", CefV8Value::CreateUInt(3000000000u), "....uD....."},
      {"double", CefV8Value::CreateDouble(2.5), ".....D....."},
      {"date", CefV8Value::CreateDate(date), "......T...."},
      {"string", CefV8Value::CreateString("5"), ".......S..."},
      {"object", CefV8Value::CreateObject(nullptr), "........O.."},
      {"array", CefV8Value::CreateArray(2), "........OA."},
      {"function", CefV8Value::CreateFunction("f", new RecordingHandler), "........O.F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CefRefPtr<CefV8Value> v = c.value;
    const bool actual[] = {v->IsUndefined(), v->IsNull(),   v->IsBool(),    v->IsInt(),
                           v->IsUInt(),      v->IsDouble(), v->IsDate(),    v->IsString(),
                           v->IsObject(),    v->IsArray(),  v->IsFunction()};
    for (size_t i = 0; i < sizeof(actual); ++i) EXPECT_EQ(actual[i], c.flags[i] != '.') << i;
    EXPECT_TRUE(v->IsValid());
    EXPECT_EQ(v->IsUserCreated(), v->IsObject());
  }
}

TEST(CefV8Value, ConvertsBetweenTypesByTheDocumentedRules) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    CefRefPtr<CefV8Value> value;
    bool asBool;
    int32 asInt;
    uint32 asUInt;
    double asDouble;
    std::string asString;
  };
  const Case cases[] = {
      // Numbers read only from the number types, a double not as an int.
      {"true", CefV8Value::CreateBool(true), true, 0, 0, 0.0, ""},
      {"false", CefV8Value::CreateBool(false), false, 0, 0, 0.0, ""},
      {"negative int", CefV8Value::CreateInt(-5), false, -5, 4294967291u, -5.0, ""},
      {"large uint", CefV8Value::CreateUInt(3000000000u), false, -1294967296, 3000000000u,
       3000000000.0, ""},
      {"small uint", CefV8Value::CreateUInt(7), false, 7, 7, 7.0, ""},
      {"double", CefV8Value::CreateDouble(255.9), false, 0, 0, 255.9, ""},
      {"whole double", CefV8Value::CreateDouble(255.0), false, 0, 0, 255.0, ""},
      {"negative double", CefV8Value::CreateDouble(-2.9), false, 0, 0, -2.9, ""},
      {"double past 2^32", CefV8Value::CreateDouble(4294967298.5), false, 0, 0, 4294967298.5, ""},
      {"NaN", CefV8Value::CreateDouble(nan), false, 0, 0, nan, ""},
      {"infinity", CefV8Value::CreateDouble(infinity), false, 0, 0, infinity, ""},
      {"numeric string", CefV8Value::CreateString("42"), false, 0, 0, 0.0, "42"},
      {"Chinese string", CefV8Value::CreateString("标题"), false, 0, 0, 0.0, "标题"},
      {"null", CefV8Value::CreateNull(), false, 0, 0, 0.0, ""},
      {"object", CefV8Value::CreateObject(nullptr), false, 0, 0, 0.0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value->GetBoolValue(), c.asBool);
    EXPECT_EQ(c.value->GetIntValue(), c.asInt);
    EXPECT_EQ(c.value->GetUIntValue(), c.asUInt);
    if (std::isnan(c.asDouble)) {
      EXPECT_TRUE(std::isnan(c.value->GetDoubleValue()));
    } else {
      EXPECT_EQ(c.value->GetDoubleValue(), c.asDouble);
    }
    EXPECT_EQ(c.value->GetStringValue().ToString(), c.asString);
  }
  CefTime date;
  date.SetDoubleT(1433162096.5);
  EXPECT_EQ(CefV8Value::CreateDate(date)->GetDateValue().GetDoubleT(), 1433162096.5);
  EXPECT_EQ(CefV8Value::CreateInt(1)->GetDateValue().year, 0);
}

TEST(CefV8Value, SimpleValuesAreTheSameByValueObjectsByIdentity) {
  EXPECT_TRUE(CefV8Value::CreateInt(3)->IsSame(CefV8Value::CreateInt(3)));
  EXPECT_FALSE(CefV8Value::CreateInt(3)->IsSame(CefV8Value::CreateUInt(3)));
  EXPECT_FALSE(CefV8Value::CreateInt(3)->IsSame(CefV8Value::CreateInt(4)));
  EXPECT_TRUE(CefV8Value::CreateString("a")->IsSame(CefV8Value::CreateString("a")));
  EXPECT_TRUE(CefV8Value::CreateNull()->IsSame(CefV8Value::CreateNull()));
  EXPECT_FALSE(CefV8Value::CreateNull()->IsSame(CefV8Value::CreateUndefined()));
  CefRefPtr<CefV8Value> object = CefV8Value::CreateObject(nullptr);
  EXPECT_TRUE(object->IsSame(object));
  EXPECT_FALSE(object->IsSame(CefV8Value::CreateObject(nullptr)));
  EXPECT_FALSE(object->IsSame(nullptr));
}

TEST(CefV8Value, ObjectsKeepPropertiesInTheOrderSet) {
  CefRefPtr<CefV8Value> object = CefV8Value::CreateObject(nullptr);
  for (const char* name : {"getMac", "getRouteMac", "getArp"})
    object->SetValue(name, CefV8Value::CreateString(name), V8_PROPERTY_ATTRIBUTE_NONE);
  object->SetValue("getMac", CefV8Value::CreateInt(1), V8_PROPERTY_ATTRIBUTE_NONE);
  EXPECT_EQ(Keys(object), (std::vector<std::string>{"getMac", "getRouteMac", "getArp"}));
  EXPECT_EQ(object->GetValue("getMac")->GetIntValue(), 1);

  EXPECT_TRUE(object->DeleteValue("getMac"));
  EXPECT_FALSE(object->HasValue("getMac"));
  EXPECT_TRUE(object->GetValue("getMac")->IsUndefined());
  EXPECT_TRUE(object->DeleteValue("getMac"));  // already gone: nothing to refuse
  object->SetValue("getMac", CefV8Value::CreateNull(), V8_PROPERTY_ATTRIBUTE_NONE);
  EXPECT_EQ(Keys(object), (std::vector<std::string>{"getRouteMac", "getArp", "getMac"}));
  EXPECT_FALSE(object->SetValue("x", nullptr, V8_PROPERTY_ATTRIBUTE_NONE));
}

TEST(CefV8Value, AttributesGovernEnumerationAndDeletion) {
  CefRefPtr<CefV8Value> object = CefV8Value::CreateObject(nullptr);
  object->SetValue("plain", CefV8Value::CreateInt(1), V8_PROPERTY_ATTRIBUTE_NONE);
  object->SetValue("hidden", CefV8Value::CreateInt(2), V8_PROPERTY_ATTRIBUTE_DONTENUM);
  object->SetValue("fixed", CefV8Value::CreateInt(3), V8_PROPERTY_ATTRIBUTE_READONLY);
  object->SetValue("kept", CefV8Value::CreateInt(4), V8_PROPERTY_ATTRIBUTE_DONTDELETE);

  EXPECT_EQ(Keys(object), (std::vector<std::string>{"plain", "fixed", "kept"}));
  EXPECT_TRUE(object->HasValue("hidden"));
  EXPECT_FALSE(object->DeleteValue("kept"));
  EXPECT_TRUE(object->HasValue("kept"));
  // Native code sets even a read-only property; READONLY is for scripts.
  EXPECT_TRUE(object->SetValue("fixed", CefV8Value::CreateInt(30), V8_PROPERTY_ATTRIBUTE_NONE));
  EXPECT_EQ(object->GetValue("fixed")->GetIntValue(), 30);

  EXPECT_EQ(CefV8ValueImpl::AttributeOf(object, "hidden"), V8_PROPERTY_ATTRIBUTE_DONTENUM);
  EXPECT_EQ(CefV8ValueImpl::AttributeOf(object, "fixed"), V8_PROPERTY_ATTRIBUTE_NONE);
  EXPECT_EQ(CefV8ValueImpl::AttributeOf(object, "missing"), V8_PROPERTY_ATTRIBUTE_NONE);

  const std::vector<CefV8ValueImpl::Property> properties =
      static_cast<CefV8ValueImpl*>(object.get())->Properties();
  ASSERT_EQ(properties.size(), 4u);
  EXPECT_EQ(properties[1].key.ToString(), "hidden");
  EXPECT_EQ(properties[1].attribute, V8_PROPERTY_ATTRIBUTE_DONTENUM);
  EXPECT_EQ(properties[3].attribute, V8_PROPERTY_ATTRIBUTE_DONTDELETE);
  EXPECT_EQ(properties[3].value->GetIntValue(), 4);
}

TEST(CefV8Value, TellsWhichKeysChangedSinceItWasLastAsked) {
  CefRefPtr<CefV8Value> object = CefV8Value::CreateObject(nullptr);
  CefV8ValueImpl* impl = static_cast<CefV8ValueImpl*>(object.get());
  object->SetValue("a", CefV8Value::CreateInt(1), V8_PROPERTY_ATTRIBUTE_NONE);
  object->SetValue("b", CefV8Value::CreateInt(2), V8_PROPERTY_ATTRIBUTE_NONE);
  object->SetValue("a", CefV8Value::CreateInt(3), V8_PROPERTY_ATTRIBUTE_NONE);
  object->SetValue(2, CefV8Value::CreateInt(4));
  EXPECT_EQ(Names(impl->TakeChangedKeys()), (std::vector<std::string>{"a", "b", "2"}));
  EXPECT_TRUE(impl->TakeChangedKeys().empty());

  object->DeleteValue("b");
  object->DeleteValue("never set");
  object->DeleteValue(7);
  EXPECT_EQ(Names(impl->TakeChangedKeys()), (std::vector<std::string>{"b"}));
}

TEST(CefV8Value, ArraysHaveHolesAndALengthThatOnlyGrows) {
  CefRefPtr<CefV8Value> array = CefV8Value::CreateArray(3);
  EXPECT_EQ(array->GetArrayLength(), 3);
  EXPECT_FALSE(array->HasValue(0));
  EXPECT_TRUE(array->GetValue(0)->IsUndefined());

  EXPECT_TRUE(array->SetValue(5, CefV8Value::CreateString("five")));
  EXPECT_EQ(array->GetArrayLength(), 6);
  EXPECT_EQ(array->GetValue(5)->GetStringValue().ToString(), "five");
  array->SetValue("name", CefV8Value::CreateInt(1), V8_PROPERTY_ATTRIBUTE_NONE);
  EXPECT_EQ(Keys(array), (std::vector<std::string>{"5", "name"}));

  EXPECT_TRUE(array->DeleteValue(5));
  EXPECT_FALSE(array->HasValue(5));
  EXPECT_EQ(array->GetArrayLength(), 6);
  EXPECT_FALSE(array->SetValue(-1, CefV8Value::CreateInt(1)));
  EXPECT_EQ(CefV8Value::CreateArray(-4)->GetArrayLength(), 0);
  EXPECT_EQ(CefV8Value::CreateObject(nullptr)->GetArrayLength(), 0);

  const auto elements = static_cast<CefV8ValueImpl*>(array.get())->Elements();
  EXPECT_TRUE(elements.empty());
}

TEST(CefV8Value, OperationsOnAnythingButAnObjectFail) {
  CefRefPtr<CefV8Value> number = CefV8Value::CreateInt(1);
  EXPECT_FALSE(number->SetValue("a", CefV8Value::CreateInt(1), V8_PROPERTY_ATTRIBUTE_NONE));
  EXPECT_FALSE(number->SetValue(0, CefV8Value::CreateInt(1)));
  EXPECT_FALSE(number->HasValue("a"));
  EXPECT_EQ(number->GetValue("a"), nullptr);
  EXPECT_EQ(number->GetValue(0), nullptr);
  std::vector<CefString> keys;
  EXPECT_FALSE(number->GetKeys(keys));
  EXPECT_FALSE(number->SetUserData(number));
  EXPECT_EQ(number->GetFunctionHandler(), nullptr);
  EXPECT_EQ(number->ExecuteFunction(nullptr, {}), nullptr);
}

TEST(CefV8Value, FunctionsCallTheirHandler) {
  CefRefPtr<RecordingHandler> handler = new RecordingHandler;
  CefRefPtr<CefV8Value> function = CefV8Value::CreateFunction("setTitleColor", handler);
  EXPECT_EQ(function->GetFunctionName().ToString(), "setTitleColor");
  EXPECT_EQ(function->GetFunctionHandler().get(), handler.get());
  EXPECT_EQ(CefV8Value::CreateFunction("nobody", nullptr), nullptr);

  CefRefPtr<CefV8Value> receiver = CefV8Value::CreateObject(nullptr);
  handler->result = CefV8Value::CreateString("done");
  CefRefPtr<CefV8Value> result =
      function->ExecuteFunction(receiver, {CefV8Value::CreateInt(255), CefV8Value::CreateInt(0)});
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetStringValue().ToString(), "done");
  EXPECT_EQ(handler->lastName.ToString(), "setTitleColor");
  EXPECT_EQ(handler->lastObject.get(), receiver.get());
  ASSERT_EQ(handler->lastArguments.size(), 2u);
  EXPECT_EQ(handler->lastArguments[0]->GetIntValue(), 255);

  handler->result = nullptr;
  EXPECT_EQ(function->ExecuteFunction(receiver, {}), nullptr);  // handled, no result
  handler->handles = false;
  EXPECT_EQ(function->ExecuteFunction(receiver, {}), nullptr);
  EXPECT_FALSE(function->HasException());
  EXPECT_EQ(handler->calls, 3);
}

TEST(CefV8Value, AnExceptionFromTheHandlerStaysUntilTheNextCall) {
  CefRefPtr<RecordingHandler> handler = new RecordingHandler;
  CefRefPtr<CefV8Value> function = CefV8Value::CreateFunction("f", handler);
  handler->result = CefV8Value::CreateInt(1);
  handler->throws = "bad argument";
  EXPECT_EQ(function->ExecuteFunction(nullptr, {}), nullptr);
  ASSERT_TRUE(function->HasException());
  EXPECT_EQ(function->GetException()->GetMessage().ToString(), "bad argument");
  EXPECT_TRUE(function->ClearException());
  EXPECT_FALSE(function->HasException());

  function->ExecuteFunction(nullptr, {});
  EXPECT_TRUE(function->HasException());
  handler->throws = CefString();
  EXPECT_NE(function->ExecuteFunction(nullptr, {}), nullptr);
  EXPECT_FALSE(function->HasException());
}

TEST(CefV8Value, CallsRunInTheGivenContextOrWithItsGlobalAsReceiver) {
  CefRefPtr<RecordingHandler> handler = new RecordingHandler;
  CefRefPtr<CefV8Value> function = CefV8Value::CreateFunction("f", handler);
  CefRefPtr<CefV8Value> global = CefV8Value::CreateObject(nullptr);
  CefRefPtr<engine::CefV8ContextImpl> context =
      new engine::CefV8ContextImpl(nullptr, nullptr, global);

  function->ExecuteFunctionWithContext(context.get(), nullptr, {});
  EXPECT_EQ(handler->contextDuringCall.get(), context.get());
  EXPECT_EQ(handler->lastObject.get(), global.get());  // no receiver: the global object
  EXPECT_FALSE(CefV8Context::InContext());             // left again after the call

  context->Invalidate();
  EXPECT_EQ(function->ExecuteFunctionWithContext(context.get(), nullptr, {}), nullptr);
  EXPECT_EQ(handler->calls, 1);
}

TEST(CefV8Value, AccessorPropertiesAreReadAndWrittenThroughTheAccessor) {
  CefRefPtr<CountingAccessor> accessor = new CountingAccessor;
  CefRefPtr<CefV8Value> object = CefV8Value::CreateObject(accessor.get());
  EXPECT_TRUE(object->SetValue("counter", V8_ACCESS_CONTROL_DEFAULT, V8_PROPERTY_ATTRIBUTE_NONE));
  EXPECT_EQ(object->GetValue("counter")->GetIntValue(), 1);
  EXPECT_EQ(object->GetValue("counter")->GetIntValue(), 2);
  EXPECT_TRUE(object->SetValue("counter", CefV8Value::CreateInt(7), V8_PROPERTY_ATTRIBUTE_NONE));
  EXPECT_EQ(accessor->written, 7);
  EXPECT_FALSE(
      object->SetValue("counter", CefV8Value::CreateString("x"), V8_PROPERTY_ATTRIBUTE_NONE));
  EXPECT_EQ(accessor->written, 7);

  // Declared but not served by the accessor: reads as undefined.
  object->SetValue("other", V8_ACCESS_CONTROL_DEFAULT, V8_PROPERTY_ATTRIBUTE_NONE);
  EXPECT_TRUE(object->GetValue("other")->IsUndefined());
  const auto properties = static_cast<CefV8ValueImpl*>(object.get())->Properties();
  ASSERT_EQ(properties.size(), 2u);
  EXPECT_TRUE(properties[0].accessor);
  EXPECT_EQ(properties[0].value, nullptr);

  EXPECT_FALSE(CefV8Value::CreateObject(nullptr)->SetValue("counter", V8_ACCESS_CONTROL_DEFAULT,
                                                           V8_PROPERTY_ATTRIBUTE_NONE));
}

TEST(CefV8Value, ObjectsCarryUserData) {
  CefRefPtr<CefV8Value> object = CefV8Value::CreateObject(nullptr);
  CefRefPtr<CefV8Value> data = CefV8Value::CreateInt(5);
  EXPECT_TRUE(object->SetUserData(data.get()));
  EXPECT_EQ(object->GetUserData().get(), static_cast<CefBase*>(data.get()));
  EXPECT_EQ(object->AdjustExternallyAllocatedMemory(100), 100);
  EXPECT_EQ(object->AdjustExternallyAllocatedMemory(-40), 60);
  EXPECT_EQ(object->GetExternallyAllocatedMemory(), 60);
}

}  // namespace
