// A private copy of the shipped program folder with a configuration of the
// test's choosing, so that end-to-end tests run the real Talmic.exe without
// touching the build tree or each other.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/TestProcess.h"

namespace test {

class ProgramFolder {
 public:
  // Copies the program folder; wexIni (may be empty: no file) is written as
  // the configuration file beside the executable.  With a name, the program
  // lands in a folder of that name inside the temporary one, so that a test
  // can choose it (Chinese characters, spaces).
  explicit ProgramFolder(const std::string& wexIni = std::string(),
                         const std::wstring& name = std::wstring());

  bool IsReady() const { return m_ready; }
  const std::wstring& Path() const { return m_path; }
  std::wstring operator/(const std::wstring& name) const { return m_path + name; }
  std::wstring Executable() const { return m_path + L"Talmic.exe"; }

  // Starts Talmic.exe from this folder, the way a user's shortcut would.
  TestProcess Start() const;

 private:
  TempFolder m_folder;
  std::wstring m_path;
  bool m_ready = false;
};

// The browser engine's override for the browser program, pointing at none:
// clients started meanwhile run without an engine, which start-up allows,
// and so open their window at once and end quickly.
const wchar_t* const kNoBrowserProgram = L"Z:\\nonexistent\\talmic-no-browser";

// Waits up to timeoutMs for the client to end.  Should its main window show
// first, the client is asked to quit the way outside programs ask it, and
// the wait goes on for that end.  Returns whether the main window showed.
bool RunToEnd(TestProcess& client, DWORD timeoutMs);

}  // namespace test
