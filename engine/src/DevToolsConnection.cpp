#include "src/DevToolsConnection.h"

#include <windows.h>

#include <json/reader.h>
#include <json/writer.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "src/DevToolsSocket.h"
#include "src/TaskThread.h"
#include "util/UniqueHandle.h"

namespace engine {
namespace {

double Milliseconds() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// How long Close waits for the browser to answer the closing handshake.
constexpr DWORD kReaderStopMs = 3000;

}  // namespace

struct DevToolsConnection::Impl {
  explicit Impl(TaskThread& thread) : ui(thread) {}

  TaskThread& ui;
  DevToolsSocket socket;
  Listener* listener = nullptr;
  std::thread reader;
  CKernelHandle readerDone;
  // Read on the UI thread only, like the replies awaited.
  bool open = false;
  int nextId = 1;
  std::map<int, Reply> replies;
  std::atomic<bool> closing{false};
  // Keeps queued deliveries from reaching a connection that has closed.
  std::shared_ptr<Impl*> alive;
  std::mutex logLock;
  CFileHandle log;
  double logOpened = 0;

  void Log(char direction, const std::string& text) {
    if (!log) return;
    // Each line carries the milliseconds since the log was opened, so that
    // a slow step stands out.
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), " %9.1f ", Milliseconds() - logOpened);
    std::string line(1, direction);
    line += stamp;
    line += text.size() > 400 ? text.substr(0, 400) + "..." : text;
    line += '\n';
    std::lock_guard<std::mutex> lock(logLock);
    DWORD written = 0;
    ::WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }

  void Read() {
    std::unique_ptr<Json::CharReader> parser(Json::CharReaderBuilder().newCharReader());
    std::string text;
    std::weak_ptr<Impl*> target = alive;
    while (socket.Receive(text)) {
      Log('<', text);
      Json::Value message;
      std::string problem;
      if (!parser->parse(text.data(), text.data() + text.size(), &message, &problem) ||
          !message.isObject()) {
        continue;
      }
      if (!message.isMember("id")) {
        Json::Value& params = message["params"];
        if (listener->OnReaderThreadEvent(message["sessionId"].asString(),
                                          message["method"].asString(), params)) {
          continue;
        }
      }
      ui.Post([target, message = std::move(message)] {
        if (const auto self = target.lock()) (*self)->Deliver(message);
      });
    }
    ui.Post([target] {
      if (const auto self = target.lock()) (*self)->Disconnected();
    });
    ::SetEvent(readerDone.Get());
  }

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
    listener->OnDevToolsEvent(message["sessionId"].asString(), message["method"].asString(),
                              message["params"]);
  }

  void Disconnected() {
    if (!open) return;
    open = false;
    replies.clear();
    if (!closing) listener->OnDevToolsClosed();
  }
};

DevToolsConnection::DevToolsConnection(TaskThread& uiThread)
    : m_impl(std::make_unique<Impl>(uiThread)) {}

DevToolsConnection::~DevToolsConnection() { Close(); }

bool DevToolsConnection::Open(uint16_t port, const std::string& browserPath, Listener* listener) {
  Close();
  Impl& impl = *m_impl;
  if (listener == nullptr || !impl.socket.Connect(port, browserPath)) return false;
  impl.readerDone.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!impl.readerDone) return false;
  impl.listener = listener;
  impl.closing = false;
  impl.alive = std::make_shared<Impl*>(&impl);
  impl.open = true;
  try {
    impl.reader = std::thread([&impl] { impl.Read(); });
  } catch (...) {
    impl.open = false;
    impl.socket.Close();
    return false;
  }
  return true;
}

void DevToolsConnection::Close() {
  Impl& impl = *m_impl;
  if (!impl.reader.joinable()) return;
  impl.closing = true;
  // The closing handshake ends a receive that is waiting for the browser.
  if (::WaitForSingleObject(impl.readerDone.Get(), 0) != WAIT_OBJECT_0) impl.socket.Shutdown();
  // A browser that no longer answers is cut off; closing the handles is the
  // one way left to end that receive.
  if (::WaitForSingleObject(impl.readerDone.Get(), kReaderStopMs) != WAIT_OBJECT_0) {
    impl.socket.Close();
  }
  impl.reader.join();
  impl.socket.Close();
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
  impl.Log('>', text);
  if (!impl.socket.Send(text)) return 0;
  if (reply) impl.replies.emplace(id, std::move(reply));
  return id;
}

bool DevToolsConnection::IsOpen() const { return m_impl->open; }

void DevToolsConnection::SetLogFile(const std::wstring& path) {
  m_impl->logOpened = Milliseconds();
  m_impl->log.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace engine
