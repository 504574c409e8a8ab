#include "browser/CefBrowserApp.h"

#include "browser/CV8JsHandler.h"
#include "include/cef_command_line.h"
#include "include/cef_v8.h"

const char CefBrowserApp::kExtensionCode[] =
    "var g_value=\"global value here\";var test;if (!test)  test = {};(function() {  "
    "test.myfunc = function() {    native function hehe(int,int);    return hehe(10, 50);  "
    "};})();";

namespace {

// Installed on the global object of every script context, in this order.
const char* const kPageFunctions[] = {"getMac",       "getRouteMac",  "getArp",
                                      "getIPConfig",  "setTitleText", "setTitleColor"};

}  // namespace

void CefBrowserApp::OnBeforeCommandLineProcessing(const CefString& process_type,
                                                  CefRefPtr<CefCommandLine> command_line) {
  // Sub-processes inherit what they need from the browser process.
  if (!process_type.empty()) return;
  command_line->AppendSwitch("--disable-web-security");
  command_line->AppendSwitchWithValue("ppapi-flash-version", "18.0.0.209");
  command_line->AppendSwitchWithValue("ppapi-flash-path", "pepflashplayer.dll");
}

void CefBrowserApp::OnBeforeChildProcessLaunch(CefRefPtr<CefCommandLine> command_line) {
  command_line->AppendSwitch("--disable-extensions");
}

void CefBrowserApp::OnWebKitInitialized() {
  CefRegisterExtension("v8/mycode", kExtensionCode, new CV8JsHandler());
}

void CefBrowserApp::OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                     CefRefPtr<CefV8Context> context) {
  (void)browser, (void)frame;
  CefRefPtr<CefV8Value> global = context->GetGlobal();
  for (const char* name : kPageFunctions) {
    global->SetValue(name, CefV8Value::CreateFunction(name, new CV8JsHandler()),
                     V8_PROPERTY_ATTRIBUTE_NONE);
  }
}
