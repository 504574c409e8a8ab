// Where the tests find the program folder and the test programs.  CTest sets
// both through the environment, as Windows paths.
#pragma once

#include <string>

namespace test {

// The program folder exactly as it ships (Talmic.exe and skin/).
std::wstring DistFolder();
// The folder holding the test programs (probes, stand-ins).
std::wstring TestBinFolder();
// A path inside one of them.
std::wstring InDist(const std::wstring& name);
std::wstring InTestBin(const std::wstring& name);

}  // namespace test
