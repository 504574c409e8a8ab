// The bytes of one skin resource (a file, an archive entry or a module
// resource), read whole.  The block comes from malloc, so that a size taken
// from a damaged archive that cannot be met makes the read fail instead of
// throwing.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>

namespace SkinUI {

class CResourceBuffer {
 public:
  CResourceBuffer() noexcept = default;
  CResourceBuffer(const CResourceBuffer&) = delete;
  CResourceBuffer& operator=(const CResourceBuffer&) = delete;
  CResourceBuffer(CResourceBuffer&& other) noexcept
      : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)) {}
  CResourceBuffer& operator=(CResourceBuffer&& other) noexcept {
    if (this != &other) {
      Free();
      m_data = std::exchange(other.m_data, nullptr);
      m_size = std::exchange(other.m_size, 0);
    }
    return *this;
  }
  ~CResourceBuffer() { Free(); }

  // Replaces the content by `size` uninitialised bytes; false (and empty)
  // when `size` is 0 or the memory is not there.
  bool Allocate(size_t size) noexcept {
    Free();
    if (size == 0) return false;
    m_data = static_cast<unsigned char*>(std::malloc(size));
    if (m_data == nullptr) return false;
    m_size = size;
    return true;
  }
  void Free() noexcept {
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
  }

  unsigned char* GetData() noexcept { return m_data; }
  const unsigned char* GetData() const noexcept { return m_data; }
  size_t GetSize() const noexcept { return m_size; }
  bool IsEmpty() const noexcept { return m_size == 0; }

 private:
  unsigned char* m_data = nullptr;
  size_t m_size = 0;
};

}  // namespace SkinUI
