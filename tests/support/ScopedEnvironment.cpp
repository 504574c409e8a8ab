#include "tests/support/ScopedEnvironment.h"

#include <windows.h>

namespace test {

ScopedEnvironment::ScopedEnvironment(const std::wstring& name, const std::wstring& value)
    : m_name(name) {
  const DWORD size = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size > 0) {
    std::wstring previous(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name.c_str(), previous.data(), size);
    previous.resize(length);
    m_previous = previous;
  }
  ::SetEnvironmentVariableW(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
  ::SetEnvironmentVariableW(m_name.c_str(), m_previous ? m_previous->c_str() : nullptr);
}

}  // namespace test
