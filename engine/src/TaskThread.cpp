#include "src/TaskThread.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

#include "util/UniqueHandle.h"

namespace engine {
namespace {

// Posted to the thread's message window when a task is queued.
constexpr UINT kRunTasks = WM_APP + 1;
const wchar_t kWindowClass[] = L"TalmicEngineTaskWindow";

LRESULT CALLBACK TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterTaskWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = TaskWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

struct TaskThread::State {
  std::mutex mutex;  // guards the queue and accepting
  std::deque<Task> queue;
  bool accepting = false;
  std::thread thread;
  std::atomic<DWORD> threadId{0};
  HWND window = nullptr;
  // Delayed tasks by the id of their window timer; touched on the thread
  // only.
  std::map<UINT_PTR, Task> delayed;
  UINT_PTR nextTimer = 1;

  void RunDelayed(UINT_PTR timer) {
    ::KillTimer(window, timer);
    const auto found = delayed.find(timer);
    if (found == delayed.end()) return;
    Task task = std::move(found->second);
    delayed.erase(found);
    task();
  }

  void RunQueued() {
    for (;;) {
      Task task;
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (queue.empty()) return;
        task = std::move(queue.front());
        queue.pop_front();
      }
      // A task that throws is a fault of the engine: it reaches the window
      // procedure, which hands it to the crash filter.
      task();
    }
  }

  void Main(HANDLE ready) {
    threadId = ::GetCurrentThreadId();
    window = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      std::lock_guard<std::mutex> lock(mutex);
      accepting = true;
    }
    ::SetEvent(ready);
    if (window == nullptr) return;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    {
      std::lock_guard<std::mutex> lock(mutex);
      accepting = false;
    }
    RunQueued();
    delayed.clear();
    ::DestroyWindow(window);
    window = nullptr;
  }
};

namespace {

LRESULT CALLBACK TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // No exception may leave through the window procedure; one that got this
  // far was handled nowhere and ends the program through its crash filter.
  try {
    if (message == kRunTasks) {
      auto* state =
          reinterpret_cast<TaskThread::State*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
      if (state != nullptr) state->RunQueued();
      return 0;
    }
    if (message == WM_TIMER) {
      auto* state =
          reinterpret_cast<TaskThread::State*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
      if (state != nullptr) state->RunDelayed(wParam);
      return 0;
    }
  } catch (...) {
    RaiseUnhandledException();
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TaskThread::TaskThread() : m_state(std::make_unique<State>()) {}

TaskThread::~TaskThread() { Stop(); }

bool TaskThread::Start() {
  if (m_state->thread.joinable()) return true;
  if (!RegisterTaskWindowClass()) return false;
  const CKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ready) return false;
  try {
    State* state = m_state.get();
    HANDLE readyEvent = ready.Get();
    m_state->thread = std::thread(
        [state, readyEvent] { RunEngineThread([state, readyEvent] { state->Main(readyEvent); }); });
  } catch (const std::exception&) {
    // The platform refused the thread.
    return false;
  }
  ::WaitForSingleObject(ready.Get(), INFINITE);
  if (m_state->window == nullptr) {
    m_state->thread.join();
    return false;
  }
  return true;
}

void TaskThread::Stop() {
  if (!m_state->thread.joinable()) return;
  if (IsCurrent()) {
    // A thread cannot wait for itself; it ends once this task returns.
    ::PostQuitMessage(0);
    m_state->thread.detach();
    return;
  }
  ::PostThreadMessageW(m_state->threadId, WM_QUIT, 0, 0);
  m_state->thread.join();
}

bool TaskThread::Post(Task task) {
  HWND window;
  {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    if (!m_state->accepting) return false;
    m_state->queue.push_back(std::move(task));
    window = m_state->window;
  }
  // One wake-up may serve several tasks; a lost one is harmless as long as
  // one is queued after the task, which this is.
  ::PostMessageW(window, kRunTasks, 0, 0);
  return true;
}

bool TaskThread::Invoke(const Task& task) {
  if (IsCurrent()) {
    task();
    return true;
  }
  const CKernelHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) return false;
  HANDLE doneEvent = done.Get();
  if (!Post([&task, doneEvent] {
        task();
        ::SetEvent(doneEvent);
      })) {
    return false;
  }
  WaitAnsweringSentMessages(doneEvent);
  return true;
}

bool TaskThread::PostDelayed(Task task, unsigned int delayMs) {
  CheckThread(*this);
  State& state = *m_state;
  if (state.window == nullptr) return false;
  const UINT_PTR timer = state.nextTimer++;
  if (::SetTimer(state.window, timer, delayMs, nullptr) == 0) return false;
  state.delayed.emplace(timer, std::move(task));
  return true;
}

bool TaskThread::IsCurrent() const { return m_state->threadId == ::GetCurrentThreadId(); }

unsigned long TaskThread::ThreadId() const { return m_state->threadId; }

void CheckThread(const TaskThread& thread) {
  if (!thread.IsCurrent()) __builtin_trap();
}

void RunEngineThread(const std::function<void()>& work) {
  try {
    work();
  } catch (...) {
    RaiseUnhandledException();
  }
}

void RaiseUnhandledException() {
  // The exception's text goes along as an argument, so that the dump tells
  // what was thrown.
  const char* what = "an exception of unknown type";
  try {
    throw;
  } catch (const std::exception& exception) {
    what = exception.what();
  } catch (...) {
  }
  const ULONG_PTR arguments[] = {reinterpret_cast<ULONG_PTR>(what)};
  ::RaiseException(kUnhandledExceptionCode, EXCEPTION_NONCONTINUABLE, 1, arguments);
  // Not reached: an exception that cannot be continued ends the process
  // when no handler takes it.
  std::abort();
}

void WaitAnsweringSentMessages(void* event) {
  HANDLE handle = static_cast<HANDLE>(event);
  for (;;) {
    const DWORD result = ::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_SENDMESSAGE, 0);
    if (result != WAIT_OBJECT_0 + 1) return;
    // Peeking for sent messages only delivers them; posted ones stay queued.
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace engine
