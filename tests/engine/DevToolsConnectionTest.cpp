// The connection's reader against a browser end that sends hostile input:
// the messages kept in data/devtools go through a real pipe, in pieces, and
// each must be dropped without harm to what follows.
#include "src/DevToolsConnection.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "src/DevToolsPipe.h"
#include "src/TaskThread.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "util/UniqueHandle.h"

namespace {

// Small, so that the kept messages can be over it; the reader's code for
// the limit is the same whatever its size.
constexpr size_t kTestLimit = 10000;

std::wstring DataFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"TALMIC_ENGINE_DATA", folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder) + L"\\devtools\\" : std::wstring();
}

// What reached the engine, as seen on its UI thread.
class Recorder : public engine::DevToolsConnection::Listener {
 public:
  void OnDevToolsEvent(const std::string&, const std::string& method, const Json::Value&) override {
    std::lock_guard<std::mutex> lock(m_lock);
    m_events.push_back(method);
  }
  void OnDevToolsClosed() override {
    std::lock_guard<std::mutex> lock(m_lock);
    m_closed = true;
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_events;
  }
  bool Closed() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_closed;
  }

 private:
  std::mutex m_lock;
  std::vector<std::string> m_events;
  bool m_closed = false;
};

// An answer as its callback received it.
struct Answer {
  int calls = 0;
  bool failed = false;
  std::string message;
};

class FakeBrowser {
 public:
  FakeBrowser() {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    ::CreatePipe(&read, &write, nullptr, 0);
    m_engineReads = read;
    m_browserWrites.Reset(write);
    ::CreatePipe(&read, &write, nullptr, 0);
    m_browserReads.Reset(read);
    m_engineWrites = write;
  }
  std::shared_ptr<engine::DevToolsPipe> EnginePipe() {
    return std::make_shared<engine::DevToolsPipe>(m_engineReads, m_engineWrites, kTestLimit);
  }
  // Writes the bytes and the message's end in pieces, as a pipe may
  // deliver them.
  void Write(const std::string& bytes) {
    const std::string whole = bytes + '\0';
    for (size_t at = 0; at < whole.size(); at += 1000) {
      DWORD wrote = 0;
      const DWORD part = static_cast<DWORD>(std::min<size_t>(1000, whole.size() - at));
      ASSERT_TRUE(::WriteFile(m_browserWrites.Get(), whole.data() + at, part, &wrote, nullptr));
    }
  }
  // Writes bytes that no message end follows.
  void WriteUnfinished(const std::string& bytes) {
    DWORD wrote = 0;
    ASSERT_TRUE(::WriteFile(m_browserWrites.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                            &wrote, nullptr));
  }
  void Close() { m_browserWrites.Reset(); }

 private:
  HANDLE m_engineReads = nullptr;
  HANDLE m_engineWrites = nullptr;
  CFileHandle m_browserWrites;
  CFileHandle m_browserReads;
};

class DevToolsReader : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_ui.Start());
    ASSERT_TRUE(m_connection.Open(m_browser.EnginePipe(), &m_recorder));
  }
  void TearDown() override {
    // A browser ends when its input closes; this one is told directly.
    m_browser.Close();
    m_connection.Close();
    m_ui.Stop();
  }

  // Sends a command; its answer is recorded in `answer`.
  int Command(std::shared_ptr<Answer> answer) {
    int id = 0;
    m_ui.Invoke([&] {
      id = m_connection.Send("Test.command", Json::Value(Json::objectValue), std::string(),
                             [answer](const Json::Value& result, const Json::Value& error) {
                               ++answer->calls;
                               answer->failed = !error.isNull();
                               answer->message = error.isNull() ? result["ok"].asString()
                                                                : error["message"].asString();
                             });
    });
    return id;
  }

  bool SawAlive(int count) {
    const std::vector<std::string> events = m_recorder.Events();
    return static_cast<int>(std::count(events.begin(), events.end(), "Test.alive")) >= count;
  }

  engine::TaskThread m_ui;
  FakeBrowser m_browser;
  Recorder m_recorder;
  engine::DevToolsConnection m_connection{m_ui};
};

