#include "src/BrowserImpl.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "src/Engine.h"
#include "src/FrameImpl.h"
#include "src/PageScript.h"

namespace engine {
namespace {

int NextBrowserIdentifier() {
  static std::atomic<int> next{1};
  return next++;
}

// A picture of a page that changed is taken this long after the last
// change the page sent by itself, so that the window ends up showing the
// page exactly (moving pictures are sent compressed).
constexpr unsigned long long kSettleMs = 200;
// While the page loads, its pictures are on their way; an exact picture
// taken meanwhile holds them up, by most of a second for a large window.
// It is still taken should none come for this long.
constexpr unsigned long long kLoadingSettleMs = 500;
// Screencast pictures are compressed with this quality (0-100).
constexpr int kScreencastQuality = 90;

}  // namespace

BrowserImpl::BrowserImpl(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client, bool isPopup,
                         HWND opener)
    : m_id(NextBrowserIdentifier()),
      m_isPopup(isPopup),
      m_opener(opener),
      m_windowInfo(windowInfo),
      m_client(client),
      m_view(*this) {}

BrowserImpl::~BrowserImpl() {
  std::lock_guard<std::mutex> lock(m_framesLock);
  for (auto& frame : m_frames) frame.second->Detach();
}

bool BrowserImpl::CreateView() {
  CheckThread(Engine::Get()->Ui());
  BrowserView::Placement placement;
  placement.parent = m_windowInfo.parent_window;
  placement.style = m_windowInfo.style;
  placement.exStyle = m_windowInfo.ex_style;
  placement.x = m_windowInfo.x;
  placement.y = m_windowInfo.y;
  placement.width = m_windowInfo.width;
  placement.height = m_windowInfo.height;
  placement.title = CefString(&m_windowInfo.window_name).ToWString();
  placement.topLevel = (m_windowInfo.style & WS_CHILD) == 0;
  if (!m_view.Create(placement)) return false;
  m_window = m_view.Window();
  return true;
}

int BrowserImpl::Send(const std::string& method, const Json::Value& params,
                      std::function<void(const Json::Value&, const Json::Value&)> reply) {
  Engine* engine = Engine::Get();
  if (engine == nullptr || m_sessionId.empty() || m_closed) return 0;
  return engine->DevTools().Send(method, params, m_sessionId, std::move(reply));
}

void BrowserImpl::RunOnUi(std::function<void()> task) {
  Engine* engine = Engine::Get();
  if (engine == nullptr) return;
  if (engine->Ui().IsCurrent()) {
    task();
    return;
  }
  CefRefPtr<BrowserImpl> self(this);
  engine->Ui().Post([self, task = std::move(task)] { task(); });
}

void BrowserImpl::SendPageSetUp(DevToolsConnection& devTools, const std::string& sessionId,
                                const std::string& pageScript) {
  devTools.Send("Page.enable", Json::Value(Json::objectValue), sessionId);
  devTools.Send("Runtime.enable", Json::Value(Json::objectValue), sessionId);
  devTools.Send("Network.enable", Json::Value(Json::objectValue), sessionId);
  for (const char* name : {kEventBinding, kCallBinding}) {
    Json::Value binding(Json::objectValue);
    binding["name"] = name;
    devTools.Send("Runtime.addBinding", binding, sessionId);
  }
  // The page's calls wait at a debugger statement for their answers.
  devTools.Send("Debugger.enable", Json::Value(Json::objectValue), sessionId);
  Json::Value script(Json::objectValue);
  script["source"] = pageScript;
  devTools.Send("Page.addScriptToEvaluateOnNewDocument", script, sessionId);
}

void BrowserImpl::Attach(const std::string& targetId, const std::string& sessionId) {
  Engine* engine = Engine::Get();
  CheckThread(engine->Ui());
  BeginSession(targetId, sessionId);
  SendPageSetUp(engine->DevTools(), sessionId, engine->Render().PageScriptText());
  UpdateFetchPatterns();
  // No focus emulation: with it, this browser program's renderer ends now
  // and then as the first page commits.
  ApplyViewport();
  StartScreencast(nullptr);
  // The target's renderer answers the set-up only once it runs; the first
  // address is loaded after that, so that its document has all of it, and
  // then whatever the client loaded meanwhile, in its order.
  CefRefPtr<BrowserImpl> resumed(this);
  Send("Runtime.runIfWaitingForDebugger", Json::Value(Json::objectValue),
       [resumed](const Json::Value&, const Json::Value&) { resumed->LoadFirstAddress(); });
  AnnounceCreated();
}

void BrowserImpl::AttachPrepared(const std::string& targetId, const std::string& sessionId,
                                 bool running) {
  CheckThread(Engine::Get()->Ui());
  BeginSession(targetId, sessionId);
  if (!m_pendingDocuments.empty()) UpdateFetchPatterns();
  ApplyViewport();
  // The page's set-up was sent while it was prepared; what is left is this
  // window's size and pictures, which the first address waits for, so that
  // its first picture has the window's size.
  CefRefPtr<BrowserImpl> self(this);
  StartScreencast([self, running] {
    self->m_screencastStarted = true;
    if (running || self->m_preparedRuns) self->LoadFirstAddress();
  });
  AnnounceCreated();
}

void BrowserImpl::PreparedPageRuns() {
  m_preparedRuns = true;
  if (m_screencastStarted) LoadFirstAddress();
}

void BrowserImpl::BeginSession(const std::string& targetId, const std::string& sessionId) {
  m_targetId = targetId;
  m_sessionId = sessionId;
  m_attached = true;
  FrameFor(targetId, std::string());
  // Addresses the client loads before the set-up below is answered wait
  // for it: a document that starts earlier can miss the page events (its
  // new windows would then never be announced) and the bridge.
  HoldNavigations();
}

void BrowserImpl::StartScreencast(std::function<void()> started) {
  Json::Value screencast(Json::objectValue);
  screencast["format"] = "jpeg";
  screencast["quality"] = kScreencastQuality;
  screencast["everyNthFrame"] = 1;
  // The pictures are never made smaller than the page's own pixels, which
  // are the window's: the largest a window of the desktop can be, and the
  // window as it is now should it be larger still.
  screencast["maxWidth"] = std::max(::GetSystemMetrics(SM_CXVIRTUALSCREEN), m_view.Width() + 1);
  screencast["maxHeight"] = std::max(::GetSystemMetrics(SM_CYVIRTUALSCREEN), m_view.Height() + 1);
  if (!started) {
    Send("Page.startScreencast", screencast);
    return;
  }
  Send("Page.startScreencast", screencast,
       [started](const Json::Value&, const Json::Value&) { started(); });
}

void BrowserImpl::LoadFirstAddress() {
  if (m_firstAddressLoaded) return;
  m_firstAddressLoaded = true;
  if (!m_requestedUrl.empty() && !m_closed) {
    CefRefPtr<BrowserImpl> self(this);
    const std::string first = m_requestedUrl;
    m_heldNavigations.insert(m_heldNavigations.begin(),
                             [self, first] { self->Navigate(self->m_targetId, first); });
  }
  ReleaseNavigations();
}

void BrowserImpl::AnnounceCreated() {
  CefRefPtr<CefBrowser> self(this);
  Engine::Get()->Renderer().Post([self] {
    if (Engine* e = Engine::Get()) e->Render().BrowserCreated(self);
  });
  if (m_client) {
    if (CefRefPtr<CefLifeSpanHandler> handler = m_client->GetLifeSpanHandler()) {
      handler->OnAfterCreated(this);
    }
  }
}

void BrowserImpl::UpdateFetchPatterns() {
  // Requests are intercepted only while a document given as text waits
  // for its address to be asked for.
  if (m_pendingDocuments.empty()) {
    Send("Fetch.disable");
    return;
  }
  Json::Value patterns(Json::arrayValue);
  for (const auto& pending : m_pendingDocuments) {
    // Wildcards of the pattern language are escaped in the address.
    std::string escaped;
    for (const char c : pending.first) {
      if (c == '*' || c == '?' || c == '\\') escaped += '\\';
      escaped += c;
    }
    Json::Value document(Json::objectValue);
    document["urlPattern"] = escaped;
    document["resourceType"] = "Document";
    document["requestStage"] = "Request";
    patterns.append(document);
  }
  Json::Value params(Json::objectValue);
  params["patterns"] = patterns;
  Send("Fetch.enable", params);
}

void BrowserImpl::ApplyViewport() {
  // The page is laid out in CSS pixels, scale device pixels each, and
  // covers the whole window: a window that is no whole number of CSS pixels
  // wide gets the CSS pixel it partly shows, whose rest falls outside.
  const double scale = m_view.DeviceScale();
  auto cssPixels = [scale](int devicePixels) {
    // The small margin keeps a rounding error of the division from adding
    // a pixel the window does not show at all.
    return static_cast<int>(std::ceil(std::max(1, devicePixels) / scale - 1e-6));
  };
  Json::Value metrics(Json::objectValue);
  metrics["width"] = cssPixels(m_view.Width());
  metrics["height"] = cssPixels(m_view.Height());
  metrics["deviceScaleFactor"] = scale;
  metrics["mobile"] = false;
  Send("Emulation.setDeviceMetricsOverride", metrics);
  m_lastChangeTick = ::GetTickCount64();
  m_pictureIsExact = false;
}

void BrowserImpl::CapturePicture() {
  if (m_captureInFlight || !m_attached) return;
  m_captureInFlight = true;
  Json::Value params(Json::objectValue);
  params["format"] = "png";
  // The browser program's default compression takes it most of a second
  // for a large window, and holds up the page's own pictures meanwhile.
  params["optimizeForSpeed"] = true;
  CefRefPtr<BrowserImpl> self(this);
  const int sent =
      Send("Page.captureScreenshot", params, [self](const Json::Value& result, const Json::Value&) {
        self->m_captureInFlight = false;
        auto picture = std::make_shared<FramePicture>();
        if (result.isObject() && DecodeFramePicture(result["data"].asString(), *picture)) {
          self->m_pictureIsExact = true;
          self->m_view.ShowPicture(std::move(picture));
        }
      });
  if (sent == 0) m_captureInFlight = false;
}

void BrowserImpl::AcknowledgeFrame(int screencastFrame) {
  Json::Value ack(Json::objectValue);
  ack["sessionId"] = screencastFrame;
  Send("Page.screencastFrameAck", ack);
}

void BrowserImpl::OnPicture(std::shared_ptr<const FramePicture> picture) {
  m_view.ShowPicture(std::move(picture));
  m_pictureIsExact = false;
  m_lastChangeTick = ::GetTickCount64();
}

void BrowserImpl::SendInput(const char* method, const Json::Value& params) {
  // A page stopped at a debugger statement drops the input it is given;
  // input waits here until the page goes on, as it would wait for a busy
  // renderer.
  if (m_pageStopped) {
    m_heldInput.emplace_back(method, params);
    return;
  }
  Send(method, params);
}

void BrowserImpl::ViewResized(int width, int height) {
  (void)width, (void)height;
  if (m_attached) ApplyViewport();
}

void BrowserImpl::ViewTick() {
  if (!m_attached || m_pictureIsExact) return;
  // Some headless set-ups send no pictures by themselves, and the last one
  // sent is compressed: once the page has been still for a moment, one
  // exact picture is taken.
  const unsigned long long settle = m_loading ? kLoadingSettleMs : kSettleMs;
  if (::GetTickCount64() - m_lastChangeTick >= settle) CapturePicture();
}

void BrowserImpl::ViewCloseRequested() { CloseBrowser(false); }

void BrowserImpl::ViewDestroyed() {
  m_window = nullptr;
  if (!m_closed) CloseSequence(false);
}

void BrowserImpl::CloseSequence(bool askClient) {
  if (m_closed) return;
  CefRefPtr<BrowserImpl> self(this);
  CefRefPtr<CefLifeSpanHandler> handler = m_client ? m_client->GetLifeSpanHandler() : nullptr;
  if (askClient && handler && handler->DoClose(this)) return;
  Json::Value target(Json::objectValue);
  target["targetId"] = m_targetId;
  if (Engine* engine = Engine::Get(); engine != nullptr && !m_targetId.empty()) {
    engine->DevTools().Send("Target.closeTarget", target);
  }
  m_closed = true;
  if (handler) handler->OnBeforeClose(this);
  Discard();
}

void BrowserImpl::Discard() {
  m_closed = true;
  CefRefPtr<BrowserImpl> self(this);
  if (Engine* engine = Engine::Get()) {
    engine->Renderer().Post([self] {
      if (Engine* e = Engine::Get()) e->Render().BrowserDestroyed(self);
    });
    engine->Forget(this);
  }
  if (m_view.Window() != nullptr) m_view.Destroy();
  {
    std::lock_guard<std::mutex> lock(m_framesLock);
    for (auto& frame : m_frames) frame.second->Detach();
  }
}

void BrowserImpl::OnTargetGone() {
  if (m_closed) return;
  CefRefPtr<CefLifeSpanHandler> handler = m_client ? m_client->GetLifeSpanHandler() : nullptr;
  if (handler) handler->DoClose(this);
  m_closed = true;
  if (handler) handler->OnBeforeClose(this);
  Discard();
}

CefRefPtr<FrameImpl> BrowserImpl::FrameFor(const std::string& devToolsFrameId,
                                           const std::string& parentId) {
  std::lock_guard<std::mutex> lock(m_framesLock);
  CefRefPtr<FrameImpl>& frame = m_frames[devToolsFrameId];
  if (!frame) {
    const bool isMain = devToolsFrameId == m_targetId;
    frame = new FrameImpl(this, devToolsFrameId, parentId, isMain);
    if (isMain) m_mainFrame = frame;
  }
  return frame;
}

bool BrowserImpl::HasFrame(const std::string& devToolsFrameId) const {
  std::lock_guard<std::mutex> lock(m_framesLock);
  return m_frames.count(devToolsFrameId) != 0;
}

CefRefPtr<FrameImpl> BrowserImpl::FrameByDevToolsId(const std::string& devToolsFrameId) const {
  std::lock_guard<std::mutex> lock(m_framesLock);
  const auto found = m_frames.find(devToolsFrameId);
  return found == m_frames.end() ? nullptr : found->second;
}

void BrowserImpl::HoldNavigations() { ++m_navigationHolds; }

void BrowserImpl::ReleaseNavigations() {
  if (m_navigationHolds == 0 || --m_navigationHolds > 0) return;
  auto held = std::move(m_heldNavigations);
  m_heldNavigations.clear();
  for (auto& navigation : held) navigation();
}

void BrowserImpl::Navigate(const std::string& frameId, const std::string& url) {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self, frameId, url] {
    if (self->m_navigationHolds > 0) {
      self->m_heldNavigations.push_back([self, frameId, url] { self->Navigate(frameId, url); });
      return;
    }
    Json::Value params(Json::objectValue);
    params["url"] = url;
    if (frameId != self->m_targetId) {
      params["frameId"] = frameId;
    } else {
      self->m_requestedUrl = url;
    }
    self->Send("Page.navigate", params);
  });
}

