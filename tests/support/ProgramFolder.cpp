#include "tests/support/ProgramFolder.h"

#include "tests/support/TestEnvironment.h"

namespace test {

ProgramFolder::ProgramFolder(const std::string& wexIni) {
  m_ready = !DistFolder().empty() && CopyFolder(DistFolder(), m_folder.Path());
  if (m_ready && !wexIni.empty()) m_ready = WriteFileBytes(m_folder / L"wex.ini", wexIni);
}

TestProcess ProgramFolder::Start() const { return TestProcess::Start(Executable()); }

}  // namespace test
