#include "toolkit/core/ZipArchive.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <new>

#include "ioapi.h"
#include "iowin32.h"
#include "toolkit/controls/SkinString.h"
#include "unzip.h"

namespace SkinUI {
namespace {

// Requested names must be shorter than this.
constexpr int kMaxNameLength = 256;
// Entry names longer than this (in bytes) cannot be the one asked for.
constexpr int kEntryNameBytes = 4 * kMaxNameLength;
// Bit 11 of an entry's flags says its name is UTF-8; otherwise it is in
// the code page of the machine that made the archive, taken to be ours.
constexpr uLong kUtf8NameFlag = 1u << 11;

// The memory "file" minizip reads an in-memory archive through.
struct MemoryFile {
  const unsigned char* data;
  ZPOS64_T size;
  ZPOS64_T position;
};

struct MemorySource {
  const void* data;
  size_t size;
};

voidpf ZCALLBACK MemoryOpen(voidpf, const void* source, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  const auto* memory = static_cast<const MemorySource*>(source);
  auto* file = new (std::nothrow) MemoryFile;
  if (file == nullptr) return nullptr;
  file->data = static_cast<const unsigned char*>(memory->data);
  file->size = memory->size;
  file->position = 0;
  return file;
}

uLong ZCALLBACK MemoryRead(voidpf, voidpf stream, void* buffer, uLong size) {
  auto* file = static_cast<MemoryFile*>(stream);
  ZPOS64_T left = file->position < file->size ? file->size - file->position : 0;
  uLong count = left < size ? static_cast<uLong>(left) : size;
  if (count > 0) std::memcpy(buffer, file->data + file->position, count);
  file->position += count;
  return count;
}

uLong ZCALLBACK MemoryWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK MemoryTell(voidpf, voidpf stream) {
  return static_cast<MemoryFile*>(stream)->position;
}

long ZCALLBACK MemorySeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* file = static_cast<MemoryFile*>(stream);
  ZPOS64_T base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      base = 0;
      break;
    case ZLIB_FILEFUNC_SEEK_CUR:
      base = file->position;
      break;
    case ZLIB_FILEFUNC_SEEK_END:
      base = file->size;
      break;
    default:
      return -1;
  }
  // Offsets are unsigned here; a position past the end is refused rather
  // than left for a later read to trip over.
  if (offset > file->size || base > file->size - offset) return -1;
  file->position = base + offset;
  return 0;
}

int ZCALLBACK MemoryClose(voidpf, voidpf stream) {
  delete static_cast<MemoryFile*>(stream);
  return 0;
}

int ZCALLBACK MemoryError(voidpf, voidpf) { return 0; }

// Entry names are compared in UTF-16 with backslashes turned into slashes.
CSkinString NormalisedName(const wchar_t* name) {
  CSkinString result(name);
  result.Replace(L"\\", L"/");
  return result;
}

CSkinString EntryName(const char* bytes, int length, bool utf8) {
  CSkinString result;
  UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
  int units = ::MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
  if (units <= 0 || units > kEntryNameBytes) return result;
  wchar_t wide[kEntryNameBytes + 1];
  units = ::MultiByteToWideChar(codePage, 0, bytes, length, wide, kEntryNameBytes);
  if (units <= 0) return result;
  wide[units] = L'\0';
  return NormalisedName(wide);
}

// Reads the current entry, opened already, into `out`.
bool ReadCurrentEntry(unzFile file, ZPOS64_T size, CResourceBuffer& out) {
  // Entries are images and skin files; anything claiming 2 GB or more is a
  // damaged archive, and on this 32-bit program could not be held anyway.
  if (size == 0 || size >= 0x80000000u) return false;
  if (!out.Allocate(static_cast<size_t>(size))) return false;
  size_t done = 0;
  while (done < out.GetSize()) {
    unsigned chunk = static_cast<unsigned>(out.GetSize() - done);
    int read = unzReadCurrentFile(file, out.GetData() + done, chunk);
    if (read <= 0) break;
    done += static_cast<size_t>(read);
  }
  // Closing the entry after the last byte checks its CRC.
  int closed = unzCloseCurrentFile(file);
  if (done != out.GetSize() || closed != UNZ_OK) {
    out.Free();
    return false;
  }
  return true;
}

}  // namespace

CZipArchive::~CZipArchive() { Close(); }

bool CZipArchive::OpenFile(const wchar_t* path) {
  Close();
  if (path == nullptr || *path == L'\0') return false;
  zlib_filefunc64_def functions;
  fill_win32_filefunc64W(&functions);
  m_file = unzOpen2_64(path, &functions);
  return m_file != nullptr;
}

bool CZipArchive::OpenMemory(const void* data, size_t size) {
  Close();
  if (data == nullptr || size == 0) return false;
  zlib_filefunc64_def functions = {};
  functions.zopen64_file = MemoryOpen;
  functions.zread_file = MemoryRead;
  functions.zwrite_file = MemoryWrite;
  functions.ztell64_file = MemoryTell;
  functions.zseek64_file = MemorySeek;
  functions.zclose_file = MemoryClose;
  functions.zerror_file = MemoryError;
  MemorySource source = {data, size};
  m_file = unzOpen2_64(&source, &functions);
  return m_file != nullptr;
}

void CZipArchive::Close() {
  if (m_file != nullptr) unzClose(static_cast<unzFile>(m_file));
  m_file = nullptr;
}

bool CZipArchive::ReadEntry(const wchar_t* name, CResourceBuffer& out) const {
  out.Free();
  if (m_file == nullptr || name == nullptr || *name == L'\0') return false;
  if (std::wcslen(name) >= static_cast<size_t>(kMaxNameLength)) return false;
  const CSkinString wanted = NormalisedName(name);
  auto file = static_cast<unzFile>(m_file);
  for (int status = unzGoToFirstFile(file); status == UNZ_OK; status = unzGoToNextFile(file)) {
    unz_file_info64 info;
    char entryName[kEntryNameBytes + 1];
    if (unzGetCurrentFileInfo64(file, &info, entryName, sizeof entryName, nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
      return false;
    }
    if (info.size_filename == 0 || info.size_filename > static_cast<uLong>(kEntryNameBytes)) {
      continue;
    }
    const CSkinString candidate = EntryName(entryName, static_cast<int>(info.size_filename),
                                            (info.flag & kUtf8NameFlag) != 0);
    if (candidate.IsEmpty() || wanted.CompareNoCase(candidate) != 0) continue;
    if (unzOpenCurrentFile(file) != UNZ_OK) return false;
    return ReadCurrentEntry(file, info.uncompressed_size, out);
  }
  return false;
}

}  // namespace SkinUI
