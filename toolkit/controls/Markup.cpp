#include "toolkit/controls/Markup.h"

#include <windows.h>

#include <emmintrin.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace SkinUI {

namespace {

// The entities the skin files use; numeric references are not among them.
struct Entity {
  const wchar_t* text;  // without the leading '&'
  size_t length;
  wchar_t value;
};

const Entity kEntities[] = {
    {L"amp;", 4, L'&'},  {L"lt;", 3, L'<'},    {L"gt;", 3, L'>'},
    {L"quot;", 5, L'"'}, {L"apos;", 5, L'\''},
};

const wchar_t kFileTooLarge[] = L"File too large";
const wchar_t kExpectedStartTag[] = L"Expected start tag";
const wchar_t kErrorParsingElementName[] = L"Error parsing element name";
const wchar_t kErrorParsingAttributes[] = L"Error while parsing attributes";
const wchar_t kExpectedAttributeValue[] = L"Expected attribute value";
const wchar_t kErrorParsingAttributeString[] = L"Error while parsing attribute string";
const wchar_t kExpectedStartTagClosing[] = L"Expected start-tag closing";
const wchar_t kExpectedEndTagStart[] = L"Expected end-tag start";
const wchar_t kUnmatchedClosingTag[] = L"Unmatched closing tag";
const wchar_t kOutOfMemory[] = L"Out of memory";

// The first block of records is sized from the length of the text: one
// cell for every eight units, more than twice what skin files use (one for
// every twenty or so), so that a small skin takes one small block.
constexpr size_t kUnitsPerCell = 8;

// Whitespace is every code up to 32, but never the terminator.
bool IsWhitespace(wchar_t ch) { return ch != L'\0' && ch <= L' '; }

void SkipWhitespace(wchar_t*& text) {
  while (IsWhitespace(*text)) ++text;
}

// Identifier characters below 128, looked up rather than asked of the C
// library: names are nearly always ASCII, and a call per character was the
// largest cost of parsing.  Other characters still go to iswalnum, so the
// classification is the library's either way.
struct AsciiIdentifierTable {
  bool identifier[128] = {};
  constexpr AsciiIdentifierTable() {
    for (wchar_t ch = L'0'; ch <= L'9'; ++ch) identifier[ch] = true;
    for (wchar_t ch = L'A'; ch <= L'Z'; ++ch) identifier[ch] = true;
    for (wchar_t ch = L'a'; ch <= L'z'; ++ch) identifier[ch] = true;
    identifier[L'_'] = identifier[L':'] = true;
  }
};
constexpr AsciiIdentifierTable kAsciiIdentifiers;

bool IsIdentifierCharacter(wchar_t ch) {
  if (ch < 128) return kAsciiIdentifiers.identifier[ch];
  return std::iswalnum(static_cast<wint_t>(ch)) != 0;
}

// The entity that starts at `text` (just behind its '&'), or null.  The
// first letter picks the only candidates, which spares comparing against
// each entity in turn.
const Entity* MatchEntity(const wchar_t* text) {
  const Entity* candidate = nullptr;
  switch (text[0]) {
    case L'a':
      candidate = text[1] == L'm' ? &kEntities[0] : &kEntities[4];
      break;
    case L'l':
      candidate = &kEntities[1];
      break;
    case L'g':
      candidate = &kEntities[2];
      break;
    case L'q':
      candidate = &kEntities[3];
      break;
    default:
      return nullptr;
  }
  for (size_t i = 0; i < candidate->length; ++i) {
    if (text[i] != candidate->text[i]) return nullptr;
  }
  return candidate;
}

// The program is built for processors without SSE2, but every processor
// that runs a current Windows has it: the scanners below use it when it is
// there, to pass eight units (or sixteen bytes) at a time.  They only ever
// skip ahead over units the plain loops would pass too, and leave the rest,
// the end of a run and the last units of the text, to those loops.
bool HasSse2() {
  static const bool has = ::IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != 0;
  return has;
}

// The first unit that ends a plain run (see EndsPlainRun), found in blocks
// of eight units before `limit`; where no whole block fits any more, the
// first unit of the rest.
__attribute__((target("sse2"))) wchar_t* SkipPlainBlocks(wchar_t* scan, const wchar_t* limit,
                                                         wchar_t terminator,
                                                         bool preserveWhitespace) {
  const __m128i quote = _mm_set1_epi16(static_cast<short>(terminator));
  const __m128i ampersand = _mm_set1_epi16(L'&');
  const __m128i zero = _mm_setzero_si128();
  // Comparing with zero twice costs nothing and keeps the loop uniform.
  const __m128i space = preserveWhitespace ? zero : _mm_set1_epi16(L' ');
  while (limit - scan >= 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(scan));
    const __m128i ends =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, quote), _mm_cmpeq_epi16(units, ampersand)),
                     _mm_or_si128(_mm_cmpeq_epi16(units, zero), _mm_cmpeq_epi16(units, space)));
    const int mask = _mm_movemask_epi8(ends);
    if (mask != 0) return scan + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
    scan += 8;
  }
  return scan;
}

