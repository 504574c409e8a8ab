#include "windows/MessageBoxWnd.h"

#include <memory>
#include <new>

#include "toolkit/controls/ControlUI.h"

namespace {

constexpr wchar_t kClassName[] = L"CMessageBoxWnd";
constexpr wchar_t kSkinFile[] = L"messagebox.xml";

constexpr wchar_t kTextLabel[] = L"lab_text";
constexpr wchar_t kCodeLabel[] = L"lab_code";
constexpr wchar_t kYesButton[] = L"msg_btn_yes";
constexpr wchar_t kNoButton[] = L"msg_btn_no";
constexpr wchar_t kCloseButton[] = L"btn_close";

// The one-button form's button.
constexpr wchar_t kOneButtonText[] = L"确定";
constexpr int kOneButtonWidth = 80;

constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

}  // namespace

CMessageBoxWnd::CMessageBoxWnd()
    : m_pTextLabel(nullptr), m_pCodeLabel(nullptr), m_pYesButton(nullptr), m_pNoButton(nullptr) {}

LPCWSTR CMessageBoxWnd::GetWindowClassName() const { return kClassName; }

SkinUI::CSkinString CMessageBoxWnd::GetSkinFolderName() { return SkinUI::CSkinString(); }

SkinUI::CSkinString CMessageBoxWnd::GetSkinFileName() { return kSkinFile; }

void CMessageBoxWnd::InitWindow() {
  m_pTextLabel = m_PaintManager.FindControl(kTextLabel);
  m_pCodeLabel = m_PaintManager.FindControl(kCodeLabel);
  m_pYesButton = m_PaintManager.FindControl(kYesButton);
  m_pNoButton = m_PaintManager.FindControl(kNoButton);
}

void CMessageBoxWnd::Notify(SkinUI::TNotifyUI& msg) {
  if (msg.sType.Compare(L"click") != 0 || msg.pSender == nullptr) return;
  const SkinUI::CSkinString sName = msg.pSender->GetName();
  if (sName.Compare(kCloseButton) == 0 || sName.Compare(kNoButton) == 0) {
    Close(0);
  } else if (sName.Compare(kYesButton) == 0) {
    Close(1);
  }
}

UINT ShowMessageBox(HWND hWndOwner, bool bTwoButtons, std::wstring strText) {
  std::unique_ptr<CMessageBoxWnd> pWnd(new (std::nothrow) CMessageBoxWnd);
  if (!pWnd) return 0;
  if (pWnd->Create(hWndOwner, nullptr, kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr) == nullptr) {
    return 0;
  }
  pWnd->CenterWindow();
  if (SkinUI::CControlUI* pText = pWnd->GetTextLabel()) pText->SetText(strText.c_str());
  if (!bTwoButtons) {
    if (SkinUI::CControlUI* pNo = pWnd->GetNoButton()) pNo->SetVisible(false);
    if (SkinUI::CControlUI* pYes = pWnd->GetYesButton()) {
      pYes->SetFixedWidth(kOneButtonWidth);
      pYes->SetText(kOneButtonText);
    }
  }
  const UINT nRet = pWnd->ShowModal();
  // A quit message ends the loop with the box still open; the box goes
  // before its object does, so that no message reaches a freed object.
  if (::IsWindow(pWnd->GetHWND())) ::DestroyWindow(pWnd->GetHWND());
  return nRet;
}
