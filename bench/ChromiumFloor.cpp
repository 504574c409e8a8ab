#include "bench/ChromiumFloor.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <json/reader.h>

#include "src/ChromiumProcess.h"
#include "src/DevToolsPipe.h"

namespace bench {

namespace {

constexpr double kLoadTimeoutMs = 20000;
// A receive waits for as long as the browser program sends nothing, which
// is for ever once its renderer is gone; each load therefore has a
// deadline, after which a watchdog closes the browser's pipe (it then
// ends, and the receive with it) and the loads so far count.
constexpr double kLoadDeadlineMs = 30000;
// After the page stopped loading, how long frames are still waited for
// when none so far showed the page.
constexpr double kLateFrameMs = 3000;

}  // namespace

struct ChromiumFloor::Session {
  // Driven over its own pipe, as the engine drives its browser.
  engine::ChromiumProcess browser;
  std::mutex deadlineLock;
  std::condition_variable finished;
  bool done = false;
  double deadlineAt = 0;  // Now() after which the pipe is closed; 0: none
  std::thread watchdog;
  int id = 0;
  std::string sessionId;
  std::string target;

  int Send(const std::string& method, const std::string& params) {
    std::string message =
        "{\"id\":" + std::to_string(++id) + ",\"method\":\"" + method + "\",\"params\":" + params;
    if (!sessionId.empty()) message += ",\"sessionId\":\"" + sessionId + "\"";
    browser.Pipe()->Send(message + "}");
    return id;
  }

  // The next message; false once the browser has ended.
  bool Receive(std::string& message) {
    for (;;) {
      const auto got = browser.Pipe()->Receive(message);
      if (got == engine::DevToolsPipe::Received::kMessage) return true;
      if (got == engine::DevToolsPipe::Received::kEnded) return false;
    }
  }

  // The browser sends the next screencast frame only once the last one is
  // acknowledged, so every frame is, wherever it turns up.
  // The picture's data goes to `data` when given.
  bool IsFrame(const std::string& message, std::string* data = nullptr) {
    if (message.find("\"Page.screencastFrame\"") == std::string::npos) return false;
    Json::Value frame;
    Json::Reader().parse(message, frame);
    if (data != nullptr) *data = frame["params"]["data"].asString();
    Send("Page.screencastFrameAck",
         "{\"sessionId\":" + std::to_string(frame["params"]["sessionId"].asInt()) + "}");
    return true;
  }

  std::string Await(const std::string& needle) {
    std::string message;
    const double giveUp = Now() + kLoadTimeoutMs;
    while (Now() < giveUp && Receive(message)) {
      if (IsFrame(message)) continue;
      if (message.find(needle) != std::string::npos) return message;
    }
    return std::string();
  }

  void ArmDeadline(double at) {
    std::lock_guard<std::mutex> lock(deadlineLock);
    deadlineAt = at;
  }

  std::string Reply(int requestId) { return Await("\"id\":" + std::to_string(requestId) + ","); }

  void CloseTarget() {
    if (target.empty()) return;
    sessionId.clear();
    Send("Target.closeTarget", "{\"targetId\":\"" + target + "\"}");
    target.clear();
  }

