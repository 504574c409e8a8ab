#include "update/HttpClient.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "tests/support/ScriptedHttpServer.h"
#include "util/TextUtil.h"

namespace {

using test::RecordedRequest;
using test::ScriptedHttpServer;
using test::ScriptedReply;

TEST(HttpClient, SendsTheFixedPostRequest) {
  ScriptedHttpServer server;
  ASSERT_TRUE(server.IsListening());
  server.Script({ScriptedReply::Body("ok")});

  CHttpClient client;
  EXPECT_EQ(client.Post(server.Url("/app/common/checkVersions.jhtml?from=test")), L"ok");

  const std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const RecordedRequest& request = requests[0];
  EXPECT_EQ(request.requestLine, "POST /app/common/checkVersions.jhtml?from=test HTTP/1.1");

  // The empty form goes out as its terminating zero byte alone.
  EXPECT_EQ(request.body, std::string(1, '\0'));
  EXPECT_EQ(request.HeaderValues("Content-Length"), std::vector<std::string>{"1"});
  // The program's name is the executable's file name without its extension.
  EXPECT_EQ(request.HeaderValues("User-Agent"), std::vector<std::string>{"update_tests"});
  EXPECT_EQ(request.HeaderValues("Host"),
            std::vector<std::string>{"127.0.0.1:" + std::to_string(server.Port())});
  EXPECT_EQ(request.HeaderValues("Content-Type").size(), 1u) << "one Content-Type only";

  // The added headers arrive once each, in the order they were added.
  const std::vector<std::pair<std::string, std::string>> added = {
      {"Connection", "keep-alive"},
      {"Cache-Control", "max-age=0"},
      {"Accept-Language", "zh-CN,zh;q=0.8"},
      {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
  };
  std::vector<size_t> positions;
  for (const auto& header : added) {
    SCOPED_TRACE(header.first);
    EXPECT_EQ(request.HeaderValues(header.first), std::vector<std::string>{header.second});
    const auto at = std::find_if(request.headers.begin(), request.headers.end(),
                                 [&](const auto& sent) { return sent.first == header.first; });
    positions.push_back(static_cast<size_t>(at - request.headers.begin()));
  }
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
}

TEST(HttpClient, ReturnsTheBodyOfWhateverTheServerAnswers) {
  const std::string big(200000, 'a');
  const std::string chinese = "\xE7\xA1\xAE\xE5\xAE\x9A\xE9\x80\x80\xE5\x87\xBA";  // 确定退出
  struct Case {
    const char* name;
    ScriptedReply reply;
    std::wstring expected;
  };
  ScriptedReply redirect = ScriptedReply::Body("moved away", 302, "Found");
  redirect.headers.emplace_back("Location", "/elsewhere");
  const Case cases[] = {
      {"short ASCII body", ScriptedReply::Body("{\"version\":\"1.0.0.0\"}"),
       L"{\"version\":\"1.0.0.0\"}"},
      {"the text ends at a zero byte", ScriptedReply::Body(std::string("before\0after", 12)),
       L"before"},
      {"a long body is cut to 102,399 bytes", ScriptedReply::Body(big), std::wstring(102399, L'a')},
      {"Chinese kept under code page 936", ScriptedReply::Body(chinese),
       L"\x786E\x5B9A\x9000\x51FA"},
      {"404 page", ScriptedReply::Body("not here", 404, "Not Found"), L"not here"},
      {"500 page", ScriptedReply::Body("broken", 500, "Internal Server Error"), L"broken"},
      {"redirect not followed", redirect, L"moved away"},
      {"empty body", ScriptedReply::Body(""), L""},
  };
  ASSERT_EQ(::GetACP(), 936u) << "the tests run under the Chinese code page";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedHttpServer server;
    server.Script({c.reply});
    CHttpClient client;
    EXPECT_EQ(client.Post(server.Url("/x")), c.expected);
    EXPECT_EQ(server.Requests().size(), 1u);
  }
}

TEST(HttpClient, FailuresGiveAnEmptyText) {
  struct Case {
    const char* name;
    ScriptedReply reply;
  };
  const Case cases[] = {
      {"closed without an answer", ScriptedReply::Close()},
      {"accepted and never answered", ScriptedReply::Silent()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedHttpServer server;
    server.Script({c.reply});
    CHttpClient client;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Post(server.Url("/x")), L"");
    // The exchange is bounded well below the platform's own time-outs, so
    // start-up is not held up by a server that never answers.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  }
}

TEST(HttpClient, UnreachableOrMissingServerGivesAnEmptyText) {
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(ScriptedHttpServer::RefusingPort()) + "/x";
  for (const std::string& url :
       {refused, std::string(), std::string("not a url"), std::string("http:///path-only")}) {
    SCOPED_TRACE(url);
    CHttpClient client;
    EXPECT_EQ(client.Post(url), L"");
  }
}

}  // namespace
