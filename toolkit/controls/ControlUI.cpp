#include "toolkit/controls/ControlUI.h"

#include <cwchar>

#include "toolkit/controls/SkinGeometry.h"
#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

constexpr int kDefaultMaxSize = 9999;
constexpr int kDefaultTooltipWidth = 300;

}  // namespace

CControlUI::CControlUI()
    : m_pManager(nullptr),
      m_pParent(nullptr),
      m_bUpdateNeeded(true),
      m_bMenuUsed(false),
      m_rcItem(),
      m_rcPadding(),
      m_cXY(),
      m_cxyFixed(),
      m_cxyMin(),
      m_cxyMax{kDefaultMaxSize, kDefaultMaxSize},
      m_bVisible(true),
      m_bInternVisible(true),
      m_bEnabled(true),
      m_bMouseEnabled(true),
      m_bKeyboardEnabled(true),
      m_bFocused(false),
      m_bFloat(false),
      m_bSetPos(false),
      m_bIsHandCursor(true),
      m_tRelativePos(),
      m_chShortcut(L'\0'),
      m_pTag(0),
      m_dwBackColor(0),
      m_dwBackColor2(0),
      m_dwBackColor3(0),
      m_dwBorderColor(0),
      m_dwFocusBorderColor(0),
      m_bColorHSL(false),
      m_nBorderSize(0),
      m_nBorderStyle(PS_SOLID),
      m_nTooltipWidth(kDefaultTooltipWidth),
      m_cxyBorderRound(),
      m_rcPaint(),
      m_rcBorderSize() {}

CControlUI::~CControlUI() {
  OnDestroy(this);
  if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

CSkinString CControlUI::GetName() const { return m_sName; }

void CControlUI::SetName(LPCWSTR pstrName) { m_sName = pstrName; }

LPCWSTR CControlUI::GetClass() const { return L"ControlUI"; }

LPVOID CControlUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && std::wcscmp(pstrName, L"Control") == 0) return this;
  return nullptr;
}

UINT CControlUI::GetControlFlags() const { return 0; }

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

CPaintManagerUI* CControlUI::GetManager() const { return m_pManager; }

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  m_pManager = pManager;
  m_pParent = pParent;
  if (bInit && m_pParent != nullptr) Init();
}

CControlUI* CControlUI::GetParent() const { return m_pParent; }

CSkinString CControlUI::GetText() const { return m_sText; }

void CControlUI::SetText(LPCWSTR pstrText) {
  if (m_sText == pstrText) return;
  m_sText = pstrText;
  Invalidate();
}

// --- Position and size -------------------------------------------------

const RECT& CControlUI::GetPos() const { return m_rcItem; }

void CControlUI::SetPos(RECT rc) {
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;

  CSkinRect invalidate = ::IsRectEmpty(&m_rcItem) ? rc : m_rcItem;
  m_rcItem = rc;
  if (m_pManager == nullptr) return;

  if (!m_bSetPos) {
    m_bSetPos = true;
    OnSize(this);
    m_bSetPos = false;
  }

  if (m_bFloat && m_pParent != nullptr) {
    // The placement is derived again from where the control now is,
    // keeping the edge it is anchored to.
    const RECT& parent = m_pParent->GetPos();
    m_cXY.cx = m_cXY.cx >= 0 ? m_rcItem.left - parent.left : m_rcItem.right - parent.right;
    m_cXY.cy = m_cXY.cy >= 0 ? m_rcItem.top - parent.top : m_rcItem.bottom - parent.bottom;
    m_cxyFixed.cx = m_rcItem.right - m_rcItem.left;
    m_cxyFixed.cy = m_rcItem.bottom - m_rcItem.top;
  }

  m_bUpdateNeeded = false;
  invalidate.Join(m_rcItem);

  for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
    RECT clipped;
    if (!::IntersectRect(&clipped, &invalidate, &parent->GetPos())) return;
    invalidate = clipped;
  }
  m_pManager->Invalidate(invalidate);
  m_pManager->SendNotify(this, L"PosChanged", 0, 0, false);
}

int CControlUI::GetWidth() const { return m_rcItem.right - m_rcItem.left; }

int CControlUI::GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }

