// File-system helpers: creating a chain of folders, splitting a path into
// its folder components, and emptying a folder.
#pragma once

#include <string>
#include <vector>

// Creates the folder and every missing folder above it.  Returns true when
// the whole chain exists afterwards as folders; false for a null path, an
// empty one, or the first level that cannot be created (a file in the way,
// no permission).
bool CreateDirectoryTree(const wchar_t* path);

// Splits a path at its separators ('\\' and '/').  A component that a
// separator follows ends in a backslash, whichever separator it was; runs of
// separators count as one, and a trailing separator adds no empty component.
// A path starting with a separator gives "\\" as its first component.
std::vector<std::wstring> SplitPathComponents(const std::wstring& path);

// Deletes everything inside a folder, but not the folder itself.  The
// pattern lists the folder's content ("C:\\dir\\*"); folder is the folder
// itself ("C:\\dir").  Paths are ANSI and at most 259 bytes; entries whose
// path would be longer are left alone.  Directories that are marked as
// system folders are emptied but kept.  Failures are reported on standard
// output and do not stop the rest of the deletion.
void DeleteTree(const char* pattern, const char* folder);

// Prints to standard output why deleting the named entry failed, judged by
// errno: nothing is printed for causes other than a bad path, an entry in
// use, or a directory that cannot be removed.
void ReportDeleteError(const char* name);
