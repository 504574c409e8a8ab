#include "tests/support/ProgramFolder.h"

#include "browser/BrowserWindowMessages.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WindowProbe.h"

namespace test {

ProgramFolder::ProgramFolder(const std::string& wexIni, const std::wstring& name)
    : m_path(name.empty() ? m_folder.Path() : m_folder / (name + L"\\")) {
  m_ready = !DistFolder().empty() && CopyFolder(DistFolder(), m_path);
  if (m_ready && !wexIni.empty()) m_ready = WriteFileBytes(m_path + L"wex.ini", wexIni);
}

TestProcess ProgramFolder::Start() const { return TestProcess::Start(Executable()); }

bool RunToEnd(TestProcess& client, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  bool shown = false;
  while (!client.WaitForExit(10) && ::GetTickCount64() < deadline) {
    if (shown) continue;
    for (HWND window : TopLevelWindowsOf(client.Id(), true)) {
      wchar_t name[64] = {};
      ::GetClassNameW(window, name, 64);
      if (std::wstring(name) != L"CBrowserWnd") continue;
      shown = true;
      ::PostMessageW(window, WM_USER_QUIT, 0, 0);
    }
  }
  return shown;
}

}  // namespace test