TEST_F(DevToolsReader, DropsEachHostileMessageAndReadsOn) {
  struct Case {
    const wchar_t* file;
    // Whether the message, dropped, still tells which command it answers,
    // which then fails; otherwise the command waits on and gets the answer
    // sent after it.
    bool failsItsCommand;
  };
  const Case cases[] = {
      {L"oversized-answer.json", true},
      {L"oversized-event.json", false},
      {L"invalid-json-answer.json", true},
      {L"deep-nesting-answer.json", true},
      {L"deep-nesting-event.json", false},
      {L"junk-bytes.bin", false},
      {L"not-an-object.json", false},
      {L"string-id-answer.json", false},
      {L"id-out-of-range.json", false},
      {L"session-not-a-string-answer.json", true},
      {L"method-not-a-string-event.json", false},
      {L"params-not-an-object-event.json", false},
      {L"neither-answer-nor-event.json", false},
  };
  ASSERT_FALSE(DataFolder().empty()) << "TALMIC_ENGINE_DATA is not set";
  int alive = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.file);
    std::string bytes = test::ReadFileBytes(DataFolder() + c.file);
    ASSERT_FALSE(bytes.empty());
    auto answer = std::make_shared<Answer>();
    const int id = Command(answer);
    ASSERT_NE(id, 0);
    for (size_t at; (at = bytes.find("@ID@")) != std::string::npos;) {
      bytes.replace(at, 4, std::to_string(id));
    }
    m_browser.Write(bytes);
    // The answer the browser would send next, and an event after it.
    m_browser.Write("{\"id\":" + std::to_string(id) + ",\"result\":{\"ok\":\"answered\"}}");
    m_browser.Write(R"({"method":"Test.alive","params":{}})");
    ++alive;
    ASSERT_TRUE(test::WaitUntil([&] { return SawAlive(alive); }, 10000))
        << "the reader stopped after the message";
    m_ui.Invoke([] {});  // what was posted before the event has run too
    EXPECT_EQ(answer->calls, 1);
    EXPECT_EQ(answer->failed, c.failsItsCommand) << answer->message;
    if (!c.failsItsCommand) {
      EXPECT_EQ(answer->message, "answered");
    }
    // Nothing of the dropped message reached the engine.
    EXPECT_EQ(m_recorder.Events().size(), static_cast<size_t>(alive));
  }
  EXPECT_FALSE(m_recorder.Closed());
}

TEST_F(DevToolsReader, AMessageAtTheLimitIsRead) {
  const std::string head = R"({"method":"Test.big","params":{"v":")";
  const std::string tail = "\"}}";
  m_browser.Write(head + std::string(kTestLimit - head.size() - tail.size(), 'x') + tail);
  m_browser.Write(head + std::string(kTestLimit + 1 - head.size() - tail.size(), 'x') + tail);
  m_browser.Write(R"({"method":"Test.alive","params":{}})");
  ASSERT_TRUE(test::WaitUntil([&] { return SawAlive(1); }, 10000));
  EXPECT_EQ(m_recorder.Events(), (std::vector<std::string>{"Test.big", "Test.alive"}));
}

// A browser that ends mid-message ends the connection; the commands still
// waiting are dropped with it.
TEST_F(DevToolsReader, TheBrowserEndingClosesTheConnection) {
  auto answer = std::make_shared<Answer>();
  ASSERT_NE(Command(answer), 0);
  m_browser.Write(R"({"method":"Test.alive","params":{}})");
  ASSERT_TRUE(test::WaitUntil([&] { return SawAlive(1); }, 10000));
  m_browser.WriteUnfinished(R"({"method":"Test.cut","params":{}})");
  m_browser.Close();
  ASSERT_TRUE(test::WaitUntil([&] { return m_recorder.Closed(); }, 10000));
  bool open = true;
  m_ui.Invoke([&] { open = m_connection.IsOpen(); });
  EXPECT_FALSE(open);
  EXPECT_EQ(answer->calls, 0);
  EXPECT_EQ(m_recorder.Events(), std::vector<std::string>{"Test.alive"});
}

}  // namespace
