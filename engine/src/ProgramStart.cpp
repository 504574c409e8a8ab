#include "src/ProgramStart.h"

#include <cstddef>
#include <utility>

namespace engine {
namespace {

// Comfortably more than the system's process creation uses below its
// caller's frame.
constexpr size_t kClearedStackBytes = 32 * 1024;

// Zeroes the stack below the caller's frame, where the next call's frames
// will lie.
__attribute__((noinline)) void ClearStackBelow() {
  [[maybe_unused]] volatile unsigned char area[kClearedStackBytes];
  for (size_t i = 0; i < kClearedStackBytes; ++i) area[i] = 0;
}

}  // namespace

bool StartProgram(std::wstring commandLine, bool hostProgram, const ProgramStartOptions& options,
                  CKernelHandle* process) {
  STARTUPINFOW defaultStartup = {};
  defaultStartup.cb = sizeof(defaultStartup);
  STARTUPINFOW* startup = options.startup != nullptr ? options.startup : &defaultStartup;
  PROCESS_INFORMATION info = {};
  // Wine 8 starts a program of the host system without filling in the
  // process information: the handles and ids it reports are whatever its
  // own stack held, and it even resumes that "thread".  Those values are
  // often handles of this program's (an event another thread waits on, a
  // thread, a process), which closing, waiting on or ending would break.
  // So they are never used, and the stack is cleared first, so that what
  // Wine resumes and reports is no handle at all.
  if (hostProgram) ClearStackBelow();
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr,
                        options.inheritHandles ? TRUE : FALSE, options.flags, nullptr, nullptr,
                        startup, &info)) {
    return false;
  }
  if (hostProgram) return true;
  const CKernelHandle thread(info.hThread);
  CKernelHandle started(info.hProcess);
  if (process != nullptr) *process = std::move(started);
  return true;
}

}  // namespace engine
