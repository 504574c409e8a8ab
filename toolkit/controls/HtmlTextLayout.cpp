#include "toolkit/controls/HtmlTextLayout.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "toolkit/controls/ImageAttribute.h"
#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"
#include "util/UniqueHandle.h"

namespace SkinUI {
namespace {

// Numbers in tags are kept within what a skin could mean, so that no
// parameter can push a coordinate out of range.
constexpr long kMaxParam = 0x7FFF;
// Font sizes beyond this would ask GDI for glyph bitmaps of gigabytes.
constexpr long kMaxFontSize = 400;
// The pen stays within this distance of the origin however far tags move
// it: a long text of line heights or moves cannot overflow it.
constexpr int64_t kMaxCoordinate = 1 << 28;

int Clamp(long value, long low, long high) {
  return static_cast<int>(std::min(std::max(value, low), high));
}

int Move(int coordinate, int distance) {
  const int64_t moved = static_cast<int64_t>(coordinate) + distance;
  return static_cast<int>(std::min(std::max(moved, -kMaxCoordinate), kMaxCoordinate));
}

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

const wchar_t* SkipBlanks(const wchar_t* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// A decimal parameter; 0 when there is none.
int DecimalParam(const wchar_t* text) {
  return Clamp(std::wcstol(text, nullptr, 10), -kMaxParam, kMaxParam);
}

// Word breaks fall after any character that is not an ASCII letter.
bool IsAsciiLetter(wchar_t ch) { return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z'); }

COLORREF GdiColor(DWORD color) {
  return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

}  // namespace

CHtmlTextLayout::CHtmlTextLayout(HDC hDC, CPaintManagerUI* pManager, const RECT& rc,
                                 DWORD dwTextColor, UINT uStyle, RECT* pLinks, CSkinString* sLinks,
                                 int linkCapacity, const CSkinString* pHoverLink)
    : m_hDC(hDC),
      m_pManager(pManager),
      m_rc(rc),
      m_dwTextColor(dwTextColor),
      m_uStyle(uStyle),
      m_bDraw((uStyle & DT_CALCRECT) == 0),
      m_bSingleLine((uStyle & DT_SINGLELINE) != 0),
      m_pLinks(pLinks),
      m_sLinks(sLinks),
      m_linkCapacity(pLinks != nullptr && sLinks != nullptr ? std::max(linkCapacity, 0) : 0),
      m_bHover(pHoverLink != nullptr),
      m_defaultFont(MakeEntry(pManager->GetDefaultFontInfo())) {
  if (pHoverLink != nullptr) m_sHoverLink = *pHoverLink;
}

void CHtmlTextLayout::Run(const wchar_t* pstrText) {
  m_state = TState();
  m_fonts.clear();
  m_colors.clear();
  m_spacings.clear();
  m_state.p = pstrText;
  m_state.pt = POINT{m_rc.left, m_rc.top};
  m_state.lineHeight = FontLineHeight();
  m_state.imageBottom = m_rc.top;
  m_state.lastLineBottom = m_rc.top;
  m_state.maxX = m_rc.left;
  ::SetBkMode(m_hDC, TRANSPARENT);
  ::SetBkColor(m_hDC, GdiColor(m_pManager->GetDefaultSelectedBkColor()));
  ApplyToDc();

  for (;;) {
    if (*m_state.p == L'\0') break;
    LineEnd end;
    if (m_bDraw) {
      // Measure the line, then draw it again from its start with the height
      // it turned out to need.
      const TState start = m_state;
      const size_t fonts = m_fonts.size();
      const size_t colors = m_colors.size();
      const size_t spacings = m_spacings.size();
      m_pass = Pass::kMeasure;
      LayLine();
      const int height = m_state.lineHeight;
      // The nodes the measuring pushed belong to no state from before it.
      m_state = start;
      m_fonts.resize(fonts);
      m_colors.resize(colors);
      m_spacings.resize(spacings);
      m_state.lineHeight = height;
      ApplyToDc();
      m_pass = Pass::kDraw;
      end = LayLine();
    } else {
      m_pass = Pass::kMeasure;
      end = LayLine();
    }
    FinishLine();
    if (end == LineEnd::kEndOfText || m_bSingleLine) break;
    StartNextLine();
    if (m_bDraw && m_state.pt.y >= m_rc.bottom) break;
  }
  DropEmptyLinePiece();
}

int CHtmlTextLayout::GetBottom() const {
  return std::max(m_state.lastLineBottom, m_state.imageBottom);
}

CHtmlTextLayout::LineEnd CHtmlTextLayout::LayLine() {
  for (;;) {
    const THtmlToken token = m_scanner.Next(m_state.p, m_state.raw);
    bool ends = false;
    switch (token.kind) {
      case THtmlToken::kEnd:
        return LineEnd::kEndOfText;
      case THtmlToken::kLineFeed:
        ++m_state.p;
        return LineEnd::kBreak;
      case THtmlToken::kText:
      case THtmlToken::kSpace:
      case THtmlToken::kEscape:
        ends = PlaceRun(token);
        break;
      case THtmlToken::kOpenTag:
        ends = OpenTag(token);
        break;
      case THtmlToken::kCloseTag:
        ends = CloseTag(token);
        break;
    }
    if (ends || m_state.pt.x >= m_rc.right) {
      // A line feed right behind a line end of another kind is part of it.
      if (*m_state.p == L'\n') ++m_state.p;
      return LineEnd::kBreak;
    }
  }
}

void CHtmlTextLayout::FinishLine() {
  const int bottom = Move(m_state.pt.y, m_state.lineHeight);
  if (m_state.openLink >= 0) {
    m_pLinks[m_state.openLink].right = std::min<LONG>(m_state.pt.x, m_rc.right);
  }
  for (int i = m_state.lineFirstLink; i < m_state.linkCount; ++i) m_pLinks[i].bottom = bottom;
  m_state.lastLineBottom = bottom;
}

void CHtmlTextLayout::StartNextLine() {
  m_state.pt.x = m_rc.left;
  m_state.pt.y = Move(m_state.pt.y, m_state.lineHeight);
  m_state.lineHeight = FontLineHeight();
  m_state.lineFirstLink = m_state.linkCount;
  if (m_state.linkDepth > 0 && m_state.openLink >= 0) {
    // The open link goes on as a new link of its own on this line.
    if (m_state.linkCount < m_linkCapacity) {
      const int slot = m_state.linkCount++;
      m_sLinks[slot] = m_sLinks[m_state.openLink];
      m_pLinks[slot] = RECT{m_rc.left, m_state.pt.y, m_rc.left, m_state.pt.y};
      m_state.openLink = slot;
    } else {
      m_state.openLink = -1;
    }
  }
}

void CHtmlTextLayout::DropEmptyLinePiece() {
  // A piece of an open link that was started for a line that never came
  // (the text ended, or the box did) covers nothing.
  if (m_state.openLink >= 0 && m_state.openLink >= m_state.lineFirstLink &&
      m_state.openLink == m_state.linkCount - 1 && m_state.pt.x == m_rc.left &&
      m_pLinks[m_state.openLink].bottom == m_pLinks[m_state.openLink].top) {
    --m_state.linkCount;
    m_state.openLink = -1;
  }
}

bool CHtmlTextLayout::PlaceRun(const THtmlToken& token) {
  const bool escape = token.kind == THtmlToken::kEscape;
  const wchar_t* text = escape ? &token.character : m_state.p;
  const int length = escape ? 1 : token.length;
  const TFontEntry& font = CurrentFont();
  const int available = m_rc.right - m_state.pt.x;

  int width = 0;
  const int measured = MeasurePrefix(text, length, available, width);
  int count = length;
  int consumed = length;
  bool overflow = false;
  bool ellipsis = false;
  if (measured < length || width > available) {
    overflow = true;
    INT fit = 0;
    SIZE size = {};
    if (available > 0)
      ::GetTextExtentExPointW(m_hDC, text, measured, available, &fit, nullptr, &size);
    count = std::clamp(static_cast<int>(fit), 0, measured);
    // A run that starts the line keeps at least its first character, or
    // a character wider than the box would start every following line.
    if (count == 0 && m_state.pt.x == m_rc.left) count = 1;
    if ((m_uStyle & DT_WORDBREAK) != 0) {
      for (int i = count; i > 0; --i) {
        if (!IsAsciiLetter(text[i - 1])) {
          count = i;
          break;
        }
      }
    }
    consumed = count;
    if ((m_uStyle & DT_END_ELLIPSIS) != 0 && count > 0) {
      // The ellipsis stands for the characters it replaces: they do not
      // come again on the next line.
      count -= count >= 2 ? 2 : 1;
      ellipsis = true;
    }
    width = TextWidth(text, count);
  }

  if (Drawing()) {
    int x = m_state.pt.x;
    if (!m_bSingleLine) {
      const int boxWidth = m_rc.right - m_rc.left;
      if ((m_uStyle & DT_CENTER) != 0) {
        x += (boxWidth - width) / 2;
      } else if ((m_uStyle & DT_RIGHT) != 0) {
        x += boxWidth - width;
      }
    }
    const int y = m_state.pt.y + m_state.lineHeight - font.tm.tmHeight - font.tm.tmExternalLeading;
    ::SetBkMode(m_hDC, m_state.selected ? OPAQUE : TRANSPARENT);
    if (count > 0) ::TextOutW(m_hDC, x, y, text, count);
    if (ellipsis) ::TextOutW(m_hDC, x + width, m_state.pt.y, L"...", 3);
  }
  m_state.pt.x = ellipsis ? m_rc.right : Move(m_state.pt.x, width);
  m_state.maxX = std::max<int>(m_state.maxX, m_state.pt.x);
  if (escape) {
    if (consumed > 0) m_state.p += token.length;
  } else {
    m_state.p += consumed;
  }
  return overflow;
}

bool CHtmlTextLayout::OpenTag(const THtmlToken& token) {
  const CSkinString param(token.param, token.paramLength);
  // Two tags may end the line before they take effect; they then come
  // again at the start of the next line.
  if (token.tag == HtmlTag::Image) return PlaceImage(token, param);
  if (token.tag == HtmlTag::Paragraph && m_state.pt.x != m_rc.left) return true;

  m_state.p += token.length;
  switch (token.tag) {
    case HtmlTag::Link:
      OpenLink(param);
      break;
    case HtmlTag::Bold:
    case HtmlTag::Italic:
    case HtmlTag::Underline:
      PushVariant(token.tag);
      break;
    case HtmlTag::Color: {
      const wchar_t* digits = SkipBlanks(param);
      if (*digits == L'#') ++digits;
      PushColor(static_cast<DWORD>(std::wcstoul(digits, nullptr, 16)));
      break;
    }
    case HtmlTag::Font:
      PushNamedFont(param);
      break;
    case HtmlTag::NewLine:
      return !m_bSingleLine;
    case HtmlTag::Paragraph:
      m_spacings.push_back(TNode<int>{DecimalParam(param), m_state.spacing});
      m_state.spacing = static_cast<int>(m_spacings.size()) - 1;
      GrowLine(FontLineHeight());
      break;
    case HtmlTag::Raw:
      m_state.raw = true;
      break;
    case HtmlTag::Selected:
      m_state.selected = !m_state.selected;
      break;
    case HtmlTag::MoveX:
      m_state.pt.x = Move(m_state.pt.x, DecimalParam(param));
      m_state.maxX = std::max<int>(m_state.maxX, m_state.pt.x);
      break;
    case HtmlTag::LineHeight:
      if (!Drawing()) m_state.lineHeight = std::max(DecimalParam(param), 0);
      break;
    case HtmlTag::Image:
      break;
  }
  return false;
}

bool CHtmlTextLayout::CloseTag(const THtmlToken& token) {
  m_state.p += token.length;
  switch (token.tag) {
    case HtmlTag::Link:
      if (m_state.linkDepth == 0) break;
      --m_state.linkDepth;
      PopColor();
      PopFont();
      if (m_state.openLink >= 0) m_pLinks[m_state.openLink].right = m_state.pt.x;
      m_state.openLink = -1;
      break;
    case HtmlTag::Bold:
    case HtmlTag::Italic:
    case HtmlTag::Underline:
    case HtmlTag::Font:
      PopFont();
      break;
    case HtmlTag::Color:
      PopColor();
      break;
    case HtmlTag::Paragraph:
      if (m_state.spacing != kEmpty) m_state.spacing = m_spacings[m_state.spacing].below;
      return m_state.pt.x != m_rc.left;
    case HtmlTag::Raw:
      m_state.raw = false;
      break;
    case HtmlTag::Selected:
      m_state.selected = !m_state.selected;
      break;
    case HtmlTag::Image:
    case HtmlTag::NewLine:
    case HtmlTag::MoveX:
    case HtmlTag::LineHeight:
      break;
  }
  return false;
}

bool CHtmlTextLayout::PlaceImage(const THtmlToken& token, const CSkinString& param) {
  // The image is a name, or an image description whose "file" or "res"
  // and "restype" pairs name it; frame count and frame index follow.
  CSkinString name;
  CSkinString type;
  const wchar_t* numbers = nullptr;
  if (param.Find(L"file='") >= 0 || param.Find(L"res='") >= 0) {
    CImageAttribute attribute;
    attribute.SetAttributeString(param);
    name = attribute.GetImageName();
    type = attribute.GetResType();
    numbers = param.GetData() + param.ReverseFind(L'\'') + 1;
  } else {
    const wchar_t* start = SkipBlanks(param);
    const wchar_t* end = start;
    while (*end != L'\0' && !IsBlank(*end)) ++end;
    name.Assign(start, static_cast<int>(end - start));
    numbers = end;
  }
  wchar_t* after = nullptr;
  int frames = Clamp(std::wcstol(numbers, &after, 10), 1, kMaxParam);
  if (after == numbers) frames = 1;
  int frame = DecimalParam(after);
  if (frame < 0 || frame >= frames) frame = 0;

  const TImageInfo* image =
      name.IsEmpty() ? nullptr
                     : m_pManager->GetImageEx(name, type.IsEmpty() ? nullptr : type.GetData());
  if (image == nullptr) {
    // An image that cannot be had takes no room.
    m_state.p += token.length;
    return false;
  }
  const int width = image->nX / frames;
  const int height = image->nY;
  if (m_state.pt.x + width > m_rc.right && m_state.pt.x != m_rc.left && !m_bSingleLine) {
    return true;
  }
  m_state.p += token.length;
  GrowLine(height);
  RECT place;
  place.left = m_state.pt.x;
  place.right = Move(m_state.pt.x, width);
  place.top = m_state.pt.y + m_state.lineHeight - height;
  // Lower than the line: centred in it.
  if (height < m_state.lineHeight) place.top -= (m_state.lineHeight - height) / 2;
  place.bottom = place.top + height;
  m_state.imageBottom = std::max<int>(m_state.imageBottom, place.bottom);
  if (Drawing() && width > 0 && height > 0) {
    const RECT part = {frame * width, 0, frame * width + width, height};
    const RECT corners = {};
    CRenderEngine::DrawImage(m_hDC, image->hBitmap, place, place, part, corners,
                             image->alphaChannel || m_pManager->IsLayeredWindow());
  }
  m_state.pt.x = place.right;
  m_state.maxX = std::max<int>(m_state.maxX, m_state.pt.x);
  return false;
}

void CHtmlTextLayout::OpenLink(const CSkinString& target) {
  if (m_state.openLink >= 0) m_pLinks[m_state.openLink].right = m_state.pt.x;
  ++m_state.linkDepth;
  const bool hovered = m_bHover && m_sHoverLink == target;
  m_colors.push_back(TNode<DWORD>{
      hovered ? m_pManager->GetDefaultLinkHoverFontColor() : m_pManager->GetDefaultLinkFontColor(),
      m_state.color});
  m_state.color = static_cast<int>(m_colors.size()) - 1;
  PushVariant(HtmlTag::Underline);
  if (m_state.linkCount < m_linkCapacity) {
    const int slot = m_state.linkCount++;
    m_sLinks[slot] = target;
    m_pLinks[slot] = RECT{m_state.pt.x, m_state.pt.y, m_state.pt.x, m_state.pt.y};
    m_state.openLink = slot;
  } else {
    m_state.openLink = -1;
  }
}

CHtmlTextLayout::TFontEntry CHtmlTextLayout::MakeEntry(TFontInfo* info) const {
  TFontEntry entry = {info, info->tm};
  // A manager without a window has not measured its fonts yet; they are
  // measured here on the target instead.
  if (entry.tm.tmHeight == 0 && info->hFont != nullptr) {
    CSelectObject selected(m_hDC, info->hFont);
    ::GetTextMetricsW(m_hDC, &entry.tm);
  }
  return entry;
}

const CHtmlTextLayout::TFontEntry& CHtmlTextLayout::CurrentFont() const {
  return m_state.font == kEmpty ? m_defaultFont : m_fonts[m_state.font].value;
}

DWORD CHtmlTextLayout::CurrentColor() const {
  return m_state.color == kEmpty ? m_dwTextColor : m_colors[m_state.color].value;
}

int CHtmlTextLayout::CurrentSpacing() const {
  return m_state.spacing == kEmpty ? 0 : m_spacings[m_state.spacing].value;
}

int CHtmlTextLayout::FontLineHeight() const {
  // A negative spacing may tighten lines, but no line goes upwards.
  const TFontEntry& font = CurrentFont();
  return std::max<int>(font.tm.tmHeight + font.tm.tmExternalLeading + CurrentSpacing(), 0);
}

void CHtmlTextLayout::PushFont(TFontInfo* info) {
  m_fonts.push_back(TNode<TFontEntry>{MakeEntry(info), m_state.font});
  m_state.font = static_cast<int>(m_fonts.size()) - 1;
  ApplyToDc();
  GrowLine(FontLineHeight());
}

void CHtmlTextLayout::PushColor(DWORD color) {
  m_colors.push_back(TNode<DWORD>{color, m_state.color});
  m_state.color = static_cast<int>(m_colors.size()) - 1;
  ApplyToDc();
}

void CHtmlTextLayout::PopColor() {
  if (m_state.color == kEmpty) return;
  m_state.color = m_colors[m_state.color].below;
  ApplyToDc();
}

void CHtmlTextLayout::PushVariant(HtmlTag style) {
  const TFontInfo* current = CurrentFont().info;
  bool bold = current->bBold;
  bool underline = current->bUnderline;
  bool italic = current->bItalic;
  bool& wanted = style == HtmlTag::Bold ? bold : style == HtmlTag::Italic ? italic : underline;
  // A style already in effect pushes the same font again, so that the
  // closing tag still finds its own entry and the stack stays balanced.
  if (wanted) {
    PushFont(CurrentFont().info);
    return;
  }
  wanted = true;
  const CSkinString face = current->sFontName;
  const int size = current->iSize;
  HFONT font = FindOrAddFont(face, size, bold, underline, italic);
  // Without the font, GetFontInfo gives the default font.
  PushFont(m_pManager->GetFontInfo(font));
}

void CHtmlTextLayout::PushNamedFont(const CSkinString& param) {
  const wchar_t* text = SkipBlanks(param);
  if (*text >= L'0' && *text <= L'9') {
    PushFont(m_pManager->GetFontInfo(DecimalParam(text)));
    return;
  }
  const wchar_t* end = text;
  while (*end != L'\0' && *end != L' ') ++end;
  const CSkinString face(text, static_cast<int>(end - text));
  wchar_t* after = nullptr;
  const long number = std::wcstol(end, &after, 10);
  const int size = after == end ? 10 : Clamp(number, -kMaxFontSize, kMaxFontSize);
  CSkinString styles(end);
  styles.MakeLower();
  const bool bold = styles.Find(L"bold") >= 0;
  const bool underline = styles.Find(L"underline") >= 0;
  const bool italic = styles.Find(L"italic") >= 0;
  HFONT font = FindOrAddFont(face, size, bold, underline, italic);
  PushFont(m_pManager->GetFontInfo(font));
}

HFONT CHtmlTextLayout::FindOrAddFont(const CSkinString& face, int size, bool bold, bool underline,
                                     bool italic) {
  HFONT font = m_pManager->GetFont(face, size, bold, underline, italic);
  if (font != nullptr) return font;
  // A font made for a text stays with the window for good.  Texts naming
  // thousands of faces, sizes and styles would use up the process's GDI
  // objects and make every later lookup slow, so markup makes fonts only
  // while the window holds fewer than a skin could want; spans beyond that
  // are in the default font.
  if (m_pManager->GetCustomFontCount() >= kMaxWindowFonts) return nullptr;
  return m_pManager->AddFont(face, size, bold, underline, italic);
}

void CHtmlTextLayout::PopFont() {
  if (m_state.font == kEmpty) return;
  const bool wasItalic = CurrentFont().info->bItalic;
  // Italic glyphs lean into the space behind them; half a space's trailing
  // width keeps upright text that follows from touching them.
  ABC abc = {};
  const bool measured = wasItalic && ::GetCharABCWidthsW(m_hDC, L' ', L' ', &abc);
  m_state.font = m_fonts[m_state.font].below;
  ApplyToDc();
  if (measured && !CurrentFont().info->bItalic) {
    m_state.pt.x = Move(m_state.pt.x, static_cast<int>(abc.abcC / 2));
  }
}

void CHtmlTextLayout::ApplyToDc() const {
  if (CurrentFont().info->hFont != nullptr) ::SelectObject(m_hDC, CurrentFont().info->hFont);
  ::SetTextColor(m_hDC, GdiColor(CurrentColor()));
}

void CHtmlTextLayout::GrowLine(int height) {
  if (!Drawing()) m_state.lineHeight = std::max(m_state.lineHeight, height);
}

int CHtmlTextLayout::MeasurePrefix(const wchar_t* text, int length, int available,
                                   int& width) const {
  // A run may be the rest of a long text.  Measuring all of it for every
  // line it fills would make the layout quadratic in its length, so only
  // what the average character width says may fit is measured first, and
  // the measured part doubles until it no longer fits or the run ends: the
  // work stays within a small multiple of what the line takes.
  const int average = std::max<int>(CurrentFont().tm.tmAveCharWidth, 1);
  const int guess = available > 0 ? available / average + 2 : 1;
  int count = std::min(length, guess);
  for (;;) {
    width = TextWidth(text, count);
    if (width > available || count == length) return count;
    count = length - count > count ? count * 2 : length;
  }
}

int CHtmlTextLayout::TextWidth(const wchar_t* text, int length) const {
  if (length <= 0) return 0;
  SIZE size = {};
  if (!::GetTextExtentPoint32W(m_hDC, text, length, &size)) return 0;
  return size.cx;
}

}  // namespace SkinUI
