#include "toolkit/controls/StdPtrArray.h"

#include "toolkit/controls/ContainerGrowth.h"

#include <cstdlib>
#include <cstring>

namespace SkinUI {

CStdPtrArray::CStdPtrArray(int preallocation) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0) {
  if (preallocation > 0) {
    m_ppVoid = static_cast<void**>(std::malloc(static_cast<size_t>(preallocation) * sizeof(void*)));
    if (m_ppVoid != nullptr) m_nAllocated = preallocation;
  }
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& source)
    : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0) {
  for (int i = 0; i < source.GetSize(); ++i) Add(source.m_ppVoid[i]);
}

CStdPtrArray& CStdPtrArray::operator=(const CStdPtrArray& source) {
  if (this != &source) {
    Empty();
    for (int i = 0; i < source.GetSize(); ++i) Add(source.m_ppVoid[i]);
  }
  return *this;
}

CStdPtrArray::~CStdPtrArray() { std::free(m_ppVoid); }

void CStdPtrArray::Empty() {
  std::free(m_ppVoid);
  m_ppVoid = nullptr;
  m_nCount = 0;
  m_nAllocated = 0;
}

void CStdPtrArray::Resize(int size) {
  Empty();
  if (size <= 0) return;
  m_ppVoid = static_cast<void**>(std::calloc(static_cast<size_t>(size), sizeof(void*)));
  if (m_ppVoid == nullptr) return;
  m_nCount = size;
  m_nAllocated = size;
}

bool CStdPtrArray::IsEmpty() const { return m_nCount == 0; }

int CStdPtrArray::Find(void* item) const {
  for (int i = 0; i < m_nCount; ++i) {
    if (m_ppVoid[i] == item) return i;
  }
  return -1;
}

bool CStdPtrArray::Grow() {
  void* storage = m_ppVoid;
  if (!GrowStorage(&storage, &m_nCount, &m_nAllocated, sizeof(void*))) return false;
  m_ppVoid = static_cast<void**>(storage);
  return true;
}

bool CStdPtrArray::Add(void* item) {
  if (!Grow()) return false;
  m_ppVoid[m_nCount - 1] = item;
  return true;
}

bool CStdPtrArray::SetAt(int index, void* item) {
  if (index < 0 || index >= m_nCount) return false;
  m_ppVoid[index] = item;
  return true;
}

bool CStdPtrArray::InsertAt(int index, void* item) {
  if (index == m_nCount) return Add(item);
  if (index < 0 || index > m_nCount) return false;
  if (!Grow()) return false;
  std::memmove(&m_ppVoid[index + 1], &m_ppVoid[index],
               static_cast<size_t>(m_nCount - 1 - index) * sizeof(void*));
  m_ppVoid[index] = item;
  return true;
}

bool CStdPtrArray::Remove(int index) {
  if (index < 0 || index >= m_nCount) return false;
  --m_nCount;
  std::memmove(&m_ppVoid[index], &m_ppVoid[index + 1],
               static_cast<size_t>(m_nCount - index) * sizeof(void*));
  return true;
}

int CStdPtrArray::GetSize() const { return m_nCount; }

void** CStdPtrArray::GetData() { return m_ppVoid; }

void* CStdPtrArray::GetAt(int index) const {
  if (index < 0 || index >= m_nCount) return nullptr;
  return m_ppVoid[index];
}

void* CStdPtrArray::operator[](int index) const { return m_ppVoid[index]; }

}  // namespace SkinUI
