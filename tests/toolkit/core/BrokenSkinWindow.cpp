// A program with one skinned window whose skin the first argument chooses:
// "missing" (a skin file that does not exist), "malformed" (markup that is
// not well-formed) or "valid".  A skin that cannot be built must end the
// process with exit code 1 after its message box; a program that gets past
// creating the window ends with 0.

#include <windows.h>

#include <string>

#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/WindowImplBase.h"

namespace {

class BrokenSkinWindow : public SkinUI::WindowImplBase {
 public:
  explicit BrokenSkinWindow(const wchar_t* skin) : m_skin(skin) {}
  LPCWSTR GetWindowClassName() const override { return L"TalmicBrokenSkinWindow"; }
  SkinUI::CSkinString GetSkinFolderName() override { return L"no-such-skin-folder"; }
  SkinUI::CSkinString GetSkinFileName() override { return m_skin; }

 private:
  const wchar_t* m_skin;
};

const wchar_t* SkinFor(const std::wstring& kind) {
  if (kind == L"malformed") return L"<Window size=\"200,100\"><Container></Window>";
  if (kind == L"valid") return L"<Window size=\"200,100\"><Container/></Window>";
  return L"missing.xml";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  BrokenSkinWindow window(SkinFor(argc > 1 ? argv[1] : L"missing"));
  const HWND hWnd = window.Create(nullptr, L"broken skin", WS_POPUP, WS_EX_TOOLWINDOW);
  if (hWnd == nullptr) return 2;
  ::DestroyWindow(hWnd);
  return 0;
}
