// The application object's life cycle, as the application framework runs it.
//
// Exactly one object derived from CWinApp exists per process; it registers
// itself when it is constructed (during static initialisation) and the entry
// point drives it: InitInstance, then either Run (when InitInstance succeeded)
// or ExitInstance (when it did not), and the result is the exit code.
#pragma once

#include <windows.h>

#include <string>

class CWinApp {
 public:
  explicit CWinApp(const wchar_t* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Prepares the application; returning false skips Run and ends it.
  virtual BOOL InitInstance();
  // The framework's message loop; ends with ExitInstance's result.
  virtual int Run();
  // The exit code of the process: the quit message's code, 0 if none came.
  virtual int ExitInstance();

  // The application's name: the one given to the constructor, or else the
  // executable's file name without its extension.
  const wchar_t* m_pszAppName;
  HINSTANCE m_hInstance = nullptr;

 protected:
  int m_exitCode = 0;

 private:
  std::wstring m_appName;
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
// The application object's name; with no application object (a test
// program, say), the executable's file name without its extension.
std::wstring AfxGetAppName();
// The executable's module handle, as the entry point received it.
HINSTANCE AfxGetInstanceHandle();

// Enables hosting of ActiveX controls in framework windows.  This program's
// windows host none, so enabling it records the choice and nothing more.
void AfxEnableControlContainer();
bool AfxIsControlContainerEnabled();
