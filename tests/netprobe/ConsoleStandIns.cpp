#include "tests/netprobe/ConsoleStandIns.h"

#include <windows.h>

#include <cstdlib>

#include "tests/support/TestEnvironment.h"

namespace test {
namespace {

// _wputenv changes the C runtime's copy and the process's block together;
// an empty value removes the variable.
void PutEnvironment(const std::wstring& name, const std::wstring& value) {
  ::_wputenv((name + L"=" + value).c_str());
}

}  // namespace

std::optional<std::wstring> EnvironmentVariable(const std::wstring& name) {
  const DWORD size = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(name.c_str(), value.data(), size);
  value.resize(length < size ? length : 0);
  return value;
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const std::wstring& name,
                                                     const std::wstring& value)
    : m_name(name), m_previous(EnvironmentVariable(name)) {
  PutEnvironment(m_name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  PutEnvironment(m_name, m_previous.value_or(std::wstring()));
}

ConsoleStandIns::ConsoleStandIns()
    : m_path(L"PATH", m_folder.Path() + L";" + EnvironmentVariable(L"PATH").value_or(L"")) {}

bool ConsoleStandIns::Add(const std::wstring& program, const std::string& output) const {
  return ::CopyFileW(InTestBin(L"console_stand_in.exe").c_str(),
                     (m_folder / (program + L".exe")).c_str(), FALSE) &&
         WriteFileBytes(m_folder / (program + L".txt"), output);
}

std::optional<std::string> ConsoleStandIns::ArgumentsOf(const std::wstring& program) const {
  const std::wstring record = m_folder / (program + L".args");
  if (::GetFileAttributesW(record.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return ReadFileBytes(record);
}

std::wstring RecordingsFolder() {
  std::wstring folder = EnvironmentVariable(L"TALMIC_NETPROBE_DATA").value_or(L"");
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::string ReadRecording(const std::wstring& name) {
  return ReadFileBytes(RecordingsFolder() + name);
}

}  // namespace test
