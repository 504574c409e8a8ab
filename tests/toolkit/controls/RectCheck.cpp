#include "tests/toolkit/controls/RectCheck.h"

namespace test {

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

std::string RectText(const RECT& rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) +
         "," + std::to_string(rc.bottom);
}

}  // namespace test