  ~Session() {
    CloseTarget();
    {
      std::lock_guard<std::mutex> lock(deadlineLock);
      done = true;
    }
    finished.notify_one();
    if (watchdog.joinable()) watchdog.join();
    browser.Stop();
  }
};

ChromiumFloor::ChromiumFloor() = default;

ChromiumFloor::~ChromiumFloor() { Stop(); }

double ChromiumFloor::Now() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

bool ChromiumFloor::Start(const std::wstring& profileFolder) {
  Stop();
  auto session = std::make_unique<Session>();
  if (!session->browser.Start(engine::ChromiumProcess::FindExecutable(), profileFolder, {})) {
    return false;
  }
  Session* s = session.get();
  s->watchdog = std::thread([s] {
    std::unique_lock<std::mutex> lock(s->deadlineLock);
    while (!s->finished.wait_for(lock, std::chrono::milliseconds(100), [s] { return s->done; })) {
      if (s->deadlineAt > 0 && Now() > s->deadlineAt) {
        s->browser.Pipe()->CloseSending();
        s->deadlineAt = 0;
      }
    }
  });
  m_session = std::move(session);
  return true;
}

FloorTimes ChromiumFloor::Load(const std::string& url, const ShowsPage& shows, double origin,
                               const std::function<void()>& watch) {
  FloorTimes times;
  if (!m_session) return times;
  Session& s = *m_session;
  s.ArmDeadline(Now() + kLoadDeadlineMs);
  s.CloseTarget();
  const std::string created = s.Reply(s.Send("Target.createTarget", "{\"url\":\"about:blank\"}"));
  Json::Value reply;
  Json::Reader().parse(created, reply);
  s.target = reply["result"]["targetId"].asString();
  const std::string attached = s.Reply(
      s.Send("Target.attachToTarget", "{\"targetId\":\"" + s.target + "\",\"flatten\":true}"));
  Json::Reader().parse(attached, reply);
  s.sessionId = reply["result"]["sessionId"].asString();
  s.Reply(s.Send("Page.enable", "{}"));
  s.Send("Emulation.setDeviceMetricsOverride", "{\"width\":" + std::to_string(m_width) +
                                                   ",\"height\":" + std::to_string(m_height) +
                                                   ",\"deviceScaleFactor\":1,\"mobile\":false}");
  s.Reply(s.Send("Page.startScreencast", "{\"format\":\"jpeg\",\"quality\":90}"));
  // The blank page's own picture is not the page's: only frames after the
  // navigation count.
  const double start = origin > 0 ? origin : Now();
  const double sent = Now();
  s.Send("Page.navigate", "{\"url\":\"" + url + "\"}");
  bool navigated = false;
  // Frames since the navigation, with the time each arrived, and how many
  // of them were looked at.
  std::vector<std::pair<double, std::string>> frames;
  size_t looked = 0;
  const auto findShowing = [&] {
    for (; looked < frames.size() && times.firstFrame == 0; ++looked) {
      engine::FramePicture picture;
      if (engine::DecodeFramePicture(frames[looked].second, picture) && shows(picture)) {
        times.firstFrame = frames[looked].first - start;
      }
    }
  };
  std::string message;
  while ((times.firstFrame == 0 || times.loaded == 0) && Now() - sent < kLoadTimeoutMs &&
         (times.loaded == 0 || Now() - start - times.loaded < kLateFrameMs) && s.Receive(message)) {
    const double arrived = Now();
    if (watch) watch();
    // The new document has replaced the blank one once any of these came;
    // the browser does not always report the navigation itself.
    for (const char* event :
         {"\"Page.frameNavigated\"", "\"Page.domContentEventFired\"", "\"Page.loadEventFired\""}) {
      if (message.find(event) != std::string::npos) navigated = true;
    }
    std::string data;
    if (s.IsFrame(message, &data) && navigated) frames.emplace_back(arrived, std::move(data));
    if (message.find("\"Page.frameStoppedLoading\"") != std::string::npos && navigated &&
        times.loaded == 0) {
      times.loaded = arrived - start;
    }
    // Once loaded, every frame is looked at as it comes; before, decoding
    // would hold up the reading of the load's own messages.
    if (times.loaded > 0) findShowing();
  }
  findShowing();
  s.ArmDeadline(0);
  return times;
}

double ChromiumFloor::FrameRate(double seconds) {
  if (!m_session || m_session->target.empty()) return 0;
  Session& s = *m_session;
  const double span = seconds * 1000.0;
  s.ArmDeadline(Now() + span + kLoadDeadlineMs);
  const double start = Now();
  int frames = 0;
  std::string message;
  while (Now() - start < span && s.Receive(message)) {
    if (s.IsFrame(message)) ++frames;
  }
  s.ArmDeadline(0);
  const double elapsed = (Now() - start) / 1000.0;
  return elapsed > 0 ? frames / elapsed : 0;
}

void ChromiumFloor::SetPageSize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  m_width = width;
  m_height = height;
}

void ChromiumFloor::Stop() { m_session.reset(); }

double MedianOf(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v <= 0; }),
               values.end());
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
