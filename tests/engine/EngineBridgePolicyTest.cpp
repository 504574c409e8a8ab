// The page functions under the conditions that keep a page from making
// requests of its own: content security policies, sandboxed frames, and a
// page on its way out.
#include <gtest/gtest.h>
#include <json/reader.h>

#include "tests/engine/EngineHarness.h"
#include "tests/engine/PageCallHandler.h"
#include "tests/support/PageServer.h"

namespace enginetest {
namespace {

// The page's first script: whether the functions are there already and
// what a call gives, then again once the page has loaded, and what its
// frames report; all of it lands in the title once everything is in.
// A page with data-early calls once more as soon as it is parsed, which
// is when its frames start.
const char kRunScript[] = R"(
const results = { first: typeof probe };
try { results.call = probe(location.pathname); } catch (e) { results.call = 'threw: ' + e.message; }
let frames = Number(document.documentElement.dataset.frames || 0);
let parsed = false;
function finish() { if (parsed && frames === 0) document.title = JSON.stringify(results); }
window.addEventListener('message', function (e) {
  results['frame ' + e.data.frame] = e.data.first + '|' + e.data.call;
  --frames;
  finish();
});
if (document.documentElement.dataset.early) {
  document.addEventListener('DOMContentLoaded', function () {
    try { results.early = probe('early'); } catch (e) { results.early = 'threw: ' + e.message; }
  });
}
window.addEventListener('load', function () {
  try { results.parsed = probe('parsed'); } catch (e) { results.parsed = 'threw: ' + e.message; }
  parsed = true;
  finish();
});
)";

// An inner frame's first script: reports to the page above.
const char kFrameScript[] = R"(
const report = { frame: document.documentElement.dataset.name, first: typeof probe };
try { report.call = probe('frame'); } catch (e) { report.call = 'threw: ' + e.message; }
parent.postMessage(report, '*');
)";

// Every policy reports its violations here; none may be reported.
const char kPolicy[] = "default-src 'self'; report-uri /csp-report";

std::string PolicyHeader(const std::string& policy) {
  return "Content-Security-Policy: " + policy + "\r\n";
}

class EngineBridgePolicy : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { PageCallHandler::Install(); }
};

TEST_F(EngineBridgePolicy, FunctionsAnswerUnderAnyPolicyAndInSandboxedFrames) {
  ASSERT_TRUE(SharedEngine::Start());
  test::PageServer server;
  server.Add("/run.js", {200, "application/javascript", kRunScript, ""});
  server.Add("/frame.js", {200, "application/javascript", kFrameScript, ""});
  server.AddHtml("/frame.html",
                 "<html data-name='sandboxed src'><script src='/frame.js'></script></html>");
  struct Case {
    const char* name;
    std::string policy;  // sent as a header when not empty
    const char* html;
    std::vector<std::string> frames;
  };
  const Case cases[] = {
      {"policy header",
       kPolicy,
       "<html><head><script src='/run.js'></script></head><body>header</body></html>",
       {}},
      {"policy in a meta element",
       "",
       "<html><head><meta http-equiv='Content-Security-Policy' content=\"default-src 'self'\">"
       "<script src='/run.js'></script></head><body>meta</body></html>",
       {}},
      {"no connections, scripts by nonce only",
       "connect-src 'none'; script-src 'nonce-abc'; report-uri /csp-report",
       "<html><head><script nonce='abc' src='/run.js'></script></head><body>nonce</body></html>",
       {}},
      {"sandboxed frame",
       kPolicy,
       "<html data-frames='1'><head><script src='/run.js'></script></head><body>"
       "<iframe sandbox='allow-scripts' src='/frame.html'></iframe></body></html>",
       {"sandboxed src"}},
      {"sandboxed document in the page",
       kPolicy,
       "<html data-frames='1'><head><script src='/run.js'></script></head><body>"
       "<iframe sandbox='allow-scripts' srcdoc=\"<html data-name='sandboxed srcdoc'>"
       "<script src='/frame.js'></script></html>\"></iframe></body></html>",
       {"sandboxed srcdoc"}},
      // Frames whose documents start while the renderer stands for the
      // page's own call, and for one another's.
      {"frames starting during calls",
       kPolicy,
       "<html data-frames='3' data-early='1'><head><script src='/run.js'></script></head><body>"
       "<iframe sandbox='allow-scripts' src='/frame.html'></iframe>"
       "<iframe sandbox='allow-scripts' srcdoc=\"<html data-name='sandboxed srcdoc'>"
       "<script src='/frame.js'></script></html>\"></iframe>"
       "<iframe srcdoc=\"<html data-name='document in the page'>"
       "<script src='/frame.js'></script></html>\"></iframe></body></html>",
       {"sandboxed src", "sandboxed srcdoc", "document in the page"}},
      // Frames that may run no scripts must not keep the page from its
      // functions.
      {"sandboxed frames without scripts",
       kPolicy,
       "<html><head><script src='/run.js'></script></head><body>"
       "<iframe sandbox srcdoc='<p>no scripts</p>'></iframe>"
       "<iframe sandbox src='/frame.html'></iframe></body></html>",
       {}},
  };
  HostWindow host(400, 300);
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/page" + std::to_string(++index) + ".html";
    server.Add(path, {200, "text/html; charset=utf-8", c.html,
                      c.policy.empty() ? std::string() : PolicyHeader(c.policy)});
    CefRefPtr<TestClient> client = new TestClient();
    ASSERT_TRUE(OpenBrowser(host, client, server.Url(path), 400, 300));
    ASSERT_TRUE(WaitUntil([&] { return LastTitle(*client).rfind("{", 0) == 0; }))
        << LastTitle(*client) << "\n"
        << client->log.Describe();
    Json::Value results;
    ASSERT_TRUE(Json::Reader().parse(LastTitle(*client), results)) << LastTitle(*client);
    EXPECT_EQ(results["first"].asString(), "function");
    EXPECT_EQ(results["call"].asString(), "probe(string:" + path + ")");
    EXPECT_EQ(results["parsed"].asString(), "probe(string:parsed)");
    if (results.isMember("early")) {
      EXPECT_EQ(results["early"].asString(), "probe(string:early)");
    }
    for (const std::string& frame : c.frames) {
      EXPECT_EQ(results["frame " + frame].asString(), "function|probe(string:frame)") << frame;
    }
    CloseBrowser(client);
  }
  EXPECT_EQ(server.RequestsFor("/csp-report"), 0) << "the page's policy saw a request of ours";
}

