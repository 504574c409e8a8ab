#include "tests/toolkit/controls/ButtonTestSupport.h"

#include <algorithm>
#include <ostream>

#include "tests/toolkit/controls/RenderCanvas.h"
#include "tests/toolkit/core/ToolkitEnvironment.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace test {
namespace {

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t ch : text) out += ch < 0x80 ? static_cast<char>(ch) : '?';
  return out;
}

}  // namespace

std::wstring ButtonData() { return ToolkitEnvironment::DataFile(L"TALMIC_BUTTON_DATA", L""); }

std::ostream& operator<<(std::ostream& out, const Sent& sent) {
  return out << Narrow(sent.type) << " from " << Narrow(sent.sender) << " (" << sent.wParam << ")";
}

void SentLog::Notify(SkinUI::TNotifyUI& msg) {
  const std::wstring type = msg.sType.GetData();
  if (type == L"setfocus" || type == L"killfocus" || type == L"PosChanged" ||
      type == L"windowinit") {
    return;
  }
  if (!withHover && (type == L"mouseenter" || type == L"mouseleave")) return;
  std::wstring sender = msg.pSender != nullptr ? msg.pSender->GetName().GetData() : L"-";
  sent.push_back(Sent{type, sender, msg.wParam});
}

ControlStage::ControlStage() {
  EXPECT_FALSE(ButtonData().empty()) << "TALMIC_BUTTON_DATA is not set";
  EXPECT_NE(window.Get(), nullptr);
  SkinUI::CPaintManagerUI::SetResourcePath(ButtonData().c_str());
  root = new SkinUI::CContainerUI;
  root->SetName(L"root");
  root->SetBkColor(0xFFFFFFFF);
  window.Manager().AttachDialog(root);
  window.Manager().AddNotifier(&log);
  window.Paint();
}

ControlStage::~ControlStage() {
  window.Manager().RemoveNotifier(&log);
  SkinUI::CPaintManagerUI::SetResourcePath(L"");
}

void ControlStage::MoveTo(int x, int y) {
  window.PostMouse(WM_MOUSEMOVE, x, y);
  window.Pump();
}

void ControlStage::Press(int x, int y) {
  window.PostMouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  window.Pump();
}

void ControlStage::Release(int x, int y) {
  window.PostMouse(WM_LBUTTONUP, x, y);
  window.Pump();
}

void ControlStage::Click(int x, int y) {
  MoveTo(x, y);
  Press(x, y);
  Release(x, y);
}

void ControlStage::DoubleClick(int x, int y) {
  Click(x, y);
  window.PostMouse(WM_LBUTTONDBLCLK, x, y, MK_LBUTTON);
  window.Pump();
  Release(x, y);
}

void ControlStage::Key(WPARAM key) {
  window.PostKey(WM_KEYDOWN, key);
  window.PostKey(WM_KEYUP, key, 0xC0000001);
  window.Pump();
}

uint32_t ControlStage::PaintedPixel(int x, int y) {
  window.Paint();
  return window.Pixel(x, y);
}

std::vector<uint32_t> ControlStage::Capture(const RECT& area) {
  window.Paint();
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  std::vector<uint32_t> pixels;
  if (width <= 0 || height <= 0) return pixels;
  // One copy of the window's pixels, read back as a whole: a DC per
  // pixel would be far slower.
  RenderCanvas canvas(width, height);
  CWindowDc dc(window.Get());
  ::BitBlt(canvas.Dc(), 0, 0, width, height, dc.Get(), area.left, area.top, SRCCOPY);
  pixels.reserve(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(Rgb(canvas.At(x, y)));
  }
  return pixels;
}

int ControlStage::InkIn(const RECT& area, uint32_t background) {
  int count = 0;
  for (uint32_t pixel : Capture(area)) {
    if (pixel != background) ++count;
  }
  return count;
}

RECT ControlStage::InkBounds(const RECT& area, uint32_t background) {
  const std::vector<uint32_t> pixels = Capture(area);
  const int width = area.right - area.left;
  RECT bounds = {area.right, area.bottom, area.left, area.top};
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (pixels[i] == background) continue;
    const int x = area.left + static_cast<int>(i) % width;
    const int y = area.top + static_cast<int>(i) / width;
    bounds.left = std::min<LONG>(bounds.left, x);
    bounds.top = std::min<LONG>(bounds.top, y);
    bounds.right = std::max<LONG>(bounds.right, x + 1);
    bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
  }
  if (bounds.left >= bounds.right) ::SetRectEmpty(&bounds);
  return bounds;
}

std::vector<Sent> ControlStage::Of(const wchar_t* type) const {
  std::vector<Sent> matching;
  for (const Sent& s : log.sent) {
    if (s.type == type) matching.push_back(s);
  }
  return matching;
}

}  // namespace test
