// One browser: a page target of the browser program, the window that shows
// it, its frames, and the translation of the page's DevTools events into
// the client's callbacks.  The object is both the browser and its host, as
// the two always live and die together.
//
// Threads: the client's callbacks, the DevTools traffic and the view run on
// the engine's UI thread; calls the application makes from other threads
// are posted there.  The few values other threads read (identifiers,
// navigation state) are atomics or fixed after creation.
#pragma once

#include <json/value.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "include/cef_browser.h"
#include "include/cef_client.h"
#include "src/BrowserView.h"
#include "src/DevToolsConnection.h"
#include "src/FramePicture.h"

namespace engine {

class FrameImpl;

class BrowserImpl : public CefBrowser, public CefBrowserHost, private BrowserView::Host {
 public:
  BrowserImpl(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client, bool isPopup,
              HWND opener);
  ~BrowserImpl() override;

  // UI thread: makes the window; false when the platform refused it.
  bool CreateView();
  // UI thread: the page target is ready for this browser.  Sets up the
  // session, tells the client, and lets the target go on to its address.
  void Attach(const std::string& targetId, const std::string& sessionId);
  // UI thread: the same for a page target the engine prepared before this
  // browser existed, whose set-up (SendPageSetUp) has been sent.  `running`
  // tells whether its renderer answered that set-up; if not yet, the engine
  // calls PreparedPageRuns once it has.  Until then the page's events are
  // held by the engine and given to OnEvent in their order.
  void AttachPrepared(const std::string& targetId, const std::string& sessionId, bool running);
  void PreparedPageRuns();
  // UI thread: the page set-up that holds for every browser, whatever its
  // window: its events, its bridge and the engine's script in every
  // document before the page's own.
  static void SendPageSetUp(DevToolsConnection& devTools, const std::string& sessionId,
                            const std::string& pageScript);
  // UI thread: the address the browser was created for.
  void NoteRequestedUrl(const std::string& url) { m_requestedUrl = url; }
  // UI thread: navigations of the page wait while its window.open is being
  // answered.  The opening document is still inside that call; moving the
  // frame on before the new window has been taken or refused leaves the next
  // document stalled in the renderer.  Each hold is released once.
  void HoldNavigations();
  void ReleaseNavigations();
  // UI thread: closes without asking anyone (engine shutdown).
  void Discard();
  // UI thread: a DevTools event of this browser's session.
  void OnEvent(const std::string& method, const Json::Value& params);
  // UI thread: the browser program may send the next picture.
  void AcknowledgeFrame(int screencastFrame);
  // UI thread: a new picture of the page arrived.
  void OnPicture(std::shared_ptr<const FramePicture> picture);
  // UI thread: the page target went away by itself.
  void OnTargetGone();

  const std::string& TargetId() const { return m_targetId; }
  const std::string& SessionId() const { return m_sessionId; }
  bool HasFrame(const std::string& devToolsFrameId) const;
  CefRefPtr<FrameImpl> FrameByDevToolsId(const std::string& devToolsFrameId) const;

  // Frame operations, on the UI thread.
  void Navigate(const std::string& frameId, const std::string& url);
  void LoadDocument(const std::string& frameId, const std::string& html, const std::string& url);
  void Evaluate(const std::string& frameId, const std::string& expression);

  // CefBrowser
  CefRefPtr<CefBrowserHost> GetHost() override;
  bool CanGoBack() override;
  void GoBack() override;
  bool CanGoForward() override;
  void GoForward() override;
  bool IsLoading() override;
  void Reload() override;
  void ReloadIgnoreCache() override;
  void StopLoad() override;
  int GetIdentifier() override;
  bool IsSame(CefRefPtr<CefBrowser> that) override;
  bool IsPopup() override;
  bool HasDocument() override;
  CefRefPtr<CefFrame> GetMainFrame() override;
  CefRefPtr<CefFrame> GetFocusedFrame() override;
  CefRefPtr<CefFrame> GetFrame(int64 identifier) override;
  CefRefPtr<CefFrame> GetFrame(const CefString& name) override;
  size_t GetFrameCount() override;
  void GetFrameIdentifiers(std::vector<int64>& identifiers) override;
  void GetFrameNames(std::vector<CefString>& names) override;
  bool SendProcessMessage(CefProcessId target_process,
                          CefRefPtr<CefProcessMessage> message) override;

  // CefBrowserHost
  CefRefPtr<CefBrowser> GetBrowser() override;
  void CloseBrowser(bool force_close) override;
  void SetFocus(bool focus) override;
  CefWindowHandle GetWindowHandle() override;
  CefWindowHandle GetOpenerWindowHandle() override;
  CefRefPtr<CefClient> GetClient() override;
  CefRefPtr<CefRequestContext> GetRequestContext() override;
  double GetZoomLevel() override;
  void SetZoomLevel(double zoomLevel) override;
  void StartDownload(const CefString& url) override;
  void Print() override;
  bool IsWindowRenderingDisabled() override;
  void WasResized() override;
  void WasHidden(bool hidden) override;
  void NotifyScreenInfoChanged() override;
  void Invalidate(cef_paint_element_type_t type) override;

