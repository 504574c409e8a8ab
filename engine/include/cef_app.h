// The application object the engine works with in every process, and the
// engine's process-wide operations.
#pragma once

#include "include/cef_base.h"
#include "include/cef_browser_process_handler.h"
#include "include/cef_command_line.h"
#include "include/cef_render_process_handler.h"
#include "include/cef_resource_bundle_handler.h"
#include "include/cef_scheme.h"
#include "include/internal/cef_types_wrappers.h"
#include "include/internal/cef_win.h"

class CefApp;

// For an engine sub-process: runs it and returns its exit code.  In the
// browser process it returns -1 at once and the caller goes on to
// CefInitialize.
int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application,
                      void* windows_sandbox_info);

// Starts the engine in the browser process.  False when it cannot start.
// With settings.multi_threaded_message_loop the engine runs its own UI
// thread and the application keeps its own message loop.
bool CefInitialize(const CefMainArgs& args, const CefSettings& settings,
                   CefRefPtr<CefApp> application, void* windows_sandbox_info);

// Stops the engine; on the thread that called CefInitialize, after every
// browser has closed.
void CefShutdown();

// Without a multi-threaded message loop: one pass of the engine's work, or
// the engine's message loop until CefQuitMessageLoop.
void CefDoMessageLoopWork();
void CefRunMessageLoop();
void CefQuitMessageLoop();

// Tells the engine that a modal loop of the system (a menu, a dialog) runs.
void CefSetOSModalLoop(bool osModalLoop);

// Makes the process aware of the display's scale; before CefInitialize.
void CefEnableHighDPISupport();

class CefApp : public virtual CefBase {
 public:
  // Before the engine reads its command line, in every process; process_type
  // is empty in the browser process.  The application may change it.
  virtual void OnBeforeCommandLineProcessing(const CefString& /*process_type*/,
                                             CefRefPtr<CefCommandLine> /*command_line*/) {}
  virtual void OnRegisterCustomSchemes(CefRefPtr<CefSchemeRegistrar> /*registrar*/) {}
  virtual CefRefPtr<CefResourceBundleHandler> GetResourceBundleHandler() { return nullptr; }
  virtual CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() { return nullptr; }
  virtual CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() { return nullptr; }
};