// The first unit that is not an ASCII identifier character (see
// IsIdentifierCharacter), found in blocks of eight units before `limit`;
// where no whole block fits any more, the first unit of the rest.  Units
// from 128 up count as not, for the caller to classify.
__attribute__((target("sse2"))) wchar_t* SkipIdentifierBlocks(wchar_t* scan, const wchar_t* limit) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i digit = _mm_set1_epi16(L'0');
  const __m128i digitsAndColon = _mm_set1_epi16(L':' - L'0');
  const __m128i letter = _mm_set1_epi16(L'a');
  const __m128i letters = _mm_set1_epi16(L'z' - L'a');
  const __m128i caseBit = _mm_set1_epi16(0x20);
  const __m128i underscore = _mm_set1_epi16(L'_');
  while (limit - scan >= 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(scan));
    // A unit lies in [low, low + span] when subtracting `low` and then,
    // saturated, `span` leaves zero.  Setting the case bit folds 'A'-'Z'
    // onto 'a'-'z', and nothing else onto them.
    const __m128i isDigitOrColon =
        _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(units, digit), digitsAndColon), zero);
    const __m128i isLetter = _mm_cmpeq_epi16(
        _mm_subs_epu16(_mm_sub_epi16(_mm_or_si128(units, caseBit), letter), letters), zero);
    const __m128i isUnderscore = _mm_cmpeq_epi16(units, underscore);
    const int mask =
        _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(isDigitOrColon, isLetter), isUnderscore));
    if (mask != 0xFFFF) return scan + __builtin_ctz(~static_cast<unsigned>(mask)) / 2;
    scan += 8;
  }
  return scan;
}