int CControlUI::GetX() const { return m_rcItem.left; }

int CControlUI::GetY() const { return m_rcItem.top; }

RECT CControlUI::GetPadding() const { return m_rcPadding; }

void CControlUI::SetPadding(RECT rcPadding) {
  m_rcPadding = rcPadding;
  NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const { return m_cXY; }

void CControlUI::SetFixedXY(SIZE szXY) {
  m_cXY = szXY;
  if (m_bFloat) {
    NeedUpdate();
  } else {
    NeedParentUpdate();
  }
}

int CControlUI::GetFixedWidth() const { return m_cxyFixed.cx; }

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_cxyFixed.cx = cx;
  if (m_bFloat) {
    NeedUpdate();
  } else {
    NeedParentUpdate();
  }
}

int CControlUI::GetFixedHeight() const { return m_cxyFixed.cy; }

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_cxyFixed.cy = cy;
  if (m_bFloat) {
    NeedUpdate();
  } else {
    NeedParentUpdate();
  }
}

int CControlUI::GetMinWidth() const { return m_cxyMin.cx; }

void CControlUI::SetMinWidth(int cx) {
  if (cx < 0 || m_cxyMin.cx == cx) return;
  m_cxyMin.cx = cx;
  if (m_bFloat) {
    NeedUpdate();
  } else {
    NeedParentUpdate();
  }
}

int CControlUI::GetMaxWidth() const { return m_cxyMax.cx; }

void CControlUI::SetMaxWidth(int cx) {
  if (cx < 0 || m_cxyMax.cx == cx) return;
  m_cxyMax.cx = cx;
  if (m_bFloat) {
    NeedUpdate();
  } else {
    NeedParentUpdate();
  }
}

int CControlUI::GetMinHeight() const { return m_cxyMin.cy; }

void CControlUI::SetMinHeight(int cy) {
  if (cy < 0 || m_cxyMin.cy == cy) return;
  m_cxyMin.cy = cy;
  if (m_bFloat) {
    NeedUpdate();
  } else {
    NeedParentUpdate();
  }
}

int CControlUI::GetMaxHeight() const { return m_cxyMax.cy; }

void CControlUI::SetMaxHeight(int cy) {
  if (cy < 0 || m_cxyMax.cy == cy) return;
  m_cxyMax.cy = cy;
  if (m_bFloat) {
    NeedUpdate();
  } else {
    NeedParentUpdate();
  }
}

void CControlUI::SetRelativePos(SIZE szMove, SIZE szZoom) {
  m_tRelativePos.bRelative = true;
  m_tRelativePos.nMoveXPercent = szMove.cx;
  m_tRelativePos.nMoveYPercent = szMove.cy;
  m_tRelativePos.nZoomXPercent = szZoom.cx;
  m_tRelativePos.nZoomYPercent = szZoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE sz) { m_tRelativePos.szParent = sz; }

TRelativePosUI CControlUI::GetRelativePos() const { return m_tRelativePos; }

bool CControlUI::IsRelativePos() const { return m_tRelativePos.bRelative; }

// --- Tooltip, shortcut, menu and data -----------------------------------

CSkinString CControlUI::GetToolTip() const { return m_sToolTip; }

void CControlUI::SetToolTip(LPCWSTR pstrText) {
  // Skin files cannot hold line breaks inside an attribute; "<n>" stands
  // for one.
  CSkinString text(pstrText);
  text.Replace(L"<n>", L"\r\n");
  m_sToolTip = text;
}

void CControlUI::SetToolTipWidth(int nWidth) { m_nTooltipWidth = nWidth; }

int CControlUI::GetToolTipWidth() const { return m_nTooltipWidth; }

wchar_t CControlUI::GetShortcut() const { return m_chShortcut; }

void CControlUI::SetShortcut(wchar_t ch) { m_chShortcut = ch; }

bool CControlUI::IsContextMenuUsed() const { return m_bMenuUsed; }

void CControlUI::SetContextMenuUsed(bool bMenuUsed) { m_bMenuUsed = bMenuUsed; }

const CSkinString& CControlUI::GetUserData() const { return m_sUserData; }

void CControlUI::SetUserData(LPCWSTR pstrText) { m_sUserData = pstrText; }

