// The process-wide settings of the skin toolkit: the module, where skin
// resources come from, plugins and the global colour adjustment.

#include <windows.h>
// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cwchar>
#include <new>

#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/ZipArchive.h"

namespace SkinUI {
namespace {

// The archive name that stands for an archive held in memory.
constexpr wchar_t kMemoryZipName[] = L"membuffer";
// The resource type of an archive held among a module's resources.
constexpr wchar_t kZipResourceType[] = L"ZIPRES";

}  // namespace

HINSTANCE CPaintManagerUI::m_hInstance = nullptr;
HINSTANCE CPaintManagerUI::m_hResourceInstance = nullptr;
CSkinString CPaintManagerUI::m_pStrResourcePath;
CSkinString CPaintManagerUI::m_pStrResourceZip;
bool CPaintManagerUI::m_bCachedResourceZip = false;
CZipArchive CPaintManagerUI::m_hResourceZip;
CStdPtrArray CPaintManagerUI::m_aPreMessages;
CStdPtrArray CPaintManagerUI::m_aPlugins;
CSkinString CPaintManagerUI::m_pStrDefaultFontName;
short CPaintManagerUI::m_H = 180;
short CPaintManagerUI::m_S = 100;
short CPaintManagerUI::m_L = 100;
ULONG_PTR CPaintManagerUI::m_gdiplusToken = 0;
Gdiplus::GdiplusStartupInput* CPaintManagerUI::m_pGdiplusStartupInput = nullptr;

void CPaintManagerUI::SetInstance(HINSTANCE hInst) {
  m_hInstance = hInst;
  // GDI+ is started once per process: a second call must not lose the
  // token of the first, or GDI+ could never be shut down.
  if (m_pGdiplusStartupInput != nullptr) return;
  m_pGdiplusStartupInput = new (std::nothrow) Gdiplus::GdiplusStartupInput(nullptr, FALSE, FALSE);
  if (m_pGdiplusStartupInput == nullptr) return;
  if (Gdiplus::GdiplusStartup(&m_gdiplusToken, m_pGdiplusStartupInput, nullptr) != Gdiplus::Ok) {
    delete m_pGdiplusStartupInput;
    m_pGdiplusStartupInput = nullptr;
    m_gdiplusToken = 0;
  }
}

HINSTANCE CPaintManagerUI::GetInstance() { return m_hInstance; }

void CPaintManagerUI::Term() {
  if (m_pGdiplusStartupInput != nullptr) {
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    delete m_pGdiplusStartupInput;
    m_pGdiplusStartupInput = nullptr;
    m_gdiplusToken = 0;
  }
  if (m_bCachedResourceZip) m_hResourceZip.Close();
}

CSkinString CPaintManagerUI::GetInstancePath() {
  if (m_hInstance == nullptr) return CSkinString();
  wchar_t path[MAX_PATH + 1] = {};
  DWORD length = ::GetModuleFileNameW(m_hInstance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return CSkinString();
  wchar_t* slash = std::wcsrchr(path, L'\\');
  if (slash == nullptr) return CSkinString();
  slash[1] = L'\0';
  return CSkinString(path);
}

CSkinString CPaintManagerUI::GetCurrentPath() {
  wchar_t path[MAX_PATH + 1] = {};
  DWORD length = ::GetCurrentDirectoryW(MAX_PATH, path);
  if (length == 0 || length >= MAX_PATH) return CSkinString();
  return CSkinString(path);
}

void CPaintManagerUI::SetCurrentPath(LPCWSTR pStrPath) { ::SetCurrentDirectoryW(pStrPath); }

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst) { m_hResourceInstance = hInst; }

HINSTANCE CPaintManagerUI::GetResourceDll() {
  return m_hResourceInstance != nullptr ? m_hResourceInstance : m_hInstance;
}

void CPaintManagerUI::SetResourcePath(LPCWSTR pStrPath) {
  m_pStrResourcePath = pStrPath;
  if (m_pStrResourcePath.IsEmpty()) return;
  wchar_t last = m_pStrResourcePath[m_pStrResourcePath.GetLength() - 1];
  if (last != L'\\' && last != L'/') m_pStrResourcePath += L'\\';
}

const CSkinString& CPaintManagerUI::GetResourcePath() { return m_pStrResourcePath; }

void CPaintManagerUI::SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip) {
  if (m_pStrResourceZip == pStrZip && m_bCachedResourceZip == bCachedResourceZip) return;
  if (m_bCachedResourceZip) m_hResourceZip.Close();
  m_pStrResourceZip = pStrZip;
  m_bCachedResourceZip = bCachedResourceZip;
  if (m_bCachedResourceZip && !m_pStrResourceZip.IsEmpty()) {
    CSkinString path = m_pStrResourcePath + m_pStrResourceZip;
    m_hResourceZip.OpenFile(path);
  }
}

