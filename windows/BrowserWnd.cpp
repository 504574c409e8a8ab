#include "windows/BrowserWnd.h"

#include <cwchar>
#include <new>

#include "app/AppConfig.h"
#include "browser/BrowserWindowMessages.h"
#include "include/cef_browser.h"
#include "toolkit/controls/ContainerUI.h"
#include "toolkit/controls/ControlUI.h"
#include "windows/TabItem.h"

namespace {

constexpr wchar_t kClassName[] = L"CBrowserWnd";
constexpr wchar_t kSkinFolder[] = L"skin";
constexpr wchar_t kSkinFile[] = L"BrowserWnd.xml";

constexpr wchar_t kTitlePanel[] = L"pan_title";
constexpr wchar_t kBody[] = L"body";
constexpr wchar_t kQuitControl[] = L"close";
// The container of the skin that holds the tabs.
constexpr wchar_t kTabStrip[] = L"tab_strip";

constexpr UINT kIconResource = 101;
constexpr DWORD kBrowserStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP;

}  // namespace

const SkinUI::SKIN_MSGMAP_ENTRY CBrowserWnd::kMessageEntries[] = {
    SkinUI::SkinMapNotify(L"selectchanged", L"", &CBrowserWnd::OnSelectChanged),
    SkinUI::SkinMapEnd()};
const SkinUI::SKIN_MSGMAP CBrowserWnd::kMessageMap = {&WindowImplBase::GetThisMessageMap,
                                                      kMessageEntries};

const SkinUI::SKIN_MSGMAP* CBrowserWnd::GetThisMessageMap() { return &kMessageMap; }

const SkinUI::SKIN_MSGMAP* CBrowserWnd::GetMessageMap() const { return GetThisMessageMap(); }

CBrowserWnd::CBrowserWnd()
    : m_pBody(nullptr), m_pTabContainer(nullptr), m_pTitlePanel(nullptr), m_bAskingToQuit(false) {}

CBrowserWnd::~CBrowserWnd() { m_clientHandler = nullptr; }

LPCWSTR CBrowserWnd::GetWindowClassName() const { return kClassName; }

SkinUI::CSkinString CBrowserWnd::GetSkinFolderName() { return kSkinFolder; }

SkinUI::CSkinString CBrowserWnd::GetSkinFileName() { return kSkinFile; }

SkinUI::UILIB_RESOURCETYPE CBrowserWnd::GetResourceType() const { return SkinUI::ResourceFile; }

SkinUI::CControlUI* CBrowserWnd::CreateControl(LPCWSTR pstrClass) {
  if (pstrClass != nullptr && std::wcscmp(pstrClass, TabItem::kElementName) == 0) {
    return new (std::nothrow) TabItem;
  }
  return nullptr;
}

void CBrowserWnd::InitWindow() {
  SetIcon(kIconResource);
  g_hMainWnd = m_hWnd;
  m_pTitlePanel = m_PaintManager.FindControl(kTitlePanel);
  m_pBody = m_PaintManager.FindControl(kBody);
  if (SkinUI::CControlUI* pStrip = m_PaintManager.FindControl(kTabStrip)) {
    m_pTabContainer = static_cast<SkinUI::CContainerUI*>(pStrip->GetInterface(L"Container"));
  }
}

void CBrowserWnd::OpenLoginPage(const std::wstring& url) {
  m_strUrl = url;
  m_strUrl = ReadLoginUrl();
  if (SkinUI::CControlUI* pBody = m_PaintManager.FindControl(kBody)) {
    CreateBrowserWindow(pBody->GetPos());
  }
}

void CBrowserWnd::CreateBrowserWindow(RECT rc) {
  CefWindowInfo info;
  info.parent_window = m_PaintManager.GetPaintWindow();
  info.style = kBrowserStyle;
  info.x = rc.left;
  info.y = rc.top;
  info.width = rc.right - rc.left;
  info.height = rc.bottom - rc.top;

  const CefBrowserSettings settings;
  m_clientHandler = new CefBrowserEventHandler(m_hWnd);
  CefBrowserHost::CreateBrowser(info, m_clientHandler.get(), m_strUrl, settings, nullptr);
  PostMessageW(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void CBrowserWnd::PlaceBrowser(bool bRepaint) const {
  if (m_pBody == nullptr || g_hBrowserWnd == nullptr) return;
  const RECT& rc = m_pBody->GetPos();
  ::MoveWindow(g_hBrowserWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               bRepaint ? TRUE : FALSE);
}

void CBrowserWnd::Notify(SkinUI::TNotifyUI& msg) {
  const SkinUI::CSkinString sName =
      msg.pSender != nullptr ? msg.pSender->GetName() : SkinUI::CSkinString();
  if (msg.sType.Compare(L"PosChanged") == 0 && sName.Compare(kBody) == 0) {
    PlaceBrowser(true);
  } else if (msg.sType.Compare(L"click") == 0 && sName.Compare(kQuitControl) == 0) {
    PostMessageW(WM_CLOSE, 0, 0);
  }
  WindowImplBase::Notify(msg);
}

void CBrowserWnd::OnFinalMessage(HWND hWnd) {
  WindowImplBase::OnFinalMessage(hWnd);
  m_clientHandler = nullptr;
  // The handles name windows that are gone now (the browser's window was
  // a child of this one); nothing may send to them or move them any more.
  if (g_hMainWnd == hWnd) {
    g_hMainWnd = nullptr;
    g_hBrowserWnd = nullptr;
  }
  delete this;
}
