#include "toolkit/core/WindowImplBase.h"

#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

#include "toolkit/controls/ControlUI.h"
#include "toolkit/controls/DialogBuilder.h"

namespace SkinUI {
namespace {

using Handler = LRESULT (WindowImplBase::*)(UINT, WPARAM, LPARAM, bool&);

struct MessageRow {
  UINT uMsg;
  Handler pfnHandler;
};

// The messages the window answers itself, each with its handler.  Handlers
// are virtual, so a derived window's override is the one called.
const MessageRow kMessageHandlers[] = {
    {WM_CREATE, &WindowImplBase::OnCreate},
    {WM_CLOSE, &WindowImplBase::OnClose},
    {WM_DESTROY, &WindowImplBase::OnDestroy},
    {WM_NCACTIVATE, &WindowImplBase::OnNcActivate},
    {WM_NCCALCSIZE, &WindowImplBase::OnNcCalcSize},
    {WM_NCPAINT, &WindowImplBase::OnNcPaint},
    {WM_NCHITTEST, &WindowImplBase::OnNcHitTest},
    {WM_GETMINMAXINFO, &WindowImplBase::OnGetMinMaxInfo},
    {WM_MOUSEWHEEL, &WindowImplBase::OnMouseWheel},
    {WM_MOUSEHOVER, &WindowImplBase::OnMouseHover},
    {WM_SIZE, &WindowImplBase::OnSize},
    {WM_CHAR, &WindowImplBase::OnChar},
    {WM_SYSCOMMAND, &WindowImplBase::OnSysCommand},
    {WM_KEYDOWN, &WindowImplBase::OnKeyDown},
    {WM_KILLFOCUS, &WindowImplBase::OnKillFocus},
    {WM_SETFOCUS, &WindowImplBase::OnSetFocus},
    {WM_LBUTTONDOWN, &WindowImplBase::OnLButtonDown},
    {WM_LBUTTONUP, &WindowImplBase::OnLButtonUp},
    {WM_MOUSEMOVE, &WindowImplBase::OnMouseMove},
};

Handler FindHandler(UINT uMsg) {
  for (const MessageRow& row : kMessageHandlers) {
    if (row.uMsg == uMsg) return row.pfnHandler;
  }
  return nullptr;
}

constexpr wchar_t kSkinFailureText[] = L"加载资源文件失败";
constexpr wchar_t kSkinFailureCaption[] = L"SkinUI";
constexpr wchar_t kZipResourceType[] = L"ZIPRES";
constexpr wchar_t kXmlResourceType[] = L"xml";

}  // namespace

LPBYTE WindowImplBase::m_lpResourceZIPBuffer = nullptr;
const void* WindowImplBase::m_pResourceZIPSource = nullptr;
DWORD WindowImplBase::m_dwResourceZIPSize = 0;

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() = default;

void WindowImplBase::InitWindow() {}

CSkinString WindowImplBase::GetZIPFileName() const { return CSkinString(); }

LPCWSTR WindowImplBase::GetResourceID() const { return L""; }

UILIB_RESOURCETYPE WindowImplBase::GetResourceType() const { return ResourceFile; }

UINT WindowImplBase::GetClassStyle() const { return CS_DBLCLKS; }

CControlUI* WindowImplBase::CreateControl(LPCWSTR /*pstrClass*/) { return nullptr; }

LONG WindowImplBase::GetStyle() {
  const LONG styleValue = static_cast<LONG>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
  return styleValue & ~static_cast<LONG>(WS_CAPTION);
}

void WindowImplBase::Notify(TNotifyUI& msg) { NotifyPump(msg); }

LRESULT WindowImplBase::HandleCustomMessage(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                                            bool& bHandled) {
  bHandled = false;
  return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  LRESULT lRes = 0;
  bool bHandled = true;
  if (Handler pfnHandler = FindHandler(uMsg)) {
    lRes = (this->*pfnHandler)(uMsg, wParam, lParam, bHandled);
  } else {
    bHandled = false;
  }
  if (bHandled) return lRes;

  bHandled = true;
  lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
  if (bHandled) return lRes;

  if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                                 bool& /*bHandled*/) {
  // The whole window becomes client area.  The frame is re-applied at the
  // window's own place: the window being created is neither moved, raised
  // nor activated by it.
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, GetStyle() | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  RECT rcClient = {};
  ::GetClientRect(m_hWnd, &rcClient);
  ::SetWindowPos(m_hWnd, nullptr, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                 rcClient.bottom - rcClient.top,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  m_PaintManager.Init(m_hWnd);
  m_PaintManager.AddPreMessageFilter(this);

  // Without its archive resource the window lives on, empty.
  if (!PrepareSkinResources()) return 0;

  CControlUI* pRoot = BuildSkin();
  if (pRoot == nullptr) {
    // The one error the program ever shows; a window without its skin is
    // of no use, so the process ends here.
    ::MessageBoxW(nullptr, kSkinFailureText, kSkinFailureCaption, MB_OK | MB_ICONERROR);
    ::ExitProcess(1);
  }
  m_PaintManager.AttachDialog(pRoot);
  m_PaintManager.AddNotifier(this);
  InitWindow();
  return 0;
}

bool WindowImplBase::PrepareSkinResources() {
  CSkinString strResourcePath = CPaintManagerUI::GetResourcePath();
  if (strResourcePath.IsEmpty()) {
    strResourcePath = CPaintManagerUI::GetInstancePath();
    strResourcePath += GetSkinFolderName();
  }
  CPaintManagerUI::SetResourcePath(strResourcePath);

  switch (GetResourceType()) {
    case ResourceZip:
      CPaintManagerUI::SetResourceZip(GetZIPFileName(), true);
      return true;
    case ResourceZipModule: {
      const HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
      const HRSRC hResource = ::FindResourceW(hModule, GetResourceID(), kZipResourceType);
      if (hResource == nullptr) return false;
      const HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
      if (hGlobal == nullptr) return false;
      const DWORD dwSize = ::SizeofResource(hModule, hResource);
      const void* pData = ::LockResource(hGlobal);
      if (pData == nullptr || dwSize == 0) return false;
      // The copy is made once per resource: the paint manager reads it for
      // the rest of the process, and a fresh copy for every window opened
      // from the same archive would only be lost memory.
      if (m_lpResourceZIPBuffer == nullptr || m_pResourceZIPSource != pData) {
        std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[dwSize]);
        if (!buffer) return false;
        std::memcpy(buffer.get(), pData, dwSize);
        m_lpResourceZIPBuffer = buffer.release();
        m_pResourceZIPSource = pData;
        m_dwResourceZIPSize = dwSize;
      }
      CPaintManagerUI::SetResourceZip(m_lpResourceZIPBuffer, m_dwResourceZIPSize);
      return true;
    }
    default:
      return true;
  }
}

CControlUI* WindowImplBase::BuildSkin() {
  CDialogBuilder builder;
  const CSkinString strSkinFile = GetSkinFileName();
  if (GetResourceType() == ResourceModule) {
    const unsigned long id = std::wcstoul(strSkinFile, nullptr, 10);
    return builder.Create(STRINGorID(static_cast<unsigned int>(id)), kXmlResourceType, this,
                          &m_PaintManager);
  }
  return builder.Create(STRINGorID(strSkinFile.GetData()), nullptr, this, &m_PaintManager);
}

void WindowImplBase::OnFinalMessage(HWND /*hWnd*/) {
  m_PaintManager.RemovePreMessageFilter(this);
  m_PaintManager.RemoveNotifier(this);
  m_PaintManager.ReapObjects(m_PaintManager.GetRoot());
}

}  // namespace SkinUI
