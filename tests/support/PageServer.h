// A web server on 127.0.0.1 for browser tests: it serves pages by path,
// answers every connection on a thread of its own (a browser opens
// several at once), and counts the requests each path received.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace test {

struct Page {
  int status = 200;
  std::string contentType = "text/html; charset=utf-8";
  std::string body;
  // Extra header lines, each ending in "\r\n".
  std::string headers;
};

class PageServer {
 public:
  PageServer();
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  // Serves the page at the path (the query is not part of it); any other
  // path gets a 404.
  void Add(const std::string& path, Page page);
  void AddHtml(const std::string& path, const std::string& html);
  // "http://127.0.0.1:<port>" followed by the path.
  std::string Url(const std::string& path) const;
  int RequestsFor(const std::string& path) const;

 private:
  struct State;
  std::shared_ptr<State> m_state;
};

}  // namespace test
