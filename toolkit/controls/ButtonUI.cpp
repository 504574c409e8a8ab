#include "toolkit/controls/ButtonUI.h"

#include <cwchar>

#include "toolkit/controls/TabLayoutUI.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// Without a fixed height a button is as tall as its font plus this margin.
constexpr int kButtonHeightMargin = 8;

}  // namespace

CButtonUI::CButtonUI()
    : m_uButtonState(0),
      m_dwHotBkColor(0),
      m_dwHotTextColor(0),
      m_dwPushedTextColor(0),
      m_dwFocusedTextColor(0),
      m_iBindTabIndex(-1) {
  m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

LPCWSTR CButtonUI::GetClass() const { return L"ButtonUI"; }

LPVOID CButtonUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"Button") == 0) {
    return static_cast<CButtonUI*>(this);
  }
  return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const {
  UINT flags = 0;
  if (IsEnabled()) flags |= ControlFlagSetCursor;
  if (IsKeyboardEnabled()) flags |= ControlFlagTabStop;
  return flags;
}

UINT CButtonUI::GetButtonState() const { return m_uButtonState; }

bool CButtonUI::Activate() {
  if (!CLabelUI::Activate()) return false;
  if (m_pManager != nullptr) {
    m_pManager->SendNotify(this, L"click");
    BindTriggerTabSel(-1);
  }
  return true;
}

void CButtonUI::SetEnabled(bool bEnable) {
  CLabelUI::SetEnabled(bEnable);
  if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) {
      m_pParent->DoEvent(event);
    } else {
      CLabelUI::DoEvent(event);
    }
    return;
  }
  const bool inside = ::PtInRect(&m_rcItem, event.ptMouse) != FALSE;
  switch (event.Type) {
    case EventSetFocus:
    case EventKillFocus:
      Invalidate();
      break;
    case EventKeyDown:
      if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
        Activate();
        return;
      }
      break;
    case EventButtonDown:
    case EventDblClick:
      if (inside && IsEnabled()) {
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
      }
      if (event.Type == EventDblClick && m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"dbclick");
      }
      return;
    case EventMouseMove:
      if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
        if (inside) {
          m_uButtonState |= UISTATE_PUSHED;
        } else {
          m_uButtonState &= ~UISTATE_PUSHED;
        }
        Invalidate();
        return;
      }
      break;
    case EventButtonUp:
      if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
        // The state is settled before the click goes out: whoever hears it
        // may hide, disable or delete the button.
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        if (inside) Activate();
        return;
      }
      break;
    case EventContextMenu:
      if (IsContextMenuUsed() && m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
      }
      return;
    case EventMouseEnter:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        if (m_pManager != nullptr) {
          m_pManager->SendNotify(this, L"mouseenter", event.wParam, event.lParam);
        }
      }
      break;
    case EventMouseLeave:
      if (IsEnabled()) {
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        if (m_pManager != nullptr) {
          m_pManager->SendNotify(this, L"mouseleave", event.wParam, event.lParam);
        }
      }
      break;
    case EventSetCursor:
      // A button without the hand still sets a cursor of its own, so that
      // it does not keep the one of the control the mouse came from.
      ::SetCursor(::LoadCursorW(nullptr, m_bIsHandCursor ? IDC_HAND : IDC_ARROW));
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

SIZE CButtonUI::EstimateSize(SIZE /*szAvailable*/) {
  if (m_cxyFixed.cy != 0) return m_cxyFixed;
  return SIZE{m_cxyFixed.cx, FontHeight() + kButtonHeightMargin};
}

// --- The bound tab page ------------------------------------------------------

void CButtonUI::BindTabIndex(int iIndex) {
  if (iIndex >= 0) m_iBindTabIndex = iIndex;
}

void CButtonUI::BindTabLayoutName(LPCWSTR pstrName) { m_sBindTabLayoutName = pstrName; }

void CButtonUI::BindTriggerTabSel(int iIndex) {
  if (m_sBindTabLayoutName.IsEmpty() || m_pManager == nullptr) return;
  if (m_iBindTabIndex < 0 && iIndex < 0) return;
  CControlUI* control = m_pManager->FindControl(m_sBindTabLayoutName);
  if (control == nullptr) return;
  auto* tab = static_cast<CTabLayoutUI*>(control->GetInterface(L"TabLayout"));
  if (tab == nullptr) return;
  tab->SelectItem(iIndex < 0 ? m_iBindTabIndex : iIndex);
}

void CButtonUI::RemoveBindTabIndex() {
  m_iBindTabIndex = -1;
  m_sBindTabLayoutName.Empty();
}

int CButtonUI::GetBindTabLayoutIndex() const { return m_iBindTabIndex; }

CSkinString CButtonUI::GetBindTabLayoutName() const { return m_sBindTabLayoutName; }

}  // namespace SkinUI