void BrowserImpl::LoadDocument(const std::string& frameId, const std::string& html,
                               const std::string& url) {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self, frameId, html, url] {
    if (self->m_navigationHolds > 0) {
      self->m_heldNavigations.push_back(
          [self, frameId, html, url] { self->LoadDocument(frameId, html, url); });
      return;
    }
    const bool interceptable = url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
    if (!interceptable) {
      // Only addresses that make a request can be answered with the text;
      // others get the text as the frame's document where it stands.
      Json::Value params(Json::objectValue);
      params["frameId"] = frameId;
      params["html"] = html;
      self->Send("Page.setDocumentContent", params);
      return;
    }
    const std::string key = url.substr(0, url.find('#'));
    self->m_pendingDocuments[key] = html;
    self->UpdateFetchPatterns();
    Json::Value params(Json::objectValue);
    params["url"] = url;
    if (frameId != self->m_targetId) params["frameId"] = frameId;
    self->Send("Page.navigate", params);
  });
}

void BrowserImpl::Evaluate(const std::string& frameId, const std::string& expression) {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self, frameId, expression] {
    Json::Value params(Json::objectValue);
    params["expression"] = expression;
    const auto context = self->m_frameContexts.find(frameId);
    if (context != self->m_frameContexts.end()) params["contextId"] = context->second;
    self->Send("Runtime.evaluate", params);
  });
}

