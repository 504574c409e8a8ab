// The engine's stand-in for the render process: its main thread runs the
// application's render-process callbacks, keeps one JavaScript context per
// document of every frame, and answers the page's calls of native
// functions, which the page script turns into bridge requests.
//
// Every member runs on the render thread only (checked), except the
// extension list, which is read on the UI thread after the render thread
// has finished its start-up.
#pragma once

#include <json/value.h>

#include <map>
#include <string>
#include <vector>

#include "include/cef_render_process_handler.h"
#include "include/cef_v8.h"
#include "src/PageScript.h"

namespace engine {

class TaskThread;

class RenderSide {
 public:
  RenderSide(TaskThread& thread, CefRefPtr<CefRenderProcessHandler> handler);

  // Render thread: OnRenderThreadCreated and OnWebKitInitialized, during
  // which extensions may be registered.
  void Start();
  bool RegisterExtension(const CefString& name, const CefString& code,
                         CefRefPtr<CefV8Handler> handler);
  // The page script for the extensions registered during Start.
  const std::string& PageScriptText() const { return m_pageScript; }

  // Bridge requests (render thread); each returns the reply for the page.
  // A request belongs to the page context it came from, which the browser
  // program names (pageContext, unique within the browser); whatever the
  // request itself says, it reaches only that context's functions.  A
  // request of the wrong shape gets an error reply ({"x": text}).
  Json::Value Request(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int pageContext,
                      const Json::Value& request);

  // The frame's documents are gone (it navigated or was removed); the
  // contexts made for them are released.
  void ReleaseFrameContexts(CefRefPtr<CefBrowser> browser, int64_t frameId);
  void ReleaseBrowserContexts(CefRefPtr<CefBrowser> browser);

  void BrowserCreated(CefRefPtr<CefBrowser> browser);
  void BrowserDestroyed(CefRefPtr<CefBrowser> browser);
  void ProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefRefPtr<CefProcessMessage> message);

 private:
  struct Context {
    CefRefPtr<CefV8Context> context;
    CefRefPtr<CefBrowser> browser;
    int64_t frameId = 0;
    int pageContext = 0;
    // Functions the page can call, by the id the page knows them by.
    std::map<int, CefRefPtr<CefV8Value>> functions;
    // What the page's global object holds of ours, to send only changes.
    std::map<std::wstring, CefV8Value*> published;
  };
  struct Extension {
    CefString name;
    CefRefPtr<CefV8Handler> handler;
    // The native functions its code declares.
    std::vector<std::string> natives;
  };
  using ContextKey = std::pair<int, int>;  // browser, page context

  Json::Value CreateContext(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                            int pageContext);
  Json::Value Call(Context& context, const Json::Value& request);

  Json::Value Encode(Context& context, CefRefPtr<CefV8Value> value, int depth);
  // Null when the encoded value is not one the page script makes.
  static CefRefPtr<CefV8Value> Decode(const Json::Value& encoded);
  Json::Value GlobalChanges(Context& context);
  Json::Value Invoke(Context& context, CefRefPtr<CefV8Handler> handler, const CefString& name,
                     const Json::Value& arguments);
  void Release(std::map<int, Context>::iterator entry);

  TaskThread& m_thread;
  CefRefPtr<CefRenderProcessHandler> m_handler;
  std::vector<Extension> m_extensions;
  std::vector<PageExtension> m_extensionCode;
  std::string m_pageScript;
  bool m_started = false;
  std::map<int, Context> m_contexts;
  std::map<ContextKey, int> m_byPageContext;
  int m_nextContext = 1;
  int m_nextFunction = 1;
};

}  // namespace engine
