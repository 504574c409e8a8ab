// The parser for skin files: a small, non-validating XML subset.
//
// The document is copied into one UTF-16 buffer and parsed in place: string
// terminators are written over delimiters, so every element name, attribute
// name, attribute value and element text afterwards points into that buffer.
// Elements and their attributes are records in one table, linked by index,
// each element followed by the records of its attributes; the nodes handed
// out (CMarkupNode) are indexes into it.  The table is made of blocks that
// never move once written.
#pragma once

#include "toolkit/controls/MarkupNode.h"

#include <cstddef>

namespace SkinUI {

// How LoadFromMem reads its bytes.
enum class MarkupEncoding {
  Utf8 = 0,   // a leading byte-order mark is dropped
  Utf16 = 1,  // must start with a little- or big-endian byte-order mark
  Ansi = 2,   // the system's ANSI code page
};

class CMarkup {
 public:
  // The largest input LoadFromMem accepts, in bytes.
  static constexpr size_t kMaxInputBytes = 4 * 1024 * 1024;
  // Capacities of the error buffers, terminator included.
  static constexpr int kErrorMessageUnits = 100;
  static constexpr int kErrorLocationUnits = 50;

  // An empty document; with a text, Load(text).
  explicit CMarkup(const wchar_t* text = nullptr);
  CMarkup(const CMarkup&) = delete;
  CMarkup& operator=(const CMarkup&) = delete;
  ~CMarkup();

  // Discards the current document, copies the text and parses it.  On
  // failure the document is empty again and the error stays readable.
  bool Load(const wchar_t* text);
  // The same for bytes in the given encoding.
  bool LoadFromMem(const unsigned char* bytes, size_t size,
                   MarkupEncoding encoding = MarkupEncoding::Utf8);
  // Frees the text and the record table.
  void Release();
  // True while a record table exists (after a successful load, even of a
  // document without elements).
  bool IsValid() const;

  // With whitespace preservation off, each run of whitespace that starts
  // with a space inside text and values collapses to that space.
  void SetPreserveWhitespace(bool preserve = true);

  // Copy the last error message or the text where the error was found (up to
  // 49 characters of the document) into `buffer` of `capacity` units: cut to
  // capacity - 1 characters and always terminated.
  void GetLastErrorMessage(wchar_t* buffer, size_t capacity) const;
  void GetLastErrorLocation(wchar_t* buffer, size_t capacity) const;

  // The first element, or an invalid handle when there is none.
  CMarkupNode GetRoot();

 private:
  friend class CMarkupNode;

  // The table is made of eight-byte cells.  An element takes three of them
  // and the cells of its attributes, one each, follow it at once: the start
  // tag holds every attribute of an element before any of its children.
  // Offsets count UTF-16 units from the start of the text.  An index holds
  // a block's number above the cell's position in that block, 0 meaning
  // none.
  //
  // The blocks are small enough for the heap to hand out again the memory
  // that an earlier document freed, which is cheaper than fresh pages from
  // the system, and nothing is ever copied to make room: a full block is
  // simply followed by the next.
  struct XMLATTRIBUTE {
    unsigned long iName;
    unsigned long iValue;
  };
  struct XMLELEMENT {
    unsigned long iStart;       // element name
    unsigned long iChild;       // first child
    unsigned long iNext;        // next sibling
    unsigned long iParent;      // parent
    unsigned long iData;        // element text
    unsigned long nAttributes;  // visible attributes, at most kMaxAttributes
  };
  static constexpr unsigned long kElementCells = sizeof(XMLELEMENT) / sizeof(XMLATTRIBUTE);
  static_assert(sizeof(XMLELEMENT) % sizeof(XMLATTRIBUTE) == 0, "an element fills whole cells");
  static constexpr unsigned long kBlockShift = 13;
  static constexpr unsigned long kBlockCells = 1ul << kBlockShift;
  // An element starts only where its attributes fit into the same block.
  static constexpr unsigned long kMostElementCells = kElementCells + CMarkupNode::kMaxAttributes;

  XMLELEMENT& Element(unsigned long index) const {
    return *reinterpret_cast<XMLELEMENT*>(m_ppBlocks[index >> kBlockShift] +
                                          (index & (kBlockCells - 1)));
  }
  XMLATTRIBUTE* Attributes(unsigned long index) const {
    return reinterpret_cast<XMLATTRIBUTE*>(&Element(index)) + kElementCells;
  }

  // Takes ownership of a NUL-terminated text from malloc, `units` long
  // before its terminator, and parses it.
  bool ParseOwnedText(wchar_t* text, size_t units);
  bool Parse();
  // Makes room for `blocks` in the list of blocks; false without memory.
  bool ReserveBlocks(unsigned long blocks);
  // Starts the next block with room for `cells` cells (at most
  // kBlockCells); false without memory.
  bool StartBlock(unsigned long cells);
  // Copies text from `input` to `output` (which trails it) until
  // `terminator` or the end, decoding entities.
  void DecodeData(wchar_t*& input, wchar_t*& output, wchar_t terminator) const;
  bool Fail(const wchar_t* message, const wchar_t* location);
  void ClearError();

  wchar_t* m_pstrXML;
  // How far blocks of units may be read: where the text's buffer ends,
  // behind its terminator, or null where the processor has no SSE2.
  const wchar_t* m_pBlockLimit;
  XMLATTRIBUTE** m_ppBlocks;
  unsigned long m_nBlocks;
  unsigned long m_nReservedBlocks;
  // The index of the next free cell, and the end of the current block.
  unsigned long m_nCells;
  unsigned long m_nCellLimit;
  wchar_t m_szErrorMsg[kErrorMessageUnits];
  wchar_t m_szErrorXML[kErrorLocationUnits];
  bool m_bPreserveWhitespace;
};

}  // namespace SkinUI
