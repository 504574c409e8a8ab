// The line layout of marked-up text (the tags of CHtmlTextScanner): text
// runs, fonts, colours and paragraph spacings on their stacks, inline
// images, links and the line breaks, word breaks and ellipses between
// them.  One object lays out one text once.
//
// When drawing, every line is laid out twice: first only measured, so that
// its height is known, then drawn from the same starting state with that
// height, each run sitting on the bottom of the line.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/controls/HtmlTextScanner.h"
#include "toolkit/controls/SkinString.h"
#include "toolkit/core/FontInfo.h"

namespace SkinUI {

class CPaintManagerUI;

class CHtmlTextLayout {
 public:
  // `uStyle` holds DrawText style bits; DT_CALCRECT only measures.  Links
  // are recorded into `pLinks` and `sLinks`, at most `linkCapacity` of
  // them; `pHoverLink` is the target of the link under the mouse, or null.
  CHtmlTextLayout(HDC hDC, CPaintManagerUI* pManager, const RECT& rc, DWORD dwTextColor,
                  UINT uStyle, RECT* pLinks, CSkinString* sLinks, int linkCapacity,
                  const CSkinString* pHoverLink);
  CHtmlTextLayout(const CHtmlTextLayout&) = delete;
  CHtmlTextLayout& operator=(const CHtmlTextLayout&) = delete;

  // Lays the text out and draws it unless only measuring.  The caller
  // keeps the device context's font and clip.
  void Run(const wchar_t* pstrText);

  int GetLinkCount() const { return m_state.linkCount; }
  // The bottom of the last line or of the lowest image, whichever is lower.
  int GetBottom() const;
  // The widest x the pen reached.
  int GetMaxX() const { return m_state.maxX; }

 private:
  struct TFontEntry {
    TFontInfo* info;
    TEXTMETRICW tm;
  };

  // The font, colour and spacing stacks share their nodes: a push appends
  // a node that points at the one below it, a pop only moves the top.  A
  // state holds just the index of each top, so that saving and restoring
  // it at every line costs nothing however deep a text of unclosed tags
  // has made the stacks.  Nodes are never freed before the layout ends;
  // there is one per tag laid out.
  template <class T>
  struct TNode {
    T value;
    int below;
  };
  static constexpr int kEmpty = -1;

  // Everything a line changes, so that a line can be laid out again from
  // its start.
  struct TState {
    const wchar_t* p = nullptr;
    int font = kEmpty;
    int color = kEmpty;
    int spacing = kEmpty;
    bool raw = false;
    bool selected = false;
    // Links opened and not yet closed.
    int linkDepth = 0;
    int linkCount = 0;
    // The slot of the open link's piece on this line; -1 when the open
    // link is not recorded.
    int openLink = -1;
    // The first link slot that belongs to this line.
    int lineFirstLink = 0;
    POINT pt = {};  // the pen; its y is the line's top
    int lineHeight = 0;
    int imageBottom = 0;
    int lastLineBottom = 0;
    int maxX = 0;
  };

  enum class LineEnd { kEndOfText, kBreak };
  enum class Pass { kMeasure, kDraw };

  // One line from the current state; returns how it ended.
  LineEnd LayLine();
  // Sets the bottoms of the line's links and closes the open link's piece
  // at the line's end.
  void FinishLine();
  // Moves the pen to the next line; an open link starts a new piece there.
  void StartNextLine();
  void DropEmptyLinePiece();

  // Runs, spaces and escapes.  True when the text overflowed the line.
  bool PlaceRun(const THtmlToken& token);
  // Tags.  True when the tag ends the line.
  bool OpenTag(const THtmlToken& token);
  bool CloseTag(const THtmlToken& token);
  bool PlaceImage(const THtmlToken& token, const CSkinString& param);
  void OpenLink(const CSkinString& target);

  TFontEntry MakeEntry(TFontInfo* info) const;
  const TFontEntry& CurrentFont() const;
  DWORD CurrentColor() const;
  int CurrentSpacing() const;
  int FontLineHeight() const;
  void PushFont(TFontInfo* info);
  void PushColor(DWORD color);
  void PopColor();
  // The bold, italic or underlined variant of the current font, created in
  // the manager when missing.
  void PushVariant(HtmlTag style);
  void PushNamedFont(const CSkinString& param);
  // The manager's font of that description, made there when missing and
  // the window does not hold too many fonts already; null otherwise.
  HFONT FindOrAddFont(const CSkinString& face, int size, bool bold, bool underline, bool italic);
  void PopFont();
  void ApplyToDc() const;
  // Measuring grows the line; the drawing pass keeps the measured height.
  void GrowLine(int height);
  int TextWidth(const wchar_t* text, int length) const;
  // Measures no more of a run than the line can take: the number of
  // characters measured, with their width in `width`.
  int MeasurePrefix(const wchar_t* text, int length, int available, int& width) const;

  bool Drawing() const { return m_pass == Pass::kDraw; }

  HDC m_hDC;
  CPaintManagerUI* m_pManager;
  RECT m_rc;
  DWORD m_dwTextColor;
  UINT m_uStyle;
  bool m_bDraw;
  bool m_bSingleLine;
  RECT* m_pLinks;
  CSkinString* m_sLinks;
  int m_linkCapacity;
  bool m_bHover;
  CSkinString m_sHoverLink;
  TFontEntry m_defaultFont;
  Pass m_pass = Pass::kMeasure;
  TState m_state;
  CHtmlTextScanner m_scanner;
  std::vector<TNode<TFontEntry>> m_fonts;
  std::vector<TNode<DWORD>> m_colors;
  std::vector<TNode<int>> m_spacings;
  static constexpr DWORD kMaxWindowFonts = 256;
};

}  // namespace SkinUI