// CefBrowser

CefRefPtr<CefBrowserHost> BrowserImpl::GetHost() { return this; }

bool BrowserImpl::CanGoBack() { return m_canGoBack; }

void BrowserImpl::GoBack() { Evaluate(m_targetId, "history.back()"); }

bool BrowserImpl::CanGoForward() { return m_canGoForward; }

void BrowserImpl::GoForward() { Evaluate(m_targetId, "history.forward()"); }

bool BrowserImpl::IsLoading() { return m_loading; }

void BrowserImpl::Reload() {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self] { self->Send("Page.reload"); });
}

void BrowserImpl::ReloadIgnoreCache() {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self] {
    Json::Value params(Json::objectValue);
    params["ignoreCache"] = true;
    self->Send("Page.reload", params);
  });
}

void BrowserImpl::StopLoad() {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self] { self->Send("Page.stopLoading"); });
}

int BrowserImpl::GetIdentifier() { return m_id; }

bool BrowserImpl::IsSame(CefRefPtr<CefBrowser> that) {
  return that && that->GetIdentifier() == m_id;
}

bool BrowserImpl::IsPopup() { return m_isPopup; }

bool BrowserImpl::HasDocument() { return m_hasDocument; }

CefRefPtr<CefFrame> BrowserImpl::GetMainFrame() {
  std::lock_guard<std::mutex> lock(m_framesLock);
  return m_mainFrame.get();
}

