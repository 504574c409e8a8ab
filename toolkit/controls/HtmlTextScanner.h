// The tags of the toolkit's text markup and how they are told apart from
// ordinary text: what begins at a given position of a marked-up text.
//
// A tag opens with `<` or `{` and closes with `>` or `}` (either closer
// ends either opener): `<b>`, `{c #FF0000}`, `</b>`.  An opening tag is the
// opener, a tag letter and a space (followed by the parameter), `>` or `}`;
// a closing tag is the opener, `/`, the letter and the closer.  `<{>`,
// `<}>`, `{<}` and `{>}` stand for the bracket inside them.  Anything else
// is text.
#pragma once

namespace SkinUI {

enum class HtmlTag {
  Link,        // <a target> ... </a>
  Bold,        // <b> ... </b>
  Color,       // <c #RRGGBB> ... </c>
  Font,        // <f n> or <f face size styles> ... </f>
  Italic,      // <i> ... </i>
  Image,       // <i name frames index>
  NewLine,     // <n>
  Paragraph,   // <p spacing> ... </p>
  Raw,         // <r> ... </r>
  Selected,    // <s> ... </s>
  Underline,   // <u> ... </u>
  MoveX,       // <x pixels>
  LineHeight,  // <y pixels>
};

struct THtmlToken {
  enum Kind {
    kEnd,       // the end of the text
    kLineFeed,  // a line feed character
    kText,      // a run of ordinary text
    kSpace,     // a space where a run would start: it stands on its own
    kEscape,    // one bracket written as an escape
    kOpenTag,
    kCloseTag,
  };
  Kind kind = kEnd;
  // Source characters the token spans; for text, the run's length.
  int length = 0;
  HtmlTag tag = HtmlTag::Bold;
  // Opening tags: the text between the space after the letter and the
  // closer (empty when the closer follows the letter).
  const wchar_t* param = nullptr;
  int paramLength = 0;
  // Escapes: the character they stand for.
  wchar_t character = 0;
};

// Finds what begins at a position of one text.  A scanner serves one text
// only: it remembers the stretches it has already searched for the end of
// a tag or of a run, so that a text of many tags that never close, or one
// long run laid out line by line (and each line twice), is searched once
// instead of once per position.
class CHtmlTextScanner {
 public:
  // What begins at `p`.  Inside raw text (`raw`) only a line feed and the
  // closing tag of the raw text end a run, and spaces belong to runs.
  THtmlToken Next(const wchar_t* p, bool raw);

 private:
  // A stretch [begin, end) of the text known to hold no stop, and the stop
  // (or the terminating null) at `end`.
  struct TStretch {
    const wchar_t* begin = nullptr;
    const wchar_t* end = nullptr;
  };
  enum class Stop { kCloser, kRunEnd, kRawRunEnd };

  static bool IsStop(const wchar_t* p, Stop stop);
  // The first stop at or after `from`.
  const wchar_t* FindStop(const wchar_t* from, Stop stop);

  static bool ScanEscape(const wchar_t* p, THtmlToken& token);
  bool ScanOpenTag(const wchar_t* p, THtmlToken& token);
  static bool ScanCloseTag(const wchar_t* p, THtmlToken& token);
  int RunLength(const wchar_t* p, bool raw);

  TStretch m_stretches[3];
};

}  // namespace SkinUI
