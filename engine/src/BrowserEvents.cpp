// How the page's DevTools events become the client's callbacks.
#include <windows.h>

#include <json/reader.h>
#include <json/writer.h>

#include "src/Base64.h"
#include "src/BrowserImpl.h"
#include "src/Engine.h"
#include "src/FrameImpl.h"
#include "src/NetError.h"
#include "src/PageScript.h"

namespace engine {
namespace {

// How often a page whose renderer ended is loaded again.
constexpr int kCrashReloads = 3;
// How long navigations of an opener wait for the browser program to announce
// the window it was asked to open.
constexpr unsigned int kPopupSettleLimitMs = 3000;

bool ParseJson(const std::string& text, Json::Value& value) {
  std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
  return reader->parse(text.data(), text.data() + text.size(), &value, nullptr);
}

// What a window.open or a link with a target asks for, in the engine's
// terms: windows with a size or without the usual bars are popups.
cef_window_open_disposition_t DispositionFor(const Json::Value& features) {
  bool toolbar = false;
  bool menubar = false;
  for (const Json::Value& feature : features) {
    const std::string name = feature.asString();
    if (name == "popup" || name.rfind("width=", 0) == 0 || name.rfind("height=", 0) == 0 ||
        name.rfind("left=", 0) == 0 || name.rfind("top=", 0) == 0) {
      return WOD_NEW_POPUP;
    }
    if (name == "toolbar") toolbar = true;
    if (name == "menubar") menubar = true;
  }
  return toolbar && menubar ? WOD_NEW_FOREGROUND_TAB : WOD_NEW_POPUP;
}

}  // namespace

void BrowserImpl::OnEvent(const std::string& method, const Json::Value& params) {
  if (m_closed) return;
  if (method == "Fetch.requestPaused") {
    OnRequestPaused(params);
  } else if (method == "Runtime.bindingCalled") {
    const std::string name = params["name"].asString();
    if (name == kCallBinding) {
      OnBridgeCall(params);
      return;
    }
    if (name != kEventBinding) return;
    Json::Value event;
    if (ParseJson(params["payload"].asString(), event) && event.isObject()) OnPageEvent(event);
  } else if (method == "Debugger.paused") {
    OnDebuggerPaused(params);
  } else if (method == "Debugger.resumed") {
    OnDebuggerResumed();
  } else if (method == "Debugger.scriptParsed") {
    const int context = params["executionContextId"].asInt();
    if (m_contextFrames.count(context) != 0) {
      m_scriptContexts[params["scriptId"].asString()] = context;
    }
  } else if (method == "Runtime.executionContextDestroyed") {
    OnPageContextGone(params["executionContextId"].asInt());
  } else if (method == "Runtime.executionContextsCleared") {
    OnPageContextsCleared();
  } else if (method == "Page.frameNavigated") {
    OnFrameNavigated(params["frame"]);
  } else if (method == "Page.navigatedWithinDocument") {
    CefRefPtr<FrameImpl> frame = FrameByDevToolsId(params["frameId"].asString());
    if (!frame) return;
    frame->SetUrl(params["url"].asString());
    if (m_client) {
      if (CefRefPtr<CefDisplayHandler> display = m_client->GetDisplayHandler()) {
        display->OnAddressChange(this, frame.get(), CefString(params["url"].asString()));
      }
    }
  } else if (method == "Page.frameAttached") {
    FrameFor(params["frameId"].asString(), params["parentFrameId"].asString());
  } else if (method == "Page.frameDetached") {
    OnFrameDetached(params["frameId"].asString());
  } else if (method == "Page.frameStartedLoading") {
    if (params["frameId"].asString() == m_targetId) ReportLoadingState(true);
  } else if (method == "Page.frameStoppedLoading") {
    const std::string frameId = params["frameId"].asString();
    CefRefPtr<FrameImpl> frame = FrameByDevToolsId(frameId);
    if (frame && m_client) {
      if (CefRefPtr<CefLoadHandler> load = m_client->GetLoadHandler()) {
        const auto status = m_documentResponses.find(frameId);
        const int code =
            status != m_documentResponses.end() ? std::atoi(status->second.c_str()) : 200;
        load->OnLoadEnd(this, frame.get(), code);
      }
    }
    if (frameId == m_targetId) ReportLoadingState(false);
  } else if (method == "Network.requestWillBeSent") {
    if (params["type"].asString() == "Document") {
      m_documentRequests[params["requestId"].asString()] = {params["frameId"].asString(),
                                                            params["request"]["url"].asString()};
    }
  } else if (method == "Network.responseReceived") {
    if (params["type"].asString() == "Document") {
      m_documentResponses[params["frameId"].asString()] =
          std::to_string(params["response"]["status"].asInt());
    }
  } else if (method == "Network.loadingFinished") {
    m_documentRequests.erase(params["requestId"].asString());
  } else if (method == "Network.loadingFailed") {
    const auto request = m_documentRequests.find(params["requestId"].asString());
    if (request == m_documentRequests.end()) return;
    const std::string frameId = request->second.first;
    const std::string url = request->second.second;
    m_documentRequests.erase(request);
    std::string text = params["errorText"].asString();
    if (text.rfind("net::", 0) == 0) text.erase(0, 5);
    if (m_pendingDocuments.erase(url.substr(0, url.find('#'))) != 0) UpdateFetchPatterns();
    CefRefPtr<FrameImpl> frame = FrameByDevToolsId(frameId);
    if (frame && m_client) {
      if (CefRefPtr<CefLoadHandler> load = m_client->GetLoadHandler()) {
        load->OnLoadError(this, frame.get(), static_cast<cef_errorcode_t>(NetErrorCode(text)),
                          CefString(text), CefString(url));
      }
    }
  } else if (method == "Runtime.executionContextCreated") {
    OnPageContextCreated(params["context"]);
  } else if (method == "Page.windowOpen") {
    OnWindowOpen(params);
  } else if (method == "Page.javascriptDialogOpening") {
    OnJavaScriptDialog(params);
  } else if (method == "Inspector.targetCrashed") {
    if (m_client) {
      if (CefRefPtr<CefRequestHandler> request = m_client->GetRequestHandler()) {
        request->OnRenderProcessTerminated(this, TS_PROCESS_CRASHED);
      }
    }
    // The browser program's renderer sometimes ends as a page commits
    // (seen under Wine on a busy machine); the user gets the page again
    // rather than a dead window, a few times over.
    if (++m_crashes <= kCrashReloads) {
      const std::string url =
          m_mainFrame && !m_mainFrame->Url().empty() && m_mainFrame->Url() != "about:blank"
              ? m_mainFrame->Url()
              : m_requestedUrl;
      if (!url.empty()) Navigate(m_targetId, url);
    }
  }
}

void BrowserImpl::OnFrameNavigated(const Json::Value& frameInfo) {
  const std::string frameId = frameInfo["id"].asString();
  CefRefPtr<FrameImpl> frame = FrameFor(frameId, frameInfo["parentId"].asString());
  // A page that failed to load stands at the address that failed, as far
  // as the application can tell.
  std::string url = frameInfo.isMember("unreachableUrl") ? frameInfo["unreachableUrl"].asString()
                                                         : frameInfo["url"].asString();
  url += frameInfo["urlFragment"].asString();
  frame->SetUrl(url);
  frame->SetName(frameInfo["name"].asString());
  if (frameId == m_targetId) m_hasDocument = true;
  if (!m_client) return;
  if (CefRefPtr<CefLoadHandler> load = m_client->GetLoadHandler()) {
    load->OnLoadStart(this, frame.get());
  }
  if (CefRefPtr<CefDisplayHandler> display = m_client->GetDisplayHandler()) {
    display->OnAddressChange(this, frame.get(), CefString(url));
  }
}

void BrowserImpl::OnFrameDetached(const std::string& frameId) {
  CefRefPtr<FrameImpl> frame;
  {
    std::lock_guard<std::mutex> lock(m_framesLock);
    const auto found = m_frames.find(frameId);
    if (found == m_frames.end() || found->second == m_mainFrame) return;
    frame = found->second;
    m_frames.erase(found);
  }
  m_frameContexts.erase(frameId);
  const int64 id = frame->GetIdentifier();
  frame->Detach();
  CefRefPtr<BrowserImpl> self(this);
  Engine::Get()->Renderer().Post([self, id] {
    if (Engine* e = Engine::Get()) e->Render().ReleaseFrameContexts(self.get(), id);
  });
}

void BrowserImpl::ReportLoadingState(bool loading) {
  m_loading = loading;
  // A page that starts or stops loading is about to change: the exact
  // picture waits for the pictures that brings.
  m_lastChangeTick = ::GetTickCount64();
  CefRefPtr<BrowserImpl> self(this);
  Send("Page.getNavigationHistory", Json::Value(Json::objectValue),
       [self, loading](const Json::Value& result, const Json::Value&) {
         if (result.isObject()) {
           const int current = result["currentIndex"].asInt();
           const int count = static_cast<int>(result["entries"].size());
           self->m_canGoBack = current > 0;
           self->m_canGoForward = current + 1 < count;
         }
         if (self->m_closed || !self->m_client) return;
         if (CefRefPtr<CefLoadHandler> load = self->m_client->GetLoadHandler()) {
           load->OnLoadingStateChange(self.get(), loading, self->m_canGoBack, self->m_canGoForward);
         }
       });
}

void BrowserImpl::Fulfill(const std::string& requestId, const std::string& contentType,
                          const std::string& body) {
  Json::Value params(Json::objectValue);
  params["requestId"] = requestId;
  params["responseCode"] = 200;
  Json::Value headers(Json::arrayValue);
  auto header = [&headers](const char* name, const std::string& value) {
    Json::Value entry(Json::objectValue);
    entry["name"] = name;
    entry["value"] = value;
    headers.append(entry);
  };
  header("Content-Type", contentType);
  header("Cache-Control", "no-store");
  header("Access-Control-Allow-Origin", "*");
  params["responseHeaders"] = headers;
  params["body"] = EncodeBase64(body);
  Send("Fetch.fulfillRequest", params);
}

void BrowserImpl::OnRequestPaused(const Json::Value& params) {
  const std::string requestId = params["requestId"].asString();
  const Json::Value& request = params["request"];
  const std::string url = request["url"].asString();
  const auto pending = m_pendingDocuments.find(url);
  if (pending != m_pendingDocuments.end()) {
    const std::string html = std::move(pending->second);
    m_pendingDocuments.erase(pending);
    // Answered before the interception may be switched off, which would
    // let the request go on to the network.
    Fulfill(requestId, "text/html; charset=utf-8", html);
    UpdateFetchPatterns();
    return;
  }
  Json::Value resume(Json::objectValue);
  resume["requestId"] = requestId;
  Send("Fetch.continueRequest", resume);
}

void BrowserImpl::OnPageEvent(const Json::Value& event) {
  const std::string type = event["type"].asString();
  if (type == "title") {
    const CefString title(event["title"].asString());
    if ((m_windowInfo.style & WS_CHILD) == 0) m_view.SetTitle(title.ToWString());
    if (m_client) {
      if (CefRefPtr<CefDisplayHandler> display = m_client->GetDisplayHandler()) {
        display->OnTitleChange(this, title);
      }
    }
  } else if (type == "contextmenu") {
    OnContextMenu(event);
  } else if (type == "cursor") {
    m_view.SetCursorKind(event["cursor"].asString());
  }
}

void BrowserImpl::OnWindowOpen(const Json::Value& params) {
  Engine* engine = Engine::Get();
  Engine::PopupDecision decision;
  const CefString url(params["url"].asString());
  const CefString name(params["windowName"].asString());
  const cef_window_open_disposition_t disposition = DispositionFor(params["windowFeatures"]);
  CefPopupFeatures features;
  for (const Json::Value& feature : params["windowFeatures"]) {
    const std::string text = feature.asString();
    const size_t equals = text.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = text.substr(0, equals);
    const int value = std::atoi(text.c_str() + equals + 1);
    if (key == "width") features.width = value, features.widthSet = 1;
    if (key == "height") features.height = value, features.heightSet = 1;
    if (key == "left") features.x = value, features.xSet = 1;
    if (key == "top") features.y = value, features.ySet = 1;
  }
  CefWindowInfo windowInfo;
  HWND root = m_window != nullptr ? ::GetAncestor(m_window, GA_ROOT) : nullptr;
  windowInfo.SetAsPopup(root, name);
  if (features.widthSet) windowInfo.width = features.width;
  if (features.heightSet) windowInfo.height = features.height;
  if (features.xSet) windowInfo.x = features.x;
  if (features.ySet) windowInfo.y = features.y;
  CefRefPtr<CefClient> client = m_client;
  CefBrowserSettings settings;
  bool noJavaScriptAccess = false;
  bool cancel = false;
  // Whatever the client loads in the opener now waits for the new window's
  // fate, and at most a few seconds should the browser program never
  // announce that window.
  HoldNavigations();
  CefRefPtr<BrowserImpl> self(this);
  auto released = std::make_shared<bool>(false);
  decision.settled = [self, released] {
    if (*released) return;
    *released = true;
    self->ReleaseNavigations();
  };
  engine->Ui().PostDelayed(decision.settled, kPopupSettleLimitMs);
  if (m_client) {
    if (CefRefPtr<CefLifeSpanHandler> life = m_client->GetLifeSpanHandler()) {
      cancel = life->OnBeforePopup(this, GetMainFrame(), url, name, disposition,
                                   params["userGesture"].asBool(), features, windowInfo, client,
                                   settings, &noJavaScriptAccess);
    }
  }
  if (m_closed) {
    decision.settled();
    return;
  }
  decision.cancel = cancel;
  if (!cancel) {
    decision.browser = new BrowserImpl(windowInfo, client, true, root);
    if (!decision.browser->CreateView()) {
      decision.browser = nullptr;
      decision.cancel = true;
    }
  }
  engine->AddPopupDecision(m_targetId, decision);
}

void BrowserImpl::OnJavaScriptDialog(const Json::Value& params) {
  // The page waits until its dialog is answered; the answer is given by a
  // task of its own so that this event's handling is not held up by it.
  CefRefPtr<BrowserImpl> self(this);
  Engine::Get()->Ui().Post([self, params] {
    Engine* engine = Engine::Get();
    if (engine == nullptr || self->m_closed) return;
    const std::string type = params["type"].asString();
    const std::wstring message = CefString(params["message"].asString()).ToWString();
    HWND owner = self->m_window != nullptr ? ::GetAncestor(self->m_window, GA_ROOT) : nullptr;
    // A dialog the engine closes (it is shutting down) or cannot show is
    // dismissed, as its cancel button would.
    Json::Value answer(Json::objectValue);
    answer["accept"] = false;
    engine->Dialogs().Run([&] {
      if (type == "alert") {
        ::MessageBoxW(owner, message.c_str(), L"", MB_OK | MB_ICONINFORMATION);
        answer["accept"] = true;
      } else if (type == "confirm" || type == "beforeunload") {
        answer["accept"] =
            ::MessageBoxW(owner, message.c_str(), L"", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
      } else {
        std::wstring text = CefString(params["defaultPrompt"].asString()).ToWString();
        if (ModalDialogs::Prompt(owner, message, text)) {
          answer["accept"] = true;
          answer["promptText"] = CefString(text).ToString();
        }
      }
    });
    self->Send("Page.handleJavaScriptDialog", answer);
  });
}

}  // namespace engine
