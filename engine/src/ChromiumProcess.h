// The headless Chromium-family browser behind the engine: found, started
// with a profile folder and a private DevTools pipe (no network port), and
// ended.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace engine {

class DevToolsPipe;

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
  // missing) and the extra switches, and waits until it answers over its
  // pipe.  False, with nothing left running, when it cannot.
  bool Start(const std::wstring& executable, const std::wstring& profileFolder,
             const std::vector<std::wstring>& switches);
  // The two halves of Start: starting the program, and waiting until it
  // answers.  WaitUntilReady ends the program when it never does, and, once
  // the program has its pipe, when `cancelled` (may be null) says so.
  bool Launch(const std::wstring& executable, const std::wstring& profileFolder,
              const std::vector<std::wstring>& switches);
  bool WaitUntilReady(const std::function<bool()>& cancelled = nullptr);

  bool IsRunning() const { return m_pipe != nullptr; }
  // The one channel to the browser, shared with the connection that reads
  // it.  Whoever holds it last closes it, and the browser then ends.
  const std::shared_ptr<DevToolsPipe>& Pipe() const { return m_pipe; }
  // Under Wine, the native process id of the browser program; else 0.
  unsigned long NativeProcessId() const { return m_nativePid; }

  // Asks the browser to close over its pipe and waits until the process
  // has ended (and so let go of its profile).
  void Stop();
  // Ends the browser without asking it, as one that has not answered yet
  // cannot be asked, and waits until its process has ended.
  void Kill();
  // Any thread, while another waits in WaitUntilReady: kills the browser
  // if its process is known yet, so that the wait ends at once rather than
  // when the browser first answers.  Under Wine only: on Windows the wait
  // goes on until the answer, and Kill ends the browser then.
  void Abort();

 private:
  void WaitForEarlierBrowser(const std::wstring& folder);
  bool OpenWinePipe(unsigned long long deadline);
  bool AwaitFirstAnswer();
  void EndUnready();

  std::shared_ptr<DevToolsPipe> m_pipe;
  // The browser process, where the platform gives a handle to it.
  void* m_process = nullptr;
  bool m_launched = false;
  // On Windows: our ends of the two pipes, between Launch and
  // WaitUntilReady.
  void* m_fromBrowser = nullptr;
  void* m_toBrowser = nullptr;
  // Under Wine, where the browser is a native process: the private folder
  // its starting shell makes the two pipes in, the file it writes the
  // browser's process id to, and that id once read.
  std::wstring m_pipeFolder;
  std::wstring m_pidFile;
  unsigned long m_nativePid = 0;
  // The same, for Abort, between the pipe's opening and the first answer.
  std::atomic<unsigned long> m_abortablePid{0};
  std::wstring m_profileFolder;
};

// The path as the browser program sees it: under Wine the browser is a
// native program and needs native paths; on Windows the path is unchanged.
std::wstring NativePath(const std::wstring& path);

}  // namespace engine