 private:
  // BrowserView::Host
  void SendInput(const char* method, const Json::Value& params) override;
  void ViewResized(int width, int height) override;
  void ViewTick() override;
  void ViewCloseRequested() override;
  void ViewDestroyed() override;

  void BeginSession(const std::string& targetId, const std::string& sessionId);
  void StartScreencast(std::function<void()> started);
  void LoadFirstAddress();
  void AnnounceCreated();
  int Send(const std::string& method, const Json::Value& params = Json::Value(Json::objectValue),
           std::function<void(const Json::Value&, const Json::Value&)> reply = nullptr);
  void RunOnUi(std::function<void()> task);
  CefRefPtr<FrameImpl> FrameFor(const std::string& devToolsFrameId, const std::string& parentId);
  void ApplyViewport();
  void CapturePicture();
  void UpdateFetchPatterns();
  void ReportLoadingState(bool loading);
  void CloseSequence(bool askClient);

  // Events, by concern (BrowserEvents.cpp).
  void OnFrameNavigated(const Json::Value& frame);
  void OnFrameDetached(const std::string& frameId);
  void OnRequestPaused(const Json::Value& params);
  // The page's calls of native functions (BrowserBridge.cpp).
  void OnBridgeCall(const Json::Value& params);
  void OnBridgeReply(int pageContext, unsigned long long call, const std::string& text);
  void OnDebuggerPaused(const Json::Value& params);
  void AnswerPause(int pageContext);
  void OnPageContextCreated(const Json::Value& context);
  void OnPageContextGone(int pageContext);
  void OnPageContextsCleared();
  void OnDebuggerResumed();
  void OnPageEvent(const Json::Value& event);
  void OnWindowOpen(const Json::Value& params);
  void OnJavaScriptDialog(const Json::Value& params);
  void OnContextMenu(const Json::Value& event);
  void Fulfill(const std::string& requestId, const std::string& contentType,
               const std::string& body);

  const int m_id;
  const bool m_isPopup;
  const HWND m_opener;
  CefWindowInfo m_windowInfo;
  CefRefPtr<CefClient> m_client;
  BrowserView m_view;
  std::atomic<HWND> m_window{nullptr};
  std::string m_targetId;
  std::string m_sessionId;
  std::atomic<bool> m_loading{false};
  std::atomic<bool> m_canGoBack{false};
  std::atomic<bool> m_canGoForward{false};
  std::atomic<bool> m_hasDocument{false};
  std::atomic<bool> m_closed{false};

  // The frames, by the DevTools id; written on the UI thread, read under
  // the lock by the frame queries other threads may make.
  mutable std::mutex m_framesLock;
  std::map<std::string, CefRefPtr<FrameImpl>> m_frames;
  CefRefPtr<FrameImpl> m_mainFrame;

  // UI thread only.
  bool m_attached = false;
  std::map<std::string, std::pair<std::string, std::string>> m_documentRequests;
  std::map<std::string, std::string> m_documentResponses;
  std::map<std::string, std::string> m_pendingDocuments;  // LoadString, by URL
  std::map<std::string, int> m_frameContexts;             // default script context, by frame
  // The page's bridge calls: each is carried out as soon as it arrives and
  // answered once its page stands at the page script's debugger statement
  // (both may come first).  A page that cannot stop at that moment never
  // pauses; its next call replaces the call.
  struct BridgeCall {
    unsigned long long number = 0;
    bool replied = false;
    std::string reply;
    std::string pausedFrame;  // the call frame standing at the statement
  };
  std::map<int, BridgeCall> m_bridgeCalls;      // by page context
  std::map<int, std::string> m_contextFrames;   // default page contexts' frames
  std::map<std::string, int> m_scriptContexts;  // page scripts' contexts, by script
  unsigned long long m_lastBridgeCall = 0;
  // The page stands at a debugger statement, or is about to: input waits
  // until it goes on.  Confirmed once the stop is reported.
  bool m_pageStopped = false;
  bool m_stopConfirmed = false;
  unsigned long long m_stopNumber = 0;
  std::vector<std::pair<std::string, Json::Value>> m_heldInput;
  bool m_captureInFlight = false;
  bool m_pictureIsExact = false;
  unsigned long long m_lastChangeTick = 0;
  double m_zoom = 0.0;
  // The address last asked for in the main frame, and how often the page's
  // renderer has ended under it.
  std::string m_requestedUrl;
  int m_crashes = 0;
  int m_navigationHolds = 0;
  bool m_firstAddressLoaded = false;
  // A prepared page's screencast has been answered; its renderer runs.
  bool m_screencastStarted = false;
  bool m_preparedRuns = false;
  std::vector<std::function<void()>> m_heldNavigations;

  IMPLEMENT_REFCOUNTING(BrowserImpl);
};

}  // namespace engine
