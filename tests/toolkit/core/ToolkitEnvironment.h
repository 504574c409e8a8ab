// What every toolkit test program runs in.  The toolkit is given the test
// program as its module, as the program gives it its own: module resources
// come from there, and GDI+, through which colours are painted, starts when
// the toolkit gets it.  Compiling ToolkitEnvironment.cpp into a test program
// registers it once for the whole run.
#pragma once

#include <string>

#include "gtest/gtest.h"

namespace test {

class ToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override;

  // The file of that name in the folder an environment variable names
  // (CTest sets one for each program's committed fixtures); the folder
  // itself, ending in a backslash, for an empty name.  Empty when the
  // variable is not set.
  static std::wstring DataFile(const wchar_t* variable, const std::wstring& name);

  // Clears the resource path, the archive and the resource module, which
  // the whole process shares, so that one test's skin settings do not reach
  // the next.
  static void ResetSkinSettings();
};

}  // namespace test
