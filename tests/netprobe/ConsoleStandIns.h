// Console programs under a test's control: stand-ins that print recorded
// outputs and are found by the command interpreter before the system's own
// programs of the same name.
#pragma once

#include <optional>
#include <string>

#include "tests/support/TempFolder.h"

namespace test {

// Gives an environment variable a value for this process and the processes
// it starts, until the object goes away; then the previous value (or its
// absence) comes back.  Both the C runtime's copy, which _popen may consult,
// and the process's own block are changed.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(const std::wstring& name, const std::wstring& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::wstring m_name;
  std::optional<std::wstring> m_previous;
};

// The variable's value; nullopt when it is not set.
std::optional<std::wstring> EnvironmentVariable(const std::wstring& name);

// A temporary folder put in front of PATH, for stand-ins of console
// programs.  The command interpreter looks for a program in its current
// folder first and then in the PATH folders in order, under Wine as on
// Windows.  Wine's system32, which leads its default PATH, has an arp.exe
// (a stub that prints nothing) and an ipconfig.exe of its own, so a stand-in
// anywhere but in front of it would lose to them.
class ConsoleStandIns {
 public:
  ConsoleStandIns();

  // Installs "<program>.exe" printing output; its line feeds reach the pipe
  // as carriage return and line feed, as a console program writes them.
  bool Add(const std::wstring& program, const std::string& output) const;
  // The arguments the stand-in last ran with, joined by single spaces;
  // nullopt when it has not run.
  std::optional<std::string> ArgumentsOf(const std::wstring& program) const;

 private:
  TempFolder m_folder;
  ScopedEnvironmentVariable m_path;
};

// A recorded console output kept with the tests; empty when it is missing.
std::string ReadRecording(const std::wstring& name);
// The folder of the recorded outputs, ending in a backslash.
std::wstring RecordingsFolder();

}  // namespace test
