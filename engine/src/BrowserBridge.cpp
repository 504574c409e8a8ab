// How the page's calls of native functions reach the render side and how
// their answers get back into the page.
//
// The page script calls the call binding with the request and then stops
// at a debugger statement; the engine puts the reply into the script's
// reply variable and lets the page go on.  The binding names the page
// context the call really came from, so a request reaches only its own
// context's functions, whatever it says.  Everything here runs on the UI
// thread; the requests themselves are carried out on the render thread.
#include <json/reader.h>
#include <json/writer.h>

#include <memory>
#include <new>

#include "src/BrowserImpl.h"
#include "src/Engine.h"
#include "src/FrameImpl.h"
#include "src/PageScript.h"

namespace engine {
namespace {

// The page script's requests nest three levels deep; anything much deeper
// is not from it, and the parser's recursion is kept far from the stack's
// end.
constexpr int kRequestNestingLimit = 32;
// How long input waits for a page that made a call to report its stop.  It
// stops at once where it can; where it cannot (a page being left), no stop
// is ever reported, and its input must not wait for good.
constexpr unsigned int kStopReportMs = 500;

std::string WriteJson(const Json::Value& value) {
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  writer["emitUTF8"] = true;
  return Json::writeString(writer, value);
}

std::string ErrorText(const std::string& text) {
  Json::Value reply(Json::objectValue);
  reply["x"] = text;
  return WriteJson(reply);
}

// The page's request text, parsed; false with the error's text when it is
// not a JSON object.  Parser and allocation failures end here: the text
// comes from the page.
bool ParseRequest(const std::string& text, Json::Value& request, std::string& error) {
  try {
    Json::CharReaderBuilder builder;
    builder["stackLimit"] = kRequestNestingLimit;
    builder["failIfExtra"] = true;
    builder["rejectDupKeys"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (reader->parse(text.data(), text.data() + text.size(), &request, nullptr) &&
        request.isObject()) {
      return true;
    }
    error = "malformed bridge request";
  } catch (const Json::Exception&) {
    error = "malformed bridge request";
  } catch (const std::bad_alloc&) {
    error = "the bridge request is too large";
  }
  return false;
}

}  // namespace

void BrowserImpl::OnPageContextCreated(const Json::Value& context) {
  const Json::Value& aux = context["auxData"];
  if (!aux["isDefault"].asBool()) return;
  const int id = context["id"].asInt();
  const std::string frameId = aux["frameId"].asString();
  m_frameContexts[frameId] = id;
  m_contextFrames[id] = frameId;
}

void BrowserImpl::OnPageContextGone(int pageContext) {
  m_contextFrames.erase(pageContext);
  const auto call = m_bridgeCalls.find(pageContext);
  if (call != m_bridgeCalls.end()) {
    // A page never stays stopped for a context that is gone.
    if (!call->second.pausedFrame.empty()) Send("Debugger.resume");
    m_bridgeCalls.erase(call);
  }
  for (auto it = m_scriptContexts.begin(); it != m_scriptContexts.end();) {
    it = it->second == pageContext ? m_scriptContexts.erase(it) : std::next(it);
  }
}

void BrowserImpl::OnPageContextsCleared() {
  // Every document is gone, and with it any stop.
  if (m_pageStopped) OnDebuggerResumed();
  m_contextFrames.clear();
  m_bridgeCalls.clear();
  m_scriptContexts.clear();
}

void BrowserImpl::OnBridgeCall(const Json::Value& params) {
  const Json::Value& contextId = params["executionContextId"];
  if (!contextId.isInt()) return;
  const int pageContext = contextId.asInt();
  // The page stops at the statement right after its call, before the stop
  // is reported here; input sent meanwhile would reach a stopped page and
  // be lost (a second click right after the first).  It waits from now on.
  if (!m_pageStopped) {
    m_pageStopped = true;
    m_stopConfirmed = false;
    const unsigned long long stop = ++m_stopNumber;
    CefRefPtr<BrowserImpl> waiting(this);
    Engine::Get()->Ui().PostDelayed(
        [waiting, stop] {
          if (waiting->m_stopNumber == stop && waiting->m_pageStopped &&
              !waiting->m_stopConfirmed) {
            waiting->OnDebuggerResumed();
          }
        },
        kStopReportMs);
  }
  // A context makes one call at a time: a call still waiting here was
  // made where the page could not stop, and its answer is not wanted.  The
  // exception is a page standing at the statement: script the engine runs
  // in it meanwhile (ExecuteJavaScript) may call too; that call is carried
  // out, but the stopped call keeps its place and gets its answer.
  const unsigned long long number = ++m_lastBridgeCall;
  const auto current = m_bridgeCalls.find(pageContext);
  if (current == m_bridgeCalls.end() || current->second.pausedFrame.empty()) {
    BridgeCall& call = m_bridgeCalls[pageContext];
    call = BridgeCall();
    call.number = number;
  }

  const auto frameEntry = m_contextFrames.find(pageContext);
  const Json::Value& payload = params["payload"];
  Json::Value request;
  std::string error;
  if (frameEntry == m_contextFrames.end()) {
    error = "the page's context is unknown";
  } else if (!payload.isString()) {
    error = "malformed bridge request";
  } else if (payload.asString().size() > 3 * kMaxBridgeRequest) {
    error = "the bridge request is too large";
  } else {
    ParseRequest(payload.asString(), request, error);
  }
  if (!error.empty()) {
    OnBridgeReply(pageContext, number, ErrorText(error));
    return;
  }

  CefRefPtr<FrameImpl> frame = FrameFor(frameEntry->second, std::string());
  CefRefPtr<BrowserImpl> self(this);
  const bool posted = Engine::Get()->Renderer().Post([self, frame, pageContext, number, request] {
    Engine* engine = Engine::Get();
    if (engine == nullptr) return;
    const std::string text =
        WriteJson(engine->Render().Request(self.get(), frame.get(), pageContext, request));
    engine->Ui().Post(
        [self, pageContext, number, text] { self->OnBridgeReply(pageContext, number, text); });
  });
  if (!posted) OnBridgeReply(pageContext, number, ErrorText("the engine is stopping"));
}

void BrowserImpl::OnBridgeReply(int pageContext, unsigned long long number,
                                const std::string& text) {
  const auto found = m_bridgeCalls.find(pageContext);
  if (found == m_bridgeCalls.end() || found->second.number != number) return;
  found->second.replied = true;
  found->second.reply = text;
  if (!found->second.pausedFrame.empty()) AnswerPause(pageContext);
}

void BrowserImpl::OnDebuggerPaused(const Json::Value& params) {
  m_pageStopped = true;
  m_stopConfirmed = true;
  // The page stops for the engine only at the page script's statement,
  // right after its call; any other stop (the page's own debugger
  // statements) goes on at once, as in a browser without DevTools open.
  const Json::Value& frames = params["callFrames"];
  if (frames.isArray() && !frames.empty()) {
    const Json::Value& top = frames[0];
    const auto script = m_scriptContexts.find(top["location"]["scriptId"].asString());
    if (script != m_scriptContexts.end()) {
      const auto call = m_bridgeCalls.find(script->second);
      if (call != m_bridgeCalls.end() && call->second.pausedFrame.empty()) {
        call->second.pausedFrame = top["callFrameId"].asString();
        if (call->second.replied) AnswerPause(script->second);
        return;
      }
    }
  }
  Send("Debugger.resume");
}

void BrowserImpl::OnDebuggerResumed() {
  m_pageStopped = false;
  m_stopConfirmed = false;
  ++m_stopNumber;
  auto held = std::move(m_heldInput);
  m_heldInput.clear();
  for (const auto& input : held) Send(input.first, input.second);
}

void BrowserImpl::AnswerPause(int pageContext) {
  const auto found = m_bridgeCalls.find(pageContext);
  if (found == m_bridgeCalls.end()) return;
  Json::Value params(Json::objectValue);
  params["scopeNumber"] = 0;
  params["variableName"] = kReplyVariable;
  params["newValue"]["value"] = found->second.reply;
  params["callFrameId"] = found->second.pausedFrame;
  m_bridgeCalls.erase(found);
  // The page goes on only once the reply is in place: a resume sent along
  // with it can overtake it.
  CefRefPtr<BrowserImpl> self(this);
  const int sent =
      Send("Debugger.setVariableValue", params,
           [self](const Json::Value&, const Json::Value&) { self->Send("Debugger.resume"); });
  if (sent == 0) Send("Debugger.resume");
}

}  // namespace engine
