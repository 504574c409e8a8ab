// Points one of the user's shell folders at another folder for the
// object's life, as a profile with another name or on another drive has
// it: the Local AppData folder of an account with a Chinese name, say.
#pragma once

#include <optional>
#include <string>

namespace test {

class ScopedShellFolder {
 public:
  // name: the registry's name of the folder, as "Local AppData".
  ScopedShellFolder(const std::wstring& name, const std::wstring& folder);
  ~ScopedShellFolder();
  ScopedShellFolder(const ScopedShellFolder&) = delete;
  ScopedShellFolder& operator=(const ScopedShellFolder&) = delete;

  bool IsSet() const { return m_set; }

 private:
  std::wstring m_name;
  // What the two keys that name shell folders held, given back at the end.
  std::optional<std::wstring> m_user;
  std::optional<std::wstring> m_resolved;
  bool m_set = false;
};

}  // namespace test
