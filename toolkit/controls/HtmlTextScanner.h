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

class CHtmlTextScanner {
 public:
  // What begins at `p`.  Inside raw text (`raw`) only a line feed and the
  // closing tag of the raw text end a run, and spaces belong to runs.
  static THtmlToken Next(const wchar_t* p, bool raw);

 private:
  static bool ScanEscape(const wchar_t* p, THtmlToken& token);
  static bool ScanOpenTag(const wchar_t* p, THtmlToken& token);
  static bool ScanCloseTag(const wchar_t* p, THtmlToken& token);
  static int RunLength(const wchar_t* p, bool raw);
};

}  // namespace SkinUI
