#include "toolkit/controls/ImageAttribute.h"

#include <cwchar>

#include "toolkit/core/PaintManagerUI.h"

namespace SkinUI {
namespace {

enum class Field { Name, ResType, Dest, Source, Corner, Mask, Fade, Hole, TiledX, TiledY };

// The keys of an image description.
constexpr struct {
  const wchar_t* key;
  Field field;
} kImageKeys[] = {
    {L"file", Field::Name},     {L"res", Field::Name},      {L"restype", Field::ResType},
    {L"dest", Field::Dest},     {L"source", Field::Source}, {L"corner", Field::Corner},
    {L"mask", Field::Mask},     {L"fade", Field::Fade},     {L"hole", Field::Hole},
    {L"xtiled", Field::TiledX}, {L"ytiled", Field::TiledY},
};

bool IsSpace(wchar_t ch) { return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n'; }

// Four decimal numbers, each separated from the next by one character of
// any kind; the numbers missing at the end are 0.
RECT ParseRect(const wchar_t* text) {
  LONG values[4] = {};
  const wchar_t* p = text;
  for (LONG& value : values) {
    if (*p == L'\0') break;
    wchar_t* end = nullptr;
    value = std::wcstol(p, &end, 10);
    p = end;
    if (*p != L'\0') ++p;
  }
  return RECT{values[0], values[1], values[2], values[3]};
}

bool IsZero(const RECT& rect) {
  return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

}  // namespace

CImageAttribute::CImageAttribute() { Reset(); }

CImageAttribute::CImageAttribute(const CImageAttribute& source) = default;

CImageAttribute& CImageAttribute::operator=(const CImageAttribute& source) = default;

CImageAttribute::~CImageAttribute() = default;

void CImageAttribute::Reset() {
  m_sImageAttribute.Empty();
  m_sImageName.Empty();
  m_sResType.Empty();
  m_pImageInfo = nullptr;
  m_bLoadSuccess = true;
  m_rcDest = RECT{};
  m_rcSource = RECT{};
  m_rcCorner = RECT{};
  m_bFade = 255;
  m_dwMask = 0;
  m_bHole = false;
  m_bTiledX = false;
  m_bTiledY = false;
}

const CSkinString& CImageAttribute::GetAttributeString() const { return m_sImageAttribute; }

void CImageAttribute::SetAttributeString(LPCWSTR pStrImageAttri) {
  if (m_sImageAttribute == pStrImageAttri) return;
  Reset();
  m_sImageAttribute = pStrImageAttri;
  m_sImageName = pStrImageAttri;
  Parse(pStrImageAttri);
}

void CImageAttribute::ModifyAttribute(LPCWSTR pStrModify) {
  const CSkinString name = m_sImageName;
  const CSkinString type = m_sResType;
  const DWORD mask = m_dwMask;
  Parse(pStrModify);
  if (m_sImageName != name || m_sResType != type || m_dwMask != mask) {
    // Another image is meant now: the loaded one must not be drawn for it.
    m_pImageInfo = nullptr;
    m_bLoadSuccess = true;
  } else if (m_pImageInfo != nullptr) {
    FitSourceToImage();
  }
}

void CImageAttribute::Parse(LPCWSTR pStrText) {
  // key='value' pairs, each followed by exactly one space when another
  // pair follows.  Whatever breaks the pattern ends the parse there, which
  // is how a bare image name passes through untouched.
  const wchar_t* p = pStrText;
  if (p == nullptr) return;
  while (IsSpace(*p)) ++p;
  for (;;) {
    const wchar_t* key = p;
    while (*p != L'\0' && *p != L'=' && !IsSpace(*p)) ++p;
    const CSkinString keyText(key, static_cast<int>(p - key));
    while (IsSpace(*p)) ++p;
    if (*p != L'=') return;
    ++p;
    while (IsSpace(*p)) ++p;
    if (*p != L'\'') return;
    ++p;
    const wchar_t* value = p;
    while (*p != L'\0' && *p != L'\'') ++p;
    if (*p != L'\'') return;
    const CSkinString valueText(value, static_cast<int>(p - value));
    ++p;
    if (!valueText.IsEmpty()) ApplyPair(keyText, valueText);
    if (*p != L' ') return;
    ++p;
  }
}

void CImageAttribute::ApplyPair(const CSkinString& key, const CSkinString& value) {
  for (const auto& entry : kImageKeys) {
    if (key != entry.key) continue;
    switch (entry.field) {
      case Field::Name:
        m_sImageName = value;
        break;
      case Field::ResType:
        m_sResType = value;
        break;
      case Field::Dest:
        m_rcDest = ParseRect(value);
        break;
      case Field::Source:
        m_rcSource = ParseRect(value);
        break;
      case Field::Corner:
        m_rcCorner = ParseRect(value);
        break;
      case Field::Mask: {
        const wchar_t* digits = value.GetData();
        if (*digits == L'#') ++digits;
        m_dwMask = static_cast<DWORD>(std::wcstoul(digits, nullptr, 16));
        break;
      }
      // Only the low eight bits of the number are kept.
      case Field::Fade:
        m_bFade = static_cast<BYTE>(std::wcstol(value, nullptr, 10));
        break;
      case Field::Hole:
        m_bHole = value == L"true";
        break;
      case Field::TiledX:
        m_bTiledX = value == L"true";
        break;
      case Field::TiledY:
        m_bTiledY = value == L"true";
        break;
    }
    return;
  }
}

bool CImageAttribute::LoadImageW(CPaintManagerUI* pManager) {
  if (m_pImageInfo != nullptr) return true;
  if (!m_bLoadSuccess) return false;
  if (pManager == nullptr) return false;
  m_pImageInfo = pManager->GetImageEx(
      m_sImageName, m_sResType.IsEmpty() ? nullptr : m_sResType.GetData(), m_dwMask);
  if (m_pImageInfo == nullptr) {
    m_bLoadSuccess = false;
    return false;
  }
  FitSourceToImage();
  return true;
}

void CImageAttribute::FitSourceToImage() {
  if (IsZero(m_rcSource)) m_rcSource = RECT{0, 0, m_pImageInfo->nX, m_pImageInfo->nY};
  if (m_rcSource.right > m_pImageInfo->nX) m_rcSource.right = m_pImageInfo->nX;
  if (m_rcSource.bottom > m_pImageInfo->nY) m_rcSource.bottom = m_pImageInfo->nY;
}

bool CImageAttribute::IsLoadSuccess() const {
  return !m_sImageAttribute.IsEmpty() && m_bLoadSuccess;
}

void CImageAttribute::SetDest(const RECT& rcDest) { m_rcDest = rcDest; }

const RECT& CImageAttribute::GetDest() const { return m_rcDest; }

const TImageInfo* CImageAttribute::GetImageInfo() const { return m_pImageInfo; }

const CSkinString& CImageAttribute::GetImageName() const { return m_sImageName; }

const CSkinString& CImageAttribute::GetResType() const { return m_sResType; }

const RECT& CImageAttribute::GetSource() const { return m_rcSource; }

const RECT& CImageAttribute::GetCorner() const { return m_rcCorner; }

BYTE CImageAttribute::GetFade() const { return m_bFade; }

DWORD CImageAttribute::GetMask() const { return m_dwMask; }

bool CImageAttribute::IsHole() const { return m_bHole; }

bool CImageAttribute::IsTiledX() const { return m_bTiledX; }

bool CImageAttribute::IsTiledY() const { return m_bTiledY; }

}  // namespace SkinUI
