// The paint manager's fonts: the default font and the custom fonts skins
// declare, addressed by position or by description.

#include <algorithm>
#include <cwchar>
#include <new>

#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

// The stock GUI font's description, which every skin font starts from.
LOGFONTW StockFontDescription() {
  LOGFONTW lf = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
  lf.lfCharSet = DEFAULT_CHARSET;
  return lf;
}

// Face names longer than the description holds are cut so that the name
// stays terminated.
void SetFaceName(LOGFONTW& lf, LPCWSTR name) {
  if (name == nullptr) name = L"";
  std::wcsncpy(lf.lfFaceName, name, LF_FACESIZE - 1);
  lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
}

bool SameFont(const TFontInfo* info, LPCWSTR name, int size, bool bold, bool underline,
              bool italic) {
  return info->sFontName == name && info->iSize == size && info->bBold == bold &&
         info->bUnderline == underline && info->bItalic == italic;
}

}  // namespace

HFONT CPaintManagerUI::CreateSkinFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                      bool bItalic, bool bClearType) {
  LOGFONTW lf = StockFontDescription();
  SetFaceName(lf, pStrFontName);
  lf.lfHeight = -nSize;
  // Bold adds the bold weight to the stock weight; the result is kept
  // inside the range a font description allows.
  if (bBold) lf.lfWeight = std::min<LONG>(lf.lfWeight + FW_BOLD, 1000);
  if (bUnderline) lf.lfUnderline = TRUE;
  if (bItalic) lf.lfItalic = TRUE;
  if (bClearType) lf.lfQuality = CLEARTYPE_QUALITY;
  return ::CreateFontIndirectW(&lf);
}

void CPaintManagerUI::MeasureFont(TFontInfo* pFontInfo, HDC hDC) {
  if (pFontInfo == nullptr || hDC == nullptr || pFontInfo->tm.tmHeight != 0) return;
  if (pFontInfo->hFont == nullptr) return;
  CSelectObject select(hDC, pFontInfo->hFont);
  ::GetTextMetricsW(hDC, &pFontInfo->tm);
}

void CPaintManagerUI::CreateDefaultFont() {
  LOGFONTW lf = StockFontDescription();
  if (!m_pStrDefaultFontName.IsEmpty()) SetFaceName(lf, m_pStrDefaultFontName);
  m_DefaultFontInfo.hFont = ::CreateFontIndirectW(&lf);
  m_DefaultFontInfo.sFontName = lf.lfFaceName;
  m_DefaultFontInfo.iSize = -lf.lfHeight;
  m_DefaultFontInfo.bBold = lf.lfWeight >= FW_BOLD;
  m_DefaultFontInfo.bUnderline = lf.lfUnderline != FALSE;
  m_DefaultFontInfo.bItalic = lf.lfItalic != FALSE;
  m_DefaultFontInfo.tm = TEXTMETRICW{};
}

const CPaintManagerUI* CPaintManagerUI::GetTopResource() const {
  const CPaintManagerUI* top = this;
  while (top->m_pParentResourcePM != nullptr) top = top->m_pParentResourcePM;
  return top;
}

CPaintManagerUI* CPaintManagerUI::GetTopResource() {
  CPaintManagerUI* top = this;
  while (top->m_pParentResourcePM != nullptr) top = top->m_pParentResourcePM;
  return top;
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo() {
  CPaintManagerUI* top = GetTopResource();
  MeasureFont(&top->m_DefaultFontInfo, top->GetPaintDC());
  return &top->m_DefaultFontInfo;
}

void CPaintManagerUI::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic) {
  HFONT font = CreateSkinFont(pStrFontName, nSize, bBold, bUnderline, bItalic, false);
  if (font == nullptr) return;
  if (m_DefaultFontInfo.hFont != nullptr) ::DeleteObject(m_DefaultFontInfo.hFont);
  m_DefaultFontInfo.hFont = font;
  m_DefaultFontInfo.sFontName = pStrFontName;
  m_DefaultFontInfo.iSize = nSize;
  m_DefaultFontInfo.bBold = bBold;
  m_DefaultFontInfo.bUnderline = bUnderline;
  m_DefaultFontInfo.bItalic = bItalic;
  m_DefaultFontInfo.tm = TEXTMETRICW{};
  MeasureFont(&m_DefaultFontInfo, GetPaintDC());
}

DWORD CPaintManagerUI::GetCustomFontCount() const {
  return static_cast<DWORD>(m_aCustomFonts.GetSize());
}

