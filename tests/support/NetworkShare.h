// A folder that programs reach as a network share, \\<server>\share\, so
// that tests can run the program and its helpers from one.
#pragma once

#include <string>

namespace test {

class NetworkShare {
 public:
  NetworkShare();
  ~NetworkShare();
  NetworkShare(const NetworkShare&) = delete;
  NetworkShare& operator=(const NetworkShare&) = delete;

  bool IsReady() const { return m_ready; }
  // The share's network path, "\\<server>\share\".
  const std::wstring& Path() const { return m_path; }
  std::wstring operator/(const std::wstring& name) const { return m_path + name; }
  // The server's name alone.
  const std::wstring& Server() const { return m_server; }

 private:
  std::wstring m_server;
  std::wstring m_path;
  // Where the share's content really lies.
  std::wstring m_backing;
  bool m_ready = false;
};

}  // namespace test
