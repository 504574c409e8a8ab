// Thrown by the internet session classes when the transport fails: the
// platform's error code of the failed call.
#pragma once

#include <windows.h>

class CInternetException {
 public:
  CInternetException(DWORD_PTR context, DWORD error) : m_dwContext(context), m_dwError(error) {}

  DWORD_PTR m_dwContext;
  DWORD m_dwError;
};

// Throws the exception for the calling thread's last error.
[[noreturn]] void AfxThrowInternetException(DWORD_PTR context, DWORD error = 0);