TFontInfo* CPaintManagerUI::NewFontInfo(LPCWSTR pStrFontName, int nSize, bool bBold,
                                        bool bUnderline, bool bItalic) {
  HFONT font = CreateSkinFont(pStrFontName, nSize, bBold, bUnderline, bItalic, true);
  if (font == nullptr) return nullptr;
  auto* info = new (std::nothrow) TFontInfo;
  if (info == nullptr) {
    ::DeleteObject(font);
    return nullptr;
  }
  info->hFont = font;
  info->sFontName = pStrFontName;
  info->iSize = nSize;
  info->bBold = bBold;
  info->bUnderline = bUnderline;
  info->bItalic = bItalic;
  MeasureFont(info, GetPaintDC());
  return info;
}

HFONT CPaintManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                               bool bItalic) {
  return AddFontAt(m_aCustomFonts.GetSize(), pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold,
                                 bool bUnderline, bool bItalic) {
  if (index < 0 || index > m_aCustomFonts.GetSize()) return nullptr;
  TFontInfo* info = NewFontInfo(pStrFontName, nSize, bBold, bUnderline, bItalic);
  if (info == nullptr) return nullptr;
  if (!m_aCustomFonts.InsertAt(index, info)) {
    ::DeleteObject(info->hFont);
    delete info;
    return nullptr;
  }
  return info->hFont;
}

HFONT CPaintManagerUI::GetFont(int index) { return GetFontInfo(index)->hFont; }

int CPaintManagerUI::FindOwnFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic) const {
  for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
    auto* info = static_cast<const TFontInfo*>(m_aCustomFonts[i]);
    if (SameFont(info, pStrFontName, nSize, bBold, bUnderline, bItalic)) return i;
  }
  return -1;
}

int CPaintManagerUI::FindOwnFont(HFONT hFont) const {
  if (hFont == nullptr) return -1;
  for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
    if (static_cast<const TFontInfo*>(m_aCustomFonts[i])->hFont == hFont) return i;
  }
  return -1;
}

HFONT CPaintManagerUI::GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                               bool bItalic) {
  for (CPaintManagerUI* manager = this; manager != nullptr;
       manager = manager->m_pParentResourcePM) {
    int index = manager->FindOwnFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (index >= 0) return static_cast<TFontInfo*>(manager->m_aCustomFonts[index])->hFont;
  }
  return nullptr;
}

bool CPaintManagerUI::FindFont(HFONT hFont) {
  for (CPaintManagerUI* manager = this; manager != nullptr;
       manager = manager->m_pParentResourcePM) {
    if (manager->FindOwnFont(hFont) >= 0) return true;
  }
  return false;
}

bool CPaintManagerUI::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                               bool bItalic) {
  return GetFont(pStrFontName, nSize, bBold, bUnderline, bItalic) != nullptr;
}

int CPaintManagerUI::GetFontIndex(HFONT hFont) { return FindOwnFont(hFont); }

int CPaintManagerUI::GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                  bool bItalic) {
  return FindOwnFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
}

bool CPaintManagerUI::RemoveFont(HFONT hFont) { return RemoveFontAt(FindOwnFont(hFont)); }

bool CPaintManagerUI::RemoveFontAt(int index) {
  auto* info = static_cast<TFontInfo*>(m_aCustomFonts.GetAt(index));
  if (info == nullptr) return false;
  ::DeleteObject(info->hFont);
  delete info;
  return m_aCustomFonts.Remove(index);
}

void CPaintManagerUI::RemoveAllFonts() {
  for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
    auto* info = static_cast<TFontInfo*>(m_aCustomFonts[i]);
    ::DeleteObject(info->hFont);
    delete info;
  }
  m_aCustomFonts.Empty();
}

TFontInfo* CPaintManagerUI::GetFontInfo(int index) {
  auto* info = static_cast<TFontInfo*>(m_aCustomFonts.GetAt(index));
  if (info == nullptr) return GetDefaultFontInfo();
  MeasureFont(info, GetPaintDC());
  return info;
}

TFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont) {
  for (CPaintManagerUI* manager = this; manager != nullptr;
       manager = manager->m_pParentResourcePM) {
    int index = manager->FindOwnFont(hFont);
    if (index < 0) continue;
    auto* info = static_cast<TFontInfo*>(manager->m_aCustomFonts[index]);
    // Measured with this manager's DC, or the holder's when this one has
    // no window yet.
    MeasureFont(info, GetPaintDC() != nullptr ? GetPaintDC() : manager->GetPaintDC());
    return info;
  }
  return GetDefaultFontInfo();
}

}  // namespace SkinUI
