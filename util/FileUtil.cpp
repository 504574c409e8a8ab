#include "util/FileUtil.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <direct.h>
#include <io.h>
#include <utility>

#include "util/UniqueHandle.h"

namespace {

// The C runtime's limit for an ANSI path, without its terminating zero.
constexpr size_t kMaxAnsiPath = 259;

// The attribute sets of the directories DeleteTree enters.  Any other
// combination (read-only, archive, not indexed, ...) marks a directory that
// somebody has deliberately set apart, and it is only tried as a file, which
// fails and is reported.
constexpr unsigned kPlainDirectory = _A_SUBDIR;
constexpr unsigned kHiddenDirectory = _A_SUBDIR | _A_HIDDEN;
constexpr unsigned kSystemDirectory = _A_SUBDIR | _A_SYSTEM;

static_assert(ENOENT == 2 && EACCES == 13 && ENOTEMPTY == 41,
              "ReportDeleteError relies on the C runtime's error numbers");

bool IsSeparator(wchar_t unit) { return unit == L'\\' || unit == L'/'; }

bool IsDirectory(const wchar_t* path) {
  const DWORD attributes = ::GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Writes the concatenation of the parts into the buffer of kMaxAnsiPath + 1
// bytes.  Returns false, and writes nothing, when it does not fit.
bool JoinAnsiPath(char* buffer, const char* first, size_t firstLength, const char* second,
                  const char* third) {
  const size_t secondLength = std::strlen(second);
  const size_t thirdLength = std::strlen(third);
  if (firstLength > kMaxAnsiPath || secondLength > kMaxAnsiPath - firstLength ||
      thirdLength > kMaxAnsiPath - firstLength - secondLength) {
    return false;
  }
  std::memcpy(buffer, first, firstLength);
  std::memcpy(buffer + firstLength, second, secondLength);
  std::memcpy(buffer + firstLength + secondLength, third, thirdLength);
  buffer[firstLength + secondLength + thirdLength] = '\0';
  return true;
}

}  // namespace

std::vector<std::wstring> SplitPathComponents(const std::wstring& path) {
  std::vector<std::wstring> components;
  try {
    const size_t length = path.size();
    size_t start = 0;
    while (start < length) {
      size_t end = start;
      while (end < length && !IsSeparator(path[end])) ++end;
      std::wstring component = path.substr(start, end - start);
      if (end < length) {
        component += L'\\';
        while (end < length && IsSeparator(path[end])) ++end;
      }
      components.push_back(std::move(component));
      start = end;
    }
  } catch (...) {
    components.clear();
  }
  return components;
}

bool CreateDirectoryTree(const wchar_t* path) {
  if (path == nullptr) return false;
  if (IsDirectory(path)) return true;
  try {
    std::vector<std::wstring> levels = SplitPathComponents(path);
    if (levels.empty()) return false;
    // A network path (\\server\share\...) or a path in the system's own
    // name space (\\?\C:\...) has a root of three components that cannot be
    // created one by one: split as they are, "\\server\" would lose a
    // backslash and become a folder "\server\" on the current drive.
    if (IsSeparator(path[0]) && IsSeparator(path[1]) && levels.size() >= 3) {
      levels[0] = L"\\\\" + levels[1] + levels[2];
      levels.erase(levels.begin() + 1, levels.begin() + 3);
    }
    // Each level becomes the path of that folder: C:\, C:\a\, C:\a\b\.
    for (size_t index = 1; index < levels.size(); ++index) {
      levels[index] = levels[index - 1] + levels[index];
    }
    for (const std::wstring& level : levels) {
      if (IsDirectory(level.c_str())) continue;
      if (::CreateDirectoryW(level.c_str(), nullptr)) continue;
      // Another process may have created the folder between our check and
      // our attempt; that is as good as having created it ourselves.
      if (::GetLastError() == ERROR_ALREADY_EXISTS && IsDirectory(level.c_str())) continue;
      return false;
    }
    return true;
  } catch (...) {
    return false;
  }
}

void DeleteTree(const char* pattern, const char* folder) {
  // The folder is first deleted as if it were a file, so that a file given
  // in place of a folder goes too; for a real folder this fails harmlessly.
  if (folder != nullptr) std::remove(folder);
  if (pattern == nullptr || pattern[0] == '\0') return;

  _finddata_t entry;
  const CCrtFindHandle listing(::_findfirst(pattern, &entry));
  if (!listing) {
    ReportDeleteError(pattern);
    return;
  }
  // Entries are named relative to the folder the pattern lists: the pattern
  // without its last character (the "*").
  const size_t baseLength = std::strlen(pattern) - 1;
  do {
    if (std::strcmp(entry.name, ".") == 0 || std::strcmp(entry.name, "..") == 0) continue;
    const unsigned attributes = entry.attrib;
    if (attributes == kPlainDirectory || attributes == kHiddenDirectory ||
        attributes == kSystemDirectory) {
      char subPattern[kMaxAnsiPath + 1];
      if (!JoinAnsiPath(subPattern, pattern, baseLength, entry.name, "\\*")) continue;
      DeleteTree(subPattern, folder);
      // The directory itself: the sub-pattern without its "\*".
      subPattern[std::strlen(subPattern) - 2] = '\0';
      if (attributes == kSystemDirectory) {
        std::printf("This is system file, can't delete!\n");
        std::fflush(stdout);
      } else if (::_rmdir(subPattern) != 0) {
        ReportDeleteError(subPattern);
      }
    } else {
      char path[kMaxAnsiPath + 1];
      if (!JoinAnsiPath(path, pattern, baseLength, entry.name, "")) continue;
      if (std::remove(path) != 0) ReportDeleteError(entry.name);
    }
  } while (::_findnext(listing.Get(), &entry) == 0);
}

void ReportDeleteError(const char* name) {
  const int error = errno;
  switch (error) {
    case ENOENT:
      std::printf("Path is invalid.\n");
      break;
    case EACCES:
      std::printf("%s had been opend by some application, can't delete.\n",
                  name != nullptr ? name : "");
      break;
    case ENOTEMPTY:
      std::printf(
          "Given path is not a directory, the directory is not empty, or the directory is either "
          "the current working directory or the root directory.\n");
      break;
    default:
      return;
  }
  // Standard output is a buffered file when redirected; flushing keeps these
  // lines in order with anything the caller writes by other means.
  std::fflush(stdout);
}