// The page leaves: its beforeunload, pagehide and unload handlers call the
// functions, under a policy that forbids every request.  The title
// functions (here notify) take effect at every moment; a query answers
// while the page can still wait for it, and gives "" where it cannot, and
// never throws.
const char kLeavingPage[] = R"(<html><head><script nonce='abc'>
function attempt(tag) {
  try { const r = probe(tag); return typeof r + ':' + r; } catch (e) { return 'threw: ' + e.message; }
}
addEventListener('beforeunload', function () { notify('beforeunload', attempt('bu')); });
addEventListener('pagehide', function () { notify('pagehide', attempt('ph')); });
addEventListener('unload', function () { notify('unload', attempt('un')); });
addEventListener('load', function () { setTimeout(function () { location.href = '/next.html'; }, 50); });
</script></head><body>leaving</body></html>)";

TEST_F(EngineBridgePolicy, FunctionsWorkWhileThePageIsDismissed) {
  ASSERT_TRUE(SharedEngine::Start());
  test::PageServer server;
  server.Add("/leave.html", {200, "text/html; charset=utf-8", kLeavingPage,
                             PolicyHeader("default-src 'none'; script-src 'nonce-abc'; "
                                          "report-uri /csp-report")});
  server.AddHtml("/next.html", "<html><head><title>next</title></head><body>next</body></html>");
  HostWindow host(400, 300);
  CefRefPtr<TestClient> client = new TestClient();
  ASSERT_TRUE(OpenBrowser(host, client, server.Url("/leave.html"), 400, 300));
  ASSERT_TRUE(WaitUntil([&] { return LastTitle(*client) == "next"; })) << client->log.Describe();
  for (const char* moment : {"beforeunload", "pagehide", "unload"}) {
    SCOPED_TRACE(moment);
    const std::string prefix = std::string("note|") + moment + "|";
    ASSERT_TRUE(WaitUntil([&] {
      for (const Event& e : client->log.Named("process message")) {
        if (e.detail.rfind(prefix, 0) == 0) return true;
      }
      return false;
    })) << client->log.Describe();
    for (const Event& e : client->log.Named("process message")) {
      if (e.detail.rfind(prefix, 0) != 0) continue;
      const std::string result = e.detail.substr(prefix.size());
      if (std::string(moment) == "beforeunload") {
        EXPECT_EQ(result, "string:probe(string:bu)");
      } else {
        EXPECT_TRUE(result == "string:" || result.rfind("string:probe(string:", 0) == 0) << result;
      }
    }
  }
  EXPECT_EQ(server.RequestsFor("/csp-report"), 0);
  CloseBrowser(client);
}

// Script the application runs in a page that stands for a long call
// (ExecuteJavaScript while a console-backed query runs) may call the page
// functions too; the long call still gets its answer and the page goes on.
TEST_F(EngineBridgePolicy, ScriptRunDuringALongCallLeavesTheCallItsAnswer) {
  ASSERT_TRUE(SharedEngine::Start());
  test::PageServer server;
  server.AddHtml("/slow.html",
                 "<html><head><script>"
                 "addEventListener('load', function () { setTimeout(function () {"
                 "  notify('calling'); const r = slow(); document.title = 'after ' + r; }, 0); });"
                 "</script></head><body>slow</body></html>");
  HostWindow host(400, 300);
  CefRefPtr<TestClient> client = new TestClient();
  ASSERT_TRUE(OpenBrowser(host, client, server.Url("/slow.html"), 400, 300));
  ASSERT_TRUE(client->log.WaitFor("process message", "note|calling"));
  for (int i = 0; i < 8; ++i) {
    client->Browser()->GetMainFrame()->ExecuteJavaScript("notify('meanwhile')", "", 0);
    WaitUntil([] { return false; }, 100);
  }
  EXPECT_TRUE(WaitUntil([&] { return LastTitle(*client) == "after slow done"; }))
      << LastTitle(*client) << "\n"
      << client->log.Describe();
  EXPECT_TRUE(client->log.WaitFor("process message", "note|meanwhile"));
  CloseBrowser(client);
}

}  // namespace
}  // namespace enginetest
