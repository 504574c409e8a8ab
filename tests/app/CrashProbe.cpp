// A program that installs the crash filter the way the client does and then
// faults, so the tests can watch a real crash from outside.  The argument
// says where the fault happens: "main" (the default) or "thread".
#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "app/CrashDump.h"

namespace {

// Writing to an address in the never-mapped first page is an access
// violation the hardware raises, not a null dereference the compiler could
// trap on first.
void Fault() {
  volatile uintptr_t address = 0x10;
  *reinterpret_cast<volatile int*>(address) = 1;
}

DWORD WINAPI FaultingThread(LPVOID) {
  Fault();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::SetUnhandledExceptionFilter(CrashFilter);
  const bool onThread = argc > 1 && std::wcscmp(argv[1], L"thread") == 0;
  if (onThread) {
    HANDLE thread = ::CreateThread(nullptr, 0, FaultingThread, nullptr, 0, nullptr);
    ::WaitForSingleObject(thread, INFINITE);
    // Reaching this line means the fault did not end the process.
    return 3;
  }
  Fault();
  return 2;
}
