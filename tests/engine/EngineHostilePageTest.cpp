// A page that makes the browser send the engine more than it can hold.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "tests/engine/EngineHarness.h"
#include "tests/support/PageServer.h"

namespace enginetest {
namespace {

size_t WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters.WorkingSetSize;
}

// A console message of 200 million characters reaches the engine as one
// DevTools event of as many bytes.  Read whole and parsed, it takes the
// 32-bit program several hundred megabytes, and a few more such messages
// end it; it is skipped as it arrives instead, and the page goes on.
TEST(EngineHostilePage, AHugeConsoleMessageIsDroppedAndThePageGoesOn) {
  ASSERT_TRUE(SharedEngine::Start());
  test::PageServer server;
  server.AddHtml("/huge.html",
                 "<html><head><title>before</title></head><body><script>"
                 "window.go = () => {"
                 "  console.log('x'.repeat(200 * 1000 * 1000));"
                 "  setTimeout(() => { document.title = 'after'; }, 0);"
                 "};"
                 "</script></body></html>");
  HostWindow host(200, 100);
  CefRefPtr<TestClient> client = new TestClient();
  ASSERT_TRUE(OpenBrowser(host, client, server.Url("/huge.html"), 200, 100));
  ASSERT_TRUE(client->log.WaitFor("title", "before"));
  const size_t before = WorkingSet();
  std::atomic<bool> done{false};
  std::atomic<size_t> peak{before};
  std::thread sampler([&] {
    while (!done) {
      peak = std::max<size_t>(peak, WorkingSet());
      ::Sleep(5);
    }
  });
  client->Browser()->GetMainFrame()->ExecuteJavaScript("go();", "", 0);
  const bool after = client->log.WaitFor("title", "after", 120000);
  // The message has gone by once a page message sent after it arrived.
  client->log.Clear();
  client->Browser()->GetMainFrame()->ExecuteJavaScript("document.title = 'still alive';", "", 0);
  const bool alive = client->log.WaitFor("title", "still alive", 60000);
  done = true;
  sampler.join();
  EXPECT_TRUE(after) << "the page stopped after its message";
  EXPECT_TRUE(alive) << "the page no longer answers";
  // The reader holds at most the size limit of a message (64 MB) while it
  // grows, and a little for what it reads; a message held whole would take
  // its 200 MB and more.
  const double grewMb = (peak - before) / 1048576.0;
  EXPECT_LT(grewMb, 150.0) << "the program's memory grew by " << grewMb << " MB";
  std::printf("working set grew by %.1f MB\n", grewMb);
  CloseBrowser(client);
}

}  // namespace
}  // namespace enginetest
