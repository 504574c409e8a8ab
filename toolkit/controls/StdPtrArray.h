// A growable array of untyped pointers.  It owns its storage only, never the
// objects the pointers point at.
#pragma once

namespace SkinUI {

class CStdPtrArray {
 public:
  // Allocates `preallocation` slots when it is positive.
  explicit CStdPtrArray(int preallocation = 0);
  // Adds the source's items one by one.
  CStdPtrArray(const CStdPtrArray& source);
  CStdPtrArray& operator=(const CStdPtrArray& source);
  ~CStdPtrArray();

  // Frees the storage: count and capacity become 0.
  void Empty();
  // Frees the storage and allocates `size` null slots; count and capacity
  // both become `size` (0 for a negative size or when allocation fails).
  void Resize(int size);
  bool IsEmpty() const;
  // Index of the first item equal to `item`, else -1.
  int Find(void* item) const;
  // Appends; false, with the array unchanged, when the storage cannot grow.
  bool Add(void* item);
  // False unless 0 <= index < count.
  bool SetAt(int index, void* item);
  // 0 <= index <= count; later items shift up.  False for a bad index or
  // when the storage cannot grow.
  bool InsertAt(int index, void* item);
  // Removes the item, shifting later ones down; false for a bad index.
  bool Remove(int index);
  int GetSize() const;
  void** GetData();
  // Null for a bad index.
  void* GetAt(int index) const;
  // Unchecked: the caller passes a valid index.
  void* operator[](int index) const;

 protected:
  // Counts one more item, growing the storage when the new count reaches
  // the capacity.  False, with the count as it was, when it cannot grow.
  bool Grow();

  void** m_ppVoid;
  int m_nCount;
  int m_nAllocated;
};

}  // namespace SkinUI
