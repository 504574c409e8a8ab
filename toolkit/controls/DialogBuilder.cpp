#include "toolkit/controls/DialogBuilder.h"

#include <cwchar>

#include "toolkit/controls/AttributeValue.h"
#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/IContainerUI.h"
#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/ResourceReader.h"

namespace SkinUI {
namespace {

// The longest include source read, terminator included.
constexpr size_t kIncludeSourceUnits = 500;

bool IsNamed(LPCWSTR name, LPCWSTR expected) {
  return name != nullptr && std::wcscmp(name, expected) == 0;
}

// Resource declarations count only directly below the root, where they
// were taken already; anywhere else they are not controls either.
bool IsResourceDeclaration(LPCWSTR name) {
  return IsNamed(name, L"Image") || IsNamed(name, L"Font") || IsNamed(name, L"Default");
}

// Gives the element's skin attributes to the control: first the default
// list the window declared for this element name, then the element's own
// in document order, so that the element overrides the defaults and a
// later attribute an earlier one.  The control belongs to the manager
// meanwhile, since some attributes look up fonts and images there.
void ApplyAttributes(const CMarkupNode& node, CControlUI* pControl, CPaintManagerUI* pManager) {
  if (pManager != nullptr) {
    pControl->SetManager(pManager, nullptr, false);
    LPCWSTR defaults = pManager->GetDefaultAttributeList(node.GetName());
    if (defaults != nullptr) pControl->ApplyAttributeList(defaults);
  }
  const int count = node.GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
  }
  // The finished tree is attached and initialised as a whole later, when
  // the window installs it.
  if (pManager != nullptr) pControl->SetManager(nullptr, nullptr, false);
}

}  // namespace

CDialogBuilder::CDialogBuilder()
    : m_pCallback(nullptr),
      m_pstrtype(nullptr),
      m_nIncludeDepth(0),
      m_nLevel(1),
      m_nIncludesLeft(kMaxIncludes),
      m_pIncludesLeft(&m_nIncludesLeft) {}

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCWSTR type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent) {
  m_pstrtype = nullptr;
  if (!xml.IsId() && xml.m_lpstr != nullptr && xml.m_lpstr[0] == L'<') {
    if (!m_xml.Load(xml.m_lpstr)) return nullptr;
    return Create(pCallback, pManager, pParent);
  }
  CResourceBuffer bytes;
  bool read = false;
  if (xml.IsId()) {
    read = CResourceReader::ReadFromModule(xml, type, bytes);
    if (read) m_pstrtype = type;
  } else if (xml.m_lpstr != nullptr) {
    read = CResourceReader::Read(xml.m_lpstr, nullptr, bytes);
  }
  if (!read) {
    // Parsing nothing clears the error of an earlier document, so that an
    // unreadable source does not report someone else's parse error.
    m_xml.Load(L"");
    m_xml.Release();
    return nullptr;
  }
  if (!m_xml.LoadFromMem(bytes.GetData(), bytes.GetSize(), MarkupEncoding::Utf8)) return nullptr;
  // The bytes go now; the document holds its own copy of the text.
  bytes.Free();
  return Create(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent) {
  m_pCallback = pCallback;
  if (m_pIncludesLeft == &m_nIncludesLeft) m_nIncludesLeft = kMaxIncludes;
  CMarkupNode root = m_xml.GetRoot();
  if (!root.IsValid()) return nullptr;
  if (pManager != nullptr) {
    RegisterResources(root, pManager);
    ApplyWindowSettings(root, pManager);
  }
  return ParseLevel(root, pParent, pManager, m_nLevel);
}

CMarkup* CDialogBuilder::GetMarkup() { return &m_xml; }

void CDialogBuilder::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const {
  m_xml.GetLastErrorMessage(pstrMessage, cchMax);
}

void CDialogBuilder::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const {
  m_xml.GetLastErrorLocation(pstrSource, cchMax);
}

CControlUI* CDialogBuilder::ParseLevel(const CMarkupNode& node, CControlUI* pParent,
                                       CPaintManagerUI* pManager, int nLevel) {
  if (nLevel > kMaxNesting) return nullptr;
  IContainerUI* pContainer = nullptr;
  CControlUI* pReturn = nullptr;
  for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
    LPCWSTR pstrClass = child.GetName();
    if (IsResourceDeclaration(pstrClass)) continue;
    if (IsNamed(pstrClass, L"Include")) {
      if (child.HasAttributes()) RunInclude(child, pParent, pManager, nLevel);
      continue;
    }

    CControlUI* pControl = CreateControl(pstrClass);
    // Nobody knows the element: it is skipped with everything inside it.
    if (pControl == nullptr) continue;
    // The children go in first, so that a container's own attributes
    // (a selected tab, say) find them in place.
    if (child.HasChildren()) ParseLevel(child, pControl, pManager, nLevel + 1);

    if (pParent != nullptr && pContainer == nullptr) {
      pContainer = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
      // A parent that cannot hold children ends the level; the control has
      // nowhere to go.
      if (pContainer == nullptr) {
        delete pControl;
        return nullptr;
      }
    }
    // A parent that is already part of a window's tree attaches what it is
    // given to its manager at once: it registers the name and runs Init.
    // Such a parent gets the control finished, with its attributes, since
    // attaching and detaching it for the attributes would leave it in the
    // tree without manager and parent.
    const bool bLiveParent = pContainer != nullptr && pParent->GetManager() != nullptr;
    if (pContainer != nullptr && !bLiveParent && !pContainer->Add(pControl)) {
      delete pControl;
      continue;
    }
    ApplyAttributes(child, pControl, pManager);
    if (bLiveParent && !pContainer->Add(pControl)) {
      delete pControl;
      continue;
    }

    if (pReturn == nullptr) {
      pReturn = pControl;
    } else if (pParent == nullptr) {
      // Without a parent only the first control has an owner: the caller,
      // who gets it.  The others could never be reached again.
      delete pControl;
    }
  }
  return pReturn;
}

