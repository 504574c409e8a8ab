// The launch of the browser program for one set of engine settings and one
// application object: its command line, made once (the application's
// command-line handlers are called here and nowhere else), its profile
// folder, held for this program alone, and the program itself from its
// start to its first answer.  CefInitialize runs one itself, or adopts the
// one the early launch began on a thread of its own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "include/cef_app.h"
#include "src/ChromiumProcess.h"
#include "util/UniqueHandle.h"

namespace engine {

class BrowserLaunch {
 public:
  // Makes the command line: calls the application's
  // OnBeforeCommandLineProcessing, once, on the calling thread.
  BrowserLaunch(const CefSettings& settings, CefRefPtr<CefApp> application);
  ~BrowserLaunch();
  BrowserLaunch(const BrowserLaunch&) = delete;
  BrowserLaunch& operator=(const BrowserLaunch&) = delete;

  // Whether a browser program exists to be started.
  bool HasProgram() const { return !m_executable.empty(); }
  // Whether CefInitialize, given these, would start this same program with
  // this same command line.
  bool Suits(const CefSettings& settings, CefRefPtr<CefApp> application) const;

  // Takes the profile folder and starts the program; false, with nothing
  // left running, when it cannot be started.  The first call asks the
  // application's OnBeforeChildProcessLaunch for the rest of the command
  // line, on the calling thread.
  bool Launch();
  // Waits until the started program answers; false, with it ended, when it
  // never does.  `cancelled` (may be null) is asked once the program has
  // its pipe: when it says so, the program is ended at once instead.
  bool WaitUntilReady(const std::function<bool()>& cancelled = nullptr);

  ChromiumProcess& Process() { return m_process; }
  // Where downloads land until their user has chosen a file (Windows path,
  // ending in a backslash); set by Launch.
  const std::wstring& DownloadFolder() const { return m_downloadFolder; }

 private:
  CefRefPtr<CefApp> m_application;
  std::wstring m_cachePath;
  std::wstring m_executable;
  std::vector<std::wstring> m_switches;  // the application's
  unsigned int m_dpi = 96;
  bool m_childAsked = false;
  CFileHandle m_profileLock;
  std::wstring m_profile;
  std::wstring m_downloadFolder;
  ChromiumProcess m_process;
};

}  // namespace engine
