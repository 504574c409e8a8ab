// The running engine of this process: the browser program behind it, the
// engine's UI thread and render thread, the DevTools connection, and the
// browsers.  It exists from a successful CefInitialize to CefShutdown.
#pragma once

#include <json/value.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "include/cef_app.h"
#include "include/cef_browser.h"
#include "src/DevToolsConnection.h"
#include "src/FramePicture.h"
#include "src/ModalDialogs.h"
#include "src/RenderSide.h"
#include "src/TaskThread.h"
#include "util/UniqueHandle.h"

namespace engine {

class BrowserImpl;
class BrowserLaunch;
class Downloads;
class EarlyLaunch;

class Engine final : public DevToolsConnection::Listener {
 public:
  // The engine, or null outside CefInitialize .. CefShutdown.  Read on any
  // thread; it changes only while no engine thread runs.
  static Engine* Get();

  static bool Initialize(const CefMainArgs& args, const CefSettings& settings,
                         CefRefPtr<CefApp> application);
  static void Shutdown();

  TaskThread& Ui() { return m_ui; }
  TaskThread& Renderer() { return m_renderer; }
  RenderSide& Render() { return *m_render; }
  DevToolsConnection& DevTools() { return m_devTools; }
  CefRefPtr<CefApp> Application() { return m_application; }

  // UI thread: starts creating a page target for the browser, which gets
  // it through BrowserImpl::Attach.
  void CreateTarget(CefRefPtr<BrowserImpl> browser, const std::string& url);
  // UI thread: a popup's decision, taken when its opener asked to open it.
  struct PopupDecision {
    bool cancel = true;
    CefRefPtr<BrowserImpl> browser;  // the popup's browser when allowed
    // Lets the opener's navigations go on once the new window has been
    // taken or refused; safe to call more than once.
    std::function<void()> settled;
  };
  void AddPopupDecision(const std::string& openerTargetId, PopupDecision decision);
  void Forget(BrowserImpl* browser);
  CefRefPtr<BrowserImpl> FindByFrame(const std::string& frameId);
  std::vector<CefRefPtr<BrowserImpl>> Browsers() const;
  // Where downloads land until their user has chosen a file (Windows path,
  // ending in a backslash).
  const std::wstring& DownloadFolder() const { return m_downloadFolder; }
  Downloads& DownloadList() { return *m_downloads; }
  // UI thread: the modal dialogs the engine shows.
  ModalDialogs& Dialogs() { return m_dialogs; }

 private:
  Engine();
  ~Engine();

  bool Start(const CefSettings& settings, CefRefPtr<CefApp> application);
  void Stop();
  void Connect();
  void BecomeReady();
  // Gives the target to the browser now if it has attached, else once it
  // does.
  void ClaimTarget(const std::string& targetId, CefRefPtr<BrowserImpl> browser,
                   const std::string& url);
  void AdoptTarget(const Json::Value& params);
  // The page prepared for the first browser (EnginePreparedPage.cpp).
  void PreparePage(const std::string& targetId);
  void PreparedPageAttached(const std::string& sessionId);
  bool ClaimPreparedPage(CefRefPtr<BrowserImpl> browser);
  bool HoldPreparedPageEvent(const std::string& sessionId, const std::string& method,
                             const Json::Value& params);
  void MatchPopups(const std::string& openerTargetId);

  void OnDevToolsEvent(const std::string& sessionId, const std::string& method,
                       const Json::Value& params) override;
  bool OnReaderThreadEvent(const std::string& sessionId, const std::string& method,
                           Json::Value& params) override;
  void OnDevToolsClosed() override;

  TaskThread m_ui;
  TaskThread m_renderer;
  DevToolsConnection m_devTools;
  // The browser program: launched early and not yet answering, or the
  // engine's own launch (after an early one answered, that one).
  std::unique_ptr<EarlyLaunch> m_early;
  std::unique_ptr<BrowserLaunch> m_launch;
  std::unique_ptr<RenderSide> m_render;
  CefRefPtr<CefApp> m_application;
  std::unique_ptr<Downloads> m_downloads;
  ModalDialogs m_dialogs;
  std::wstring m_downloadFolder;

  // The rest belongs to the UI thread.
  bool m_ready = false;
  std::vector<std::pair<CefRefPtr<BrowserImpl>, std::string>> m_waitingForBrowser;
  std::map<std::string, CefRefPtr<BrowserImpl>> m_bySession;
  std::map<std::string, CefRefPtr<BrowserImpl>> m_byTarget;
  // Targets that attached before their creation was answered, by id.
  std::map<std::string, Json::Value> m_unclaimedTargets;
  std::map<std::string, std::pair<CefRefPtr<BrowserImpl>, std::string>> m_creating;
  // The blank page the browser program opens at start, prepared for the
  // first browser the client creates: set up as every page is (events,
  // bridge, the engine's script) while the client still makes its window,
  // so that the browser only has to give it its size and address.
  struct PreparedPage {
    std::string targetId;
    std::string sessionId;           // empty until it has attached
    bool running = false;            // its renderer answered the set-up
    CefRefPtr<BrowserImpl> browser;  // the browser that took it, if any
    // Its events until a browser takes it.
    std::vector<std::pair<std::string, Json::Value>> events;
  };
  std::unique_ptr<PreparedPage> m_prepared;
  std::map<std::string, std::vector<PopupDecision>> m_popupDecisions;
  std::map<std::string, std::vector<Json::Value>> m_waitingPopups;
};

}  // namespace engine