void CDialogBuilder::RunInclude(const CMarkupNode& node, CControlUI* pParent,
                                CPaintManagerUI* pManager, int nLevel) {
  const int count = node.HasAttribute(L"count") ? ParseInt(node.GetAttributeValue(L"count")) : 1;
  wchar_t source[kIncludeSourceUnits] = {};
  if (!node.GetAttributeValue(L"source", source, kIncludeSourceUnits) || source[0] == L'\0') {
    return;
  }
  if (count <= 0 || m_nIncludeDepth >= kMaxIncludeDepth) return;
  for (int i = 0; i < count; ++i) {
    if (*m_pIncludesLeft <= 0) return;
    --*m_pIncludesLeft;
    CDialogBuilder builder;
    builder.m_nIncludeDepth = m_nIncludeDepth + 1;
    builder.m_nLevel = nLevel;
    builder.m_pIncludesLeft = m_pIncludesLeft;
    CControlUI* pFirst = nullptr;
    if (m_pstrtype != nullptr) {
      // A skin held in module resources names the resource ids of its
      // parts.  Ids are 16-bit: a larger number must not wrap round onto
      // some other resource.
      const int id = ParseInt(source);
      if (id <= 0 || id > 0xFFFF) return;
      pFirst = builder.Create(STRINGorID(static_cast<unsigned int>(id)), m_pstrtype, m_pCallback,
                              pManager, pParent);
    } else {
      pFirst = builder.Create(STRINGorID(source), nullptr, m_pCallback, pManager, pParent);
    }
    // What an include makes is not the level's result; with a parent it
    // belongs to the parent, without one to nobody.
    if (pParent == nullptr) delete pFirst;
  }
}

CControlUI* CDialogBuilder::CreateControl(LPCWSTR pstrClass) const {
  CControlUI* pControl = CreateKnownControl(pstrClass);
  if (pControl != nullptr) return pControl;
  const CStdPtrArray* plugins = CPaintManagerUI::GetPlugins();
  for (int i = 0; i < plugins->GetSize(); ++i) {
    auto create = reinterpret_cast<LPCREATECONTROL>(plugins->GetAt(i));
    if (create == nullptr) continue;
    pControl = create(pstrClass);
    if (pControl != nullptr) return pControl;
  }
  return m_pCallback != nullptr ? m_pCallback->CreateControl(pstrClass) : nullptr;
}

}  // namespace SkinUI
