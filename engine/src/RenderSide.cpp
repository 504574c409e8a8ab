#include "src/RenderSide.h"

#include <algorithm>
#include <cmath>

#include "include/cef_browser.h"
#include "include/cef_frame.h"
#include "include/cef_values.h"
#include "src/CefV8ContextImpl.h"
#include "src/CefV8ValueImpl.h"
#include "src/TaskThread.h"

namespace engine {
namespace {

// Objects a handler returns are sent to the page member by member; a
// structure that refers to itself stops at this depth.
constexpr int kMaxDepth = 16;

CefRefPtr<CefListValue> EmptyList() { return CefListValue::Create(); }

Json::Value ErrorReply(const std::string& text) {
  Json::Value reply(Json::objectValue);
  reply["x"] = text;
  return reply;
}

}  // namespace

RenderSide::RenderSide(TaskThread& thread, CefRefPtr<CefRenderProcessHandler> handler)
    : m_thread(thread), m_handler(handler) {}

void RenderSide::Start() {
  CheckThread(m_thread);
  if (m_handler) {
    m_handler->OnRenderThreadCreated(EmptyList());
    m_handler->OnWebKitInitialized();
  }
  m_started = true;
  m_pageScript = BuildPageScript(m_extensionCode);
  for (size_t i = 0; i < m_extensions.size(); ++i) {
    RewriteNativeFunctions(m_extensionCode[i].code, i, &m_extensions[i].natives);
  }
}

bool RenderSide::RegisterExtension(const CefString& name, const CefString& code,
                                   CefRefPtr<CefV8Handler> handler) {
  // Extensions take effect only while the render thread starts, as with
  // the engine's own extensions.
  if (!m_thread.IsCurrent() || m_started || name.empty()) return false;
  for (const Extension& existing : m_extensions) {
    if (existing.name == name) return false;
  }
  m_extensions.push_back({name, handler, {}});
  m_extensionCode.push_back({code.ToString()});
  return true;
}

Json::Value RenderSide::Request(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                int pageContext, const Json::Value& request) {
  CheckThread(m_thread);
  if (!browser || !request.isObject() || !request["op"].isString()) {
    return ErrorReply("malformed bridge request");
  }
  const std::string op = request["op"].asString();
  const auto known = m_byPageContext.find({browser->GetIdentifier(), pageContext});
  if (op == "context") {
    if (known == m_byPageContext.end()) return CreateContext(browser, frame, pageContext);
    // The page script asks again when it could not wait for the first
    // answer: the context stands, and it gets all of its globals anew.
    Context& context = m_contexts.at(known->second);
    context.published.clear();
    Json::Value reply(Json::objectValue);
    reply["g"] = GlobalChanges(context);
    return reply;
  }
  if (known == m_byPageContext.end()) return ErrorReply("the page's context is gone");
  return Call(m_contexts.at(known->second), request);
}

Json::Value RenderSide::CreateContext(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                      int pageContext) {
  // A frame has one page context at a time: a new document's context
  // means the previous document's is gone.  (The navigation event may
  // reach the engine after the new document has already called.)
  if (frame) ReleaseFrameContexts(browser, frame->GetIdentifier());
  const int id = m_nextContext++;
  Context& entry = m_contexts[id];
  entry.browser = browser;
  entry.frameId = frame ? frame->GetIdentifier() : 0;
  entry.pageContext = pageContext;
  m_byPageContext[{browser->GetIdentifier(), pageContext}] = id;
  entry.context = new CefV8ContextImpl(browser, frame, CefV8Value::CreateObject(nullptr));
  if (m_handler) {
    entry.context->Enter();
    m_handler->OnContextCreated(browser, frame, entry.context);
    entry.context->Exit();
  }
  Json::Value reply(Json::objectValue);
  reply["g"] = GlobalChanges(entry);
  return reply;
}

Json::Value RenderSide::Call(Context& context, const Json::Value& request) {
  const std::string op = request["op"].asString();
  const Json::Value& arguments = request["a"];
  if (!arguments.isArray()) return ErrorReply("malformed bridge request");
  if (op == "call") {
    if (!request["f"].isInt()) return ErrorReply("malformed bridge request");
    const auto function = context.functions.find(request["f"].asInt());
    if (function == context.functions.end()) return ErrorReply("unknown native function");
    CefRefPtr<CefV8Value> value = function->second;
    return Invoke(context, value->GetFunctionHandler(), value->GetFunctionName(), arguments);
  }
  if (op == "native") {
    if (!request["e"].isUInt() || !request["n"].isString()) {
      return ErrorReply("malformed bridge request");
    }
    const Json::Value::UInt index = request["e"].asUInt();
    if (index >= m_extensions.size()) return ErrorReply("unknown extension");
    // Only the names the extension's code declares reach its handler.
    const Extension& extension = m_extensions[index];
    const std::string name = request["n"].asString();
    if (std::find(extension.natives.begin(), extension.natives.end(), name) ==
        extension.natives.end()) {
      return ErrorReply("unknown native function");
    }
    return Invoke(context, extension.handler, CefString(name), arguments);
  }
  return ErrorReply("unknown bridge request");
}

Json::Value RenderSide::Invoke(Context& context, CefRefPtr<CefV8Handler> handler,
                               const CefString& name, const Json::Value& arguments) {
  Json::Value reply(Json::objectValue);
  CefV8ValueList values;
  for (const Json::Value& argument : arguments) {
    CefRefPtr<CefV8Value> value = Decode(argument);
    if (!value) return ErrorReply("malformed bridge request");
    values.push_back(value);
  }
  CefRefPtr<CefV8Value> result;
  CefString exception;
  bool handled = false;
  context.context->Enter();
  if (handler) {
    handled = handler->Execute(name, context.context->GetGlobal(), values, result, exception);
  }
  context.context->Exit();
  // As with the engine's own functions: a call the handler did not take
  // gives undefined, whatever it left in its result and exception.
  if (handled && !exception.empty()) {
    reply["x"] = exception.ToString();
  } else if (handled && result) {
    reply["r"] = Encode(context, result, 0);
  }
  const Json::Value changes = GlobalChanges(context);
  if (!changes.empty()) reply["g"] = changes;
  return reply;
}

Json::Value RenderSide::Encode(Context& context, CefRefPtr<CefV8Value> value, int depth) {
  Json::Value encoded(Json::arrayValue);
  if (!value || !value->IsValid() || value->IsUndefined()) {
    encoded.append("undefined");
  } else if (value->IsNull()) {
    encoded.append("null");
  } else if (value->IsBool()) {
    encoded.append("bool");
    encoded.append(value->GetBoolValue());
  } else if (value->IsInt()) {
    encoded.append("int");
    encoded.append(value->GetIntValue());
  } else if (value->IsUInt()) {
    encoded.append("uint");
    encoded.append(value->GetUIntValue());
  } else if (value->IsDouble()) {
    const double number = value->GetDoubleValue();
    encoded.append("double");
    if (std::isfinite(number)) {
      encoded.append(number);
    } else {
      encoded.append(std::isnan(number) ? "NaN" : number > 0 ? "Infinity" : "-Infinity");
    }
  } else if (value->IsString()) {
    encoded.append("string");
    encoded.append(value->GetStringValue().ToString());
  } else if (value->IsFunction()) {
    int id = 0;
    for (const auto& known : context.functions) {
      if (known.second->IsSame(value)) id = known.first;
    }
    if (id == 0) {
      id = m_nextFunction++;
      context.functions[id] = value;
    }
    encoded.append("function");
    encoded.append(id);
    encoded.append(value->GetFunctionName().ToString());
  } else if (value->IsArray()) {
    encoded.append("array");
    Json::Value items(Json::arrayValue);
    if (depth < kMaxDepth) {
      for (int i = 0; i < value->GetArrayLength(); ++i) {
        items.append(Encode(context, value->GetValue(i), depth + 1));
      }
    }
    encoded.append(items);
  } else if (value->IsObject()) {
    encoded.append("object");
    Json::Value members(Json::arrayValue);
    std::vector<CefString> keys;
    if (depth < kMaxDepth && value->GetKeys(keys)) {
      for (const CefString& key : keys) {
        Json::Value member(Json::arrayValue);
        member.append(key.ToString());
        member.append(Encode(context, value->GetValue(key), depth + 1));
        members.append(member);
      }
    }
    encoded.append(members);
  } else {
    encoded.append("undefined");
  }
  return encoded;
}

CefRefPtr<CefV8Value> RenderSide::Decode(const Json::Value& encoded) {
  if (!encoded.isArray() || encoded.empty() || encoded.size() > 2 || !encoded[0].isString()) {
    return nullptr;
  }
  const std::string type = encoded[0].asString();
  const Json::Value& value = encoded[1];
  if (type == "undefined") return CefV8Value::CreateUndefined();
  if (type == "null") return CefV8Value::CreateNull();
  if (type == "bool" && value.isBool()) return CefV8Value::CreateBool(value.asBool());
  if (type == "int" && value.isInt()) return CefV8Value::CreateInt(value.asInt());
  if (type == "uint" && value.isUInt()) return CefV8Value::CreateUInt(value.asUInt());
  if (type == "double" && value.isNumeric()) return CefV8Value::CreateDouble(value.asDouble());
  if (type == "double" && value.isString()) {
    const std::string text = value.asString();
    if (text == "Infinity") return CefV8Value::CreateDouble(HUGE_VAL);
    if (text == "-Infinity") return CefV8Value::CreateDouble(-HUGE_VAL);
    if (text == "NaN") return CefV8Value::CreateDouble(std::nan(""));
    if (text == "-0") return CefV8Value::CreateDouble(-0.0);
    return nullptr;
  }
  if (type == "string" && value.isString()) {
    return CefV8Value::CreateString(CefString(value.asString()));
  }
  if (type == "date" && value.isNumeric() && std::isfinite(value.asDouble())) {
    CefTime time;
    time.SetDoubleT(value.asDouble() / 1000.0);
    return CefV8Value::CreateDate(time);
  }
  if (type == "array" && value.isArray()) return CefV8Value::CreateArray(0);
  if ((type == "object" && value.isArray()) || (type == "function" && value.isNumeric())) {
    return CefV8Value::CreateObject(nullptr);
  }
  return nullptr;
}

Json::Value RenderSide::GlobalChanges(Context& context) {
  Json::Value changes(Json::arrayValue);
  CefRefPtr<CefV8Value> global = context.context->GetGlobal();
  std::vector<CefString> keys;
  if (!global || !global->GetKeys(keys)) return changes;
  for (const CefString& key : keys) {
    CefRefPtr<CefV8Value> value = global->GetValue(key);
    CefV8Value*& published = context.published[key.ToWString()];
    if (published == value.get()) continue;
    published = value.get();
    Json::Value member(Json::arrayValue);
    member.append(key.ToString());
    member.append(Encode(context, value, 0));
    member.append(static_cast<int>(CefV8ValueImpl::AttributeOf(global, key)));
    changes.append(member);
  }
  return changes;
}

void RenderSide::Release(std::map<int, Context>::iterator entry) {
  Context& context = entry->second;
  if (m_handler) {
    CefRefPtr<CefV8Context> v8 = context.context;
    v8->Enter();
    m_handler->OnContextReleased(context.browser, v8->GetFrame(), v8);
    v8->Exit();
  }
  m_byPageContext.erase({context.browser->GetIdentifier(), context.pageContext});
  m_contexts.erase(entry);
}

void RenderSide::ReleaseFrameContexts(CefRefPtr<CefBrowser> browser, int64_t frameId) {
  CheckThread(m_thread);
  for (auto it = m_contexts.begin(); it != m_contexts.end();) {
    auto next = std::next(it);
    if (it->second.frameId == frameId && it->second.browser->IsSame(browser)) Release(it);
    it = next;
  }
}

void RenderSide::ReleaseBrowserContexts(CefRefPtr<CefBrowser> browser) {
  CheckThread(m_thread);
  for (auto it = m_contexts.begin(); it != m_contexts.end();) {
    auto next = std::next(it);
    if (it->second.browser->IsSame(browser)) Release(it);
    it = next;
  }
}

void RenderSide::BrowserCreated(CefRefPtr<CefBrowser> browser) {
  if (m_handler) m_handler->OnBrowserCreated(browser);
}

void RenderSide::BrowserDestroyed(CefRefPtr<CefBrowser> browser) {
  ReleaseBrowserContexts(browser);
  if (m_handler) m_handler->OnBrowserDestroyed(browser);
}

void RenderSide::ProcessMessageReceived(CefRefPtr<CefBrowser> browser,
                                        CefRefPtr<CefProcessMessage> message) {
  if (m_handler) m_handler->OnProcessMessageReceived(browser, PID_BROWSER, message);
}

}  // namespace engine
