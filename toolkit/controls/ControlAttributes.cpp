// The skin attributes of the control base and the setters they reach.

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/ControlUI.h"

namespace SkinUI {
namespace {

using Row = TAttributeRow<CControlUI>;

// Sets an image slot only when its text changes, so that an unchanged
// attribute keeps its loaded image.
void SetImageIfChanged(CControlUI& c, LPCWSTR value, LPCWSTR (CControlUI::*get)() const,
                       void (CControlUI::*set)(LPCWSTR)) {
  if (std::wcscmp((c.*get)(), value) != 0) (c.*set)(value);
}

const Row kControlAttributes[] = {
    {L"bkimage",
     [](CControlUI& c, LPCWSTR v) {
       SetImageIfChanged(c, v, &CControlUI::GetBkImage, &CControlUI::SetBkImage);
     }},
    {L"normalimage", [](CControlUI& c, LPCWSTR v) { c.SetNormalImage(v); }},
    {L"hotimage", [](CControlUI& c, LPCWSTR v) { c.SetHotImage(v); }},
    {L"pushedimage", [](CControlUI& c, LPCWSTR v) { c.SetPushedImage(v); }},
    {L"focusedimage", [](CControlUI& c, LPCWSTR v) { c.SetFocusedImage(v); }},
    {L"disabledimage", [](CControlUI& c, LPCWSTR v) { c.SetDisabledImage(v); }},
    {L"foreimage", [](CControlUI& c, LPCWSTR v) { c.SetForeImage(v); }},
    {L"pos",
     [](CControlUI& c, LPCWSTR v) {
       // A negative left or top anchors the control to the right or
       // bottom edge of its parent instead.
       RECT rc = ParseRect(v);
       c.SetFixedXY(SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
       c.SetFixedWidth(rc.right - rc.left);
       c.SetFixedHeight(rc.bottom - rc.top);
     }},
    {L"relativepos",
     [](CControlUI& c, LPCWSTR v) {
       RECT rc = ParseRect(v);
       c.SetRelativePos(SIZE{rc.left, rc.top}, SIZE{rc.right, rc.bottom});
     }},
    {L"padding", [](CControlUI& c, LPCWSTR v) { c.SetPadding(ParseRect(v)); }},
    {L"bkcolor", [](CControlUI& c, LPCWSTR v) { c.SetBkColor(ParseColor(v, true)); }},
    {L"bkcolor1", [](CControlUI& c, LPCWSTR v) { c.SetBkColor(ParseColor(v, true)); }},
    {L"bkcolor2", [](CControlUI& c, LPCWSTR v) { c.SetBkColor2(ParseColor(v, true)); }},
    {L"bkcolor3", [](CControlUI& c, LPCWSTR v) { c.SetBkColor3(ParseColor(v, true)); }},
    {L"bordercolor", [](CControlUI& c, LPCWSTR v) { c.SetBorderColor(ParseColor(v)); }},
    {L"focusbordercolor", [](CControlUI& c, LPCWSTR v) { c.SetFocusBorderColor(ParseColor(v)); }},
    {L"colorhsl", [](CControlUI& c, LPCWSTR v) { c.SetColorHSL(ParseBool(v)); }},
    {L"bordersize",
     [](CControlUI& c, LPCWSTR v) {
       if (std::wcschr(v, L',') == nullptr) {
         c.SetBorderSize(ParseInt(v));
         c.SetBorderSize(RECT{0, 0, 0, 0});
       } else {
         c.SetBorderSize(ParseRect(v));
       }
     }},
    {L"leftbordersize", [](CControlUI& c, LPCWSTR v) { c.SetLeftBorderSize(ParseInt(v)); }},
    {L"topbordersize", [](CControlUI& c, LPCWSTR v) { c.SetTopBorderSize(ParseInt(v)); }},
    {L"rightbordersize", [](CControlUI& c, LPCWSTR v) { c.SetRightBorderSize(ParseInt(v)); }},
    {L"bottombordersize", [](CControlUI& c, LPCWSTR v) { c.SetBottomBorderSize(ParseInt(v)); }},
    {L"borderstyle", [](CControlUI& c, LPCWSTR v) { c.SetBorderStyle(ParseInt(v)); }},
    {L"borderround", [](CControlUI& c, LPCWSTR v) { c.SetBorderRound(ParseSize(v)); }},
    {L"width", [](CControlUI& c, LPCWSTR v) { c.SetFixedWidth(ParseInt(v)); }},
    {L"height", [](CControlUI& c, LPCWSTR v) { c.SetFixedHeight(ParseInt(v)); }},
    {L"minwidth", [](CControlUI& c, LPCWSTR v) { c.SetMinWidth(ParseInt(v)); }},
    {L"minheight", [](CControlUI& c, LPCWSTR v) { c.SetMinHeight(ParseInt(v)); }},
    {L"maxwidth", [](CControlUI& c, LPCWSTR v) { c.SetMaxWidth(ParseInt(v)); }},
    {L"maxheight", [](CControlUI& c, LPCWSTR v) { c.SetMaxHeight(ParseInt(v)); }},
    {L"name", [](CControlUI& c, LPCWSTR v) { c.SetName(v); }},
    {L"text", [](CControlUI& c, LPCWSTR v) { c.SetText(v); }},
    {L"tooltip", [](CControlUI& c, LPCWSTR v) { c.SetToolTip(v); }},
    {L"userdata", [](CControlUI& c, LPCWSTR v) { c.SetUserData(v); }},
    {L"enabled", [](CControlUI& c, LPCWSTR v) { c.SetEnabled(ParseBool(v)); }},
    {L"mouse", [](CControlUI& c, LPCWSTR v) { c.SetMouseEnabled(ParseBool(v)); }},
    {L"keyboard", [](CControlUI& c, LPCWSTR v) { c.SetKeyboardEnabled(ParseBool(v)); }},
    {L"visible", [](CControlUI& c, LPCWSTR v) { c.SetVisible(ParseBool(v)); }},
    {L"float", [](CControlUI& c, LPCWSTR v) { c.SetFloat(ParseBool(v)); }},
    {L"menu", [](CControlUI& c, LPCWSTR v) { c.SetContextMenuUsed(ParseBool(v)); }},
    {L"shortcut", [](CControlUI& c, LPCWSTR v) { c.SetShortcut(v[0]); }},
    {L"virtualwnd", [](CControlUI& c, LPCWSTR v) { c.SetVirtualWnd(v); }},
};

}  // namespace

void CControlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  ApplyAttributeRow(kControlAttributes, *this, pstrName, pstrValue);
}

void CControlUI::ApplyAttributeList(LPCWSTR pstrList) {
  if (pstrList == nullptr) return;
  const wchar_t* p = pstrList;
  while (*p != L'\0') {
    const wchar_t* nameStart = p;
    while (*p != L'\0' && *p != L'=') ++p;
    if (*p != L'=') return;
    CSkinString name(nameStart, static_cast<int>(p - nameStart));
    ++p;
    if (*p != L'"') return;
    ++p;
    const wchar_t* valueStart = p;
    while (*p != L'\0' && *p != L'"') ++p;
    if (*p != L'"') return;
    CSkinString value(valueStart, static_cast<int>(p - valueStart));
    ++p;
    SetAttribute(name, value);
    if (*p != L' ') return;
    ++p;
  }
}

// --- Colours -------------------------------------------------------------

DWORD CControlUI::GetBkColor() const { return m_dwBackColor; }

void CControlUI::SetBkColor(DWORD dwBackColor) {
  if (m_dwBackColor == dwBackColor) return;
  m_dwBackColor = dwBackColor;
  Invalidate();
}

DWORD CControlUI::GetBkColor2() const { return m_dwBackColor2; }

void CControlUI::SetBkColor2(DWORD dwBackColor) {
  if (m_dwBackColor2 == dwBackColor) return;
  m_dwBackColor2 = dwBackColor;
  Invalidate();
}

DWORD CControlUI::GetBkColor3() const { return m_dwBackColor3; }

void CControlUI::SetBkColor3(DWORD dwBackColor) {
  if (m_dwBackColor3 == dwBackColor) return;
  m_dwBackColor3 = dwBackColor;
  Invalidate();
}

// --- Images ----------------------------------------------------------------

LPCWSTR CControlUI::GetBkImage() const { return m_diBk.GetAttributeString(); }

void CControlUI::SetBkImage(LPCWSTR pStrImage) {
  if (m_diBk.GetAttributeString() == pStrImage) return;
  m_diBk.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR CControlUI::GetNormalImage() const { return m_diNormal.GetAttributeString(); }

void CControlUI::SetNormalImage(LPCWSTR pStrImage) {
  m_diNormal.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR CControlUI::GetHotImage() const { return m_diHot.GetAttributeString(); }

void CControlUI::SetHotImage(LPCWSTR pStrImage) {
  m_diHot.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR CControlUI::GetPushedImage() const { return m_diPushed.GetAttributeString(); }

void CControlUI::SetPushedImage(LPCWSTR pStrImage) {
  m_diPushed.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR CControlUI::GetFocusedImage() const { return m_diFocused.GetAttributeString(); }

void CControlUI::SetFocusedImage(LPCWSTR pStrImage) {
  m_diFocused.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR CControlUI::GetDisabledImage() const { return m_diDisabled.GetAttributeString(); }

void CControlUI::SetDisabledImage(LPCWSTR pStrImage) {
  m_diDisabled.SetAttributeString(pStrImage);
  Invalidate();
}

LPCWSTR CControlUI::GetForeImage() const { return m_diFore.GetAttributeString(); }

void CControlUI::SetForeImage(LPCWSTR pStrImage) {
  m_diFore.SetAttributeString(pStrImage);
  Invalidate();
}

// --- Borders -----------------------------------------------------------------

DWORD CControlUI::GetBorderColor() const { return m_dwBorderColor; }

void CControlUI::SetBorderColor(DWORD dwBorderColor) {
  if (m_dwBorderColor == dwBorderColor) return;
  m_dwBorderColor = dwBorderColor;
  Invalidate();
}

DWORD CControlUI::GetFocusBorderColor() const { return m_dwFocusBorderColor; }

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor) {
  if (m_dwFocusBorderColor == dwBorderColor) return;
  m_dwFocusBorderColor = dwBorderColor;
  Invalidate();
}

bool CControlUI::IsColorHSL() const { return m_bColorHSL; }

void CControlUI::SetColorHSL(bool bColorHSL) {
  if (m_bColorHSL == bColorHSL) return;
  m_bColorHSL = bColorHSL;
  Invalidate();
}

int CControlUI::GetBorderSize() const { return m_nBorderSize; }

void CControlUI::SetBorderSize(int nSize) {
  if (m_nBorderSize == nSize) return;
  m_nBorderSize = nSize;
  Invalidate();
}

void CControlUI::SetBorderSize(RECT rc) {
  m_rcBorderSize = rc;
  Invalidate();
}

RECT CControlUI::GetBorderSizeRect() const { return m_rcBorderSize; }

int CControlUI::GetLeftBorderSize() const { return m_rcBorderSize.left; }

void CControlUI::SetLeftBorderSize(int nSize) {
  m_rcBorderSize.left = nSize;
  Invalidate();
}

int CControlUI::GetTopBorderSize() const { return m_rcBorderSize.top; }

void CControlUI::SetTopBorderSize(int nSize) {
  m_rcBorderSize.top = nSize;
  Invalidate();
}

int CControlUI::GetRightBorderSize() const { return m_rcBorderSize.right; }

void CControlUI::SetRightBorderSize(int nSize) {
  m_rcBorderSize.right = nSize;
  Invalidate();
}

int CControlUI::GetBottomBorderSize() const { return m_rcBorderSize.bottom; }

void CControlUI::SetBottomBorderSize(int nSize) {
  m_rcBorderSize.bottom = nSize;
  Invalidate();
}

int CControlUI::GetBorderStyle() const { return m_nBorderStyle; }

void CControlUI::SetBorderStyle(int nStyle) {
  m_nBorderStyle = nStyle;
  Invalidate();
}

SIZE CControlUI::GetBorderRound() const { return m_cxyBorderRound; }

void CControlUI::SetBorderRound(SIZE cxyRound) {
  m_cxyBorderRound = cxyRound;
  Invalidate();
}

}  // namespace SkinUI
