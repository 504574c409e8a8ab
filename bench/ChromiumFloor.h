// The floor our browser engine is measured against: the same browser
// program alone, driven directly over DevTools, loading the same page
// headless to its first frame.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "src/FramePicture.h"

namespace bench {

// Whether a picture shows the page, as the client's measure of its own
// first frame decides it.
using ShowsPage = std::function<bool(const engine::FramePicture&)>;

struct FloorTimes {
  double firstFrame = 0;  // ms to the first screencast frame showing the page
  double loaded = 0;      // ms to the page's main frame having stopped loading
};

class ChromiumFloor {
 public:
  ChromiumFloor();
  ~ChromiumFloor();
  ChromiumFloor(const ChromiumFloor&) = delete;
  ChromiumFloor& operator=(const ChromiumFloor&) = delete;

  // Starts the browser program headless with the profile folder and waits
  // until it answers over its own pipe.
  bool Start(const std::wstring& profileFolder);
  // The size the pages are laid out and pictured at from the next load on,
  // in pixels at scale 1: the client's window's pixels, so that the browser
  // program has as much to paint and send as for the client.  1280 x 800
  // unless set.
  void SetPageSize(int width, int height);
  // Opens a new page target, loads the address in it and measures from the
  // navigation request, or from `origin` (a Now() value) when given.  The
  // first frame is the first one `shows` accepts; the frames before it (a
  // blank page, a page not painted yet) do not count, as they do not for
  // the client either.  Frames are decoded after the load, so that the
  // time is when the frame arrived.  The target stays open until the next
  // load or Stop.  Zero times when the page never showed.  `watch`, when
  // given, is called as each message of the load arrives.
  FloorTimes Load(const std::string& url, const ShowsPage& shows, double origin = 0,
                  const std::function<void()>& watch = nullptr);
  // The screencast frames per second the page last loaded sends over the
  // next `seconds`, each acknowledged at once and not decoded: what the
  // browser program delivers before any client work.
  double FrameRate(double seconds);
  void Stop();

  // The monotonic clock the times are measured on, in ms.
  static double Now();

 private:
  struct Session;
  std::unique_ptr<Session> m_session;
  int m_width = 1280;
  int m_height = 800;
};

// The median of the positive values; zero when there are none.
double MedianOf(std::vector<double> values);

}  // namespace bench
