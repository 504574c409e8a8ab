// The owner of a WinINet handle (session, connection or request).
#pragma once

#include <windows.h>
#include <wininet.h>

#include "util/UniqueHandle.h"

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { ::InternetCloseHandle(handle); }
};

using CInternetHandle = UniqueHandle<InternetHandleTraits>;
