#include "src/DevToolsConnection.h"

#include <windows.h>

#include <json/reader.h>
#include <json/writer.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include "src/DevToolsPipe.h"
#include "src/TaskThread.h"
#include "util/UniqueHandle.h"

namespace engine {
namespace {

double Milliseconds() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// How long Close waits for the browser to end once its pipe closed, and
// then for a cancelled read to return.
constexpr DWORD kReaderStopMs = 5000;
constexpr DWORD kCancelledReadMs = 1000;

// The error a command gets when its answer was dropped.
constexpr int kDroppedAnswerCode = -32099;

// The command id at the start of a message, or 0.  The browser writes the
// id first in every answer, so even the start of an answer too large to
// read, or one that is not valid JSON, tells which command it answers.
int LeadingId(const std::string& text) {
  static const char kStart[] = "{\"id\":";
  if (text.compare(0, sizeof(kStart) - 1, kStart) != 0) return 0;
  long long id = 0;
  size_t at = sizeof(kStart) - 1;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    id = id * 10 + (text[at] - '0');
    if (id > 0x7FFFFFFF) return 0;
  }
  if (at == sizeof(kStart) - 1 || at >= text.size()) return 0;
  return text[at] == ',' || text[at] == '}' ? static_cast<int>(id) : 0;
}

// Whether the parsed message has the shape the engine reads without
// checking again: an object whose id, method and session are of the right
// kinds where present.
bool IsWellFormed(const Json::Value& message) {
  if (!message.isObject()) return false;
  const Json::Value* id = message.find("id", "id" + 2);
  if (id != nullptr && !id->isInt()) return false;
  for (const char* member : {"method", "sessionId"}) {
    const Json::Value* value = message.find(member, member + std::strlen(member));
    if (value != nullptr && !value->isString()) return false;
  }
  if (id == nullptr && !message.isMember("method")) return false;
  const Json::Value* params = message.find("params", "params" + 6);
  return params == nullptr || params->isObject() || params->isNull();
}

}  // namespace

// What the reader thread shares with the connection.  It outlives the
// connection when a browser that no longer answers keeps the reader
// waiting; the listener is then gone and nothing more is delivered.
struct DevToolsConnection::Reading {
  std::shared_ptr<DevToolsPipe> pipe;
  TaskThread* ui = nullptr;
  std::weak_ptr<Impl*> target;
  // Held while the reader calls the listener or posts to the UI thread, so
  // that once Close has cleared the listener, neither happens again.
  std::mutex lock;
  Listener* listener = nullptr;
  CKernelHandle done;
  std::atomic<DWORD> threadId{0};
  std::shared_ptr<Log> log;
};

struct DevToolsConnection::Log {
  std::mutex lock;
  CFileHandle file;
  double opened = 0;

  void Write(char direction, const std::string& text) {
    if (!file) return;
    // Each line carries the milliseconds since the log was opened, so that
    // a slow step stands out.
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), " %9.1f ", Milliseconds() - opened);
    std::string line(1, direction);
    line += stamp;
    line += text.size() > 400 ? text.substr(0, 400) + "..." : text;
    line += '\n';
    std::lock_guard<std::mutex> guard(lock);
    DWORD written = 0;
    ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
};

struct DevToolsConnection::Impl {
  explicit Impl(TaskThread& thread) : ui(thread), log(std::make_shared<Log>()) {}

  TaskThread& ui;
  std::shared_ptr<Log> log;
  std::shared_ptr<DevToolsPipe> pipe;
  std::shared_ptr<Reading> reading;
  std::thread reader;
  // Read on the UI thread only, like the replies awaited.
  Listener* listenerOnUi = nullptr;
  bool open = false;
  int nextId = 1;
  std::map<int, Reply> replies;
  std::atomic<bool> closing{false};
  // Keeps queued deliveries from reaching a connection that has closed.
  std::shared_ptr<Impl*> alive;

  void Deliver(const Json::Value& message) {
    if (!open) return;
    if (message.isMember("id")) {
      const auto found = replies.find(message["id"].asInt());
      if (found == replies.end()) return;
      Reply reply = std::move(found->second);
      replies.erase(found);
      if (reply) reply(message["result"], message["error"]);
      return;
    }
    listenerOnUi->OnDevToolsEvent(message["sessionId"].asString(), message["method"].asString(),
                                  message["params"]);
  }

  void Disconnected() {
    if (!open) return;
    open = false;
    replies.clear();
    if (!closing) listenerOnUi->OnDevToolsClosed();
  }
};

