// System commands, the system buttons, the default keys and the handlers
// that leave their messages to the paint manager.

#include "toolkit/controls/ControlUI.h"
#include "toolkit/core/WindowImplBase.h"

namespace SkinUI {
namespace {

// The system buttons and the command each sends.  "closebtn" is not among
// them: it closes through Close, so that the window's own close handling
// runs.
struct SystemButton {
  const wchar_t* name;
  WPARAM command;
};

const SystemButton kSystemButtons[] = {
    {L"minbtn", SC_MINIMIZE},
    {L"maxbtn", SC_MAXIMIZE},
    {L"restorebtn", SC_RESTORE},
};

constexpr wchar_t kCloseButton[] = L"closebtn";
constexpr wchar_t kMaxButton[] = L"maxbtn";
constexpr wchar_t kRestoreButton[] = L"restorebtn";

}  // namespace

const SKIN_MSGMAP_ENTRY WindowImplBase::kMessageEntries[] = {
    SkinMapNotify(L"click", L"", &WindowImplBase::OnClick),
    SkinMapEnd(),
};

const SKIN_MSGMAP WindowImplBase::kMessageMap = {&CNotifyPump::GetThisMessageMap, kMessageEntries};

const SKIN_MSGMAP* WindowImplBase::GetThisMessageMap() { return &kMessageMap; }

const SKIN_MSGMAP* WindowImplBase::GetMessageMap() const { return GetThisMessageMap(); }

void WindowImplBase::OnClick(TNotifyUI& msg) {
  if (msg.pSender == nullptr) return;
  const CSkinString sName = msg.pSender->GetName();
  if (sName.Compare(kCloseButton) == 0) {
    Close(1);
    return;
  }
  for (const SystemButton& button : kSystemButtons) {
    if (sName.Compare(button.name) == 0) {
      SendMessageW(WM_SYSCOMMAND, button.command, 0);
      return;
    }
  }
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
  // Sent, not posted: the close handling runs before the command returns,
  // and a modal loop does not take it for a Close with a result.
  if (wParam == SC_CLOSE) {
    bHandled = true;
    SendMessageW(WM_CLOSE);
    return 0;
  }
  const bool bZoomed = ::IsZoomed(m_hWnd) != FALSE;
  const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
  // The command may have destroyed the window.
  if (::IsWindow(m_hWnd) && (::IsZoomed(m_hWnd) != FALSE) != bZoomed) SwapSizeButtons(bZoomed);
  // The paint manager repaints a layered window whole after a restore.
  if ((wParam & 0xFFF0) == SC_RESTORE) bHandled = false;
  return lRes;
}

void WindowImplBase::SwapSizeButtons(bool bWasZoomed) {
  CControlUI* pMaxButton = m_PaintManager.FindControl(kMaxButton);
  CControlUI* pRestoreButton = m_PaintManager.FindControl(kRestoreButton);
  if (pMaxButton == nullptr || pRestoreButton == nullptr) return;
  pMaxButton->SetVisible(bWasZoomed);
  pRestoreButton->SetVisible(!bWasZoomed);
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam) {
  return wParam == VK_ESCAPE ? 1 : 0;
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/,
                                       bool& /*bHandled*/) {
  // The answer is offered but the key is never consumed: Return and
  // Escape keep their normal processing and close nothing.
  if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
    return ResponseDefaultKeyEvent(wParam);
  }
  return 0;
}

// The handlers below leave their messages to the paint manager.

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& bHandled) {
  bHandled = false;
  return 0;
}

}  // namespace SkinUI