CefRefPtr<CefFrame> BrowserImpl::GetFocusedFrame() { return GetMainFrame(); }

CefRefPtr<CefFrame> BrowserImpl::GetFrame(int64 identifier) {
  std::lock_guard<std::mutex> lock(m_framesLock);
  for (const auto& frame : m_frames) {
    if (frame.second->GetIdentifier() == identifier) return frame.second.get();
  }
  return nullptr;
}

CefRefPtr<CefFrame> BrowserImpl::GetFrame(const CefString& name) {
  std::lock_guard<std::mutex> lock(m_framesLock);
  for (const auto& frame : m_frames) {
    if (frame.second->GetName() == name) return frame.second.get();
  }
  return nullptr;
}

size_t BrowserImpl::GetFrameCount() {
  std::lock_guard<std::mutex> lock(m_framesLock);
  return m_frames.size();
}

void BrowserImpl::GetFrameIdentifiers(std::vector<int64>& identifiers) {
  std::lock_guard<std::mutex> lock(m_framesLock);
  identifiers.clear();
  for (const auto& frame : m_frames) identifiers.push_back(frame.second->GetIdentifier());
}

void BrowserImpl::GetFrameNames(std::vector<CefString>& names) {
  std::lock_guard<std::mutex> lock(m_framesLock);
  names.clear();
  for (const auto& frame : m_frames) names.push_back(frame.second->GetName());
}

