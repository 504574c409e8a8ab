// The headless Chromium-family browser behind the engine: found, started
// with a profile folder and a loopback-only DevTools endpoint, and ended.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

class ChromiumProcess {
 public:
  ChromiumProcess() = default;
  ~ChromiumProcess();
  ChromiumProcess(const ChromiumProcess&) = delete;
  ChromiumProcess& operator=(const ChromiumProcess&) = delete;

  // The browser to start: the TALMIC_BROWSER environment variable when set,
  // else Debian's Chromium (for Wine), else an installed Edge or Chrome.
  // Empty when there is none.
  static std::wstring FindExecutable();

  // Starts the browser headless with the profile folder (created when
  // missing) and the extra switches, and waits until its DevTools endpoint
  // answers.  False, with nothing left running, when it cannot.
  bool Start(const std::wstring& executable, const std::wstring& profileFolder,
             const std::vector<std::wstring>& switches);
  // The two halves of Start: starting the program, and waiting for its
  // endpoint.  WaitUntilReady ends the program when it never listens.
  bool Launch(const std::wstring& executable, const std::wstring& profileFolder,
              const std::vector<std::wstring>& switches);
  bool WaitUntilReady();

  bool IsRunning() const { return m_port != 0; }
  uint16_t DevToolsPort() const { return m_port; }
  // The browser-wide DevTools WebSocket path ("/devtools/browser/<id>").
  const std::string& BrowserPath() const { return m_browserPath; }

  // Asks the browser to close, and waits until its DevTools endpoint is
  // gone (the browser process has ended and released the profile).
  void Stop();

 private:
  uint16_t m_port = 0;
  void* m_process = nullptr;
  bool m_launched = false;
  std::wstring m_portFile;
  // Under Wine, where the browser is a native process: the file its
  // starting shell writes its process id to, and that id once read.
  std::wstring m_pidFile;
  unsigned long m_nativePid = 0;
  std::string m_browserPath;
  std::wstring m_profileFolder;
};

// The path as the browser program sees it: under Wine the browser is a
// native program and needs native paths; on Windows the path is unchanged.
std::wstring NativePath(const std::wstring& path);

// True when something accepts connections on the loopback port.
bool LoopbackPortAnswers(uint16_t port);

}  // namespace engine
