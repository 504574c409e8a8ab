// Image loading and the paint manager's image table.

#include <cwchar>
#include <memory>
#include <new>

#include <stb_image.h>

#include "toolkit/controls/RenderEngine.h"
#include "toolkit/core/PaintManagerUI.h"
#include "toolkit/core/ResourceReader.h"

namespace SkinUI {
namespace {

struct StbiFree {
  void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};

bool StartsWithDigit(LPCWSTR text) { return text != nullptr && *text >= L'0' && *text <= L'9'; }

// The resource id a table name stands for when its image is a module
// resource: the decimal number it starts with.
UINT ResourceId(LPCWSTR name) { return static_cast<UINT>(std::wcstoul(name, nullptr, 10)); }

TImageInfo* LoadTableImage(LPCWSTR name, const CSkinString& type, DWORD mask) {
  if (type.IsEmpty()) return CPaintManagerUI::LoadImageW(name, nullptr, mask);
  if (!StartsWithDigit(name)) return nullptr;
  return CPaintManagerUI::LoadImageW(ResourceId(name), type, mask);
}

}  // namespace

TImageInfo* CPaintManagerUI::LoadImageW(STRINGorID bitmap, LPCWSTR type, DWORD mask) {
  CResourceBuffer bytes;
  if (!CResourceReader::Read(bitmap, type, bytes) && !bitmap.IsId() && bitmap.m_lpstr != nullptr) {
    CResourceReader::ReadPlainFile(bitmap.m_lpstr, bytes);
  }
  if (bytes.IsEmpty() || bytes.GetSize() > 0x7FFFFFFFu) return nullptr;

  int width = 0;
  int height = 0;
  int channels = 0;
  std::unique_ptr<unsigned char, StbiFree> pixels(stbi_load_from_memory(
      bytes.GetData(), static_cast<int>(bytes.GetSize()), &width, &height, &channels, 4));
  if (!pixels || width <= 0 || height <= 0) return nullptr;

  DWORD* bits = nullptr;
  CGdiObject dib(CRenderEngine::CreateBitmap(nullptr, width, height, &bits));
  if (!dib || bits == nullptr) return nullptr;

  bool alpha = false;
  const unsigned char* source = pixels.get();
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i, source += 4) {
    unsigned int red = source[0];
    unsigned int green = source[1];
    unsigned int blue = source[2];
    unsigned int a = source[3];
    // The bitmap holds premultiplied pixels, which is what AlphaBlend
    // expects.
    if (a < 255) {
      red = red * a / 255;
      green = green * a / 255;
      blue = blue * a / 255;
      alpha = true;
    }
    DWORD pixel = (a << 24) | (red << 16) | (green << 8) | blue;
    if (pixel == mask) {
      pixel = 0;
      alpha = true;
    }
    bits[i] = pixel;
  }

  auto* info = new (std::nothrow) TImageInfo;
  if (info == nullptr) return nullptr;
  info->hBitmap = static_cast<HBITMAP>(dib.Release());
  info->nX = width;
  info->nY = height;
  info->alphaChannel = alpha;
  return info;
}

void CPaintManagerUI::FreeImage(const TImageInfo* bitmap) {
  if (bitmap == nullptr) return;
  if (bitmap->hBitmap != nullptr) ::DeleteObject(bitmap->hBitmap);
  delete bitmap;
}

const TImageInfo* CPaintManagerUI::GetImage(LPCWSTR bitmap) {
  for (CPaintManagerUI* manager = this; manager != nullptr;
       manager = manager->m_pParentResourcePM) {
    if (auto* image = static_cast<const TImageInfo*>(manager->m_mImageHash.Find(bitmap))) {
      return image;
    }
  }
  return nullptr;
}

const TImageInfo* CPaintManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask) {
  if (auto* image = static_cast<const TImageInfo*>(m_mImageHash.Find(bitmap))) return image;
  return AddImage(bitmap, type, mask);
}

const TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask) {
  if (bitmap == nullptr || *bitmap == L'\0') return nullptr;
  // The table keeps the first image of a name; loading another would be
  // wasted work.
  if (m_mImageHash.Find(bitmap, false) != nullptr) return nullptr;
  const bool resource = type != nullptr && *type != L'\0';
  TImageInfo* image = nullptr;
  if (resource) {
    if (!StartsWithDigit(bitmap)) return nullptr;
    image = LoadImageW(ResourceId(bitmap), type, mask);
  } else {
    image = LoadImageW(bitmap, nullptr, mask);
  }
  if (image == nullptr) return nullptr;
  if (resource) image->sResType = type;
  image->dwMask = mask;
  if (!m_mImageHash.Insert(bitmap, image)) {
    FreeImage(image);
    return nullptr;
  }
  return image;
}

const TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth,
                                            int iHeight, bool bAlpha) {
  CGdiObject owned(hBitmap);
  if (bitmap == nullptr || *bitmap == L'\0' || !owned || iWidth <= 0 || iHeight <= 0) {
    return nullptr;
  }
  if (m_mImageHash.Find(bitmap, false) != nullptr) return nullptr;
  auto* image = new (std::nothrow) TImageInfo;
  if (image == nullptr) return nullptr;
  image->hBitmap = static_cast<HBITMAP>(owned.Release());
  image->nX = iWidth;
  image->nY = iHeight;
  image->alphaChannel = bAlpha;
  if (!m_mImageHash.Insert(bitmap, image)) {
    FreeImage(image);
    return nullptr;
  }
  return image;
}

bool CPaintManagerUI::RemoveImage(LPCWSTR bitmap) {
  auto* image = static_cast<const TImageInfo*>(m_mImageHash.Find(bitmap, false));
  if (image == nullptr) return false;
  m_mImageHash.Remove(bitmap);
  FreeImage(image);
  return true;
}

void CPaintManagerUI::RemoveAllImages() {
  for (int i = 0; i < m_mImageHash.GetSize(); ++i) {
    if (const wchar_t* key = m_mImageHash.GetAt(i)) {
      FreeImage(static_cast<const TImageInfo*>(m_mImageHash.Find(key, false)));
    }
  }
  m_mImageHash.RemoveAll();
}

void CPaintManagerUI::ReloadAllImages() {
  bool reloaded = false;
  // Lookups here must not reorder the chains being walked, hence the
  // unoptimised Find.
  for (int i = 0; i < m_mImageHash.GetSize(); ++i) {
    const wchar_t* key = m_mImageHash.GetAt(i);
    if (key == nullptr) continue;
    auto* image = static_cast<TImageInfo*>(m_mImageHash.Find(key, false));
    if (image == nullptr) continue;
    TImageInfo* fresh = LoadTableImage(key, image->sResType, image->dwMask);
    if (fresh == nullptr) continue;
    if (image->hBitmap != nullptr) ::DeleteObject(image->hBitmap);
    image->hBitmap = fresh->hBitmap;
    image->nX = fresh->nX;
    image->nY = fresh->nY;
    image->alphaChannel = fresh->alphaChannel;
    fresh->hBitmap = nullptr;
    FreeImage(fresh);
    reloaded = true;
  }
  if (reloaded) InvalidateRoot();
}

}  // namespace SkinUI
