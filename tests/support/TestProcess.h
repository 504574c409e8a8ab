// A process a test started.  It is ended (by its own handle, never by name)
// when the owner goes away, so a failing test leaves nothing running.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/UniqueHandle.h"

namespace test {

class TestProcess {
 public:
  // Starts exe with the given command-line tail in workingFolder (the exe's
  // own folder when empty).  Check IsStarted().
  static TestProcess Start(const std::wstring& exe, const std::wstring& arguments = L"",
                           const std::wstring& workingFolder = L"");
  // Starts this test program again, running only the named test (a test
  // that stands for a program the outer test watches, kills or restarts).
  static TestProcess StartOwnTest(const std::wstring& testName);

  TestProcess() = default;
  TestProcess(TestProcess&&) = default;
  TestProcess& operator=(TestProcess&&) = default;
  ~TestProcess();

  bool IsStarted() const { return m_process.IsValid(); }
  DWORD Id() const { return m_id; }
  HANDLE Handle() const { return m_process.Get(); }

  // Waits up to timeoutMs for the process to end; true when it has.
  bool WaitForExit(DWORD timeoutMs) const;
  bool HasExited() const { return WaitForExit(0); }
  // The exit code once the process has ended.
  std::optional<DWORD> ExitCode() const;
  // Ends the process if it still runs, and waits until it has.
  void Terminate();

 private:
  CKernelHandle m_process;
  DWORD m_id = 0;
};

// The ids of the running processes whose parent is the given process.
std::vector<DWORD> ChildProcessIds(DWORD parentId);
// The executable names of all running processes.
std::vector<std::wstring> RunningProcessNames();

}  // namespace test
