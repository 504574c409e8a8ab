// A counted reference to an engine object or to one of the system's engine
// callback objects: AddRef when taken, Release when dropped.
#pragma once

#include <cstddef>
#include <utility>

template <class T>
class CefRefPtr {
 public:
  CefRefPtr() : m_ptr(nullptr) {}
  CefRefPtr(T* p) : m_ptr(p) {  // NOLINT: implicit, as the engine's API has it
    if (m_ptr) m_ptr->AddRef();
  }
  CefRefPtr(const CefRefPtr& other) : CefRefPtr(other.m_ptr) {}
  template <typename U>
  CefRefPtr(const CefRefPtr<U>& other) : CefRefPtr(other.get()) {}
  CefRefPtr(CefRefPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
  ~CefRefPtr() {
    if (m_ptr) m_ptr->Release();
  }

  CefRefPtr& operator=(T* p) {
    // Take the new reference first: p may be the object the old one keeps alive.
    if (p) p->AddRef();
    T* old = std::exchange(m_ptr, p);
    if (old) old->Release();
    return *this;
  }
  CefRefPtr& operator=(const CefRefPtr& other) { return *this = other.m_ptr; }
  CefRefPtr& operator=(CefRefPtr&& other) noexcept {
    if (this != &other) {
      T* old = std::exchange(m_ptr, std::exchange(other.m_ptr, nullptr));
      if (old) old->Release();
    }
    return *this;
  }

  T* get() const { return m_ptr; }
  operator T*() const { return m_ptr; }
  T* operator->() const { return m_ptr; }
  T& operator*() const { return *m_ptr; }

  void swap(CefRefPtr& other) { std::swap(m_ptr, other.m_ptr); }

 private:
  T* m_ptr;
};