// Widens the bytes below 128 from the start of `in` into `out`, sixteen at
// a time, up to the first block of sixteen that holds another byte or does
// not fit before `end`.  The number of bytes widened.
__attribute__((target("sse2"))) size_t WidenAsciiBlocks(const unsigned char* in,
                                                        const unsigned char* end, wchar_t* out) {
  const unsigned char* const start = in;
  const __m128i zero = _mm_setzero_si128();
  while (end - in >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    if (_mm_movemask_epi8(bytes) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
    in += 16;
    out += 16;
  }
  return static_cast<size_t>(in - start);
}

// True for the characters that end a plain run of data.
bool EndsPlainRun(wchar_t ch, wchar_t terminator, bool preserveWhitespace) {
  return ch == terminator || ch == L'&' || ch == L'\0' || (ch == L' ' && !preserveWhitespace);
}

// The end of the plain run of data that starts at `scan`.  Every character
// that can end one is at most '&' or the terminator, so most characters
// pass with a single comparison.
wchar_t* SkipPlainRun(wchar_t* scan, wchar_t terminator, bool preserveWhitespace) {
  const wchar_t highestEnd = terminator > L'&' ? terminator : L'&';
  for (;; ++scan) {
    const wchar_t ch = *scan;
    if (ch > highestEnd) continue;
    if (EndsPlainRun(ch, terminator, preserveWhitespace)) return scan;
  }
}

// Passes an element or attribute name; `limit` is how far blocks of units
// may be read, null for not at all.
void SkipIdentifier(wchar_t*& text, const wchar_t* limit) {
  wchar_t* scan = limit != nullptr ? SkipIdentifierBlocks(text, limit) : text;
  // The terminator is not in the table, so it ends the run too.
  for (;; ++scan) {
    const wchar_t ch = *scan;
    if (!IsIdentifierCharacter(ch)) {
      text = scan;
      return;
    }
  }
}

// Copies `source` into `buffer` of `capacity` units, cut to capacity - 1
// characters and terminated.
void CopyCut(wchar_t* buffer, size_t capacity, const wchar_t* source) {
  if (buffer == nullptr || capacity == 0) return;
  size_t count = ::wcsnlen(source, capacity - 1);
  std::memcpy(buffer, source, count * sizeof(wchar_t));
  buffer[count] = L'\0';
}

// Decodes well-formed UTF-8 into `out`, which has room for `size` units (no
// sequence yields more units than it has bytes).  The number of units, or
// -1 as soon as a sequence is ill-formed: overlong, a surrogate, beyond
// U+10FFFF, cut short or a stray continuation byte.
//
// Skin files are nearly all ASCII, which this passes four bytes at a time;
// that makes the conversion about twice as fast as the platform's.  For
// well-formed input both give the same units; anything else is left to the
// platform, so that ill-formed bytes become what they always became.
int DecodeWellFormedUtf8(const unsigned char* in, size_t size, wchar_t* out) {
  const unsigned char* const end = in + size;
  wchar_t* const start = out;
  const bool sse2 = HasSse2();
  while (in < end) {
    // Runs of other characters, Chinese text above all, go without a look
    // for ASCII between each two.
    if (*in < 0x80) {
      if (sse2) {
        const size_t widened = WidenAsciiBlocks(in, end, out);
        in += widened;
        out += widened;
      }
      while (end - in >= 4) {
        std::uint32_t four;
        std::memcpy(&four, in, sizeof four);
        if ((four & 0x80808080u) != 0) break;
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = in[3];
        out += 4;
        in += 4;
      }
      if (in == end) break;
    }
    const unsigned lead = *in;
    const ptrdiff_t left = end - in;
    if (lead < 0x80) {
      *out++ = static_cast<wchar_t>(lead);
      ++in;
    } else if (lead < 0xC2) {
      return -1;
    } else if (lead < 0xE0) {
      if (left < 2 || (in[1] & 0xC0) != 0x80) return -1;
      *out++ = static_cast<wchar_t>((lead & 0x1F) << 6 | (in[1] & 0x3F));
      in += 2;
    } else if (lead < 0xF0) {
      if (left < 3 || (in[1] & 0xC0) != 0x80 || (in[2] & 0xC0) != 0x80) return -1;
      const unsigned code = (lead & 0x0F) << 12 | (in[1] & 0x3F) << 6 | (in[2] & 0x3F);
      if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)) return -1;
      *out++ = static_cast<wchar_t>(code);
      in += 3;
    } else if (lead < 0xF5) {
      if (left < 4 || (in[1] & 0xC0) != 0x80 || (in[2] & 0xC0) != 0x80 || (in[3] & 0xC0) != 0x80) {
        return -1;
      }
      const unsigned code =
          (lead & 0x07) << 18 | (in[1] & 0x3F) << 12 | (in[2] & 0x3F) << 6 | (in[3] & 0x3F);
      if (code < 0x10000 || code > 0x10FFFF) return -1;
      *out++ = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
      *out++ = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      in += 4;
    } else {
      return -1;
    }
  }
  return static_cast<int>(out - start);
}

// Converts bytes of a code page into a NUL-terminated text from malloc and
// gives its length in units; null when there is no memory.  Invalid UTF-8
// becomes replacement characters.
//
// No byte becomes more than one UTF-16 unit in UTF-8 or the ANSI code
// pages, so a buffer of one unit per byte is converted into at once instead
// of measuring the text in a pass of its own; that first pass cost as much
// as the conversion itself.  Should a code page ever need more, the text is
// measured after all.
wchar_t* ConvertCodePage(UINT codePage, const unsigned char* bytes, size_t size, size_t& length) {
  const char* source = reinterpret_cast<const char*>(bytes);
  const int sourceSize = static_cast<int>(size);
  int capacity = sourceSize;
  wchar_t* text =
      static_cast<wchar_t*>(std::malloc((static_cast<size_t>(capacity) + 1) * sizeof(wchar_t)));
  if (text == nullptr) return nullptr;
  int units = 0;
  if (sourceSize > 0) {
    if (codePage == CP_UTF8) units = DecodeWellFormedUtf8(bytes, size, text);
    if (units <= 0) units = ::MultiByteToWideChar(codePage, 0, source, sourceSize, text, capacity);
    if (units <= 0 && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
      std::free(text);
      capacity = ::MultiByteToWideChar(codePage, 0, source, sourceSize, nullptr, 0);
      if (capacity <= 0) capacity = 0;
      text =
          static_cast<wchar_t*>(std::malloc((static_cast<size_t>(capacity) + 1) * sizeof(wchar_t)));
      if (text == nullptr) return nullptr;
      units =
          capacity > 0 ? ::MultiByteToWideChar(codePage, 0, source, sourceSize, text, capacity) : 0;
    }
  }
  length = units > 0 ? static_cast<size_t>(units) : 0;
  text[length] = L'\0';
  return text;
}

}  // namespace

