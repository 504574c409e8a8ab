#include "tests/engine/PageCallHandler.h"

#include <cmath>
#include <cstdio>
#include <string>

#include <windows.h>

#include "include/cef_browser.h"
#include "include/cef_frame.h"
#include "include/cef_process_message.h"
#include "include/cef_values.h"
#include "tests/engine/EngineHarness.h"

namespace enginetest {
namespace {

std::string Describe(const CefV8ValueList& arguments) {
  std::string text;
  for (const CefRefPtr<CefV8Value>& argument : arguments) {
    if (!text.empty()) text += ",";
    if (argument->IsString()) {
      text += "string:" + argument->GetStringValue().ToString();
    } else if (argument->IsInt()) {
      text += "int:" + std::to_string(argument->GetIntValue());
    } else {
      text += "other";
    }
  }
  return text;
}

std::string Number(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  if (value == 0) return std::signbit(value) ? "-0" : "0";
  char text[40];
  std::snprintf(text, sizeof(text), "%.17g", value);
  return text;
}

// "flags:int:uint:double:bool:string", flags being I, u, D, B, S for
// IsInt, IsUInt, IsDouble, IsBool, IsString.
std::string Classify(CefRefPtr<CefV8Value> value) {
  std::string flags;
  if (value->IsInt()) flags += "I";
  if (value->IsUInt()) flags += "u";
  if (value->IsDouble()) flags += "D";
  if (value->IsBool()) flags += "B";
  if (value->IsString()) flags += "S";
  return flags + ":" + std::to_string(value->GetIntValue()) + ":" +
         std::to_string(value->GetUIntValue()) + ":" + Number(value->GetDoubleValue()) + ":" +
         (value->GetBoolValue() ? "1" : "0") + ":" + value->GetStringValue().ToString();
}

}  // namespace

void PageCallHandler::Install() {
  for (const char* name : {"probe", "notify", "classify", "where", "slow", "refuse", "fail"}) {
    TestApp::Functions()[name] = new PageCallHandler();
  }
}

bool PageCallHandler::Execute(const CefString& name, CefRefPtr<CefV8Value> object,
                              const CefV8ValueList& arguments, CefRefPtr<CefV8Value>& retval,
                              CefString& exception) {
  (void)object;
  const std::string function = name.ToString();
  if (function == "probe") {
    retval = CefV8Value::CreateString("probe(" + Describe(arguments) + ")");
  } else if (function == "notify") {
    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create("note");
    CefRefPtr<CefListValue> list = message->GetArgumentList();
    list->SetSize(arguments.size());
    for (size_t i = 0; i < arguments.size(); ++i)
      list->SetString(i, arguments[i]->GetStringValue());
    CefV8Context::GetCurrentContext()->GetBrowser()->SendProcessMessage(PID_BROWSER, message);
  } else if (function == "classify") {
    std::string text;
    for (const CefRefPtr<CefV8Value>& argument : arguments) {
      text += (text.empty() ? "" : " ") + Classify(argument);
    }
    retval = CefV8Value::CreateString(text);
  } else if (function == "where") {
    CefRefPtr<CefFrame> frame = CefV8Context::GetCurrentContext()->GetFrame();
    retval = CefV8Value::CreateString(frame && frame->IsMain() ? "main" : "inner");
  } else if (function == "slow") {
    // Holds the page as a console-backed query does.
    ::Sleep(1500);
    retval = CefV8Value::CreateString("slow done");
  } else if (function == "refuse") {
    retval = CefV8Value::CreateString("a result nobody asked for");
    exception = "an exception nobody raised";
    return false;
  } else if (function == "fail") {
    exception = "bad input";
  } else {
    return false;
  }
  return true;
}

}  // namespace enginetest
