// One image slot of a control: the skin's image description, such as
// "file='sel.png' corner='30,2,30,2'", parsed into the image to use and the
// rules for drawing it, plus the image once it is loaded.
//
// Every control has seven slots and buttons and options more, but nearly
// all of them stay empty.  An empty slot holds no fields at all: they are
// made on the first change, so that an empty slot costs a pointer instead
// of three strings and the rest.
#pragma once

#include <windows.h>

#include <memory>

#include "toolkit/controls/SkinString.h"
#include "toolkit/core/ImageInfo.h"

namespace SkinUI {

class CPaintManagerUI;

class CImageAttribute {
 public:
  CImageAttribute();
  CImageAttribute(const CImageAttribute& source);
  CImageAttribute& operator=(const CImageAttribute& source);
  virtual ~CImageAttribute();

  const CSkinString& GetAttributeString() const;
  // Resets every field and parses `pStrImageAttri`, unless it equals the
  // current text.  A text that is not a list of pairs is an image name.
  void SetAttributeString(LPCWSTR pStrImageAttri);
  // Parses more pairs over the current fields, for drawing a variant.
  void ModifyAttribute(LPCWSTR pStrModify);
  // Asks the manager's image table for the image, once: a failed load is
  // not tried again.
  bool LoadImageW(CPaintManagerUI* pManager);
  bool IsLoadSuccess() const;

  void SetDest(const RECT& rcDest);
  const RECT& GetDest() const;
  const TImageInfo* GetImageInfo() const;

  const CSkinString& GetImageName() const;
  const CSkinString& GetResType() const;
  const RECT& GetSource() const;
  const RECT& GetCorner() const;
  BYTE GetFade() const;
  DWORD GetMask() const;
  bool IsHole() const;
  bool IsTiledX() const;
  bool IsTiledY() const;

 private:
  void Reset();
  void Parse(LPCWSTR pStrText);
  void ApplyPair(const CSkinString& key, const CSkinString& value);
  // After a load: an unset source becomes the whole bitmap, and a source
  // larger than the bitmap is cut to it.
  void FitSourceToImage();

  struct TFields {
    CSkinString sImageAttribute;
    CSkinString sImageName;
    CSkinString sResType;
    const TImageInfo* pImageInfo = nullptr;
    bool bLoadSuccess = true;
    RECT rcDest = {};
    RECT rcSource = {};
    RECT rcCorner = {};
    BYTE bFade = 255;
    DWORD dwMask = 0;
    bool bHole = false;
    bool bTiledX = false;
    bool bTiledY = false;
  };
  // The fields to read: the slot's own, or the defaults of an empty slot.
  const TFields& Fields() const;
  // The fields to change, made on first use.
  TFields& Edit();

  std::unique_ptr<TFields> m_fields;
};

}  // namespace SkinUI
