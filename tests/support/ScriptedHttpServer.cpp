#include "tests/support/ScriptedHttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <deque>
#include <mutex>
#include <thread>

namespace test {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

struct WinsockUser {
  WinsockUser() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUser() { ::WSACleanup(); }
};

// Waits until the socket is readable or the server stops; false on stop.
bool WaitReadable(SOCKET socket, const std::atomic<bool>& stopping) {
  while (!stopping) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait = {0, 50000};
    const int ready = ::select(0, &readable, nullptr, nullptr, &wait);
    if (ready > 0) return true;
    if (ready < 0) return false;
  }
  return false;
}

}  // namespace

ScriptedReply ScriptedReply::Body(std::string body, int status, std::string reason) {
  ScriptedReply reply;
  reply.body = std::move(body);
  reply.status = status;
  reply.reason = std::move(reason);
  return reply;
}

ScriptedReply ScriptedReply::Close() {
  ScriptedReply reply;
  reply.kind = Kind::kClose;
  return reply;
}

ScriptedReply ScriptedReply::Silent() {
  ScriptedReply reply;
  reply.kind = Kind::kSilent;
  return reply;
}

std::vector<std::string> RecordedRequest::HeaderValues(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& header : headers) {
    if (Lower(header.first) == Lower(name)) values.push_back(header.second);
  }
  return values;
}

struct ScriptedHttpServer::State {
  WinsockUser winsock;
  SOCKET listener = INVALID_SOCKET;
  uint16_t port = 0;
  std::atomic<bool> stopping{false};
  std::thread worker;
  mutable std::mutex mutex;
  std::deque<ScriptedReply> script;
  std::vector<RecordedRequest> requests;

  void Serve();
  void ServeConnection(SOCKET connection);
  // Reads one request; false when the peer closed or the server stops.
  bool ReadRequest(SOCKET connection, std::string& pending, RecordedRequest& request);
  ScriptedReply NextReply();
};

ScriptedHttpServer::ScriptedHttpServer() : m_state(std::make_unique<State>()) {
  State& s = *m_state;
  s.listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (s.listener == INVALID_SOCKET ||
      ::bind(s.listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(s.listener, 16) != 0) {
    return;
  }
  int length = sizeof(address);
  ::getsockname(s.listener, reinterpret_cast<sockaddr*>(&address), &length);
  s.port = ntohs(address.sin_port);
  s.worker = std::thread([&s] { s.Serve(); });
}

ScriptedHttpServer::~ScriptedHttpServer() {
  m_state->stopping = true;
  if (m_state->worker.joinable()) m_state->worker.join();
  if (m_state->listener != INVALID_SOCKET) ::closesocket(m_state->listener);
}

bool ScriptedHttpServer::IsListening() const { return m_state->port != 0; }
uint16_t ScriptedHttpServer::Port() const { return m_state->port; }

std::string ScriptedHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(m_state->port) + path;
}

void ScriptedHttpServer::Script(std::vector<ScriptedReply> replies) {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  m_state->script.assign(replies.begin(), replies.end());
}

std::vector<RecordedRequest> ScriptedHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  return m_state->requests;
}

uint16_t ScriptedHttpServer::RefusingPort() {
  WinsockUser winsock;
  SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  int length = sizeof(address);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::closesocket(probe);
  return ntohs(address.sin_port);
}

void ScriptedHttpServer::State::Serve() {
  while (WaitReadable(listener, stopping)) {
    SOCKET connection = ::accept(listener, nullptr, nullptr);
    if (connection == INVALID_SOCKET) continue;
    ServeConnection(connection);
    ::closesocket(connection);
  }
}

ScriptedReply ScriptedHttpServer::State::NextReply() {
  std::lock_guard<std::mutex> lock(mutex);
  if (script.empty()) return ScriptedReply::Body("no reply scripted", 404, "Not Found");
  ScriptedReply reply = script.front();
  script.pop_front();
  return reply;
}

bool ScriptedHttpServer::State::ReadRequest(SOCKET connection, std::string& pending,
                                            RecordedRequest& request) {
  auto readMore = [&]() {
    if (!WaitReadable(connection, stopping)) return false;
    char buffer[8192];
    const int got = ::recv(connection, buffer, sizeof(buffer), 0);
    if (got <= 0) return false;
    pending.append(buffer, static_cast<size_t>(got));
    return true;
  };
  size_t headerEnd;
  while ((headerEnd = pending.find("\r\n\r\n")) == std::string::npos) {
    if (!readMore()) return false;
  }
  const std::string head = pending.substr(0, headerEnd);
  pending.erase(0, headerEnd + 4);

  size_t lineEnd = head.find("\r\n");
  request.requestLine = head.substr(0, lineEnd);
  size_t contentLength = 0;
  while (lineEnd != std::string::npos) {
    const size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    const std::string line =
        head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    request.headers.emplace_back(line.substr(0, colon), value);
    if (Lower(line.substr(0, colon)) == "content-length") {
      contentLength = std::strtoul(value.c_str(), nullptr, 10);
    }
  }
  while (pending.size() < contentLength) {
    if (!readMore()) return false;
  }
  request.body = pending.substr(0, contentLength);
  pending.erase(0, contentLength);
  return true;
}

void ScriptedHttpServer::State::ServeConnection(SOCKET connection) {
  std::string pending;
  for (;;) {
    RecordedRequest request;
    if (!ReadRequest(connection, pending, request)) return;
    {
      std::lock_guard<std::mutex> lock(mutex);
      requests.push_back(request);
    }
    const ScriptedReply reply = NextReply();
    for (unsigned waited = 0; waited < reply.delayMs && !stopping; waited += 10) ::Sleep(10);
    switch (reply.kind) {
      case ScriptedReply::Kind::kClose:
        return;
      case ScriptedReply::Kind::kSilent:
        while (!stopping) ::Sleep(20);
        return;
      case ScriptedReply::Kind::kRespond:
        break;
    }
    std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    bool hasLength = false;
    for (const auto& header : reply.headers) {
      out += header.first + ": " + header.second + "\r\n";
      hasLength = hasLength || Lower(header.first) == "content-length";
    }
    if (!hasLength) out += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    out += "\r\n" + reply.body;
    for (size_t sent = 0; sent < out.size();) {
      const int n = ::send(connection, out.data() + sent, static_cast<int>(out.size() - sent), 0);
      if (n <= 0) return;
      sent += static_cast<size_t>(n);
    }
  }
}

}  // namespace test
