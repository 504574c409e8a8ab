#include "toolkit/controls/HtmlTextScanner.h"

namespace SkinUI {
namespace {

// The tag letters.  `closes` says whether `</letter>` is a tag too; `<i>`
// with a parameter is an image rather than italic text.
constexpr struct {
  wchar_t letter;
  HtmlTag tag;
  bool closes;
} kTags[] = {
    {L'a', HtmlTag::Link, true},      {L'b', HtmlTag::Bold, true},
    {L'c', HtmlTag::Color, true},     {L'f', HtmlTag::Font, true},
    {L'i', HtmlTag::Italic, true},    {L'n', HtmlTag::NewLine, false},
    {L'p', HtmlTag::Paragraph, true}, {L'r', HtmlTag::Raw, true},
    {L's', HtmlTag::Selected, true},  {L'u', HtmlTag::Underline, true},
    {L'x', HtmlTag::MoveX, false},    {L'y', HtmlTag::LineHeight, false},
};

// The four escapes, opener, bracket and closer.
constexpr const wchar_t* kEscapes[] = {L"<{>", L"<}>", L"{<}", L"{>}"};

bool IsOpener(wchar_t ch) { return ch == L'<' || ch == L'{'; }
bool IsCloser(wchar_t ch) { return ch == L'>' || ch == L'}'; }

}  // namespace

bool CHtmlTextScanner::ScanEscape(const wchar_t* p, THtmlToken& token) {
  for (const wchar_t* escape : kEscapes) {
    if (p[0] == escape[0] && p[1] == escape[1] && p[2] == escape[2]) {
      token.kind = THtmlToken::kEscape;
      token.length = 3;
      token.character = escape[1];
      return true;
    }
  }
  return false;
}

bool CHtmlTextScanner::IsStop(const wchar_t* p, Stop stop) {
  switch (stop) {
    case Stop::kCloser:
      return IsCloser(*p);
    case Stop::kRunEnd:
      return *p == L'\n' || IsOpener(*p);
    case Stop::kRawRunEnd: {
      if (*p == L'\n') return true;
      THtmlToken token;
      return IsOpener(*p) && ScanCloseTag(p, token) && token.tag == HtmlTag::Raw;
    }
  }
  return false;
}

const wchar_t* CHtmlTextScanner::FindStop(const wchar_t* from, Stop stop) {
  TStretch& known = m_stretches[static_cast<int>(stop)];
  if (known.end != nullptr && from >= known.begin && from <= known.end) return known.end;
  // Searching on from an earlier position ends where the known stretch
  // begins; its stop is then the answer.
  const wchar_t* p = from;
  while (*p != L'\0') {
    if (known.end != nullptr && p == known.begin) {
      p = known.end;
      break;
    }
    if (IsStop(p, stop)) break;
    ++p;
  }
  known.begin = from;
  known.end = p;
  return p;
}

bool CHtmlTextScanner::ScanOpenTag(const wchar_t* p, THtmlToken& token) {
  for (const auto& entry : kTags) {
    if (p[1] != entry.letter) continue;
    const wchar_t* param = nullptr;
    const wchar_t* closer = nullptr;
    if (IsCloser(p[2])) {
      param = p + 2;
      closer = p + 2;
    } else if (p[2] == L' ') {
      // A tag whose closer never comes is text: the parameter may not run
      // on to the end of the text.
      param = p + 3;
      closer = FindStop(param, Stop::kCloser);
      if (*closer == L'\0') return false;
    } else {
      return false;
    }
    token.kind = THtmlToken::kOpenTag;
    token.length = static_cast<int>(closer - p) + 1;
    token.param = param;
    token.paramLength = static_cast<int>(closer - param);
    token.tag = entry.tag == HtmlTag::Italic && token.paramLength > 0 ? HtmlTag::Image : entry.tag;
    return true;
  }
  return false;
}

bool CHtmlTextScanner::ScanCloseTag(const wchar_t* p, THtmlToken& token) {
  if (p[1] != L'/' || p[2] == L'\0' || !IsCloser(p[3])) return false;
  for (const auto& entry : kTags) {
    if (p[2] != entry.letter || !entry.closes) continue;
    token.kind = THtmlToken::kCloseTag;
    token.length = 4;
    token.tag = entry.tag;
    return true;
  }
  return false;
}

int CHtmlTextScanner::RunLength(const wchar_t* p, bool raw) {
  // The first character belongs to the run whatever it is: the caller has
  // found that it begins no tag.
  if (p[1] == L'\0') return 1;
  const wchar_t* end = FindStop(p + 1, raw ? Stop::kRawRunEnd : Stop::kRunEnd);
  return static_cast<int>(end - p);
}

THtmlToken CHtmlTextScanner::Next(const wchar_t* p, bool raw) {
  THtmlToken token;
  if (*p == L'\0') return token;
  if (*p == L'\n') {
    token.kind = THtmlToken::kLineFeed;
    token.length = 1;
    return token;
  }
  if (raw) {
    if (IsOpener(*p) && ScanCloseTag(p, token) && token.tag == HtmlTag::Raw) return token;
    token = THtmlToken();
  } else if (IsOpener(*p)) {
    if (ScanEscape(p, token) || ScanOpenTag(p, token) || ScanCloseTag(p, token)) return token;
    token = THtmlToken();
  } else if (*p == L' ') {
    token.kind = THtmlToken::kSpace;
    token.length = 1;
    return token;
  }
  token.kind = THtmlToken::kText;
  token.length = RunLength(p, raw);
  return token;
}

}  // namespace SkinUI
