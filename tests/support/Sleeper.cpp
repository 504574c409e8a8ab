// A program that does nothing but stay alive until it is ended (or for the
// number of seconds given), so that tests can run a process under any name.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 600;
  ::Sleep(seconds * 1000);
  return 0;
}
