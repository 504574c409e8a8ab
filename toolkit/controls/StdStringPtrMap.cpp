#include "toolkit/controls/StdStringPtrMap.h"

#include <cstdlib>
#include <new>

namespace SkinUI {

unsigned int CStdStringPtrMap::HashKey(const wchar_t* key) {
  // h = h * 33 + unit over the key's units from the last to the first,
  // wrapping at 32 bits.
  unsigned int hash = 0;
  if (key == nullptr) return hash;
  const wchar_t* end = key;
  while (*end != L'\0') ++end;
  while (end != key) {
    --end;
    hash = hash * 33u + static_cast<unsigned short>(*end);
  }
  return hash;
}

CStdStringPtrMap::CStdStringPtrMap(int buckets) : m_aT(nullptr), m_nBuckets(0), m_nCount(0) {
  Resize(buckets < kMinimumBuckets ? kMinimumBuckets : buckets);
}

CStdStringPtrMap::~CStdStringPtrMap() {
  FreeItems();
  std::free(m_aT);
}

void CStdStringPtrMap::FreeItems() {
  for (int bucket = 0; bucket < m_nBuckets; ++bucket) {
    TITEM* item = m_aT[bucket];
    while (item != nullptr) {
      TITEM* next = item->pNext;
      delete item;
      item = next;
    }
    m_aT[bucket] = nullptr;
  }
  m_nCount = 0;
}

void CStdStringPtrMap::Resize(int buckets) {
  FreeItems();
  std::free(m_aT);
  m_aT = nullptr;
  m_nBuckets = 0;
  if (buckets <= 0) return;
  m_aT = static_cast<TITEM**>(std::calloc(static_cast<size_t>(buckets), sizeof(TITEM*)));
  if (m_aT != nullptr) m_nBuckets = buckets;
}

TITEM* CStdStringPtrMap::Locate(const wchar_t* key, bool optimize) const {
  if (key == nullptr || m_nBuckets == 0 || m_nCount == 0) return nullptr;
  const unsigned int slot = HashKey(key) % static_cast<unsigned int>(m_nBuckets);
  for (TITEM* item = m_aT[slot]; item != nullptr; item = item->pNext) {
    if (item->Key != key) continue;
    if (optimize && item != m_aT[slot]) {
      // Unlink and put the item at the front of its chain.
      item->pPrev->pNext = item->pNext;
      if (item->pNext != nullptr) item->pNext->pPrev = item->pPrev;
      item->pPrev = nullptr;
      item->pNext = m_aT[slot];
      item->pNext->pPrev = item;
      m_aT[slot] = item;
    }
    return item;
  }
  return nullptr;
}

void* CStdStringPtrMap::Find(const wchar_t* key, bool optimize) const {
  TITEM* item = Locate(key, optimize);
  return item != nullptr ? item->Data : nullptr;
}

bool CStdStringPtrMap::Insert(const wchar_t* key, void* data) {
  if (key == nullptr || m_nBuckets == 0) return false;
  // The item is looked up, not its value: a key stored with a null value
  // is present all the same.
  if (Locate(key, false) != nullptr) return false;
  TITEM* item = new (std::nothrow) TITEM;
  if (item == nullptr) return false;
  item->Key = key;
  item->Data = data;
  const unsigned int slot = HashKey(key) % static_cast<unsigned int>(m_nBuckets);
  item->pPrev = nullptr;
  item->pNext = m_aT[slot];
  if (item->pNext != nullptr) item->pNext->pPrev = item;
  m_aT[slot] = item;
  ++m_nCount;
  return true;
}

void* CStdStringPtrMap::Set(const wchar_t* key, void* data) {
  TITEM* item = Locate(key, true);
  if (item != nullptr) {
    void* old = item->Data;
    item->Data = data;
    return old;
  }
  Insert(key, data);
  return nullptr;
}

bool CStdStringPtrMap::Remove(const wchar_t* key) {
  TITEM* item = Locate(key, false);
  if (item == nullptr) return false;
  const unsigned int slot = HashKey(key) % static_cast<unsigned int>(m_nBuckets);
  if (item->pPrev != nullptr)
    item->pPrev->pNext = item->pNext;
  else
    m_aT[slot] = item->pNext;
  if (item->pNext != nullptr) item->pNext->pPrev = item->pPrev;
  delete item;
  --m_nCount;
  return true;
}

void CStdStringPtrMap::RemoveAll() { Resize(m_nBuckets); }

int CStdStringPtrMap::GetSize() const { return m_nCount; }

const wchar_t* CStdStringPtrMap::GetAt(int index) const {
  if (index < 0 || index >= m_nCount) return nullptr;
  int position = 0;
  for (int bucket = m_nBuckets - 1; bucket >= 0; --bucket) {
    for (const TITEM* item = m_aT[bucket]; item != nullptr; item = item->pNext) {
      if (position++ == index) return item->Key;
    }
  }
  return nullptr;
}

const wchar_t* CStdStringPtrMap::operator[](int index) const { return GetAt(index); }

}  // namespace SkinUI
