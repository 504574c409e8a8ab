// An HTTP server on 127.0.0.1 for tests: it records every request exactly as
// it arrived (request line, headers in order, body bytes) and answers with
// the replies the test scripted, in order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace test {

struct ScriptedReply {
  enum class Kind {
    kRespond,  // status line, headers and body
    kClose,    // close the connection without a word
    kSilent,   // keep the connection open and never answer
  };
  Kind kind = Kind::kRespond;
  int status = 200;
  std::string reason = "OK";
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // Waited before answering (or closing).
  unsigned delayMs = 0;

  static ScriptedReply Body(std::string body, int status = 200, std::string reason = "OK");
  static ScriptedReply Close();
  static ScriptedReply Silent();
};

struct RecordedRequest {
  std::string requestLine;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The values of the headers of that name (not case-sensitive), in order.
  std::vector<std::string> HeaderValues(const std::string& name) const;
};

class ScriptedHttpServer {
 public:
  ScriptedHttpServer();
  ~ScriptedHttpServer();
  ScriptedHttpServer(const ScriptedHttpServer&) = delete;
  ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

  bool IsListening() const;
  uint16_t Port() const;
  // "http://127.0.0.1:<port>" followed by path.
  std::string Url(const std::string& path) const;

  // The replies for the next requests, in order; once they are used up,
  // every further request gets a 404.
  void Script(std::vector<ScriptedReply> replies);
  std::vector<RecordedRequest> Requests() const;

  // A loopback port on which nothing listens: connections are refused.
  static uint16_t RefusingPort();

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace test