bool BrowserImpl::SendProcessMessage(CefProcessId target_process,
                                     CefRefPtr<CefProcessMessage> message) {
  Engine* engine = Engine::Get();
  if (engine == nullptr || !message) return false;
  CefRefPtr<BrowserImpl> self(this);
  if (target_process == PID_BROWSER) {
    // The browser side gets messages on the UI thread, after everything
    // the render side sent before.
    return engine->Ui().Post([self, message] {
      if (self->m_closed || !self->m_client) return;
      self->m_client->OnProcessMessageReceived(self.get(), PID_RENDERER, message);
    });
  }
  return engine->Renderer().Post([self, message] {
    if (Engine* e = Engine::Get()) e->Render().ProcessMessageReceived(self.get(), message);
  });
}

// CefBrowserHost

CefRefPtr<CefBrowser> BrowserImpl::GetBrowser() { return this; }

void BrowserImpl::CloseBrowser(bool force_close) {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self, force_close] { self->CloseSequence(!force_close); });
}

void BrowserImpl::SetFocus(bool focus) {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self, focus] {
    if (focus) self->m_view.Focus();
  });
}

CefWindowHandle BrowserImpl::GetWindowHandle() { return m_window; }

CefWindowHandle BrowserImpl::GetOpenerWindowHandle() { return m_opener; }

CefRefPtr<CefClient> BrowserImpl::GetClient() { return m_client; }

CefRefPtr<CefRequestContext> BrowserImpl::GetRequestContext() { return nullptr; }

double BrowserImpl::GetZoomLevel() { return m_zoom; }

void BrowserImpl::SetZoomLevel(double zoomLevel) {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self, zoomLevel] {
    self->m_zoom = zoomLevel;
    // The engine's zoom levels are steps of 20 % each, as the browser's.
    Json::Value params(Json::objectValue);
    params["expression"] =
        "document.documentElement.style.zoom=" + std::to_string(std::pow(1.2, zoomLevel));
    self->Send("Runtime.evaluate", params);
  });
}

void BrowserImpl::StartDownload(const CefString& url) {
  const std::string address = url.ToString();
  std::string quoted;
  for (const char c : address) {
    if (c == '\'' || c == '\\') quoted += '\\';
    quoted += c;
  }
  Evaluate(m_targetId,
           "(function(){const a=document.createElement('a');a.href='" + quoted +
               "';a.download='';document.body.appendChild(a);a.click();a.remove();})()");
}

void BrowserImpl::Print() {}

void BrowserImpl::WasResized() {
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self] { self->ApplyViewport(); });
}

bool BrowserImpl::IsWindowRenderingDisabled() { return false; }

void BrowserImpl::WasHidden(bool hidden) {
  if (HWND window = m_window) ::ShowWindowAsync(window, hidden ? SW_HIDE : SW_SHOW);
}

void BrowserImpl::NotifyScreenInfoChanged() { WasResized(); }

void BrowserImpl::Invalidate(cef_paint_element_type_t type) {
  (void)type;
  CefRefPtr<BrowserImpl> self(this);
  RunOnUi([self] { self->CapturePicture(); });
}

}  // namespace engine
