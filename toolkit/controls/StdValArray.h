// A growable array of fixed-size records, copied in by value.
#pragma once

namespace SkinUI {

class CStdValArray {
 public:
  // `elementSize` bytes per record; `preallocation` records are allocated
  // when it is positive.  An array with a size below 1 accepts no records.
  explicit CStdValArray(int elementSize, int preallocation = 0);
  CStdValArray(const CStdValArray&) = delete;
  CStdValArray& operator=(const CStdValArray&) = delete;
  ~CStdValArray();

  // Sets the count to 0 and keeps the storage.
  void Empty();
  bool IsEmpty() const;
  // Copies one record of the element size from `record`; false, with the
  // array unchanged, when the storage cannot grow or `record` is null.
  bool Add(const void* record);
  // Removes the record, shifting later ones down; false for a bad index.
  bool Remove(int index);
  int GetSize() const;
  void* GetData();
  // The stored record, or null for a bad index.
  void* GetAt(int index) const;
  // Unchecked: the caller passes a valid index.
  void* operator[](int index) const;

 protected:
  unsigned char* m_pVoid;
  int m_iElementSize;
  int m_nCount;
  int m_nAllocated;
};

}  // namespace SkinUI
