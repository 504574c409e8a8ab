#include "src/EarlyLaunch.h"

#include <windows.h>

#include <mutex>
#include <utility>

namespace engine {
namespace {

// The launch begun and not yet taken.  Should the process end without
// CefInitialize having taken it, it is ended as static objects are
// destroyed, so that no browser program outlives the process.
struct Pending {
  std::mutex lock;
  std::unique_ptr<EarlyLaunch> launch;
  bool begun = false;
  ~Pending() {
    std::unique_ptr<EarlyLaunch> untaken = std::move(launch);
    if (untaken) untaken->End();
  }
};

Pending& ThePending() {
  static Pending pending;
  return pending;
}

}  // namespace

bool EarlyLaunch::Begin(const CefSettings& settings, CefRefPtr<CefApp> application) {
  Pending& pending = ThePending();
  std::lock_guard<std::mutex> lock(pending.lock);
  if (pending.begun) return false;
  pending.begun = true;
  // Kept even when it could not start: its command line is made, and the
  // application's handlers are not to be asked again.
  pending.launch.reset(new EarlyLaunch(settings, application));
  return pending.launch->Start();
}

std::unique_ptr<EarlyLaunch> EarlyLaunch::Take() {
  Pending& pending = ThePending();
  std::lock_guard<std::mutex> lock(pending.lock);
  return std::move(pending.launch);
}

void EarlyLaunch::EndUntaken() {
  std::unique_ptr<EarlyLaunch> untaken = Take();
  if (untaken) untaken->End();
}

EarlyLaunch::EarlyLaunch(const CefSettings& settings, CefRefPtr<CefApp> application)
    : m_launch(std::make_unique<BrowserLaunch>(settings, application)),
      m_runningEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_launchedEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

EarlyLaunch::~EarlyLaunch() { End(); }

bool EarlyLaunch::Start() {
  if (!m_runningEvent || !m_launchedEvent || !m_launch->HasProgram()) return false;
  // A plain thread: it needs no message loop, and one with a window would
  // take longer to start on the thread that is in a hurry.
  m_thread.Reset(::CreateThread(nullptr, 0, &EarlyLaunch::ThreadMain, this, 0, nullptr));
  m_started = m_thread.IsValid();
  // A new thread runs only once every loaded DLL has been told of it, which
  // waits while another thread loads a DLL.  The caller is about to load
  // the common controls, whose loading sets up the display and takes tens
  // of milliseconds; it goes on only once the launch is under way.
  if (m_started) {
    const HANDLE running[] = {m_runningEvent.Get(), m_thread.Get()};
    ::WaitForMultipleObjects(2, running, FALSE, INFINITE);
  }
  return m_started;
}

unsigned long __stdcall EarlyLaunch::ThreadMain(void* self) {
  RunEngineThread([launch = static_cast<EarlyLaunch*>(self)] { launch->Run(); });
  return 0;
}

void EarlyLaunch::Run() {
  ::SetEvent(m_runningEvent.Get());
  m_launched = m_launch->Launch();
  ::SetEvent(m_launchedEvent.Get());
  if (m_launched) m_ready = m_launch->WaitUntilReady([this] { return m_cancelled.load(); });
}

void EarlyLaunch::Join() {
  if (m_thread) ::WaitForSingleObject(m_thread.Get(), INFINITE);
  m_thread.Reset();
}

bool EarlyLaunch::WaitUntilLaunched() {
  if (!m_started) return false;
  ::WaitForSingleObject(m_launchedEvent.Get(), INFINITE);
  return m_launched;
}

std::unique_ptr<BrowserLaunch> EarlyLaunch::WaitUntilReady(bool& ready) {
  Join();
  m_finished = true;
  ready = m_ready;
  return std::move(m_launch);
}

std::unique_ptr<BrowserLaunch> EarlyLaunch::GiveUp() {
  m_cancelled = true;
  // A browser that is still starting up is not waited for.
  if (m_launch) m_launch->Process().Abort();
  Join();
  m_finished = true;
  // A program that answered was not cancelled in time; it is ended all the
  // same, without being asked, which is quickest.
  if (m_launch) m_launch->Process().Kill();
  return std::move(m_launch);
}

void EarlyLaunch::End() {
  if (!m_finished) GiveUp();
  m_launch.reset();
}

}  // namespace engine
