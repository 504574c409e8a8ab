// The item operations every control that holds children offers; reached
// through GetInterface("IContainer").
#pragma once

namespace SkinUI {

class CControlUI;

class IContainerUI {
 public:
  virtual CControlUI* GetItemAt(int iIndex) const = 0;
  virtual int GetItemIndex(CControlUI* pControl) const = 0;
  virtual bool SetItemIndex(CControlUI* pControl, int iIndex) = 0;
  virtual int GetCount() const = 0;
  virtual bool Add(CControlUI* pControl) = 0;
  virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;
  virtual bool Remove(CControlUI* pControl) = 0;
  virtual bool RemoveAt(int iIndex) = 0;
  virtual void RemoveAll() = 0;

 protected:
  ~IContainerUI() = default;
};

}  // namespace SkinUI
