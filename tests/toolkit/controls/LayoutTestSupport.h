// Helpers shared by the layout tests: readable rectangles, children of a
// chosen size, and a record of the sizes a layout offers its children.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/Notify.h"

namespace test {

class SkinTestWindow;

// The display is shared with other programs, which may move its pointer
// over or out of a test window at any time; the moves and leaves that
// would follow must not steer a drag.  After this call the window's
// manager sees only the mouse moves posted with PostTestMove.
void AcceptOnlyTestMoves(SkinTestWindow& window);
void PostTestMove(SkinTestWindow& window, int x, int y, WPARAM keys = 0);

// "left,top,right,bottom".
std::string Text(const RECT& rc);
::testing::AssertionResult RectIs(const RECT& actual, const RECT& expected);

// A named control of a fixed size (0 leaves that dimension open).
SkinUI::CControlUI* NewBox(const wchar_t* name, int cx = 0, int cy = 0);

// A control that answers EstimateSize with a size of the test's choice
// and remembers every size it was offered.
class EstimatingControl : public SkinUI::CControlUI {
 public:
  explicit EstimatingControl(SIZE answer = SIZE{}) : m_answer(answer) {}
  SIZE EstimateSize(SIZE szAvailable) override {
    offered.push_back(szAvailable);
    return m_answer;
  }
  std::vector<SIZE> offered;

 private:
  SIZE m_answer;
};

// The notifications of one type a window sent, in order.
class NotifyFilter : public SkinUI::INotifyUI {
 public:
  explicit NotifyFilter(const wchar_t* type) : m_type(type) {}
  void Notify(SkinUI::TNotifyUI& msg) override {
    if (m_type == msg.sType.GetData()) received.push_back(msg);
  }
  std::vector<SkinUI::TNotifyUI> received;

 private:
  std::wstring m_type;
};

// The folder of the layout fixtures (TALMIC_LAYOUT_DATA), ending in a
// backslash, followed by `name`; empty when the variable is not set.
std::wstring LayoutData(const std::wstring& name = std::wstring());

}  // namespace test
