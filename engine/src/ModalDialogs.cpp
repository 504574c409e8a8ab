#include "src/ModalDialogs.h"

#include <windows.h>

#include <cwchar>

#include "src/TaskThread.h"

namespace engine {
namespace {

// The dialog class of the system's dialogs (message boxes, the common file
// dialogs and the engine's prompt).
const wchar_t kDialogClass[] = L"#32770";

// The prompt's controls.
constexpr WORD kPromptMessage = 100;
constexpr WORD kPromptText = 101;

// A dialog template written in memory: the engine ships no resources.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const wchar_t* title, WORD items) {
    Dword(style);
    Dword(0);  // extended style
    m_words.push_back(items);
    Shorts({0, 0, width, height});
    m_words.push_back(0);  // no menu
    m_words.push_back(0);  // the standard dialog class
    Text(title);
    m_words.push_back(9);  // DS_SETFONT: the point size and the face
    Text(L"MS Shell Dlg");
  }

  // One control; `kind` is the atom of a system class (0x80 button,
  // 0x81 edit, 0x82 static).
  void Add(DWORD style, short x, short y, short width, short height, WORD id, WORD kind,
           const wchar_t* text) {
    if (m_words.size() % 2 != 0) m_words.push_back(0);  // items start on a DWORD
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Shorts({x, y, width, height});
    m_words.push_back(id);
    m_words.push_back(0xFFFF);
    m_words.push_back(kind);
    Text(text);
    m_words.push_back(0);  // no creation data
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

 private:
  void Dword(DWORD value) {
    m_words.push_back(LOWORD(value));
    m_words.push_back(HIWORD(value));
  }
  void Shorts(std::initializer_list<short> values) {
    for (const short value : values) m_words.push_back(static_cast<WORD>(value));
  }
  void Text(const wchar_t* text) {
    for (; *text != L'\0'; ++text) m_words.push_back(static_cast<WORD>(*text));
    m_words.push_back(0);
  }

  std::vector<WORD> m_words;
};

struct PromptState {
  const std::wstring* message;
  std::wstring* text;
};

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* state = reinterpret_cast<const PromptState*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      ::SetDlgItemTextW(dialog, kPromptMessage, state->message->c_str());
      const HWND edit = ::GetDlgItem(dialog, kPromptText);
      ::SetWindowTextW(edit, state->text->c_str());
      ::SetFocus(edit);
      ::SendMessageW(edit, EM_SETSEL, 0, -1);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* state = reinterpret_cast<PromptState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        const HWND edit = ::GetDlgItem(dialog, kPromptText);
        std::wstring entered(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        entered.resize(static_cast<size_t>(
            ::GetWindowTextW(edit, entered.data(), static_cast<int>(entered.size()))));
        *state->text = entered;
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

// Notes the top-level windows the UI thread makes while a dialog runs: the
// dialog's own window among them.  One hook serves nested dialogs.
struct ModalDialogs::Hook {
  static thread_local ModalDialogs* watching;
  static thread_local HHOOK hook;

  static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && watching != nullptr) {
      const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
      if ((create->lpcs->style & WS_CHILD) == 0) {
        watching->m_windows.push_back(reinterpret_cast<HWND>(wParam));
      }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
  }
};

thread_local ModalDialogs* ModalDialogs::Hook::watching = nullptr;
thread_local HHOOK ModalDialogs::Hook::hook = nullptr;

ModalDialogs::ModalDialogs(const TaskThread& ui)
    : m_ui(ui), m_idle(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

ModalDialogs::~ModalDialogs() = default;

bool ModalDialogs::Run(const std::function<void()>& show) {
  CheckThread(m_ui);
  if (m_closing) return false;
  if (m_open++ == 0) {
    ::ResetEvent(m_idle.Get());
    Hook::watching = this;
    Hook::hook = ::SetWindowsHookExW(WH_CBT, &Hook::Procedure, nullptr, ::GetCurrentThreadId());
  }
  struct Closed {
    ModalDialogs& dialogs;
    ~Closed() {
      if (--dialogs.m_open > 0) return;
      if (Hook::hook != nullptr) ::UnhookWindowsHookEx(Hook::hook);
      Hook::hook = nullptr;
      Hook::watching = nullptr;
      dialogs.m_windows.clear();
      ::SetEvent(dialogs.m_idle.Get());
    }
  } closed{*this};
  show();
  return true;
}

void ModalDialogs::CloseAll() {
  CheckThread(m_ui);
  m_closing = true;
  // A context menu runs the thread's messages as a dialog does.
  ::EndMenu();
  for (const HWND window : m_windows) {
    wchar_t name[16] = {};
    if (!::IsWindow(window) || ::GetClassNameW(window, name, 16) == 0) continue;
    // Ending a dialog from its own thread makes its loop return once the
    // current message is handled, as a cancel button would.
    if (wcscmp(name, kDialogClass) == 0) ::EndDialog(window, IDCANCEL);
  }
}

bool ModalDialogs::WaitUntilClosed(unsigned int timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  HANDLE idle = m_idle.Get();
  for (;;) {
    const ULONGLONG now = ::GetTickCount64();
    const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    const DWORD result = ::MsgWaitForMultipleObjectsEx(1, &idle, left, QS_SENDMESSAGE, 0);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;
    // Peeking for sent messages only delivers them; posted ones stay queued.
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

bool ModalDialogs::Prompt(HWND owner, const std::wstring& message, std::wstring& text) {
  DialogTemplate dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        240, 88, L"", 4);
  dialog.Add(SS_LEFT | SS_NOPREFIX, 7, 7, 226, 34, kPromptMessage, 0x82, L"");
  dialog.Add(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 46, 226, 14, kPromptText, 0x81, L"");
  dialog.Add(BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 67, 50, 14, IDOK, 0x80, L"确定");
  dialog.Add(BS_PUSHBUTTON | WS_TABSTOP, 183, 67, 50, 14, IDCANCEL, 0x80, L"取消");
  std::wstring entered = text;
  PromptState state{&message, &entered};
  const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner,
                                                   &PromptProc, reinterpret_cast<LPARAM>(&state));
  if (result != IDOK) return false;
  text = entered;
  return true;
}

}  // namespace engine
