// The modal dialogs the engine shows on its UI thread: the page's alerts,
// questions and prompts, and the save dialog of a download.  Each runs the
// thread's messages until it closes, and each is owned by the application's
// window, which belongs to another thread; a dialog that closes tells its
// owner so, by messages sent to the owner's thread.  Shutting the engine
// down therefore first ends every dialog the engine shows, and waits,
// answering what the dialogs send, until the UI thread is back in its own
// loop; no dialog opens after that.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "util/UniqueHandle.h"

struct HWND__;
typedef HWND__* HWND;

namespace engine {

class TaskThread;

class ModalDialogs {
 public:
  // `ui` is the thread that shows the dialogs.
  explicit ModalDialogs(const TaskThread& ui);
  ~ModalDialogs();
  ModalDialogs(const ModalDialogs&) = delete;
  ModalDialogs& operator=(const ModalDialogs&) = delete;

  // UI thread: runs `show`, which shows a modal dialog and returns once it
  // has closed.  False, without running it, once the dialogs are closing.
  bool Run(const std::function<void()>& show);

  // UI thread: ends every dialog and menu the thread shows, and lets no new
  // dialog open.
  void CloseAll();

  // Any thread but the UI thread, after CloseAll: waits until every dialog
  // has closed and returned, answering the messages sent meanwhile to the
  // calling thread's windows (a closing dialog enables its owner).  False
  // when some dialog is still open after timeoutMs.
  bool WaitUntilClosed(unsigned int timeoutMs);

  // UI thread: a modal text prompt owned by `owner`, with the message and
  // the proposed answer.  True with the text entered when accepted.
  static bool Prompt(HWND owner, const std::wstring& message, std::wstring& text);

 private:
  struct Hook;

  const TaskThread& m_ui;
  std::vector<HWND> m_windows;  // top-level windows made while a dialog ran
  int m_open = 0;
  bool m_closing = false;
  CKernelHandle m_idle;  // set while no dialog runs
};

}  // namespace engine
