#include "src/Engine.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <utility>

#include "include/cef_api_hash.h"
#include "include/cef_command_line.h"
#include "src/BrowserImpl.h"
#include "src/BrowserLaunch.h"
#include "src/Downloads.h"
#include "src/EarlyLaunch.h"

namespace engine {
namespace {

std::atomic<Engine*> g_engine{nullptr};

// How long shutting down waits for the engine's dialogs to close.
constexpr unsigned int kDialogsCloseMs = 5000;

// Ends the thread and waits for it while answering the messages it sends
// to this thread's windows: a dialog or menu still open on it ends with the
// thread's loop, and as it closes it tells its owner, a window of this
// thread, by a sent message.
void EndAnsweringSentMessages(TaskThread& thread) {
  if (!thread.IsCurrent() && thread.ThreadId() != 0) {
    const CKernelHandle handle(::OpenThread(SYNCHRONIZE, FALSE, thread.ThreadId()));
    if (handle && ::PostThreadMessageW(thread.ThreadId(), WM_QUIT, 0, 0)) {
      WaitAnsweringSentMessages(handle.Get());
    }
  }
  thread.Stop();
}

}  // namespace

Engine* Engine::Get() { return g_engine.load(std::memory_order_acquire); }

Engine::Engine() : m_devTools(m_ui), m_dialogs(m_ui) {}

Engine::~Engine() = default;

bool Engine::Initialize(const CefMainArgs& args, const CefSettings& settings,
                        CefRefPtr<CefApp> application) {
  (void)args;
  if (Get() != nullptr) return false;
  // The engine library and the headers the program was built with must be
  // the same interface.
  if (strcmp(cef_api_hash(0), CEF_API_HASH_PLATFORM) != 0) return false;
  auto* engine = new Engine();
  if (!engine->Start(settings, application)) {
    engine->Stop();
    delete engine;
    return false;
  }
  return true;
}

bool Engine::Start(const CefSettings& settings, CefRefPtr<CefApp> application) {
  m_application = application;
  CefRefPtr<CefBrowserProcessHandler> browserHandler =
      application ? application->GetBrowserProcessHandler() : nullptr;
  CefRefPtr<CefRenderProcessHandler> renderHandler =
      application ? application->GetRenderProcessHandler() : nullptr;

  // A launch begun early is adopted when it is the one these settings
  // would start; otherwise it is ended and the engine launches its own.
  if (std::unique_ptr<EarlyLaunch> early = EarlyLaunch::Take()) {
    const bool suits = early->Launch().Suits(settings, application);
    if (early->IsStarted() && suits) {
      m_early = std::move(early);
    } else {
      // One that found no browser program has its answer already.
      const bool noProgram = suits && !early->Launch().HasProgram();
      early->End();
      if (noProgram) return false;
    }
  }
  if (!m_early && !m_launch) m_launch = std::make_unique<BrowserLaunch>(settings, application);
  if (!m_early && !m_launch->HasProgram()) return false;
  // The engine's log: the file the settings name, else none.
  const std::wstring logFile = CefString(&settings.log_file).ToWString();
  if (!logFile.empty() && settings.log_severity != LOGSEVERITY_DISABLE) {
    m_devTools.SetLogFile(logFile);
  }

  if (!m_ui.Start() || !m_renderer.Start()) return false;
  g_engine.store(this, std::memory_order_release);

  m_render = std::make_unique<RenderSide>(m_renderer, renderHandler);
  m_downloads = std::make_unique<Downloads>(*this);
  m_renderer.Invoke([this] { m_render->Start(); });

  bool launched = false;
  if (m_early) {
    launched = m_early->WaitUntilLaunched();
  } else {
    m_ui.Invoke([&] { launched = m_launch->Launch(); });
  }
  if (!launched) return false;
  m_downloadFolder = m_early ? m_early->Launch().DownloadFolder() : m_launch->DownloadFolder();

  m_ui.Post([this, browserHandler] {
    bool ready = false;
    if (m_early) {
      m_launch = m_early->WaitUntilReady(ready);
      m_early.reset();
    } else {
      ready = m_launch->WaitUntilReady();
    }
    if (!ready) return;
    Connect();
    if (browserHandler) browserHandler->OnContextInitialized();
  });
  return true;
}

void Engine::Connect() {
  CheckThread(m_ui);
  if (!m_devTools.Open(m_launch->Process().Pipe(), this)) return;
  // Every new page waits for the engine before it runs anything, so that a
  // popup can be refused before it loads, and the engine's script is in
  // place before the page's first script.
  Json::Value autoAttach(Json::objectValue);
  autoAttach["autoAttach"] = true;
  autoAttach["waitForDebuggerOnStart"] = true;
  autoAttach["flatten"] = true;
  m_devTools.Send("Target.setAutoAttach", autoAttach);
  Json::Value downloads(Json::objectValue);
  downloads["behavior"] = "allowAndName";
  downloads["downloadPath"] = CefString(NativePath(m_downloadFolder)).ToString();
  downloads["eventsEnabled"] = true;
  m_devTools.Send("Browser.setDownloadBehavior", downloads);
  // The browser program opens a blank page of its own at start.  The first
  // browser the client creates takes it over; any other page it opened is
  // closed before the client's pages exist, since its renderer may be the
  // one their pages would be given.
  m_devTools.Send("Target.getTargets", Json::Value(Json::objectValue), std::string(),
                  [this](const Json::Value& result, const Json::Value&) {
                    auto closing = std::make_shared<int>(0);
                    for (const Json::Value& target : result["targetInfos"]) {
                      if (target["type"].asString() != "page") continue;
                      if (!m_prepared && target["url"].asString() == "about:blank") {
                        PreparePage(target["targetId"].asString());
                        continue;
                      }
                      Json::Value close(Json::objectValue);
                      close["targetId"] = target["targetId"].asString();
                      ++*closing;
                      m_devTools.Send("Target.closeTarget", close, std::string(),
                                      [this, closing](const Json::Value&, const Json::Value&) {
                                        if (--*closing == 0) BecomeReady();
                                      });
                    }
                    if (*closing == 0) BecomeReady();
                  });
}

void Engine::BecomeReady() {
  CheckThread(m_ui);
  m_ready = true;
  auto waiting = std::move(m_waitingForBrowser);
  for (auto& entry : waiting) CreateTarget(entry.first, entry.second);
}

void Engine::CreateTarget(CefRefPtr<BrowserImpl> browser, const std::string& url) {
  CheckThread(m_ui);
  if (!m_ready) {
    m_waitingForBrowser.emplace_back(browser, url);
    return;
  }
  // The target starts blank and goes to its address only once the engine's
  // script and bindings are in place (see BrowserImpl::Attach).
  browser->NoteRequestedUrl(url);
  if (ClaimPreparedPage(browser)) return;
  Json::Value params(Json::objectValue);
  params["url"] = "about:blank";
  m_devTools.Send("Target.createTarget", params, std::string(),
                  [this, browser, url](const Json::Value& result, const Json::Value&) {
                    const std::string targetId = result["targetId"].asString();
                    if (!targetId.empty()) ClaimTarget(targetId, browser, url);
                  });
}

void Engine::ClaimTarget(const std::string& targetId, CefRefPtr<BrowserImpl> browser,
                         const std::string& url) {
  CheckThread(m_ui);
  const auto attached = m_unclaimedTargets.find(targetId);
  if (attached != m_unclaimedTargets.end()) {
    const std::string sessionId = attached->second["sessionId"].asString();
    m_unclaimedTargets.erase(attached);
    m_bySession[sessionId] = browser;
    m_byTarget[targetId] = browser;
    browser->Attach(targetId, sessionId);
    return;
  }
  // The browser and its URL wait until the target attaches.
  m_creating[targetId] = {browser, url};
}

void Engine::AdoptTarget(const Json::Value& params) {
  const Json::Value& info = params["targetInfo"];
  const std::string targetId = info["targetId"].asString();
  const std::string sessionId = params["sessionId"].asString();
  if (m_prepared && m_prepared->targetId == targetId && m_prepared->sessionId.empty()) {
    PreparedPageAttached(sessionId);
    return;
  }
  const auto creating = m_creating.find(targetId);
  if (creating != m_creating.end()) {
    const CefRefPtr<BrowserImpl> browser = creating->second.first;
    m_creating.erase(creating);
    m_bySession[sessionId] = browser;
    m_byTarget[targetId] = browser;
    browser->Attach(targetId, sessionId);
    return;
  }
  const std::string opener = info["openerId"].asString();
  if (info["type"].asString() == "page" && !opener.empty() && m_byTarget.count(opener) != 0) {
    m_waitingPopups[opener].push_back(params);
    MatchPopups(opener);
    return;
  }
  if (info["type"].asString() == "page") {
    // Most likely a target of ours whose creation has not been answered
    // yet; it waits for that answer.
    m_unclaimedTargets[targetId] = params;
    return;
  }
  // Anything else (the browser's own pages, workers) just runs.
  m_devTools.Send("Runtime.runIfWaitingForDebugger", Json::Value(Json::objectValue), sessionId);
  Json::Value detach(Json::objectValue);
  detach["sessionId"] = sessionId;
  m_devTools.Send("Target.detachFromTarget", detach);
}

void Engine::AddPopupDecision(const std::string& openerTargetId, PopupDecision decision) {
  CheckThread(m_ui);
  m_popupDecisions[openerTargetId].push_back(std::move(decision));
  MatchPopups(openerTargetId);
}

void Engine::MatchPopups(const std::string& openerTargetId) {
  auto& decisions = m_popupDecisions[openerTargetId];
  auto& targets = m_waitingPopups[openerTargetId];
  while (!decisions.empty() && !targets.empty()) {
    PopupDecision decision = std::move(decisions.front());
    decisions.erase(decisions.begin());
    const Json::Value params = std::move(targets.front());
    targets.erase(targets.begin());
    const std::string targetId = params["targetInfo"]["targetId"].asString();
    const std::string sessionId = params["sessionId"].asString();
    if (decision.cancel || !decision.browser) {
      // A new window usually shares its opener's renderer, whose main
      // thread stays stopped while the window waits for us; it has to run
      // before it can be closed, or the opener stays stuck in window.open.
      m_devTools.Send("Runtime.runIfWaitingForDebugger", Json::Value(Json::objectValue), sessionId);
      Json::Value close(Json::objectValue);
      close["targetId"] = targetId;
      auto settled = decision.settled;
      m_devTools.Send("Target.closeTarget", close, std::string(),
                      [settled](const Json::Value&, const Json::Value&) {
                        if (settled) settled();
                      });
      continue;
    }
    m_bySession[sessionId] = decision.browser;
    m_byTarget[targetId] = decision.browser;
    decision.browser->Attach(targetId, sessionId);
    if (decision.settled) decision.settled();
  }
}

void Engine::Forget(BrowserImpl* browser) {
  CheckThread(m_ui);
  for (auto it = m_bySession.begin(); it != m_bySession.end();) {
    it = it->second.get() == browser ? m_bySession.erase(it) : std::next(it);
  }
  for (auto it = m_byTarget.begin(); it != m_byTarget.end();) {
    it = it->second.get() == browser ? m_byTarget.erase(it) : std::next(it);
  }
}

CefRefPtr<BrowserImpl> Engine::FindByFrame(const std::string& frameId) {
  CheckThread(m_ui);
  for (const auto& entry : m_byTarget) {
    if (entry.second->HasFrame(frameId)) return entry.second;
  }
  return nullptr;
}

std::vector<CefRefPtr<BrowserImpl>> Engine::Browsers() const {
  std::vector<CefRefPtr<BrowserImpl>> browsers;
  for (const auto& entry : m_byTarget) browsers.push_back(entry.second);
  return browsers;
}

void Engine::OnDevToolsEvent(const std::string& sessionId, const std::string& method,
                             const Json::Value& params) {
  if (!sessionId.empty()) {
    if (HoldPreparedPageEvent(sessionId, method, params)) return;
    const auto browser = m_bySession.find(sessionId);
    if (browser != m_bySession.end()) {
      CefRefPtr<BrowserImpl> keep = browser->second;
      keep->OnEvent(method, params);
    }
    return;
  }
  if (method == "Target.attachedToTarget") {
    AdoptTarget(params);
  } else if (method == "Target.detachedFromTarget") {
    // A prepared page that goes before a browser took it is simply gone;
    // the first browser then gets a page of its own.
    if (m_prepared && !m_prepared->browser &&
        m_prepared->sessionId == params["sessionId"].asString()) {
      m_prepared.reset();
    }
    const auto browser = m_bySession.find(params["sessionId"].asString());
    if (browser != m_bySession.end()) {
      CefRefPtr<BrowserImpl> gone = browser->second;
      gone->OnTargetGone();
    }
  } else if (method == "Browser.downloadWillBegin" || method == "Browser.downloadProgress") {
    if (m_downloads) m_downloads->OnEvent(method, params);
  }
}

bool Engine::OnReaderThreadEvent(const std::string& sessionId, const std::string& method,
                                 Json::Value& params) {
  if (method != "Page.screencastFrame") return false;
  // The frame is acknowledged before it is decoded, so that the browser
  // program renders and encodes the next one while this one is decoded.
  const int frame = params["sessionId"].asInt();
  m_ui.Post([this, sessionId, frame] {
    const auto browser = m_bySession.find(sessionId);
    if (browser != m_bySession.end()) browser->second->AcknowledgeFrame(frame);
  });
  // Pictures are decoded here, off the UI thread, which then only paints.
  // The picture's text is decoded where the parsed message holds it.
  const Json::Value* data = params.find("data", "data" + 4);
  const char* text = nullptr;
  const char* textEnd = nullptr;
  auto picture = std::make_shared<FramePicture>();
  if (data == nullptr || !data->isString() || !data->getString(&text, &textEnd) ||
      !DecodeFramePicture(text, static_cast<size_t>(textEnd - text), *picture)) {
    return true;
  }
  picture->cssWidth = params["metadata"]["deviceWidth"].asDouble();
  m_ui.Post([this, sessionId, picture] {
    const auto browser = m_bySession.find(sessionId);
    if (browser != m_bySession.end()) browser->second->OnPicture(picture);
  });
  return true;
}

void Engine::OnDevToolsClosed() {
  // The browser program ended under the engine; its browsers are gone.
  for (const CefRefPtr<BrowserImpl>& browser : Browsers()) browser->OnTargetGone();
}

void Engine::Shutdown() {
  Engine* engine = Get();
  if (engine == nullptr) return;
  engine->Stop();
  delete engine;
}

void Engine::Stop() {
  if (Get() == this) {
    // The engine's dialogs are owned by the application's window, whose
    // thread is this one: they end first, while this thread answers what
    // they send it as they close, so that the UI thread is back in its own
    // loop before it is asked to end.
    m_ui.Invoke([this] { m_dialogs.CloseAll(); });
    m_dialogs.WaitUntilClosed(kDialogsCloseMs);
    m_ui.Invoke([this] {
      for (const CefRefPtr<BrowserImpl>& browser : Browsers()) browser->Discard();
      for (auto& entry : m_waitingForBrowser) entry.first->Discard();
      m_waitingForBrowser.clear();
      for (auto& entry : m_creating) entry.second.first->Discard();
      m_creating.clear();
      // A browser that took the prepared page before it attached is in no
      // other list.
      if (m_prepared && m_prepared->browser && m_prepared->sessionId.empty()) {
        m_prepared->browser->Discard();
      }
      m_prepared.reset();
      m_unclaimedTargets.clear();
      m_popupDecisions.clear();
      m_waitingPopups.clear();
      if (m_downloads) m_downloads->Abandon();
    });
  }
  // A launch that never came to answer (the engine stopped while it was
  // waited for on the UI thread, or it failed) is ended here.
  if (m_early) m_early->End();
  m_early.reset();
  if (m_launch) m_launch->Process().Stop();
  m_devTools.Close();
  m_renderer.Invoke([this] { m_render.reset(); });
  m_renderer.Stop();
  EndAnsweringSentMessages(m_ui);
  m_downloads.reset();
  g_engine.store(nullptr, std::memory_order_release);
  m_application = nullptr;
  m_launch.reset();
}

}  // namespace engine
