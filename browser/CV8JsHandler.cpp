#include "browser/CV8JsHandler.h"

#include <string>

#include "include/cef_process_message.h"
#include "include/cef_values.h"
#include "netprobe/CommandCapture.h"
#include "netprobe/Gateway.h"
#include "netprobe/MacAddress.h"

namespace {

using Probe = std::string (*)();

struct Query {
  const char* name;
  Probe probe;
  // Whether the text is a console command's, in the console's code page;
  // the others are built by the program itself and are UTF-8.
  bool consoleText;
};

// Checked in this order.
const Query kQueries[] = {
    {"getMac", GetMac, false},
    {"getArp", GetArp, true},
    {"getIPConfig", GetIPConfig, true},
    {"getRouteMac", GetRouteMac, true},
};

// Packs the page's arguments into a message for the browser process; the
// page does not wait for it to be handled.
void SendTitleRequest(const char* name, const CefV8ValueList& arguments, bool asColour) {
  CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(name);
  CefRefPtr<CefListValue> list = message->GetArgumentList();
  list->SetSize(arguments.size());
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (asColour) {
      list->SetInt(i, arguments[i]->GetIntValue());
    } else {
      list->SetString(i, arguments[i]->GetStringValue());
    }
  }
  CefRefPtr<CefV8Context> context = CefV8Context::GetCurrentContext();
  CefRefPtr<CefBrowser> browser = context ? context->GetBrowser() : nullptr;
  if (browser) browser->SendProcessMessage(PID_BROWSER, message);
}

}  // namespace

bool CV8JsHandler::Execute(const CefString& name, CefRefPtr<CefV8Value> object,
                           const CefV8ValueList& arguments, CefRefPtr<CefV8Value>& retval,
                           CefString& exception) {
  (void)object, (void)exception;
  for (const Query& query : kQueries) {
    if (name != query.name) continue;
    // A command's output reaches the page as the characters it printed: a
    // localised ipconfig prints in the console's code page, which read as
    // UTF-8 would become replacement characters.
    const std::string output = query.probe();
    CefString text;
    if (query.consoleText) {
      text.FromWString(ConsoleOutputToWide(output));
    } else {
      text.FromString(output);
    }
    retval = CefV8Value::CreateString(text);
    return true;
  }
  const bool colour = name == "setTitleColor";
  if (colour || name == "setTitleText") {
    if (!arguments.empty())
      SendTitleRequest(colour ? "setTitleColor" : "setTitleText", arguments, colour);
    return true;
  }
  return false;
}
