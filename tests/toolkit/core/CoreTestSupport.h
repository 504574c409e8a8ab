// What the paint manager tests share: the data folder, a fixture that puts
// the process-wide skin settings back to "nothing set" around each test,
// a window to give paint managers a DC, and pixel access to loaded images.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "gtest/gtest.h"
#include "toolkit/core/ImageInfo.h"

namespace test {

// The folder of the committed fixtures, ending in a backslash (set by
// CTest as TALMIC_TOOLKIT_CORE_DATA).
std::wstring CoreData(const std::wstring& name = L"");
// A whole file; empty when it cannot be read.
std::string FileBytes(const std::wstring& path);

// Clears the resource path, the archive and the resource module before
// and after each test, since they are shared by the whole process.
class SkinSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  static void ResetSettings();
};

// A hidden top-level window, destroyed with the object.
class TestWindow {
 public:
  TestWindow();
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Get() const { return m_window; }

 private:
  HWND m_window;
};

// The pixel (0xAARRGGBB as stored) of a loaded image.
uint32_t ImagePixel(const SkinUI::TImageInfo* image, int x, int y);

}  // namespace test
