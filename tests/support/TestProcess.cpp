#include "tests/support/TestProcess.h"

#include <tlhelp32.h>

namespace test {

TestProcess TestProcess::Start(const std::wstring& exe, const std::wstring& arguments,
                               const std::wstring& workingFolder) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::wstring folder = workingFolder;
  if (folder.empty()) folder = exe.substr(0, exe.find_last_of(L'\\') + 1);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  TestProcess process;
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
    return process;
  }
  ::CloseHandle(info.hThread);
  process.m_process.Reset(info.hProcess);
  process.m_id = info.dwProcessId;
  return process;
}

TestProcess TestProcess::StartOwnTest(const std::wstring& testName) {
  wchar_t self[MAX_PATH] = {};
  if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return TestProcess();
  return Start(self, L"--gtest_filter=" + testName);
}

TestProcess::~TestProcess() { Terminate(); }

bool TestProcess::WaitForExit(DWORD timeoutMs) const {
  return IsStarted() && ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> TestProcess::ExitCode() const {
  if (!HasExited()) return std::nullopt;
  DWORD code = 0;
  if (!::GetExitCodeProcess(m_process.Get(), &code)) return std::nullopt;
  return code;
}

void TestProcess::Terminate() {
  if (!IsStarted() || HasExited()) return;
  ::TerminateProcess(m_process.Get(), 0xDEAD);
  ::WaitForSingleObject(m_process.Get(), 10000);
}

namespace {

template <typename Visit>
void ForEachProcess(Visit visit) {
  const CFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
       more = ::Process32NextW(snapshot.Get(), &entry)) {
    visit(entry);
  }
}

}  // namespace

std::vector<DWORD> ChildProcessIds(DWORD parentId) {
  std::vector<DWORD> ids;
  ForEachProcess([&](const PROCESSENTRY32W& entry) {
    if (entry.th32ParentProcessID == parentId) ids.push_back(entry.th32ProcessID);
  });
  return ids;
}

std::vector<std::wstring> RunningProcessNames() {
  std::vector<std::wstring> names;
  ForEachProcess([&](const PROCESSENTRY32W& entry) { names.push_back(entry.szExeFile); });
  return names;
}

}  // namespace test
