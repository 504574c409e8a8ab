#include "tests/toolkit/core/CoreTestSupport.h"

#include "tests/toolkit/core/ToolkitEnvironment.h"

namespace test {

std::wstring CoreData(const std::wstring& name) {
  return ToolkitEnvironment::DataFile(L"TALMIC_TOOLKIT_CORE_DATA", name);
}

std::string FileBytes(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  ::CloseHandle(file);
  return bytes;
}

void SkinSettingsTest::SetUp() {
  ASSERT_FALSE(CoreData().empty()) << "TALMIC_TOOLKIT_CORE_DATA is not set";
  ResetSettings();
}

void SkinSettingsTest::TearDown() { ResetSettings(); }

void SkinSettingsTest::ResetSettings() { ToolkitEnvironment::ResetSkinSettings(); }

TestWindow::TestWindow()
    : m_window(::CreateWindowExW(0, L"STATIC", L"paint manager test", WS_POPUP, 0, 0, 200, 100,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {}

TestWindow::~TestWindow() {
  if (m_window != nullptr) ::DestroyWindow(m_window);
}

uint32_t ImagePixel(const SkinUI::TImageInfo* image, int x, int y) {
  DIBSECTION section = {};
  if (image == nullptr ||
      ::GetObjectW(image->hBitmap, sizeof section, &section) != sizeof section) {
    return 0xDEADBEEF;
  }
  ::GdiFlush();
  const auto* bits = static_cast<const uint32_t*>(section.dsBm.bmBits);
  return bits[y * image->nX + x];
}

}  // namespace test
