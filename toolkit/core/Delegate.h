// Callbacks that controls keep in lists: a delegate is an object and a
// function taking an opaque parameter and answering true to go on; an
// event source is an ordered list of delegates that are called in turn
// until one answers false.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>

#include "toolkit/controls/StdPtrArray.h"

namespace SkinUI {

class CDelegateBase {
 public:
  CDelegateBase(const CDelegateBase& source);
  CDelegateBase& operator=(const CDelegateBase&) = delete;
  virtual ~CDelegateBase();
  // A new heap copy, or null when memory runs out.
  virtual CDelegateBase* Copy() const = 0;
  bool Equals(const CDelegateBase& other) const;
  bool operator()(void* param);

 protected:
  // The function is kept as its bytes, so that plain functions and member
  // functions compare alike.
  static constexpr size_t kMaxFunctionSize = 16;
  CDelegateBase(void* pObject, const void* pFunction, size_t functionSize);
  virtual bool Invoke(void* param) = 0;
  void* GetTarget() const { return m_pObject; }

 private:
  void* m_pObject;
  unsigned char m_function[kMaxFunctionSize];
  size_t m_functionSize;
};

// A plain function.
class CDelegateStatic : public CDelegateBase {
 public:
  typedef bool (*Fn)(void*);
  explicit CDelegateStatic(Fn pFn);
  CDelegateBase* Copy() const override;

 protected:
  bool Invoke(void* param) override;

 private:
  Fn m_pFn;
};

// A member function of an object.
template <class O, class T>
class CDelegate : public CDelegateBase {
 public:
  typedef bool (T::*Fn)(void*);
  CDelegate(O* pObj, Fn pFn) : CDelegateBase(pObj, &pFn, sizeof pFn), m_pFn(pFn) {
    static_assert(sizeof(Fn) <= kMaxFunctionSize, "member function pointer too large");
  }
  CDelegateBase* Copy() const override { return new (std::nothrow) CDelegate(*this); }

 protected:
  bool Invoke(void* param) override {
    O* pObject = static_cast<O*>(GetTarget());
    return (pObject->*m_pFn)(param);
  }

 private:
  Fn m_pFn;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* pObject, bool (T::*pFn)(void*)) {
  return CDelegate<O, T>(pObject, pFn);
}

inline CDelegateStatic MakeDelegate(bool (*pFn)(void*)) { return CDelegateStatic(pFn); }

class CEventSource {
 public:
  typedef bool (*FnType)(void*);

  CEventSource() = default;
  CEventSource(const CEventSource&) = delete;
  CEventSource& operator=(const CEventSource&) = delete;
  ~CEventSource();

  // True while it holds at least one delegate.
  explicit operator bool() const;
  // Adds a copy unless an equal delegate is present.
  void operator+=(const CDelegateBase& d);
  void operator+=(FnType pFn);
  // Removes (and deletes) the first equal delegate.
  void operator-=(const CDelegateBase& d);
  void operator-=(FnType pFn);
  // Calls the delegates in order; false as soon as one answers false.
  bool operator()(void* param);

 private:
  // Delegates removed while the list is being called are only blanked
  // then, and freed once the outermost call has finished.
  void Compact();

  CStdPtrArray m_aDelegates;
  CStdPtrArray m_aRemoved;
  int m_nCalling = 0;
};

}  // namespace SkinUI
