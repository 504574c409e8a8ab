#include "src/DevToolsSocket.h"

#include <windows.h>
#include <winhttp.h>

#include "util/UniqueHandle.h"

namespace engine {
namespace {

struct WinHttpHandleTraits {
  using Handle = HINTERNET;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { ::WinHttpCloseHandle(handle); }
};
using CWinHttpHandle = UniqueHandle<WinHttpHandleTraits>;

}  // namespace

struct DevToolsSocket::Handles {
  // Closed in reverse order: the socket before its session.
  CWinHttpHandle session;
  CWinHttpHandle connection;
  CWinHttpHandle socket;
};

DevToolsSocket::DevToolsSocket() : m_handles(std::make_unique<Handles>()) {}

DevToolsSocket::~DevToolsSocket() { Close(); }

bool DevToolsSocket::Connect(uint16_t port, const std::string& path) {
  Close();
  Handles& h = *m_handles;
  h.session.Reset(::WinHttpOpen(L"Talmic", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                WINHTTP_NO_PROXY_BYPASS, 0));
  if (!h.session) return false;
  h.connection.Reset(::WinHttpConnect(h.session.Get(), L"127.0.0.1", port, 0));
  if (!h.connection) return false;
  const std::wstring widePath(path.begin(), path.end());  // DevTools paths are ASCII
  CWinHttpHandle request(::WinHttpOpenRequest(h.connection.Get(), L"GET", widePath.c_str(), nullptr,
                                              WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
  if (!request ||
      !::WinHttpSetOption(request.Get(), WINHTTP_OPTION_UPGRADE_TO_WEB_SOCKET, nullptr, 0) ||
      !::WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, nullptr, 0, 0, 0) ||
      !::WinHttpReceiveResponse(request.Get(), nullptr)) {
    return false;
  }
  h.socket.Reset(::WinHttpWebSocketCompleteUpgrade(request.Get(), 0));
  return h.socket.IsValid();
}

bool DevToolsSocket::IsConnected() const { return m_handles->socket.IsValid(); }

bool DevToolsSocket::Send(const std::string& message) {
  if (!IsConnected()) return false;
  return ::WinHttpWebSocketSend(
             m_handles->socket.Get(), WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE,
             const_cast<char*>(message.data()), static_cast<DWORD>(message.size())) == NO_ERROR;
}

bool DevToolsSocket::Receive(std::string& message) {
  message.clear();
  if (!IsConnected()) return false;
  char buffer[16384];
  for (;;) {
    DWORD got = 0;
    WINHTTP_WEB_SOCKET_BUFFER_TYPE type;
    if (::WinHttpWebSocketReceive(m_handles->socket.Get(), buffer, sizeof(buffer), &got, &type) !=
        NO_ERROR) {
      return false;
    }
    if (type == WINHTTP_WEB_SOCKET_CLOSE_BUFFER_TYPE) return false;
    message.append(buffer, got);
    if (type == WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE ||
        type == WINHTTP_WEB_SOCKET_BINARY_MESSAGE_BUFFER_TYPE) {
      return true;
    }
  }
}

void DevToolsSocket::Shutdown() {
  if (IsConnected()) {
    ::WinHttpWebSocketShutdown(m_handles->socket.Get(), WINHTTP_WEB_SOCKET_SUCCESS_CLOSE_STATUS,
                               nullptr, 0);
  }
}

void DevToolsSocket::Close() {
  m_handles->socket.Reset();
  m_handles->connection.Reset();
  m_handles->session.Reset();
}

}  // namespace engine
