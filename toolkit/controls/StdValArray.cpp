#include "toolkit/controls/StdValArray.h"

#include "toolkit/controls/ContainerGrowth.h"

#include <cstdlib>
#include <cstring>

namespace SkinUI {

CStdValArray::CStdValArray(int elementSize, int preallocation)
    : m_pVoid(nullptr),
      m_iElementSize(elementSize > 0 ? elementSize : 0),
      m_nCount(0),
      m_nAllocated(0) {
  if (preallocation > 0 && m_iElementSize > 0) {
    m_pVoid = static_cast<unsigned char*>(
        std::malloc(static_cast<size_t>(preallocation) * static_cast<size_t>(m_iElementSize)));
    if (m_pVoid != nullptr) m_nAllocated = preallocation;
  }
}

CStdValArray::~CStdValArray() { std::free(m_pVoid); }

void CStdValArray::Empty() { m_nCount = 0; }

bool CStdValArray::IsEmpty() const { return m_nCount == 0; }

bool CStdValArray::Add(const void* record) {
  if (record == nullptr || m_iElementSize == 0) return false;
  void* storage = m_pVoid;
  if (!GrowStorage(&storage, &m_nCount, &m_nAllocated, static_cast<size_t>(m_iElementSize)))
    return false;
  m_pVoid = static_cast<unsigned char*>(storage);
  std::memcpy(m_pVoid + static_cast<size_t>(m_nCount - 1) * m_iElementSize, record,
              static_cast<size_t>(m_iElementSize));
  return true;
}

bool CStdValArray::Remove(int index) {
  if (index < 0 || index >= m_nCount) return false;
  --m_nCount;
  std::memmove(m_pVoid + static_cast<size_t>(index) * m_iElementSize,
               m_pVoid + static_cast<size_t>(index + 1) * m_iElementSize,
               static_cast<size_t>(m_nCount - index) * m_iElementSize);
  return true;
}

int CStdValArray::GetSize() const { return m_nCount; }

void* CStdValArray::GetData() { return m_pVoid; }

void* CStdValArray::GetAt(int index) const {
  if (index < 0 || index >= m_nCount) return nullptr;
  return m_pVoid + static_cast<size_t>(index) * m_iElementSize;
}

void* CStdValArray::operator[](int index) const {
  return m_pVoid + static_cast<size_t>(index) * m_iElementSize;
}

}  // namespace SkinUI
