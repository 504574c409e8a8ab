// Small owners for kernel, file and C runtime handles.
//
// Every handle the program opens is held by one of these, so that an early
// return can never leak it.  Each kind of handle has its own traits: which
// value means "no handle" and how it is closed.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <io.h>
#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept : m_handle(Traits::Invalid()) {}
  explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle Get() const noexcept { return m_handle; }
  bool IsValid() const noexcept { return m_handle != Traits::Invalid(); }
  explicit operator bool() const noexcept { return IsValid(); }

  Handle Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    if (IsValid()) Traits::Close(m_handle);
    m_handle = handle;
  }

 private:
  Handle m_handle;
};

// Handles that use null for "none": processes, threads, events and the like.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};

// Handles that use INVALID_HANDLE_VALUE for "none": files and tool-help
// snapshots.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};

// A directory listing opened with FindFirstFile.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::FindClose(handle); }
};

// A watch on a folder's changes (FindFirstChangeNotification).
struct ChangeNotificationTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::FindCloseChangeNotification(handle); }
};

// A directory listing opened with the C runtime's _findfirst.
struct CrtFindHandleTraits {
  using Handle = intptr_t;
  static Handle Invalid() noexcept { return -1; }
  static void Close(Handle handle) noexcept { ::_findclose(handle); }
};

// Memory from the shell's task allocator (item lists and the like).
struct CoTaskMemTraits {
  using Handle = void*;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { ::CoTaskMemFree(handle); }
};
// GDI objects: bitmaps, brushes, pens, fonts, regions.
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { ::DeleteObject(handle); }
};

// Device contexts the program created itself (CreateCompatibleDC).
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { ::DeleteDC(handle); }
};

// A module the program loaded itself (LoadLibrary).
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { ::FreeLibrary(handle); }
};

using CKernelHandle = UniqueHandle<KernelHandleTraits>;
using CFileHandle = UniqueHandle<FileHandleTraits>;
using CFindHandle = UniqueHandle<FindHandleTraits>;
using CChangeNotification = UniqueHandle<ChangeNotificationTraits>;
using CCrtFindHandle = UniqueHandle<CrtFindHandleTraits>;
using CCoTaskMem = UniqueHandle<CoTaskMemTraits>;
using CGdiObject = UniqueHandle<GdiObjectTraits>;
using CMemoryDc = UniqueHandle<MemoryDcTraits>;
using CModuleHandle = UniqueHandle<ModuleTraits>;

// A window's device context from GetDC, given back with ReleaseDC.  Unlike
// the handles above it needs its window to be released, so it is a class of
// its own rather than a traits type.
class CWindowDc {
 public:
  CWindowDc() noexcept = default;
  explicit CWindowDc(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
  CWindowDc(const CWindowDc&) = delete;
  CWindowDc& operator=(const CWindowDc&) = delete;
  CWindowDc(CWindowDc&& other) noexcept
      : m_window(std::exchange(other.m_window, nullptr)),
        m_dc(std::exchange(other.m_dc, nullptr)) {}
  CWindowDc& operator=(CWindowDc&& other) noexcept {
    if (this != &other) {
      Reset();
      m_window = std::exchange(other.m_window, nullptr);
      m_dc = std::exchange(other.m_dc, nullptr);
    }
    return *this;
  }
  ~CWindowDc() { Reset(); }

  HDC Get() const noexcept { return m_dc; }
  explicit operator bool() const noexcept { return m_dc != nullptr; }
  void Reset() noexcept {
    if (m_dc != nullptr) ::ReleaseDC(m_window, m_dc);
    m_window = nullptr;
    m_dc = nullptr;
  }

 private:
  HWND m_window = nullptr;
  HDC m_dc = nullptr;
};

// Selects a GDI object into a device context for a scope and puts the
// previous one back at its end.
class CSelectObject {
 public:
  CSelectObject(HDC dc, HGDIOBJ object) noexcept
      : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
  ~CSelectObject() { ::SelectObject(m_dc, m_previous); }
  CSelectObject(const CSelectObject&) = delete;
  CSelectObject& operator=(const CSelectObject&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};
