// A uniquely named folder under the user's temporary folder, removed with
// everything in it when the owner goes away.
#pragma once

#include <string>
#include <vector>

namespace test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in a backslash.
  const std::wstring& Path() const { return m_path; }
  std::wstring operator/(const std::wstring& name) const { return m_path + name; }

 private:
  std::wstring m_path;
};

// Removes a folder and everything below it; read-only and system entries too.
void RemoveFolderRecursively(const std::wstring& folder);
// Copies a folder's content into another (created if needed), recursively.
bool CopyFolder(const std::wstring& from, const std::wstring& to);
// Writes bytes to a file, replacing it.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Reads a whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// The names of the entries of a folder (not "." and ".."), sorted.
std::vector<std::wstring> ListFolder(const std::wstring& folder);

}  // namespace test
