#include "toolkit/controls/Markup.h"

#include "toolkit/controls/StdValArray.h"

#include <windows.h>

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

// The element table grows by half its size plus this many records.
constexpr unsigned long kElementGrowth = 500;

// Whitespace is every code up to 32, but never the terminator.
bool IsWhitespace(wchar_t ch) { return ch != L'\0' && ch <= L' '; }

void SkipWhitespace(wchar_t*& text) {
  while (IsWhitespace(*text)) ++text;
}

bool IsIdentifierCharacter(wchar_t ch) {
  return ch == L'_' || ch == L':' || std::iswalnum(static_cast<wint_t>(ch)) != 0;
}

void SkipIdentifier(wchar_t*& text) {
  while (*text != L'\0' && IsIdentifierCharacter(*text)) ++text;
}

// Copies `source` into `buffer` of `capacity` units, cut to capacity - 1
// characters and terminated.
void CopyCut(wchar_t* buffer, size_t capacity, const wchar_t* source) {
  if (buffer == nullptr || capacity == 0) return;
  size_t count = ::wcsnlen(source, capacity - 1);
  std::memcpy(buffer, source, count * sizeof(wchar_t));
  buffer[count] = L'\0';
}

// Converts bytes of a code page into a NUL-terminated text from malloc;
// null when there is no memory.  Invalid UTF-8 becomes replacement
// characters.
wchar_t* ConvertCodePage(UINT codePage, const unsigned char* bytes, size_t size) {
  const char* source = reinterpret_cast<const char*>(bytes);
  const int sourceSize = static_cast<int>(size);
  int units = 0;
  if (sourceSize > 0) {
    units = ::MultiByteToWideChar(codePage, 0, source, sourceSize, nullptr, 0);
    if (units <= 0) units = 0;
  }
  wchar_t* text =
      static_cast<wchar_t*>(std::malloc((static_cast<size_t>(units) + 1) * sizeof(wchar_t)));
  if (text == nullptr) return nullptr;
  if (units > 0) units = ::MultiByteToWideChar(codePage, 0, source, sourceSize, text, units);
  text[units > 0 ? units : 0] = L'\0';
  return text;
}

// One open element while its content is parsed.
struct OpenElement {
  unsigned long index;
  const wchar_t* name;
  wchar_t* nameEnd;
  wchar_t* valueEnd;
  unsigned long lastChild;
};

}  // namespace

CMarkup::CMarkup(const wchar_t* text)
    : m_pstrXML(nullptr),
      m_pElements(nullptr),
      m_nElements(0),
      m_nReservedElements(0),
      m_bPreserveWhitespace(true) {
  ClearError();
  if (text != nullptr) Load(text);
}

CMarkup::~CMarkup() { Release(); }

void CMarkup::Release() {
  std::free(m_pstrXML);
  m_pstrXML = nullptr;
  std::free(m_pElements);
  m_pElements = nullptr;
  m_nElements = 0;
  m_nReservedElements = 0;
}

bool CMarkup::IsValid() const { return m_pElements != nullptr; }

void CMarkup::SetPreserveWhitespace(bool preserve) { m_bPreserveWhitespace = preserve; }

void CMarkup::GetLastErrorMessage(wchar_t* buffer, size_t capacity) const {
  CopyCut(buffer, capacity, m_szErrorMsg);
}

void CMarkup::GetLastErrorLocation(wchar_t* buffer, size_t capacity) const {
  CopyCut(buffer, capacity, m_szErrorXML);
}

CMarkupNode CMarkup::GetRoot() {
  if (m_nElements < 2) return CMarkupNode();
  return CMarkupNode(this, 1);
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
  return ParseOwnedText(copy);
}

