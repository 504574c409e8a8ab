// The browser process's own events.
#pragma once

#include "include/cef_base.h"
#include "include/cef_command_line.h"
#include "include/cef_print_handler.h"
#include "include/cef_values.h"

class CefBrowserProcessHandler : public virtual CefBase {
 public:
  // The engine is ready, on its UI thread.
  virtual void OnContextInitialized() {}
  // Before a child process starts, on the thread that starts it; the client
  // may add to its command line.
  virtual void OnBeforeChildProcessLaunch(CefRefPtr<CefCommandLine> /*command_line*/) {}
  // A render process's thread exists; what the client puts in extra_info
  // reaches CefRenderProcessHandler::OnRenderThreadCreated.
  virtual void OnRenderProcessThreadCreated(CefRefPtr<CefListValue> /*extra_info*/) {}
  virtual CefRefPtr<CefPrintHandler> GetPrintHandler() { return nullptr; }
};