CMarkup::CMarkup(const wchar_t* text)
    : m_pstrXML(nullptr),
      m_pBlockLimit(nullptr),
      m_ppBlocks(nullptr),
      m_nBlocks(0),
      m_nReservedBlocks(0),
      m_nCells(0),
      m_nCellLimit(0),
      m_bPreserveWhitespace(true) {
  ClearError();
  if (text != nullptr) Load(text);
}

CMarkup::~CMarkup() { Release(); }

void CMarkup::Release() {
  std::free(m_pstrXML);
  m_pstrXML = nullptr;
  m_pBlockLimit = nullptr;
  for (unsigned long block = 0; block < m_nBlocks; ++block) std::free(m_ppBlocks[block]);
  std::free(m_ppBlocks);
  m_ppBlocks = nullptr;
  m_nBlocks = 0;
  m_nReservedBlocks = 0;
  m_nCells = 0;
  m_nCellLimit = 0;
}

bool CMarkup::IsValid() const { return m_ppBlocks != nullptr; }

void CMarkup::SetPreserveWhitespace(bool preserve) { m_bPreserveWhitespace = preserve; }

void CMarkup::GetLastErrorMessage(wchar_t* buffer, size_t capacity) const {
  CopyCut(buffer, capacity, m_szErrorMsg);
}

void CMarkup::GetLastErrorLocation(wchar_t* buffer, size_t capacity) const {
  CopyCut(buffer, capacity, m_szErrorXML);
}

CMarkupNode CMarkup::GetRoot() {
  // The first element follows the unused record at index 0.
  if (m_nCells <= kElementCells) return CMarkupNode();
  return CMarkupNode(this, kElementCells);
}

void CMarkup::ClearError() {
  m_szErrorMsg[0] = L'\0';
  m_szErrorXML[0] = L'\0';
}

bool CMarkup::Fail(const wchar_t* message, const wchar_t* location) {
  CopyCut(m_szErrorMsg, kErrorMessageUnits, message);
  CopyCut(m_szErrorXML, kErrorLocationUnits, location);
  return false;
}

bool CMarkup::Load(const wchar_t* text) {
  Release();
  ClearError();
  if (text == nullptr) return false;
  const size_t units = std::wcslen(text) + 1;
  wchar_t* copy = static_cast<wchar_t*>(std::malloc(units * sizeof(wchar_t)));
  if (copy == nullptr) return Fail(kOutOfMemory, L"");
  std::memcpy(copy, text, units * sizeof(wchar_t));
  return ParseOwnedText(copy, units - 1);
}

bool CMarkup::LoadFromMem(const unsigned char* bytes, size_t size, MarkupEncoding encoding) {
  Release();
  ClearError();
  if (size > kMaxInputBytes) return Fail(kFileTooLarge, L"");
  if (bytes == nullptr && size > 0) return false;

  wchar_t* text = nullptr;
  size_t units = 0;
  switch (encoding) {
    case MarkupEncoding::Utf8:
      if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
      }
      text = ConvertCodePage(CP_UTF8, bytes, size, units);
      break;
    case MarkupEncoding::Ansi:
      text = ConvertCodePage(CP_ACP, bytes, size, units);
      break;
    case MarkupEncoding::Utf16: {
      // Without a byte-order mark there is no telling the byte order: such
      // input is refused rather than guessed at.
      if (size < 2) return false;
      const bool little = bytes[0] == 0xFF && bytes[1] == 0xFE;
      const bool big = bytes[0] == 0xFE && bytes[1] == 0xFF;
      if (!little && !big) return false;
      units = size / 2 - 1;  // a trailing odd byte is ignored
      text = static_cast<wchar_t*>(std::malloc((units + 1) * sizeof(wchar_t)));
      if (text == nullptr) break;
      const unsigned char* pair = bytes + 2;
      for (size_t i = 0; i < units; ++i, pair += 2) {
        text[i] = little ? static_cast<wchar_t>(pair[0] | (pair[1] << 8))
                         : static_cast<wchar_t>(pair[1] | (pair[0] << 8));
      }
      text[units] = L'\0';
      break;
    }
    default:
      return false;
  }
  if (text == nullptr) return Fail(kOutOfMemory, L"");
  return ParseOwnedText(text, units);
}

