#include "app/CrashDump.h"

#include "app/AppConfig.h"
#include "util/FileUtil.h"
#include "util/LocalTime.h"
#include "util/TextUtil.h"
#include "util/UniqueHandle.h"

namespace {

// Scanned memory plus what it points to, without the rest of the heap.
constexpr MINIDUMP_TYPE kDumpType =
    static_cast<MINIDUMP_TYPE>(MiniDumpScanMemory | MiniDumpWithIndirectlyReferencedMemory);

}  // namespace

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exceptionPointers) {
  FILETIME now = {};
  ::GetSystemTimeAsFileTime(&now);
  const int64_t hundredNanoseconds =
      static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  const LocalTimeFields local = LocalTimeFromMicroseconds(hundredNanoseconds / 10);

  const std::wstring fileName =
      FormatString(L"%04d%02d%02d_%02d%02d%02d.dmp", local.year, local.month, local.day, local.hour,
                   local.minute, local.second);
  const std::wstring folder = GetModuleDirectory() + L"dump\\";
  if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    CreateDirectoryTree(folder.c_str());
  }
  WriteDumpFile(exceptionPointers, folder + fileName);
  return EXCEPTION_EXECUTE_HANDLER;
}

void WriteDumpFile(EXCEPTION_POINTERS* exceptionPointers, const std::wstring& path) {
  const CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  // Handing the dump writer an invalid handle would only fail later and
  // less clearly; with no file there is nothing to write.
  if (!file) return;

  MINIDUMP_EXCEPTION_INFORMATION exception = {};
  exception.ThreadId = ::GetCurrentThreadId();
  exception.ExceptionPointers = exceptionPointers;
  exception.ClientPointers = FALSE;

  MINIDUMP_CALLBACK_INFORMATION callback = {};
  callback.CallbackRoutine = DumpCallback;
  callback.CallbackParam = nullptr;

  ::MiniDumpWriteDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file.Get(), kDumpType,
                      exceptionPointers != nullptr ? &exception : nullptr, nullptr, &callback);
}

BOOL CALLBACK DumpCallback(PVOID, const PMINIDUMP_CALLBACK_INPUT input,
                           PMINIDUMP_CALLBACK_OUTPUT output) {
  if (input == nullptr || output == nullptr) return FALSE;
  switch (input->CallbackType) {
    case ModuleCallback:
      if (!(output->ModuleWriteFlags & ModuleReferencedByMemory)) {
        output->ModuleWriteFlags &= ~ModuleWriteModule;
      }
      return TRUE;
    case ThreadCallback:
    case ThreadExCallback:
    case IncludeThreadCallback:
    case IncludeModuleCallback:
      return TRUE;
    default:
      return FALSE;
  }
}