bool CMarkup::LoadFromMem(const unsigned char* bytes, size_t size, MarkupEncoding encoding) {
  Release();
  ClearError();
  if (size > kMaxInputBytes) return Fail(kFileTooLarge, L"");
  if (bytes == nullptr && size > 0) return false;

  wchar_t* text = nullptr;
  switch (encoding) {
    case MarkupEncoding::Utf8:
      if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
      }
      text = ConvertCodePage(CP_UTF8, bytes, size);
      break;
    case MarkupEncoding::Ansi:
      text = ConvertCodePage(CP_ACP, bytes, size);
      break;
    case MarkupEncoding::Utf16: {
      // Without a byte-order mark there is no telling the byte order: such
      // input is refused rather than guessed at.
      if (size < 2) return false;
      const bool little = bytes[0] == 0xFF && bytes[1] == 0xFE;
      const bool big = bytes[0] == 0xFE && bytes[1] == 0xFF;
      if (!little && !big) return false;
      const size_t units = size / 2 - 1;  // a trailing odd byte is ignored
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
  return ParseOwnedText(text);
}

bool CMarkup::ParseOwnedText(wchar_t* text) {
  m_pstrXML = text;
  if (Parse()) return true;
  Release();
  return false;
}

unsigned long CMarkup::ReserveElement() {
  if (m_nElements >= m_nReservedElements) {
    const unsigned long reserved = m_nReservedElements + m_nReservedElements / 2 + kElementGrowth;
    void* grown = std::realloc(m_pElements, reserved * sizeof(XMLELEMENT));
    if (grown == nullptr) return 0;
    m_pElements = static_cast<XMLELEMENT*>(grown);
    m_nReservedElements = reserved;
  }
  XMLELEMENT& element = m_pElements[m_nElements];
  element.iStart = element.iChild = element.iNext = element.iParent = element.iData = 0;
  return m_nElements++;
}

void CMarkup::DecodeData(wchar_t*& input, wchar_t*& output, wchar_t terminator) const {
  while (*input != L'\0' && *input != terminator) {
    if (*input == L'&') {
      const Entity* match = nullptr;
      for (const Entity& entity : kEntities) {
        if (std::wcsncmp(input + 1, entity.text, entity.length) == 0) {
          match = &entity;
          break;
        }
      }
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
  // The attribute mapper walks the buffer later; what decoding freed must
  // not look like anything but blanks.
  for (wchar_t* gap = output; gap < input; ++gap) *gap = L' ';
}

bool CMarkup::Parse() {
  // Slot 0 is never an element, so that index 0 can mean "none".
  if (ReserveElement() != 0) return Fail(kOutOfMemory, L"");

  // Elements whose content is being parsed, innermost last.  An explicit
  // stack rather than recursion: however deeply a document nests, parsing
  // it cannot exhaust the thread's stack.
  CStdValArray open(sizeof(OpenElement));
  unsigned long topLevelLast = 0;
  wchar_t* text = m_pstrXML;

  for (;;) {
    OpenElement* level =
        open.IsEmpty() ? nullptr : static_cast<OpenElement*>(open.GetAt(open.GetSize() - 1));
    const unsigned long parent = level != nullptr ? level->index : 0;

    SkipWhitespace(text);
    if (*text == L'\0') {
      // A document may end while its root is still open; deeper elements
      // must be closed.
      if (parent > 1) return Fail(kExpectedStartTag, text);
      if (level == nullptr) return true;
      *level->valueEnd = L'\0';
      *level->nameEnd = L'\0';
      open.Remove(open.GetSize() - 1);
      continue;
    }
    if (*text != L'<') return Fail(kExpectedStartTag, text);

    if (text[1] == L'/') {
      // An end tag closes the innermost open element.  At the top level
      // nothing is open and the parse is over.
      if (level == nullptr) return true;
      *level->valueEnd = L'\0';
      text += 2;
      SkipWhitespace(text);
      const size_t nameLength = static_cast<size_t>(level->nameEnd - level->name);
      if (std::wcsncmp(text, level->name, nameLength) != 0) return Fail(kUnmatchedClosingTag, text);
      text += nameLength;
      SkipWhitespace(text);
      if (*text != L'>') return Fail(kUnmatchedClosingTag, text);
      ++text;
      *level->nameEnd = L'\0';
      open.Remove(open.GetSize() - 1);
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

    const unsigned long index = ReserveElement();
    if (index == 0) return Fail(kOutOfMemory, text);
    // The table may have moved.
    level = open.IsEmpty() ? nullptr : static_cast<OpenElement*>(open.GetAt(open.GetSize() - 1));
    unsigned long& previous = level != nullptr ? level->lastChild : topLevelLast;
    XMLELEMENT& element = m_pElements[index];
    element.iStart = static_cast<unsigned long>(text - m_pstrXML);
    element.iParent = parent;
    if (previous != 0)
      m_pElements[previous].iNext = index;
    else if (parent != 0)
      m_pElements[parent].iChild = index;
    previous = index;

    wchar_t* name = text;
    SkipIdentifier(text);
    wchar_t* nameEnd = text;
    if (*text == L'\0') return Fail(kErrorParsingElementName, text);

    // "<Name/>" keeps its '/' for the empty-element test below; anything
    // else behind the name ends it and starts the attributes.
    if (*text != L'>' && !(text[0] == L'/' && text[1] == L'>')) {
      *text++ = L'\0';
      for (;;) {
        SkipWhitespace(text);
        if (*text == L'\0' || *text == L'>' || *text == L'/') break;
        SkipIdentifier(text);
        wchar_t* attributeNameEnd = text;
        SkipWhitespace(text);
        if (*text != L'=') return Fail(kErrorParsingAttributes, text);
        *text++ = L' ';
        *attributeNameEnd = L'\0';
        SkipWhitespace(text);
        if (*text != L'"') return Fail(kExpectedAttributeValue, text);
        ++text;
        wchar_t* value = text;
        DecodeData(text, value, L'"');
        if (*text == L'\0') return Fail(kErrorParsingAttributeString, text);
        // The value's terminator lands on the closing quote, or inside the
        // blanks that decoding left, in which case the quote becomes one.
        if (value != text) *text = L' ';
        *value = L'\0';
        ++text;
      }
    }

    SkipWhitespace(text);
    if (text[0] == L'/' && text[1] == L'>') {
      m_pElements[index].iData = static_cast<unsigned long>(text - m_pstrXML);
      *text = L'\0';
      text += 2;
      *nameEnd = L'\0';
      continue;
    }
    if (*text != L'>') return Fail(kExpectedStartTagClosing, text);
    ++text;
    m_pElements[index].iData = static_cast<unsigned long>(text - m_pstrXML);
    wchar_t* valueEnd = text;
    DecodeData(text, valueEnd, L'<');
    if (*text == L'\0') {
      if (parent > 1) return Fail(kExpectedEndTagStart, text);
      *valueEnd = L'\0';
      *nameEnd = L'\0';
      continue;
    }
    // The text stopped at '<': the element's children or its end tag
    // follow, parsed as the content of the now open element.
    const OpenElement opened = {index, name, nameEnd, valueEnd, 0};
    if (!open.Add(&opened)) return Fail(kOutOfMemory, text);
  }
}

}  // namespace SkinUI
