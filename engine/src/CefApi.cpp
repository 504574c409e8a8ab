// The engine's free functions and static factories.
#include <windows.h>

#include <atomic>
#include <new>
#include <system_error>

#include "include/cef_api_hash.h"
#include "include/cef_app.h"
#include "include/cef_browser.h"
#include "include/cef_task.h"
#include "include/cef_v8.h"
#include "include/engine_early_launch.h"
#include "src/BrowserImpl.h"
#include "src/EarlyLaunch.h"
#include "src/Engine.h"
#include "src/TaskThread.h"

namespace {

// The thread running CefRunMessageLoop, which CefQuitMessageLoop ends.
std::atomic<DWORD> g_messageLoopThread{0};

}  // namespace

const char* cef_api_hash(int entry) {
  switch (entry) {
    case 0:
      return CEF_API_HASH_PLATFORM;
    case 1:
      return CEF_API_HASH_UNIVERSAL;
    default:
      return nullptr;
  }
}

int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application,
                      void* windows_sandbox_info) {
  // The engine's sub-processes are programs of the browser, never this
  // executable: every start of it is the browser process.
  (void)args, (void)application, (void)windows_sandbox_info;
  return -1;
}

bool CefInitialize(const CefMainArgs& args, const CefSettings& settings,
                   CefRefPtr<CefApp> application, void* windows_sandbox_info) {
  (void)windows_sandbox_info;
  // A thread or memory the platform refuses means no engine, which the
  // caller is told; anything else thrown is a fault and ends the program
  // through its crash filter rather than passing unseen.
  try {
    return engine::Engine::Initialize(args, settings, application);
  } catch (const std::system_error&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (...) {
    engine::RaiseUnhandledException();
  }
}

bool EngineBeginEarlyLaunch(const CefSettings& settings, CefRefPtr<CefApp> application) {
  if (engine::Engine::Get() != nullptr) return false;
  try {
    return engine::EarlyLaunch::Begin(settings, application);
  } catch (const std::system_error&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (...) {
    engine::RaiseUnhandledException();
  }
}

void EngineEndEarlyLaunch() { engine::EarlyLaunch::EndUntaken(); }

void CefShutdown() {
  try {
    engine::Engine::Shutdown();
  } catch (...) {
    engine::RaiseUnhandledException();
  }
}

void CefDoMessageLoopWork() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void CefRunMessageLoop() {
  g_messageLoopThread = ::GetCurrentThreadId();
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  g_messageLoopThread = 0;
}

void CefQuitMessageLoop() {
  // With the engine's own UI thread there is no engine loop on the
  // application's threads, unless it runs CefRunMessageLoop.
  if (const DWORD thread = g_messageLoopThread.load()) ::PostThreadMessageW(thread, WM_QUIT, 0, 0);
}

void CefSetOSModalLoop(bool osModalLoop) { (void)osModalLoop; }

void CefEnableHighDPISupport() {
  // The process may already have been made DPI aware by its manifest, in
  // which case this changes nothing.
  using SetAwareness = BOOL(WINAPI*)(HANDLE);
  const auto setAwareness = reinterpret_cast<SetAwareness>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (setAwareness != nullptr && setAwareness(reinterpret_cast<HANDLE>(-4))) return;
  ::SetProcessDPIAware();
}

bool CefRegisterExtension(const CefString& extension_name, const CefString& javascript_code,
                          CefRefPtr<CefV8Handler> handler) {
  engine::Engine* running = engine::Engine::Get();
  if (running == nullptr || !running->Renderer().IsCurrent()) return false;
  return running->Render().RegisterExtension(extension_name, javascript_code, handler);
}

bool CefBrowserHost::CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                   const CefString& url, const CefBrowserSettings& settings,
                                   CefRefPtr<CefRequestContext> request_context) {
  (void)settings, (void)request_context;
  engine::Engine* running = engine::Engine::Get();
  if (running == nullptr) return false;
  CefRefPtr<engine::BrowserImpl> browser =
      new engine::BrowserImpl(windowInfo, client, false, nullptr);
  const std::string address = url.ToString();
  return running->Ui().Post([browser, address] {
    engine::Engine* e = engine::Engine::Get();
    if (e == nullptr || !browser->CreateView()) return;
    e->CreateTarget(browser, address);
  });
}

CefRefPtr<CefBrowser> CefBrowserHost::CreateBrowserSync(
    const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client, const CefString& url,
    const CefBrowserSettings& settings, CefRefPtr<CefRequestContext> request_context) {
  (void)settings, (void)request_context;
  engine::Engine* running = engine::Engine::Get();
  if (running == nullptr) return nullptr;
  CefRefPtr<engine::BrowserImpl> browser =
      new engine::BrowserImpl(windowInfo, client, false, nullptr);
  const std::string address = url.ToString();
  bool created = false;
  running->Ui().Invoke([&] {
    created = browser->CreateView();
    if (created) running->CreateTarget(browser, address);
  });
  return created ? browser.get() : nullptr;
}

bool CefCurrentlyOn(CefThreadId threadId) {
  engine::Engine* engine = engine::Engine::Get();
  if (engine == nullptr) return false;
  switch (threadId) {
    case TID_UI:
      return engine->Ui().IsCurrent();
    case TID_RENDERER:
      return engine->Renderer().IsCurrent();
    default:
      return false;
  }
}
