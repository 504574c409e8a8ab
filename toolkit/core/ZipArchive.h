// A skin archive (zip) opened from a file or from a block of memory, and
// whole-entry reads from it.  minizip does the work; its headers stay out
// of here.
#pragma once

#include <cstddef>

#include "toolkit/core/ResourceBuffer.h"

namespace SkinUI {

class CZipArchive {
 public:
  CZipArchive() noexcept = default;
  CZipArchive(const CZipArchive&) = delete;
  CZipArchive& operator=(const CZipArchive&) = delete;
  ~CZipArchive();

  // Opens the archive file at `path`; false when it is missing or not an
  // archive.  An archive open before is closed first.
  bool OpenFile(const wchar_t* path);
  // Opens an archive held in memory; the caller keeps the bytes alive and
  // unchanged for as long as the archive is open.
  bool OpenMemory(const void* data, size_t size);
  void Close();
  bool IsOpen() const { return m_file != nullptr; }

  // Decompresses the entry called `name` whole.  Names are compared without
  // regard to case, and a backslash counts as a forward slash on both
  // sides, so "img\Button.PNG" finds "img/button.png".  False for a name of
  // 256 characters or more, a missing or empty entry, or an entry that does
  // not decompress cleanly (its checksum included).
  bool ReadEntry(const wchar_t* name, CResourceBuffer& out) const;

 private:
  // The minizip handle (unzFile).
  void* m_file = nullptr;
};

}  // namespace SkinUI
