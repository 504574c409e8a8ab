#include "tests/toolkit/controls/LayoutTestSupport.h"

#include "tests/toolkit/core/SkinTestWindow.h"
#include "tests/toolkit/core/ToolkitEnvironment.h"

namespace test {
namespace {

// Marks the moves a test posts: a key-state bit the toolkit never reads
// and no real move of these tests carries, as no extra button is held.
constexpr WPARAM kTestMoveMark = MK_XBUTTON2;

}  // namespace

void AcceptOnlyTestMoves(SkinTestWindow& window) {
  window.onMessage = [](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_MOUSEMOVE && message != WM_MOUSELEAVE) return false;
    if (message == WM_MOUSEMOVE && (wParam & kTestMoveMark) != 0) return false;
    result = 0;
    return true;
  };
}

void PostTestMove(SkinTestWindow& window, int x, int y, WPARAM keys) {
  window.PostMouse(WM_MOUSEMOVE, x, y, keys | kTestMoveMark);
}

std::string Text(const RECT& rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) +
         "," + std::to_string(rc.bottom);
}

::testing::AssertionResult RectIs(const RECT& actual, const RECT& expected) {
  if (::EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "is " << Text(actual) << ", expected " << Text(expected);
}

SkinUI::CControlUI* NewBox(const wchar_t* name, int cx, int cy) {
  auto* box = new SkinUI::CControlUI;
  box->SetName(name);
  box->SetFixedWidth(cx);
  box->SetFixedHeight(cy);
  return box;
}

std::wstring LayoutData(const std::wstring& name) {
  return ToolkitEnvironment::DataFile(L"TALMIC_LAYOUT_DATA", name);
}

}  // namespace test