bool CMarkup::ParseOwnedText(wchar_t* text, size_t units) {
  m_pstrXML = text;
  m_pBlockLimit = HasSse2() ? text + units + 1 : nullptr;
  // The list of blocks is sized for the same estimate, so that it does not
  // grow either for a skin file.
  const size_t estimate = units / kUnitsPerCell + kMostElementCells * 2;
  if (!ReserveBlocks(static_cast<unsigned long>(estimate / kBlockCells) + 2) ||
      !StartBlock(estimate < kBlockCells ? static_cast<unsigned long>(estimate) : kBlockCells)) {
    Release();
    return Fail(kOutOfMemory, L"");
  }
  if (Parse()) return true;
  Release();
  return false;
}

bool CMarkup::ReserveBlocks(unsigned long blocks) {
  void* grown = std::realloc(m_ppBlocks, blocks * sizeof(XMLATTRIBUTE*));
  if (grown == nullptr) return false;
  m_ppBlocks = static_cast<XMLATTRIBUTE**>(grown);
  m_nReservedBlocks = blocks;
  return true;
}

bool CMarkup::StartBlock(unsigned long cells) {
  // Indexes are 32 bits wide: the block number must fit above the cell.
  if (m_nBlocks >= (ULONG_MAX >> kBlockShift)) return false;
  if (m_nBlocks == m_nReservedBlocks && !ReserveBlocks(m_nReservedBlocks * 2)) return false;
  XMLATTRIBUTE* block = static_cast<XMLATTRIBUTE*>(std::malloc(cells * sizeof(XMLATTRIBUTE)));
  if (block == nullptr) return false;
  m_ppBlocks[m_nBlocks] = block;
  m_nCells = m_nBlocks << kBlockShift;
  m_nCellLimit = m_nCells + cells;
  ++m_nBlocks;
  return true;
}

void CMarkup::DecodeData(wchar_t*& input, wchar_t*& output, wchar_t terminator) const {
  // Until the first entity (or collapsed space) the decoded text is the
  // input itself, so nothing needs copying: skip ahead.
  const bool preserve = m_bPreserveWhitespace;
  if (output == input) {
    if (m_pBlockLimit != nullptr)
      input = SkipPlainBlocks(input, m_pBlockLimit, terminator, preserve);
    input = output = SkipPlainRun(input, terminator, preserve);
  }
  while (*input != L'\0' && *input != terminator) {
    if (!EndsPlainRun(*input, terminator, preserve)) {
      *output++ = *input++;
      continue;
    }
    if (*input == L'&') {
      const Entity* match = MatchEntity(input + 1);
      if (match != nullptr) {
        *output++ = match->value;
        input += 1 + match->length;
      } else {
        // Not one of ours: the ampersand is plain text.
        *output++ = *input++;
      }
      continue;
    }
    if (*input == L' ') {
      *output++ = *input++;
      if (!m_bPreserveWhitespace) SkipWhitespace(input);
      continue;
    }
    *output++ = *input++;
  }
}

