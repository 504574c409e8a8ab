// A thread of the engine with a window message loop: tasks posted to it run
// in order on that thread, between the window messages of the windows it
// owns.  The engine's UI thread and the thread standing for the render
// process's main thread are both one of these.
#pragma once

#include <functional>
#include <memory>

namespace engine {

class TaskThread {
 public:
  using Task = std::function<void()>;

  TaskThread();
  ~TaskThread();
  TaskThread(const TaskThread&) = delete;
  TaskThread& operator=(const TaskThread&) = delete;

  // Starts the thread and waits until it can take tasks.  False when the
  // platform refused a thread or its message window.
  bool Start();
  // Runs the tasks already posted, then ends the thread and waits for it.
  // Tasks posted afterwards are dropped.
  void Stop();

  // Queues a task; false (the task dropped) when the thread is not running.
  // Any thread may post.
  bool Post(Task task);
  // Runs the task on the thread and waits for it.  On the thread itself it
  // runs at once.  While it waits, the calling thread still answers
  // messages that other threads send to its windows, so that a thread
  // which owns windows cannot deadlock with one that sends to them.
  bool Invoke(const Task& task);
  // Queues a task to run once the delay has passed; false when the thread
  // is not running.  Only the thread itself may call it.
  bool PostDelayed(Task task, unsigned int delayMs);

  bool IsCurrent() const;
  unsigned long ThreadId() const;

  // Defined in the source file; public so that its window procedure can
  // reach it.
  struct State;

 private:
  std::unique_ptr<State> m_state;
};

// Stops the program when called off the given thread.  Engine callbacks
// and the state they touch belong to one thread each; a call from another
// thread is a fault of the engine, caught here rather than left to corrupt
// that state.
void CheckThread(const TaskThread& thread);

// Runs an engine thread's work.  An exception that nothing handled ends
// the program through its unhandled-exception filter (which writes a
// minidump), rather than the C++ runtime's silent abort or a thread that
// swallows it and lives on with half-changed state.
void RunEngineThread(const std::function<void()>& work);
// The exception code of such an exception.
constexpr unsigned long kUnhandledExceptionCode = 0xE0454E47;
// Called in a catch block: raises the exception being handled again as a
// structured exception that cannot be continued.
[[noreturn]] void RaiseUnhandledException();

// Waits for the event while answering messages sent to the calling
// thread's windows from other threads (posted messages stay queued).
void WaitAnsweringSentMessages(void* event);

}  // namespace engine
