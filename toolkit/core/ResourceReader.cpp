#include "toolkit/core/ResourceReader.h"

#include <cstring>

#include "toolkit/controls/SkinString.h"
#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/ZipArchive.h"
#include "util/UniqueHandle.h"

namespace SkinUI {

bool CResourceReader::Read(STRINGorID name, LPCWSTR type, CResourceBuffer& out) {
  out.Free();
  if (type != nullptr && *type != L'\0') return ReadFromModule(name, type, out);
  // Without a type an id names nothing: files and entries have names.
  if (name.IsId() || name.m_lpstr == nullptr) return false;
  if (!CPaintManagerUI::GetResourceZip().IsEmpty()) return ReadFromZip(name.m_lpstr, out);
  return ReadFromFolder(name.m_lpstr, out);
}

bool CResourceReader::ReadFromFolder(LPCWSTR name, CResourceBuffer& out) {
  out.Free();
  if (name == nullptr || *name == L'\0') return false;
  CSkinString path = CPaintManagerUI::GetResourcePath() + name;
  return ReadPlainFile(path, out);
}

bool CResourceReader::ReadFromZip(LPCWSTR name, CResourceBuffer& out) {
  out.Free();
  if (name == nullptr || *name == L'\0') return false;
  if (const CZipArchive* cached = CPaintManagerUI::GetResourceZipHandle()) {
    return cached->ReadEntry(name, out);
  }
  const CSkinString& zip = CPaintManagerUI::GetResourceZip();
  if (zip.IsEmpty()) return false;
  CZipArchive archive;
  if (!archive.OpenFile(CPaintManagerUI::GetResourcePath() + zip)) return false;
  return archive.ReadEntry(name, out);
}

bool CResourceReader::ReadFromModule(STRINGorID name, LPCWSTR type, CResourceBuffer& out) {
  out.Free();
  if (name.m_lpstr == nullptr || type == nullptr) return false;
  HINSTANCE module = CPaintManagerUI::GetResourceDll();
  HRSRC resource = ::FindResourceW(module, name.m_lpstr, type);
  if (resource == nullptr) return false;
  DWORD size = ::SizeofResource(module, resource);
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0 || !out.Allocate(size)) return false;
  std::memcpy(out.GetData(), data, size);
  return true;
}

bool CResourceReader::ReadPlainFile(LPCWSTR path, CResourceBuffer& out) {
  out.Free();
  if (path == nullptr || *path == L'\0') return false;
  CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  // Skin files are small; a file of 2 GB or more is not one, and a 32-bit
  // program could not hold it.
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart >= 0x80000000LL) {
    return false;
  }
  if (!out.Allocate(static_cast<size_t>(size.QuadPart))) return false;
  size_t done = 0;
  while (done < out.GetSize()) {
    DWORD read = 0;
    DWORD wanted = static_cast<DWORD>(out.GetSize() - done);
    if (!::ReadFile(file.Get(), out.GetData() + done, wanted, &read, nullptr) || read == 0) break;
    done += read;
  }
  if (done != out.GetSize()) {
    out.Free();
    return false;
  }
  return true;
}

}  // namespace SkinUI