bool CMarkup::Parse() {
  // Cells 0 to 2 hold no element, so that index 0 can mean "none".
  XMLELEMENT& none = Element(0);
  none.iStart = none.iChild = none.iNext = none.iParent = none.iData = none.nAttributes = 0;
  m_nCells = kElementCells;
  const unsigned long root = kElementCells;

  // The element whose content is being parsed (0: the top level) and the
  // last element finished at that level.  The open elements outside it are
  // found through the parent links, so nesting costs neither stack nor
  // memory of its own, however deep it goes.  While an element is open its
  // next-sibling link, unused until it closes, holds the offset where its
  // text ends; the terminator goes there only when the element closes,
  // because until then that place may still be the '<' that follows.
  unsigned long current = 0;
  unsigned long previous = 0;
  wchar_t* const base = m_pstrXML;
  wchar_t* text = base;

  for (;;) {
    SkipWhitespace(text);
    if (*text == L'\0') {
      // A document may end while its first element is still open; deeper
      // elements must be closed.
      if (current > root) return Fail(kExpectedStartTag, text);
      if (current == 0) return true;
      XMLELEMENT& closed = Element(current);
      base[closed.iNext] = L'\0';
      closed.iNext = 0;
      previous = current;
      current = closed.iParent;
      continue;
    }
    if (*text != L'<') return Fail(kExpectedStartTag, text);

    if (text[1] == L'/') {
      // An end tag closes the innermost open element.  At the top level
      // nothing is open and the parse is over.
      if (current == 0) return true;
      XMLELEMENT& closed = Element(current);
      base[closed.iNext] = L'\0';
      text += 2;
      SkipWhitespace(text);
      // The name is terminated already, so it is compared up to its end.
      wchar_t* endName = text;
      for (const wchar_t* name = base + closed.iStart; *name != L'\0'; ++name, ++endName) {
        if (*endName != *name) return Fail(kUnmatchedClosingTag, text);
      }
      text = endName;
      SkipWhitespace(text);
      if (*text != L'>') return Fail(kUnmatchedClosingTag, text);
      ++text;
      closed.iNext = 0;
      previous = current;
      current = closed.iParent;
      continue;
    }

    *text++ = L'\0';
    SkipWhitespace(text);
    if (*text == L'!' || *text == L'?') {
      // Comments end at their first "->", declarations at "?>"; any other
      // "<!" construct runs to the next "->" as well.
      const wchar_t first = *text == L'!' ? L'-' : L'?';
      while (*text != L'\0' && !(text[0] == first && text[1] == L'>')) ++text;
      if (*text != L'\0') text += 2;
      continue;
    }

    if (m_nCellLimit - m_nCells < kMostElementCells && !StartBlock(kBlockCells))
      return Fail(kOutOfMemory, text);
    const unsigned long index = m_nCells;
    m_nCells += kElementCells;
    {
      XMLELEMENT& element = Element(index);
      element.iStart = static_cast<unsigned long>(text - base);
      element.iChild = element.iNext = element.iData = element.nAttributes = 0;
      element.iParent = current;
      if (previous != 0)
        Element(previous).iNext = index;
      else if (current != 0)
        Element(current).iChild = index;
      previous = index;
    }

    SkipIdentifier(text, m_pBlockLimit);
    wchar_t* nameEnd = text;
    if (*text == L'\0') return Fail(kErrorParsingElementName, text);

    // "<Name/>" keeps its '/' for the empty-element test below; anything
    // else behind the name ends it and starts the attributes.
    if (*text != L'>' && !(text[0] == L'/' && text[1] == L'>')) {
      *text++ = L'\0';
      unsigned long attributes = 0;
      for (;;) {
        SkipWhitespace(text);
        if (*text == L'\0' || *text == L'>' || *text == L'/') break;
        const wchar_t* name = text;
        SkipIdentifier(text, m_pBlockLimit);
        wchar_t* attributeNameEnd = text;
        SkipWhitespace(text);
        if (*text != L'=') return Fail(kErrorParsingAttributes, text);
        ++text;
        *attributeNameEnd = L'\0';
        SkipWhitespace(text);
        if (*text != L'"') return Fail(kExpectedAttributeValue, text);
        ++text;
        const wchar_t* value = text;
        wchar_t* valueEnd = text;
        DecodeData(text, valueEnd, L'"');
        if (*text == L'\0') return Fail(kErrorParsingAttributeString, text);
        // The terminator lands on the closing quote, or before it when
        // entities made the value shorter.
        *valueEnd = L'\0';
        ++text;
        // Attributes past the last visible one are parsed but not kept.
        if (attributes < CMarkupNode::kMaxAttributes) {
          XMLATTRIBUTE& attribute = Attributes(index)[attributes];
          attribute.iName = static_cast<unsigned long>(name - base);
          attribute.iValue = static_cast<unsigned long>(value - base);
          ++attributes;
        }
      }
      Element(index).nAttributes = attributes;
      m_nCells += attributes;
    }

    SkipWhitespace(text);
    if (text[0] == L'/' && text[1] == L'>') {
      Element(index).iData = static_cast<unsigned long>(text - base);
      *text = L'\0';
      text += 2;
      *nameEnd = L'\0';
      continue;
    }
    if (*text != L'>') return Fail(kExpectedStartTagClosing, text);
    ++text;
    // Nothing reads the '>' (or blank) behind the name again, so the name
    // is terminated now rather than when the element closes.
    *nameEnd = L'\0';
    Element(index).iData = static_cast<unsigned long>(text - base);
    wchar_t* valueEnd = text;
    DecodeData(text, valueEnd, L'<');
    if (*text == L'\0') {
      if (current > root) return Fail(kExpectedEndTagStart, text);
      *valueEnd = L'\0';
      continue;
    }
    // The text stopped at '<': the element's children or its end tag
    // follow, parsed as the content of the now open element.
    Element(index).iNext = static_cast<unsigned long>(valueEnd - base);
    current = index;
    previous = 0;
  }
}

}  // namespace SkinUI