void DevToolsConnection::ReadMessages(const std::shared_ptr<Reading>& reading) {
  std::unique_ptr<Json::CharReader> parser(Json::CharReaderBuilder().newCharReader());
  std::string text;
  const auto post = [&reading](Json::Value message) {
    const std::weak_ptr<Impl*> target = reading->target;
    reading->ui->Post([target, message = std::move(message)] {
      if (const auto self = target.lock()) (*self)->Deliver(message);
    });
  };
  // A command whose answer is dropped gets an error in its place, so that
  // whatever waits for it goes on.
  const auto dropAnswer = [&](const std::string& start, const char* why) {
    reading->log->Write('<', std::string("dropped: ") + why + ": " + start);
    const int id = LeadingId(start);
    if (id == 0) return;
    Json::Value failure(Json::objectValue);
    failure["id"] = id;
    failure["error"]["code"] = kDroppedAnswerCode;
    failure["error"]["message"] = why;
    std::lock_guard<std::mutex> guard(reading->lock);
    if (reading->listener != nullptr) post(std::move(failure));
  };
  for (;;) {
    const DevToolsPipe::Received got = reading->pipe->Receive(text);
    if (got == DevToolsPipe::Received::kEnded) break;
    if (got == DevToolsPipe::Received::kTooLarge) {
      dropAnswer(text, "the message exceeded the size limit");
      continue;
    }
    reading->log->Write('<', text);
    Json::Value message;
    bool taken = false;
    bool parsed = false;
    // What the browser sends may hold anything a page put into it; a
    // message the parser or the memory cannot take is dropped here, where
    // it enters the engine.
    try {
      std::string problem;
      parsed = parser->parse(text.data(), text.data() + text.size(), &message, &problem) &&
               IsWellFormed(message);
      if (parsed && !message.isMember("id")) {
        std::lock_guard<std::mutex> guard(reading->lock);
        if (reading->listener == nullptr) continue;
        taken = reading->listener->OnReaderThreadEvent(
            message["sessionId"].asString(), message["method"].asString(), message["params"]);
      }
    } catch (const std::bad_alloc&) {
      parsed = false;
    } catch (const Json::Exception&) {
      parsed = false;
    }
    if (!parsed) {
      dropAnswer(text.substr(0, DevToolsPipe::kKeptPrefixBytes), "the message is not valid");
      continue;
    }
    if (taken) continue;
    std::lock_guard<std::mutex> guard(reading->lock);
    if (reading->listener != nullptr) post(std::move(message));
  }
  {
    std::lock_guard<std::mutex> guard(reading->lock);
    if (reading->listener != nullptr) {
      const std::weak_ptr<Impl*> target = reading->target;
      reading->ui->Post([target] {
        if (const auto self = target.lock()) (*self)->Disconnected();
      });
    }
  }
  ::SetEvent(reading->done.Get());
}

DevToolsConnection::DevToolsConnection(TaskThread& uiThread)
    : m_impl(std::make_unique<Impl>(uiThread)) {}

DevToolsConnection::~DevToolsConnection() { Close(); }

bool DevToolsConnection::Open(std::shared_ptr<DevToolsPipe> pipe, Listener* listener) {
  Close();
  Impl& impl = *m_impl;
  if (listener == nullptr || !pipe) return false;
  auto reading = std::make_shared<Reading>();
  reading->done.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!reading->done) return false;
  impl.alive = std::make_shared<Impl*>(&impl);
  reading->pipe = pipe;
  reading->ui = &impl.ui;
  reading->target = impl.alive;
  reading->listener = listener;
  reading->log = impl.log;
  impl.listenerOnUi = listener;
  impl.pipe = std::move(pipe);
  impl.reading = reading;
  impl.closing = false;
  impl.open = true;
  impl.reader = std::thread([reading] {
    reading->threadId = ::GetCurrentThreadId();
    RunEngineThread([&reading] { ReadMessages(reading); });
  });
  return true;
}

void DevToolsConnection::Close() {
  Impl& impl = *m_impl;
  if (!impl.reader.joinable()) return;
  impl.closing = true;
  Reading& reading = *impl.reading;
  {
    std::lock_guard<std::mutex> guard(reading.lock);
    reading.listener = nullptr;
  }
  // The browser ends once its input closes, and its end of the pipe with
  // it; that ends the read that waits for it.
  impl.pipe->CloseSending();
  if (::WaitForSingleObject(reading.done.Get(), kReaderStopMs) != WAIT_OBJECT_0) {
    impl.pipe->CancelReceive(reading.threadId);
  }
  if (::WaitForSingleObject(reading.done.Get(), kCancelledReadMs) == WAIT_OBJECT_0) {
    impl.reader.join();
  } else {
    // A browser that neither answers nor ends keeps the read waiting, and
    // where the platform cannot cancel it the reader is left to end with
    // the browser; it holds what it reads from, and delivers nothing more.
    impl.reader.detach();
  }
  impl.reading.reset();
  impl.pipe.reset();
  impl.alive.reset();
  auto finish = [&impl] {
    impl.open = false;
    impl.replies.clear();
  };
  if (!impl.ui.Invoke(finish)) finish();
}

int DevToolsConnection::Send(const std::string& method, const Json::Value& params,
                             const std::string& sessionId, Reply reply) {
  Impl& impl = *m_impl;
  if (!impl.open) return 0;
  const int id = impl.nextId++;
  Json::Value message(Json::objectValue);
  message["id"] = id;
  message["method"] = method;
  message["params"] = params;
  if (!sessionId.empty()) message["sessionId"] = sessionId;
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  writer["emitUTF8"] = true;
  const std::string text = Json::writeString(writer, message);
  impl.log->Write('>', text);
  if (!impl.pipe->Send(text)) return 0;
  if (reply) impl.replies.emplace(id, std::move(reply));
  return id;
}

bool DevToolsConnection::IsOpen() const { return m_impl->open; }

void DevToolsConnection::SetLogFile(const std::wstring& path) {
  Log& log = *m_impl->log;
  log.opened = Milliseconds();
  log.file.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace engine
