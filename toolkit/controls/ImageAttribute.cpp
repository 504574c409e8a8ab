#include "toolkit/controls/ImageAttribute.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
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

bool IsZero(const RECT& rect) {
  return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

}  // namespace

CImageAttribute::CImageAttribute() = default;

CImageAttribute::CImageAttribute(const CImageAttribute& source)
    : m_fields(source.m_fields ? std::make_unique<TFields>(*source.m_fields) : nullptr) {}

CImageAttribute& CImageAttribute::operator=(const CImageAttribute& source) {
  if (this == &source) return *this;
  if (!source.m_fields) {
    m_fields.reset();
  } else if (m_fields) {
    *m_fields = *source.m_fields;
  } else {
    m_fields = std::make_unique<TFields>(*source.m_fields);
  }
  return *this;
}

CImageAttribute::~CImageAttribute() = default;

const CImageAttribute::TFields& CImageAttribute::Fields() const {
  static const TFields kEmpty;
  return m_fields ? *m_fields : kEmpty;
}

CImageAttribute::TFields& CImageAttribute::Edit() {
  if (!m_fields) m_fields = std::make_unique<TFields>();
  return *m_fields;
}

// Every field back to its default is an empty slot again.
void CImageAttribute::Reset() { m_fields.reset(); }

const CSkinString& CImageAttribute::GetAttributeString() const { return Fields().sImageAttribute; }

void CImageAttribute::SetAttributeString(LPCWSTR pStrImageAttri) {
  if (Fields().sImageAttribute == pStrImageAttri) return;
  Reset();
  if (pStrImageAttri == nullptr || *pStrImageAttri == L'\0') return;
  TFields& fields = Edit();
  fields.sImageAttribute = pStrImageAttri;
  fields.sImageName = pStrImageAttri;
  Parse(pStrImageAttri);
}

void CImageAttribute::ModifyAttribute(LPCWSTR pStrModify) {
  if (pStrModify == nullptr || *pStrModify == L'\0') return;
  TFields& fields = Edit();
  const CSkinString name = fields.sImageName;
  const CSkinString type = fields.sResType;
  const DWORD mask = fields.dwMask;
  Parse(pStrModify);
  if (fields.sImageName != name || fields.sResType != type || fields.dwMask != mask) {
    // Another image is meant now: the loaded one must not be drawn for it.
    fields.pImageInfo = nullptr;
    fields.bLoadSuccess = true;
  } else if (fields.pImageInfo != nullptr) {
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
  TFields& fields = Edit();
  for (const auto& entry : kImageKeys) {
    if (key != entry.key) continue;
    switch (entry.field) {
      case Field::Name:
        fields.sImageName = value;
        break;
      case Field::ResType:
        fields.sResType = value;
        break;
      // Four numbers separated by one character of any kind, each kept
      // within the bound of every skin number, so that the drawing
      // arithmetic on them cannot overflow.
      case Field::Dest:
        fields.rcDest = ParseRect(value);
        break;
      case Field::Source:
        fields.rcSource = ParseRect(value);
        break;
      case Field::Corner:
        fields.rcCorner = ParseRect(value);
        break;
      case Field::Mask: {
        const wchar_t* digits = value.GetData();
        if (*digits == L'#') ++digits;
        fields.dwMask = static_cast<DWORD>(std::wcstoul(digits, nullptr, 16));
        break;
      }
      // Only the low eight bits of the number are kept.
      case Field::Fade:
        fields.bFade = static_cast<BYTE>(std::wcstol(value, nullptr, 10));
        break;
      case Field::Hole:
        fields.bHole = value == L"true";
        break;
      case Field::TiledX:
        fields.bTiledX = value == L"true";
        break;
      case Field::TiledY:
        fields.bTiledY = value == L"true";
        break;
    }
    return;
  }
}

bool CImageAttribute::LoadImageW(CPaintManagerUI* pManager) {
  const TFields& current = Fields();
  if (current.pImageInfo != nullptr) return true;
  if (!current.bLoadSuccess) return false;
  if (pManager == nullptr) return false;
  const TImageInfo* image = pManager->GetImageEx(
      current.sImageName, current.sResType.IsEmpty() ? nullptr : current.sResType.GetData(),
      current.dwMask);
  TFields& fields = Edit();
  fields.pImageInfo = image;
  if (image == nullptr) {
    fields.bLoadSuccess = false;
    return false;
  }
  FitSourceToImage();
  return true;
}

void CImageAttribute::FitSourceToImage() {
  TFields& fields = Edit();
  const TImageInfo& image = *fields.pImageInfo;
  RECT& source = fields.rcSource;
  if (IsZero(source)) source = RECT{0, 0, image.nX, image.nY};
  if (source.right > image.nX) source.right = image.nX;
  if (source.bottom > image.nY) source.bottom = image.nY;
}

bool CImageAttribute::IsLoadSuccess() const {
  return !Fields().sImageAttribute.IsEmpty() && Fields().bLoadSuccess;
}

void CImageAttribute::SetDest(const RECT& rcDest) { Edit().rcDest = rcDest; }

const RECT& CImageAttribute::GetDest() const { return Fields().rcDest; }

const TImageInfo* CImageAttribute::GetImageInfo() const { return Fields().pImageInfo; }

const CSkinString& CImageAttribute::GetImageName() const { return Fields().sImageName; }

const CSkinString& CImageAttribute::GetResType() const { return Fields().sResType; }

const RECT& CImageAttribute::GetSource() const { return Fields().rcSource; }

const RECT& CImageAttribute::GetCorner() const { return Fields().rcCorner; }

BYTE CImageAttribute::GetFade() const { return Fields().bFade; }

DWORD CImageAttribute::GetMask() const { return Fields().dwMask; }

bool CImageAttribute::IsHole() const { return Fields().bHole; }

bool CImageAttribute::IsTiledX() const { return Fields().bTiledX; }

bool CImageAttribute::IsTiledY() const { return Fields().bTiledY; }

}  // namespace SkinUI
