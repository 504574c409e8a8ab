// A browser program launch begun before CefInitialize, on a thread of its
// own: the program is started and waited for there while the application
// goes on with its start-up.  CefInitialize takes it over (Take), or it is
// ended unused (End).
#pragma once

#include <atomic>
#include <memory>

#include "src/BrowserLaunch.h"
#include "src/TaskThread.h"
#include "util/UniqueHandle.h"

namespace engine {

class EarlyLaunch {
 public:
  // Begins the one launch of the process; false when one was begun already.
  static bool Begin(const CefSettings& settings, CefRefPtr<CefApp> application);
  // The launch begun, now the caller's; null when none was.
  static std::unique_ptr<EarlyLaunch> Take();
  // Ends the launch begun, if CefInitialize has not taken it.
  static void EndUntaken();

  ~EarlyLaunch();
  EarlyLaunch(const EarlyLaunch&) = delete;
  EarlyLaunch& operator=(const EarlyLaunch&) = delete;

  // Whether its thread runs the launch: false when no browser program was
  // found or the platform refused the thread.
  bool IsStarted() const { return m_started; }
  BrowserLaunch& Launch() { return *m_launch; }
  // Waits until the program has been started (or could not be).
  bool WaitUntilLaunched();
  // Waits until the program answers (or never will); the launch is then
  // the caller's to keep.
  std::unique_ptr<BrowserLaunch> WaitUntilReady(bool& ready);
  // Gives the launch up: the program, if it was started, is ended, and
  // this returns once it has.  GiveUp keeps the command line for the
  // caller; End drops it.
  std::unique_ptr<BrowserLaunch> GiveUp();
  void End();

 private:
  EarlyLaunch(const CefSettings& settings, CefRefPtr<CefApp> application);
  bool Start();
  static unsigned long __stdcall ThreadMain(void* self);
  // On the launch's thread: starts the program and waits until it answers.
  void Run();
  void Join();

  std::unique_ptr<BrowserLaunch> m_launch;
  CKernelHandle m_thread;
  // Set by the thread as it begins to run.
  CKernelHandle m_runningEvent;
  // Set by the thread once it has started the program or failed to.
  CKernelHandle m_launchedEvent;
  bool m_started = false;
  std::atomic<bool> m_launched{false};
  std::atomic<bool> m_ready{false};
  std::atomic<bool> m_cancelled{false};
  bool m_finished = false;
};

}  // namespace engine
