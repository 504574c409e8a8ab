// The application's main window: a frameless skinned window built from
// "BrowserWnd.xml" with a title panel, one embedded browser laid over the
// control named "body", and the tab strip's styling.  It asks before the
// application quits and acts on the private messages of the browser code
// and of outside senders (quit, relaunch, restore and size, maximise).
//
// Everything here runs on the thread that created the window, the
// application's main thread.  The browser's own events arrive as window
// messages from the engine's thread.
//
// Sources by concern: BrowserWnd.cpp (skin, controls, the browser and its
// placement, notifications, lifetime), BrowserWndMessages.cpp (the private
// messages, the quit question, relaunching, restore and size) and
// BrowserWndTabs.cpp (the tab strip's styling rules).
#pragma once

#include <windows.h>

#include <string>

#include "browser/CefBrowserEventHandler.h"
#include "toolkit/core/WindowImplBase.h"

namespace SkinUI {
class CContainerUI;
class CControlUI;
}  // namespace SkinUI

class CBrowserWnd : public SkinUI::WindowImplBase {
 public:
  CBrowserWnd();
  ~CBrowserWnd() override;

  LPCWSTR GetWindowClassName() const override;
  void InitWindow() override;
  void Notify(SkinUI::TNotifyUI& msg) override;
  // Tabs are the one element of the skin the dialog builder does not know.
  SkinUI::CControlUI* CreateControl(LPCWSTR pstrClass) override;

  // Opens the configured login page.  The address given is replaced by the
  // one the configuration file holds now, so an edit made while the
  // program starts is honoured.
  void OpenLoginPage(const std::wstring& url);
  // Starts the asynchronous creation of the browser over `rc` and asks for
  // the window to be maximised once the queue runs.
  void CreateBrowserWindow(RECT rc);
  // Shuts the engine down, empties the engine's cache, ends the loop and
  // starts a fresh process of this program.
  void Relaunch();

  // "selectchanged" from any control: restyles the tab strip.
  void OnSelectChanged(SkinUI::TNotifyUI& msg);

  // The controls and the tab container, each null when the skin lacks it.
  SkinUI::CControlUI* GetBody() const { return m_pBody; }
  SkinUI::CControlUI* GetTitlePanel() const { return m_pTitlePanel; }
  SkinUI::CContainerUI* GetTabContainer() const { return m_pTabContainer; }
  const std::wstring& GetUrl() const { return m_strUrl; }

  static const SkinUI::SKIN_MSGMAP* GetThisMessageMap();

 protected:
  SkinUI::CSkinString GetSkinFolderName() override;
  SkinUI::CSkinString GetSkinFileName() override;
  SkinUI::UILIB_RESOURCETYPE GetResourceType() const override;
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND hWnd) override;
  const SkinUI::SKIN_MSGMAP* GetMessageMap() const override;

 private:
  // Asks whether to quit; on yes the engine is shut down and the loop
  // ends.  The window itself stays.
  void ConfirmQuit();
  // Shuts the engine down and ends the application's loop.
  static void Quit();
  // Restores the window and, for positive tenths of the screen, sizes and
  // centres it.
  void RestoreAndSize(WPARAM wTenthsWide, LPARAM lTenthsHigh);
  // Moves the browser's window over the body control.
  void PlaceBrowser(bool bRepaint) const;
  void SetTitleText(const char* pstrUtf8);

  static const SkinUI::SKIN_MSGMAP_ENTRY kMessageEntries[];
  static const SkinUI::SKIN_MSGMAP kMessageMap;

  SkinUI::CControlUI* m_pBody;
  std::wstring m_strUrl;
  SkinUI::CContainerUI* m_pTabContainer;
  SkinUI::CControlUI* m_pTitlePanel;
  CefRefPtr<CefBrowserEventHandler> m_clientHandler;
  // Set while the quit question is up, so that a close request arriving
  // meanwhile does not stack a second question on the first.
  bool m_bAskingToQuit;
};
