#include "toolkit/core/PaintManagerUI.h"

#include <commctrl.h>

#include "toolkit/controls/ControlUI.h"

namespace SkinUI {
namespace {

// The first Win32 timer id a manager issues is one past this, modulo the
// id range (see NextTimerId).
constexpr UINT kFirstTimerCounter = 0x1000;

// What the first paint manager of the process sets up for all of them:
// the common controls (tooltips) and the blending library, kept loaded
// for the life of the process.
void InitProcessOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  static CModuleHandle blending(::LoadLibraryW(L"msimg32.dll"));
}

// Default colours, 0xAARRGGBB.
constexpr DWORD kDisabledColor = 0xFFA7A6AA;
// Not plain black: a font colour of 0 would read as "not set".
constexpr DWORD kFontColor = 0xFF000001;
constexpr DWORD kLinkFontColor = 0xFF0000FF;
constexpr DWORD kLinkHoverFontColor = 0xFFD3215F;
constexpr DWORD kSelectedBkColor = 0xFFBAE4FF;

}  // namespace

CPaintManagerUI::CPaintManagerUI()
    : m_hWndPaint(nullptr),
      m_nOpacity(255),
      m_pOffscreenBits(nullptr),
      m_bLayered(false),
      m_rcLayeredUpdate(),
      m_bLayingOut(false),
      m_rcInvalidated(),
      m_rcLayeredInset(),
      m_bLayeredChanged(false),
      m_bUseGdiplusText(false),
      m_rcCaret(),
      m_bCaretActive(false),
      m_bCaretShowing(false),
      m_currentCaretObject(nullptr),
      m_hwndTooltip(nullptr),
      m_ToolTip(),
      m_pRoot(nullptr),
      m_pFocus(nullptr),
      m_pEventHover(nullptr),
      m_pEventClick(nullptr),
      m_pEventKey(nullptr),
      m_ptLastMousePos{-1, -1},
      m_szMinWindow(),
      m_szMaxWindow(),
      m_szInitWindowSize(),
      m_rcSizeBox(),
      m_szRoundCorner(),
      m_rcCaption(),
      m_uTimerID(kFirstTimerCounter),
      m_bFirstLayout(true),
      m_bUpdateNeeded(false),
      m_bFocusNeeded(false),
      m_bMouseTracking(false),
      m_bMouseCapture(false),
      m_bUsedVirtualWnd(false),
      m_pParentResourcePM(nullptr),
      m_dwDefaultDisabledColor(kDisabledColor),
      m_dwDefaultFontColor(kFontColor),
      m_dwDefaultLinkFontColor(kLinkFontColor),
      m_dwDefaultLinkHoverFontColor(kLinkHoverFontColor),
      m_dwDefaultSelectedBkColor(kSelectedBkColor) {
  CreateDefaultFont();
  InitProcessOnce();
}

CPaintManagerUI::~CPaintManagerUI() {
  // The controls go first: their destructors reap themselves from the
  // tables below.
  RunDelayedCleanup();
  for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
    delete static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
  }
  m_aAsyncNotify.Empty();
  m_mNameHash.RemoveAll();
  CControlUI* root = m_pRoot;
  m_pRoot = nullptr;
  delete root;
  RemoveAllTimers();
  if (m_hwndTooltip != nullptr) ::DestroyWindow(m_hwndTooltip);
  m_hwndTooltip = nullptr;
  DiscardOffscreen();
  RemoveAllFonts();
  if (m_DefaultFontInfo.hFont != nullptr) ::DeleteObject(m_DefaultFontInfo.hFont);
  RemoveAllImages();
  RemoveAllDefaultAttributeList();
  RemoveAllOptionGroups();
  m_dcPaint.Reset();
  int index = m_aPreMessages.Find(this);
  if (index >= 0) m_aPreMessages.Remove(index);
}

void CPaintManagerUI::Init(HWND hWnd) {
  m_hWndPaint = hWnd;
  m_dcPaint = CWindowDc(hWnd);
  if (m_aPreMessages.Find(this) < 0) m_aPreMessages.Add(this);
}

HWND CPaintManagerUI::GetPaintWindow() const { return m_hWndPaint; }

HDC CPaintManagerUI::GetPaintDC() const { return m_dcPaint.Get(); }

CControlUI* CPaintManagerUI::GetRoot() const { return m_pRoot; }

HWND CPaintManagerUI::GetTooltipWindow() const { return m_hwndTooltip; }

POINT CPaintManagerUI::GetMousePos() const { return m_ptLastMousePos; }

SIZE CPaintManagerUI::GetClientSize() const {
  RECT client = {};
  if (m_hWndPaint != nullptr) ::GetClientRect(m_hWndPaint, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

void CPaintManagerUI::InvalidateRoot() {
  // Through the root, so that a layered window records the area too.
  if (m_pRoot != nullptr) m_pRoot->Invalidate();
}

}  // namespace SkinUI
