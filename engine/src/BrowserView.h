// The window a browser shows its page in: a child of the window the
// application gave (or a top-level window for a popup), created on the
// engine's UI thread.  It paints the newest picture of the page and turns
// the window's mouse, wheel and keyboard input into the browser's input
// events.
#pragma once

#include <json/value.h>

#include <memory>
#include <string>

#include "src/FramePicture.h"

struct HWND__;
typedef HWND__* HWND;

namespace engine {

class BrowserView {
 public:
  class Host {
   public:
    // An input event for the page (an Input domain command and its
    // parameters).
    virtual void SendInput(const char* method, const Json::Value& params) = 0;
    // The window's client area changed size (device pixels), or its DPI
    // changed.
    virtual void ViewResized(int width, int height) = 0;
    // Called a few times a second while the window exists, so that the
    // browser can ask for a picture when the page sends none by itself.
    virtual void ViewTick() = 0;
    // A top-level view was asked to close by its user.
    virtual void ViewCloseRequested() = 0;
    // The view's window is being destroyed.
    virtual void ViewDestroyed() = 0;

   protected:
    ~Host() = default;
  };

  struct Placement {
    HWND parent = nullptr;
    unsigned long style = 0;
    unsigned long exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::wstring title;
    bool topLevel = false;
  };

  explicit BrowserView(Host& host);
  ~BrowserView();
  BrowserView(const BrowserView&) = delete;
  BrowserView& operator=(const BrowserView&) = delete;

  // Creates the window; UI thread.  False when the platform refused it.
  bool Create(const Placement& placement);
  void Destroy();
  HWND Window() const;

  // A new picture of the page; UI thread.
  void ShowPicture(std::shared_ptr<const FramePicture> picture);
  // The time the last picture arrived (GetTickCount64), 0 for none yet.
  unsigned long long LastPictureTick() const;
  void SetTitle(const std::wstring& title);
  void SetCursorKind(const std::string& cssCursor);
  void Focus();

  // How many pictures all views have been given since the process started
  // (for measurements).
  static unsigned long long PicturesShown();

  // Client size in device pixels.
  int Width() const;
  int Height() const;
  // Device pixels per CSS pixel: the window's DPI / 96.
  double DeviceScale() const;

  // Defined in the source file; public so that its window procedure can
  // reach it.
  struct Impl;

 private:
  std::unique_ptr<Impl> m_impl;
};

}  // namespace engine
