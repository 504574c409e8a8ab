// Turns a skin file into a tree of controls.
//
// A skin file's root element (normally <Window>) carries the window's
// settings; its direct children <Font>, <Image> and <Default> declare
// resources for the window's paint manager; every other element is a
// control, its attributes the control's skin attributes and its child
// elements the control's children.  <Include source="..." count="n"/>
// builds another file n times in its place.
//
// Sources by concern: DialogBuilder.cpp (reading the source and building
// the tree), DialogBuilderResources.cpp (resource declarations and window
// settings), DialogBuilderClasses.cpp (the element names the builder
// knows).
#pragma once

#include <windows.h>

#include "toolkit/controls/IDialogBuilderCallback.h"
#include "toolkit/controls/Markup.h"
#include "toolkit/controls/StringOrId.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

class CDialogBuilder {
 public:
  // Includes nested deeper than this contribute nothing, so that a file
  // that includes itself, directly or through others, ends.
  static constexpr int kMaxIncludeDepth = 16;
  // One build runs at most this many included files in all, so that a
  // file including itself several times cannot multiply into years of
  // work before the depth limit stops it.
  static constexpr int kMaxIncludes = 1024;
  // Controls nested deeper than this (included files counting from where
  // they are included) are skipped with what is inside them: the control
  // tree is walked recursively everywhere (layout, painting, destruction),
  // and a much deeper tree would exhaust the stack.
  static constexpr int kMaxNesting = 256;

  CDialogBuilder();
  CDialogBuilder(const CDialogBuilder&) = delete;
  CDialogBuilder& operator=(const CDialogBuilder&) = delete;

  // Loads the document and builds it (see the other Create).  `xml` is a
  // module resource id of resource type `type`, a markup text beginning
  // with '<', or else a file name read from the skin archive or the skin
  // folder.  Null when nothing could be read or the markup is broken; the
  // parser's error is then readable below.
  CControlUI* Create(STRINGorID xml, LPCWSTR type = nullptr,
                     IDialogBuilderCallback* pCallback = nullptr,
                     CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
  // Builds the loaded document: with a manager, registers the declared
  // resources and applies the window settings, then creates the controls
  // below the root.  Each top-level control is added to `pParent` when one
  // is given.  The result is the first top-level control, or null.
  CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr,
                     CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);

  CMarkup* GetMarkup();
  void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
  void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;

 private:
  // The controls of one level: the children of `node`, created under
  // `pParent` (or none).  `nLevel` is 1 for the controls directly below
  // the root of the outermost file.
  CControlUI* ParseLevel(const CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager,
                         int nLevel);
  // Builds the file an <Include> names, as often as it asks, in its place.
  void RunInclude(const CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager,
                  int nLevel);
  // A new control for an element name: the known classes, then the
  // plugins' factories, then the callback.  Null when none knows it.
  CControlUI* CreateControl(LPCWSTR pstrClass) const;
  // The classes the builder knows by element name (DialogBuilderClasses.cpp).
  static CControlUI* CreateKnownControl(LPCWSTR pstrClass);

  // DialogBuilderResources.cpp.
  static void RegisterResources(const CMarkupNode& root, CPaintManagerUI* pManager);
  static void ApplyWindowSettings(const CMarkupNode& root, CPaintManagerUI* pManager);

  CMarkup m_xml;
  IDialogBuilderCallback* m_pCallback;
  // The resource type when the document came from a module resource by
  // id; included files are then module resources of the same type.
  LPCWSTR m_pstrtype;
  // How many includes led to this builder, and the level its top-level
  // controls take in the whole tree.
  int m_nIncludeDepth;
  int m_nLevel;
  // The includes the whole build may still run: this builder's own count
  // when it is the outermost, the outermost builder's otherwise.
  int m_nIncludesLeft;
  int* m_pIncludesLeft;
};

}  // namespace SkinUI
