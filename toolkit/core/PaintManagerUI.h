// The per-window engine of the skin toolkit.
//
// This header declares the paint manager's process-wide settings (where
// skin resources come from and how they are read) and its per-window
// resource tables: colours, fonts, images, default attribute lists and
// option groups.  A paint manager can borrow the tables of a parent paint
// manager, which is how pop-up windows share their owner's skin.
//
// The sources are split by concern: PaintManagerUI.cpp (construction and
// lifetime), PaintManagerSettings.cpp (process-wide settings),
// PaintManagerFonts.cpp, PaintManagerImages.cpp and
// PaintManagerResources.cpp (the tables).
#pragma once

#include <windows.h>

#include "toolkit/controls/SkinString.h"
#include "toolkit/controls/StdPtrArray.h"
#include "toolkit/controls/StdStringPtrMap.h"
#include "toolkit/controls/StringOrId.h"
#include "toolkit/core/FontInfo.h"
#include "toolkit/core/ImageInfo.h"
#include "util/UniqueHandle.h"

namespace Gdiplus {
struct GdiplusStartupInput;
}

namespace SkinUI {

class CControlUI;
class CZipArchive;

// The control factory a plugin module exports as "CreateControl": given an
// element name of a skin file, a new control or null.
typedef CControlUI* (*LPCREATECONTROL)(LPCWSTR pstrType);

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
  ~CPaintManagerUI();

  // Binds the manager to its window: keeps the window's DC (fonts are
  // measured with it) and registers the manager process-wide.
  void Init(HWND hWnd);
  HWND GetPaintWindow() const;
  HDC GetPaintDC() const;
  CControlUI* GetRoot() const;

  // Images are drawn with per-pixel alpha whatever they hold when the
  // window is layered.
  void SetUseLayeredWindow(bool bLayered);
  bool IsLayeredWindow() const;

  // --- Process-wide settings -------------------------------------------

