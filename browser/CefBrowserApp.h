// The engine's application object: the browser process's command-line
// switches, the extension, and the page functions in every script context.
#pragma once

#include "include/cef_app.h"

class CefBrowserApp : public CefApp, public CefBrowserProcessHandler, public CefRenderProcessHandler {
 public:
  // CefApp: on the thread that initialises the engine.
  void OnBeforeCommandLineProcessing(const CefString& process_type,
                                     CefRefPtr<CefCommandLine> command_line) override;
  CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() override { return this; }
  CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }

  // CefBrowserProcessHandler: engine UI thread.
  void OnBeforeChildProcessLaunch(CefRefPtr<CefCommandLine> command_line) override;

  // CefRenderProcessHandler: render process main thread.
  void OnWebKitInitialized() override;
  void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                        CefRefPtr<CefV8Context> context) override;

  // The extension's script, exactly as every page gets it.
  static const char kExtensionCode[];

 private:
  IMPLEMENT_REFCOUNTING(CefBrowserApp);
};
