// The root of every reference-counted engine interface.
#pragma once

#include <atomic>

#include "include/internal/cef_ptr.h"
#include "include/internal/cef_string.h"

class CefBase {
 public:
  // Takes a reference.
  virtual void AddRef() const = 0;
  // Drops a reference; true when it was the last one and the object is gone.
  virtual bool Release() const = 0;
  // True when the caller holds the only reference.
  virtual bool HasOneRef() const = 0;

 protected:
  virtual ~CefBase() {}
};

// The engine's own reference count for its objects.
class CefRefCount {
 public:
  CefRefCount() : m_count(0) {}
  void AddRef() const { m_count.fetch_add(1, std::memory_order_relaxed); }
  bool Release() const { return m_count.fetch_sub(1, std::memory_order_acq_rel) == 1; }
  bool HasOneRef() const { return m_count.load(std::memory_order_acquire) == 1; }

 private:
  mutable std::atomic<int> m_count;
};

// Implements CefBase for an engine class: deletes the object when its last
// reference is released.
#define IMPLEMENT_REFCOUNTING(ClassName)                             \
 public:                                                             \
  void AddRef() const override { ref_count_.AddRef(); }              \
  bool Release() const override {                                    \
    if (ref_count_.Release()) {                                      \
      delete static_cast<const ClassName*>(this);                    \
      return true;                                                   \
    }                                                                \
    return false;                                                    \
  }                                                                  \
  bool HasOneRef() const override { return ref_count_.HasOneRef(); } \
                                                                     \
 private:                                                            \
  CefRefCount ref_count_