  // The module that owns the windows and resources; also starts GDI+.
  static void SetInstance(HINSTANCE hInst);
  static HINSTANCE GetInstance();
  // Shuts GDI+ down and closes a cached archive.
  static void Term();
  // The module's folder, ending in a backslash; empty without a module.
  static CSkinString GetInstancePath();
  static CSkinString GetCurrentPath();
  static void SetCurrentPath(LPCWSTR pStrPath);
  // The module holding resources; the instance when none was set.
  static void SetResourceDll(HINSTANCE hInst);
  static HINSTANCE GetResourceDll();
  // The skin folder; a separator is added when the path lacks one.
  static void SetResourcePath(LPCWSTR pStrPath);
  static const CSkinString& GetResourcePath();
  // The skin archive inside the resource folder.  A cached archive is
  // opened once and stays open.
  static void SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip = false);
  // An archive in memory; the caller keeps the bytes alive.  Only the
  // first such archive is taken.
  static void SetResourceZip(const void* pVoid, unsigned int len);
  // An archive held as a "ZIPRES" resource of the resource module.
  static void SetResourceZip(UINT nResourceId);
  static const CSkinString& GetResourceZip();
  static bool IsCachedResourceZip();
  // The open archive while cached, else null.
  static CZipArchive* GetResourceZipHandle();
  // The face name for the default font of managers constructed afterwards.
  static void SetDefaultFontName(LPCWSTR pStrFontName);
  static const CSkinString& GetDefaultFontName();

  static bool LoadPlugin(LPCWSTR pstrModuleName);
  static CStdPtrArray* GetPlugins();

  static void GetHSL(short* H, short* S, short* L);
  static void SetHSL(bool bUseHSL, short H, short S, short L);
  // Every registered manager reloads its images.
  static void ReloadSkin();

  // Reads and decodes an image: a module resource when a type is given,
  // else from the archive or the skin folder, else the name as a plain
  // path.  A new record the caller frees with FreeImage, or null.
  static TImageInfo* LoadImageW(STRINGorID bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  static void FreeImage(const TImageInfo* bitmap);

  // --- Resource chain ----------------------------------------------------

  // Borrows the tables of `pm`; false when that would make a cycle.
  bool UseParentResource(CPaintManagerUI* pm);
  CPaintManagerUI* GetParentResource() const;

  // --- Colours -------------------------------------------------------------
  // The setters store this manager's value; the getters answer with the
  // value of the topmost manager of the parent chain.

  DWORD GetDefaultDisabledColor() const;
  void SetDefaultDisabledColor(DWORD dwColor);
  DWORD GetDefaultFontColor() const;
  void SetDefaultFontColor(DWORD dwColor);
  DWORD GetDefaultLinkFontColor() const;
  void SetDefaultLinkFontColor(DWORD dwColor);
  DWORD GetDefaultLinkHoverFontColor() const;
  void SetDefaultLinkHoverFontColor(DWORD dwColor);
  DWORD GetDefaultSelectedBkColor() const;
  void SetDefaultSelectedBkColor(DWORD dwColor);

  // --- Fonts ---------------------------------------------------------------

  TFontInfo* GetDefaultFontInfo();
  void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  DWORD GetCustomFontCount() const;
  HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  HFONT AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                  bool bItalic);
  HFONT GetFont(int index);
  HFONT GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  bool FindFont(HFONT hFont);
  bool FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  int GetFontIndex(HFONT hFont);
  int GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  bool RemoveFont(HFONT hFont);
  bool RemoveFontAt(int index);
  void RemoveAllFonts();
  TFontInfo* GetFontInfo(int index);
  TFontInfo* GetFontInfo(HFONT hFont);

  // --- Images --------------------------------------------------------------

  // This manager's table, then each parent's.
  const TImageInfo* GetImage(LPCWSTR bitmap);
  // This manager's table only; loads and adds the image on a miss.
  const TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  const TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  // Takes ownership of `hBitmap`, also when it refuses it.
  const TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
  bool RemoveImage(LPCWSTR bitmap);
  void RemoveAllImages();
  void ReloadAllImages();

  // --- Default attribute lists ----------------------------------------------

  void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
  LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
  bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
  const CStdStringPtrMap& GetDefaultAttribultes() const;
  void RemoveAllDefaultAttributeList();

  // --- Option groups ---------------------------------------------------------

  bool AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
  CStdPtrArray* GetOptionGroup(LPCWSTR pStrGroupName);
  void RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
  void RemoveAllOptionGroups();

 private:
  // Fonts (PaintManagerFonts.cpp).
  static HFONT CreateSkinFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                              bool bItalic, bool bClearType);
  static void MeasureFont(TFontInfo* pFontInfo, HDC hDC);
  void CreateDefaultFont();
  TFontInfo* NewFontInfo(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                         bool bItalic);
  int FindOwnFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
  int FindOwnFont(HFONT hFont) const;
  const CPaintManagerUI* GetTopResource() const;
  CPaintManagerUI* GetTopResource();

  // Asks the window to repaint the whole tree (after a colour or image
  // change) when a tree is attached.
  void InvalidateRoot();

  // Window state.
  HWND m_hWndPaint;
  CWindowDc m_dcPaint;
  CControlUI* m_pRoot;
  bool m_bLayered;

  // Resource tables.
  CPaintManagerUI* m_pParentResourcePM;
  DWORD m_dwDefaultDisabledColor;
  DWORD m_dwDefaultFontColor;
  DWORD m_dwDefaultLinkFontColor;
  DWORD m_dwDefaultLinkHoverFontColor;
  DWORD m_dwDefaultSelectedBkColor;
  TFontInfo m_DefaultFontInfo;
  CStdPtrArray m_aCustomFonts;
  CStdStringPtrMap m_mImageHash;
  CStdStringPtrMap m_DefaultAttrHash;
  CStdStringPtrMap m_mOptionGroup;

  // Process-wide settings (PaintManagerSettings.cpp).
  static HINSTANCE m_hInstance;
  static HINSTANCE m_hResourceInstance;
  static CSkinString m_pStrResourcePath;
  static CSkinString m_pStrResourceZip;
  static bool m_bCachedResourceZip;
  static CZipArchive m_hResourceZip;
  static CStdPtrArray m_aPreMessages;
  static CStdPtrArray m_aPlugins;
  static CSkinString m_pStrDefaultFontName;
  static short m_H;
  static short m_S;
  static short m_L;
  static ULONG_PTR m_gdiplusToken;
  static Gdiplus::GdiplusStartupInput* m_pGdiplusStartupInput;
};

}  // namespace SkinUI
