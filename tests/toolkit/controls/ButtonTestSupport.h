// What the label, button and option tests share: a real window whose root
// holds the controls under test at fixed places, the state images of
// data/buttons, mouse and keyboard input through the window's message
// path, and a record of the notifications the controls send.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/toolkit/core/SkinTestWindow.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/core/Notify.h"

namespace test {

// The folder of the state images, ending in a backslash (set by CTest as
// TALMIC_BUTTON_DATA).
std::wstring ButtonData();

// The colours of the images in data/buttons (see make_fixtures.py), as
// the window shows them: 0x00RRGGBB.
enum ImageColour : uint32_t {
  kNormal = 0xFF0000,
  kHot = 0x00FF00,
  kPushed = 0x0000FF,
  kFocused = 0xFFFF00,
  kDisabled = 0x808080,
  kFore = 0x000000,
  kHotFore = 0x008000,
  kPushedFore = 0x000080,
  kSelected = 0xFF00FF,
  kSelectedHot = 0x00FFFF,
  kSelectedPushed = 0xFF8000,
  kSelectedFore = 0x800080,
  kWindow = 0xFFFFFF,  // the root's background
};

// One notification as a control sent it.
struct Sent {
  std::wstring type;
  std::wstring sender;
  WPARAM wParam = 0;
  bool operator==(const Sent& other) const {
    return type == other.type && sender == other.sender && wParam == other.wParam;
  }
};
std::ostream& operator<<(std::ostream& out, const Sent& sent);

// Records the notifications of a window, leaving out the ones the paint
// manager and the control base send on their own (focus, placement,
// window start) and, unless asked for, the mouse's comings and goings.
class SentLog : public SkinUI::INotifyUI {
 public:
  void Notify(SkinUI::TNotifyUI& msg) override;
  std::vector<Sent> sent;
  bool withHover = false;
};

// A 200 x 100 window whose white root container holds the controls the
// test places; the resource path points at data/buttons while it lives.
class ControlStage {
 public:
  ControlStage();
  virtual ~ControlStage();
  ControlStage(const ControlStage&) = delete;
  ControlStage& operator=(const ControlStage&) = delete;

  // Adds a floating control at `pos` ("left,top,right,bottom") to the
  // root and lays the window out.
  template <class T>
  T* Place(T* control, const wchar_t* pos) {
    control->SetFloat(true);
    control->SetAttribute(L"pos", pos);
    root->Add(control);
    window.Paint();
    return control;
  }

  // Real input through the window's message path, pumped at once.
  void MoveTo(int x, int y);
  void Press(int x, int y);
  void Release(int x, int y);
  void Click(int x, int y);
  void DoubleClick(int x, int y);
  void Key(WPARAM key);

  // Paints what is invalid, then reads a pixel of the window.
  uint32_t PaintedPixel(int x, int y);
  // How many pixels of the rectangle differ from `background`, after
  // painting what is invalid.
  int InkIn(const RECT& area, uint32_t background = kWindow);
  // The smallest rectangle holding every pixel of `area` that differs
  // from `background`; empty when there is none.
  RECT InkBounds(const RECT& area, uint32_t background = kWindow);

  // The notifications of one type, in order.
  std::vector<Sent> Of(const wchar_t* type) const;

  // The pixels of `area` as the window shows them, 0x00RRGGBB, row by row.
  std::vector<uint32_t> Capture(const RECT& area);

  SkinTestWindow window{200, 100};
  SkinUI::CContainerUI* root = nullptr;
  SentLog log;
};

// The same stage as a test fixture.
class ControlWindow : public ::testing::Test, public ControlStage {};

}  // namespace test
