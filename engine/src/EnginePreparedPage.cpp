// The page the engine prepares for the first browser: the blank page the
// browser program opens at start, set up while the client still makes the
// window the browser will live in.  Everything here runs on the UI thread.
#include "src/BrowserImpl.h"
#include "src/Engine.h"

namespace engine {

void Engine::PreparePage(const std::string& targetId) {
  CheckThread(m_ui);
  m_prepared = std::make_unique<PreparedPage>();
  m_prepared->targetId = targetId;
  // It attached as the engine asked for every page to be: it waits for it.
  const auto attached = m_unclaimedTargets.find(targetId);
  if (attached == m_unclaimedTargets.end()) return;
  const std::string sessionId = attached->second["sessionId"].asString();
  m_unclaimedTargets.erase(attached);
  PreparedPageAttached(sessionId);
}

void Engine::PreparedPageAttached(const std::string& sessionId) {
  CheckThread(m_ui);
  m_prepared->sessionId = sessionId;
  BrowserImpl::SendPageSetUp(m_devTools, sessionId, m_render->PageScriptText());
  const std::string targetId = m_prepared->targetId;
  m_devTools.Send("Runtime.runIfWaitingForDebugger", Json::Value(Json::objectValue), sessionId,
                  [this, targetId](const Json::Value&, const Json::Value&) {
                    if (!m_prepared || m_prepared->targetId != targetId) return;
                    m_prepared->running = true;
                    if (!m_prepared->browser) return;
                    // Taken already: the browser goes on, and the page is
                    // an ordinary one of its from now on.
                    const CefRefPtr<BrowserImpl> browser = m_prepared->browser;
                    m_prepared.reset();
                    browser->PreparedPageRuns();
                  });
  // A browser that took the page before it attached gets it now.
  if (const CefRefPtr<BrowserImpl> waiting = m_prepared->browser) {
    m_prepared->browser = nullptr;
    ClaimPreparedPage(waiting);
  }
}

bool Engine::ClaimPreparedPage(CefRefPtr<BrowserImpl> browser) {
  CheckThread(m_ui);
  if (!m_prepared || m_prepared->browser) return false;
  m_prepared->browser = browser;
  if (m_prepared->sessionId.empty()) return true;
  // Copies: the prepared page's record goes below once it is handed over.
  const std::string targetId = m_prepared->targetId;
  const std::string sessionId = m_prepared->sessionId;
  m_bySession[sessionId] = browser;
  m_byTarget[targetId] = browser;
  const bool running = m_prepared->running;
  auto events = std::move(m_prepared->events);
  m_prepared->events.clear();
  if (running) m_prepared.reset();
  browser->AttachPrepared(targetId, sessionId, running);
  // What the page reported while it waited for its browser, in its order,
  // as it would have come had the browser existed.
  for (const auto& event : events) browser->OnEvent(event.first, event.second);
  return true;
}

bool Engine::HoldPreparedPageEvent(const std::string& sessionId, const std::string& method,
                                   const Json::Value& params) {
  if (!m_prepared || m_prepared->browser || m_prepared->sessionId != sessionId) return false;
  m_prepared->events.emplace_back(method, params);
  return true;
}

}  // namespace engine
