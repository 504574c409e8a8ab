// The browser program alone, launched by a Windows program as the first
// thing it does: the floor for how soon any program that Wine starts can
// show a page, on the same machine and started the same way as the client.
// It loads the page once, at the size given in pixels, and writes its
// figures to a file:
//   ChromiumAloneProgram <profile folder> <address> <figures file> <width> <height>
// The file holds three numbers on one line: when the program's first line
// ran on the monotonic clock every process here shares, and the ms from
// then until the browser answered and until the first frame showing the
// page arrived (0 when it never did).
#include <windows.h>

#include <cstdio>

#include "bench/ChromiumFloor.h"
#include "demo/PageWatch.h"
#include "util/TextUtil.h"

int wmain(int argc, wchar_t** argv) {
  const double start = bench::ChromiumFloor::Now();
  if (argc != 6) return 2;
  bench::ChromiumFloor floor;
  floor.SetPageSize(_wtoi(argv[4]), _wtoi(argv[5]));
  double ready = 0;
  bench::FloorTimes times;
  if (floor.Start(argv[1])) {
    ready = bench::ChromiumFloor::Now() - start;
    times = floor.Load(
        WideToUtf8(argv[2]),
        [](const engine::FramePicture& picture) {
          return demo::ShowsDemoPage(picture.width, picture.height, picture.pixels.data());
        },
        start);
    floor.Stop();
  }
  FILE* figures = _wfopen(argv[3], L"w");
  if (figures == nullptr) return 1;
  std::fprintf(figures, "%.3f %.3f %.3f\n", start, ready, times.firstFrame);
  std::fclose(figures);
  return times.firstFrame > 0 ? 0 : 1;
}
