// A WebSocket connection to a DevTools endpoint on the loopback interface,
// over WinHTTP: whole text messages out and in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace engine {

class DevToolsSocket {
 public:
  DevToolsSocket();
  ~DevToolsSocket();
  DevToolsSocket(const DevToolsSocket&) = delete;
  DevToolsSocket& operator=(const DevToolsSocket&) = delete;

  // Connects to ws://127.0.0.1:port<path>; false when the upgrade fails.
  bool Connect(uint16_t port, const std::string& path);
  bool IsConnected() const;

  // Sends one text message; false when the connection is broken.
  bool Send(const std::string& message);
  // Blocks until one whole text message has arrived; false when the
  // connection closed or broke.
  bool Receive(std::string& message);

  // Starts the closing handshake: a Receive waiting on another thread
  // returns false once the browser has answered it.  Safe to call while
  // that thread waits, unlike Close.
  void Shutdown();
  void Close();

 private:
  struct Handles;
  std::unique_ptr<Handles> m_handles;
};

}  // namespace engine
