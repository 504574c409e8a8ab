// The process entry point: hands the process to the application object.
#include <windows.h>

#include "framework/CWinApp.h"

namespace {

// Raised when a C++ exception escapes the application object, so that the
// process's unhandled-exception filter (and with it the crash dump) sees it
// instead of the C++ runtime's silent abort.
constexpr DWORD kEscapedCppException = 0xE0434F4D;

int RunApplication(HINSTANCE instance) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;
  app->m_hInstance = instance;
  try {
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
  } catch (...) {
    ::RaiseException(kEscapedCppException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    return -1;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) { return RunApplication(instance); }
