#include "framework/CInternetException.h"

void AfxThrowInternetException(DWORD_PTR context, DWORD error) {
  throw CInternetException(context, error != 0 ? error : ::GetLastError());
}
