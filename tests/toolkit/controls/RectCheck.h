// Rectangles in the control tests: compared as Windows compares them, and
// written out for failure messages.
#pragma once

#include <windows.h>

#include <string>

namespace test {

bool SameRect(const RECT& a, const RECT& b);
// "left,top,right,bottom".
std::string RectText(const RECT& rc);

}  // namespace test
