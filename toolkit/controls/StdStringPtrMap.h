// A hash map from string keys to untyped pointers, with separate chaining.
// The map owns its items and keys, never the values.
#pragma once

#include "toolkit/controls/SkinString.h"

namespace SkinUI {

struct TITEM {
  CSkinString Key;
  void* Data;
  TITEM* pPrev;
  TITEM* pNext;
};

class CStdStringPtrMap {
 public:
  static constexpr int kDefaultBuckets = 83;
  static constexpr int kMinimumBuckets = 16;

  // A bucket count below 16 is raised to 16.
  explicit CStdStringPtrMap(int buckets = kDefaultBuckets);
  CStdStringPtrMap(const CStdStringPtrMap&) = delete;
  CStdStringPtrMap& operator=(const CStdStringPtrMap&) = delete;
  ~CStdStringPtrMap();

  // Frees every item and allocates `buckets` empty buckets (none for a
  // negative count, after which nothing can be inserted).
  void Resize(int buckets = kDefaultBuckets);
  // The value stored under `key`, or null.  With `optimize`, a found item
  // moves to the front of its chain so that the next lookup is shorter.
  void* Find(const wchar_t* key, bool optimize = true) const;
  // False when the key is present already, the key is null or the map has
  // no buckets; otherwise the item goes to the front of its chain.
  bool Insert(const wchar_t* key, void* data);
  // Replaces the value of a present key and returns the old value;
  // otherwise inserts and returns null.
  void* Set(const wchar_t* key, void* data);
  // Unlinks and frees the item; false when the key is absent.
  bool Remove(const wchar_t* key);
  // Frees every item and keeps the bucket count.
  void RemoveAll();
  int GetSize() const;
  // The key of the index-th item, or null.  Items are visited from the
  // highest bucket down to bucket 0, each chain from its front; lookups and
  // insertions reorder chains, so the order is not stable across them.
  const wchar_t* GetAt(int index) const;
  const wchar_t* operator[](int index) const;

  // The bucket count and the hash that picks a key's bucket.
  int GetBucketCount() const { return m_nBuckets; }
  static unsigned int HashKey(const wchar_t* key);  // 0 for a null key

 protected:
  // The item stored under `key`, or null; with `optimize` it moves to the
  // front of its chain.
  TITEM* Locate(const wchar_t* key, bool optimize) const;
  void FreeItems();

  TITEM** m_aT;
  int m_nBuckets;
  int m_nCount;
};

}  // namespace SkinUI
