// A lock over a Windows critical section, and scoped holders for it.  The
// lock may be taken again by the thread that holds it.
#pragma once

#include <windows.h>

namespace base {

class Lock {
 public:
  Lock() { ::InitializeCriticalSectionAndSpinCount(&m_section, 2000); }
  ~Lock() { ::DeleteCriticalSection(&m_section); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  void Acquire() { ::EnterCriticalSection(&m_section); }
  void Release() { ::LeaveCriticalSection(&m_section); }
  // True when it took the lock without waiting.
  bool Try() { return ::TryEnterCriticalSection(&m_section) != FALSE; }
  // Kept for code written against the engine's lock; it checks nothing.
  void AssertAcquired() const {}

 private:
  CRITICAL_SECTION m_section;
};

// Holds lock for its own lifetime.
class AutoLock {
 public:
  explicit AutoLock(Lock& lock) : m_lock(lock) { m_lock.Acquire(); }
  ~AutoLock() { m_lock.Release(); }
  AutoLock(const AutoLock&) = delete;
  AutoLock& operator=(const AutoLock&) = delete;

 private:
  Lock& m_lock;
};

// Lets go of a held lock for its own lifetime.
class AutoUnlock {
 public:
  explicit AutoUnlock(Lock& lock) : m_lock(lock) { m_lock.Release(); }
  ~AutoUnlock() { m_lock.Acquire(); }
  AutoUnlock(const AutoUnlock&) = delete;
  AutoUnlock& operator=(const AutoUnlock&) = delete;

 private:
  Lock& m_lock;
};

}  // namespace base