UINT_PTR CControlUI::GetTag() const { return m_pTag; }

void CControlUI::SetTag(UINT_PTR pTag) { m_pTag = pTag; }

// --- State -----------------------------------------------------------------

bool CControlUI::IsVisible() const { return m_bVisible && m_bInternVisible; }

void CControlUI::SetVisible(bool bVisible) {
  if (m_bVisible == bVisible) return;
  const bool wasVisible = IsVisible();
  m_bVisible = bVisible;
  m_bFocused = false;
  if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
    m_pManager->SetFocus(nullptr);
  }
  if (IsVisible() != wasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool bVisible) {
  m_bInternVisible = bVisible;
  if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
    m_pManager->SetFocus(nullptr);
  }
}

bool CControlUI::IsEnabled() const { return m_bEnabled; }

void CControlUI::SetEnabled(bool bEnable) {
  if (m_bEnabled == bEnable) return;
  m_bEnabled = bEnable;
  Invalidate();
}

bool CControlUI::IsMouseEnabled() const { return m_bMouseEnabled; }

void CControlUI::SetMouseEnabled(bool bEnable) { m_bMouseEnabled = bEnable; }

bool CControlUI::IsKeyboardEnabled() const { return m_bKeyboardEnabled; }

void CControlUI::SetKeyboardEnabled(bool bEnable) { m_bKeyboardEnabled = bEnable; }

bool CControlUI::IsFocused() const { return m_bFocused; }

void CControlUI::SetFocus() {
  if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const { return m_bFloat; }

void CControlUI::SetFloat(bool bFloat) {
  if (m_bFloat == bFloat) return;
  m_bFloat = bFloat;
  NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
  if ((uFlags & FindVisible) != 0 && !IsVisible()) return nullptr;
  if ((uFlags & FindEnabled) != 0 && !IsEnabled()) return nullptr;
  if ((uFlags & FindHitTest) != 0 &&
      (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))) {
    return nullptr;
  }
  return Proc(this, pData);
}

void CControlUI::Init() {
  DoInit();
  OnInit(this);
}

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event) {
  if (OnEvent(&event)) DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case EventSetCursor:
      ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      return;
    case EventSetFocus:
      m_bFocused = true;
      Invalidate();
      return;
    case EventKillFocus:
      m_bFocused = false;
      Invalidate();
      return;
    case EventTimer:
      if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
      }
      return;
    case EventContextMenu:
      if (IsContextMenuUsed()) {
        if (m_pManager != nullptr) {
          m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        }
        return;
      }
      break;
    default:
      break;
  }
  if (m_pParent != nullptr) m_pParent->DoEvent(event);
}

SIZE CControlUI::EstimateSize(SIZE /*szAvailable*/) { return m_cxyFixed; }

void CControlUI::DoPostPaint(HDC /*hDC*/, const RECT& /*rcPaint*/) {}

// --- Invalidation ------------------------------------------------------------

bool CControlUI::IsUpdateNeeded() const { return m_bUpdateNeeded; }

void CControlUI::NeedUpdate() {
  if (!IsVisible()) return;
  m_bUpdateNeeded = true;
  Invalidate();
  if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (m_pParent != nullptr) {
    m_pParent->NeedUpdate();
    m_pParent->Invalidate();
  } else {
    NeedUpdate();
  }
  if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::Invalidate() {
  if (!IsVisible() || m_pManager == nullptr) return;
  // Only what every ancestor shows of the control needs repainting.
  RECT invalidate = m_rcItem;
  for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
    RECT clipped;
    if (!::IntersectRect(&clipped, &invalidate, &parent->GetPos())) return;
    invalidate = clipped;
  }
  m_pManager->Invalidate(invalidate);
}

void CControlUI::SetVirtualWnd(LPCWSTR pstrValue) {
  m_sVirtualWnd = pstrValue;
  if (m_pManager != nullptr) m_pManager->UsedVirtualWnd(true);
}

CSkinString CControlUI::GetVirtualWnd() const {
  if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
  if (m_pParent != nullptr) return m_pParent->GetVirtualWnd();
  return CSkinString();
}

}  // namespace SkinUI
