#include "tests/support/PageServer.h"

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace test {

struct PageServer::State {
  SOCKET listener = INVALID_SOCKET;
  uint16_t port = 0;
  std::atomic<bool> stopping{false};
  std::thread acceptor;
  mutable std::mutex mutex;
  std::map<std::string, Page> pages;
  std::map<std::string, int> counts;
  std::vector<std::thread> connections;
  // Connections still being served.  A browser opens spare connections it
  // may never send a request on; stopping shuts these down so that their
  // threads end instead of waiting for the browser to give them up.
  std::set<SOCKET> open;

  void Accept() {
    for (;;) {
      SOCKET connection = ::accept(listener, nullptr, nullptr);
      if (connection == INVALID_SOCKET) return;
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (stopping) {
          ::closesocket(connection);
          return;
        }
        open.insert(connection);
      }
      // The thread is made outside the lock: making a thread waits for the
      // runtime's own locks, and the test's thread must never wait for that
      // while it waits for ours.  Only this thread touches the list until
      // the server has joined it.
      connections.emplace_back([this, connection] {
        Serve(connection);
        std::lock_guard<std::mutex> lock(mutex);
        open.erase(connection);
        ::closesocket(connection);
      });
    }
  }

  // Waits for something to read on the connection; false once the server
  // stops.  Under Wine, shutting a socket down does not wake a thread blocked
  // in recv on it, and a browser may hold an idle connection open for
  // minutes, so no thread blocks for longer than a short tick.
  bool WaitReadable(SOCKET connection) const {
    while (!stopping) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(connection, &readable);
      timeval tick = {0, 50 * 1000};
      const int ready = ::select(0, &readable, nullptr, nullptr, &tick);
      if (ready != 0) return ready > 0;
    }
    return false;
  }

  void Serve(SOCKET connection) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      if (!WaitReadable(connection)) return;
      const int got = ::recv(connection, buffer, sizeof(buffer), 0);
      if (got <= 0) return;
      request.append(buffer, static_cast<size_t>(got));
    }
    const size_t start = request.find(' ') + 1;
    std::string path = request.substr(start, request.find(' ', start) - start);
    path = path.substr(0, path.find('?'));
    Page page;
    {
      std::lock_guard<std::mutex> lock(mutex);
      ++counts[path];
      const auto found = pages.find(path);
      if (found != pages.end()) {
        page = found->second;
      } else {
        page.status = 404;
        page.body = "not found";
      }
    }
    std::string reply = "HTTP/1.1 " + std::to_string(page.status) + " Status\r\n";
    if (page.status != 204) {
      reply += "Content-Type: " + page.contentType + "\r\n";
      reply += "Content-Length: " + std::to_string(page.body.size()) + "\r\n";
    }
    reply += page.headers + "Cache-Control: no-store\r\nConnection: close\r\n\r\n";
    if (page.status != 204) reply += page.body;
    ::send(connection, reply.data(), static_cast<int>(reply.size()), 0);
    ::shutdown(connection, SD_SEND);
    // Let the browser read everything before the connection goes.
    while (WaitReadable(connection) && ::recv(connection, buffer, sizeof(buffer), 0) > 0) {
    }
  }
};

PageServer::PageServer() : m_state(std::make_shared<State>()) {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  State& s = *m_state;
  s.listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(s.listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(s.listener, 64) != 0) {
    return;
  }
  int length = sizeof(address);
  ::getsockname(s.listener, reinterpret_cast<sockaddr*>(&address), &length);
  s.port = ntohs(address.sin_port);
  s.acceptor = std::thread([&s] { s.Accept(); });
}

PageServer::~PageServer() {
  State& s = *m_state;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    s.stopping = true;
    for (SOCKET connection : s.open) ::shutdown(connection, SD_BOTH);
  }
  ::closesocket(s.listener);
  if (s.acceptor.joinable()) s.acceptor.join();
  for (std::thread& connection : s.connections) connection.join();
  ::WSACleanup();
}

void PageServer::Add(const std::string& path, Page page) {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  m_state->pages[path] = std::move(page);
}

void PageServer::AddHtml(const std::string& path, const std::string& html) {
  Page page;
  page.body = html;
  Add(path, page);
}

std::string PageServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(m_state->port) + path;
}

int PageServer::RequestsFor(const std::string& path) const {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  const auto found = m_state->counts.find(path);
  return found == m_state->counts.end() ? 0 : found->second;
}

}  // namespace test
