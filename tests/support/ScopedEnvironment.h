// An environment variable of the test process set for one scope, and put
// back as it was when the scope ends.  Programs the test starts meanwhile
// inherit the value.
#pragma once

#include <optional>
#include <string>

namespace test {

class ScopedEnvironment {
 public:
  ScopedEnvironment(const std::wstring& name, const std::wstring& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::wstring m_name;
  std::optional<std::wstring> m_previous;
};

}  // namespace test
