#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

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
      m_pRoot(nullptr),
      m_bLayered(false),
      m_pParentResourcePM(nullptr),
      m_dwDefaultDisabledColor(kDisabledColor),
      m_dwDefaultFontColor(kFontColor),
      m_dwDefaultLinkFontColor(kLinkFontColor),
      m_dwDefaultLinkHoverFontColor(kLinkHoverFontColor),
      m_dwDefaultSelectedBkColor(kSelectedBkColor) {
  CreateDefaultFont();
}

CPaintManagerUI::~CPaintManagerUI() {
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

void CPaintManagerUI::SetUseLayeredWindow(bool bLayered) { m_bLayered = bLayered; }

bool CPaintManagerUI::IsLayeredWindow() const { return m_bLayered; }

void CPaintManagerUI::InvalidateRoot() {
  // The root always spans the client area, so repainting the tree is
  // repainting the window's whole client area.
  if (m_pRoot != nullptr && m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

}  // namespace SkinUI