void CPaintManagerUI::SetResourceZip(const void* pVoid, unsigned int len) {
  if (m_pStrResourceZip == kMemoryZipName) return;
  if (m_bCachedResourceZip) m_hResourceZip.Close();
  m_pStrResourceZip = kMemoryZipName;
  m_bCachedResourceZip = true;
  m_hResourceZip.OpenMemory(pVoid, len);
}

void CPaintManagerUI::SetResourceZip(UINT nResourceId) {
  HINSTANCE module = GetResourceDll();
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(nResourceId), kZipResourceType);
  if (resource == nullptr) return;
  DWORD size = ::SizeofResource(module, resource);
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0) return;
  // A module's resources stay mapped as long as the module is loaded,
  // which for the resource module is the life of the process.
  SetResourceZip(data, size);
}

const CSkinString& CPaintManagerUI::GetResourceZip() { return m_pStrResourceZip; }

bool CPaintManagerUI::IsCachedResourceZip() { return m_bCachedResourceZip; }

CZipArchive* CPaintManagerUI::GetResourceZipHandle() {
  return m_bCachedResourceZip && m_hResourceZip.IsOpen() ? &m_hResourceZip : nullptr;
}

void CPaintManagerUI::SetDefaultFontName(LPCWSTR pStrFontName) {
  m_pStrDefaultFontName = pStrFontName;
}

const CSkinString& CPaintManagerUI::GetDefaultFontName() { return m_pStrDefaultFontName; }

bool CPaintManagerUI::LoadPlugin(LPCWSTR pstrModuleName) {
  if (pstrModuleName == nullptr || *pstrModuleName == L'\0') return false;
  CModuleHandle module(::LoadLibraryW(pstrModuleName));
  if (!module) return false;
  auto create = reinterpret_cast<LPCREATECONTROL>(
      reinterpret_cast<void*>(::GetProcAddress(module.Get(), "CreateControl")));
  // A module without the factory is of no use and is let go again.
  if (create == nullptr) return false;
  void* entry = reinterpret_cast<void*>(create);
  // Loaded before: the first load keeps the module, this one lets go.
  if (m_aPlugins.Find(entry) >= 0) return true;
  if (!m_aPlugins.Add(entry)) return false;
  // The factory is called for as long as skins are built: the module stays.
  module.Release();
  return true;
}

CStdPtrArray* CPaintManagerUI::GetPlugins() { return &m_aPlugins; }

void CPaintManagerUI::GetHSL(short* H, short* S, short* L) {
  if (H != nullptr) *H = m_H;
  if (S != nullptr) *S = m_S;
  if (L != nullptr) *L = m_L;
}

void CPaintManagerUI::SetHSL(bool /*bUseHSL*/, short H, short S, short L) {
  if (m_H == H && m_S == S && m_L == L) return;
  m_H = std::clamp<short>(H, 0, 360);
  m_S = std::clamp<short>(S, 0, 200);
  m_L = std::clamp<short>(L, 0, 200);
  for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
    static_cast<CPaintManagerUI*>(m_aPreMessages[i])->InvalidateRoot();
  }
}

void CPaintManagerUI::ReloadSkin() {
  for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
    static_cast<CPaintManagerUI*>(m_aPreMessages[i])->ReloadAllImages();
  }
}

}  // namespace SkinUI
