// One Win32 window bound to one object.
//
// The object registers its window class (its own, or a superclass of an
// existing one such as "EDIT"), creates the window or subclasses an existing
// one, and from then on receives every message of that window through its
// virtual HandleMessage.  When the window is gone the object hears of it
// once, in OnFinalMessage, where a heap object may delete itself.  All of
// it is used on the thread that owns the window.
#pragma once

#include <windows.h>

#include "util/UniqueHandle.h"

namespace SkinUI {

class CWindowWnd {
 public:
  CWindowWnd();
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  HWND GetHWND() const;
  operator HWND() const;  // NOLINT: the object stands for its window

  bool RegisterWindowClass();
  bool RegisterSuperclass();

  // Registers the class and creates the window with this object bound to
  // it; null when either fails.
  HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
              int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
              int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
  HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
              HMENU hMenu = nullptr);
  // At (0, 0) with no size: a skinned window sizes itself from its skin.
  HWND CreateSkinWindow(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle);

  // Takes the messages of an existing window; null when its procedure
  // cannot be replaced.
  HWND Subclass(HWND hWnd);
  // Gives a subclassed window its own procedure back.
  void Unsubclass();

  void ShowWindow(bool bShow = true, bool bTakeFocus = true);
  // Shows the window and runs a message loop for the thread until the
  // window is gone or a quit message comes, with the owner disabled
  // meanwhile.  The result is the wParam of the last WM_CLOSE the window
  // received, 0 when there was none.  A quit message is posted again so
  // that an enclosing loop ends too.
  UINT ShowModal();
  // Centres the window on its owner, or on the work area when it has none,
  // keeping it inside the work area of the nearest monitor.
  void CenterWindow();
  // Big and small icon from an icon resource of the module instance.
  void SetIcon(UINT nRes);

  LRESULT SendMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT PostMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
  // New client width and height (-1 keeps one), without moving the window.
  void ResizeClient(int cx = -1, int cy = -1);

  // Posts WM_CLOSE with `nRet` as its wParam, which becomes the result of
  // ShowModal.
  virtual void Close(UINT nRet = IDOK);

 protected:
  virtual LPCWSTR GetWindowClassName() const = 0;
  // Non-null: the window class is a superclass of this existing class.
  virtual LPCWSTR GetSuperClassName() const;
  virtual UINT GetClassStyle() const;
  // Default processing: the procedure the window had before.
  virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  // Called once the window is destroyed.
  virtual void OnFinalMessage(HWND hWnd);

  // The procedures of own and subclassed windows (object in
  // GWLP_USERDATA) and of superclassed ones (object in the "WndX" window
  // property).
  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd;
  WNDPROC m_OldWndProc;
  bool m_bSubclassed;

 private:
  struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ::DestroyIcon(handle); }
  };
  using CIcon = UniqueHandle<IconTraits>;

  // Hands a message to HandleMessage; an exception it throws ends there
  // and the message gets default processing.
  static LRESULT Dispatch(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  // The common end of both procedures at WM_NCDESTROY; `bProperty` says
  // the object is bound through the "WndX" property.
  static LRESULT FinalMessage(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                              bool bProperty);

  // The icons SetIcon loaded; a window does not destroy the icons it is
  // given, so they live with the object.
  CIcon m_hIcon;
  CIcon m_hSmallIcon;
};

}  // namespace SkinUI
