// Starting another program: a Windows program, or under Wine a program of
// the host system (the shell that starts the browser program, `kill`).
#pragma once

#include <windows.h>

#include <string>

#include "util/UniqueHandle.h"

namespace engine {

struct ProgramStartOptions {
  DWORD flags = 0;
  bool inheritHandles = false;
  // Null for a default one; may be the head of a STARTUPINFOEXW.
  STARTUPINFOW* startup = nullptr;
};

// Starts the command line as a program; false when it could not start.
// A Windows program's process handle goes to `process` when one is given.
// A program of the host system (`hostProgram`) never has one: Wine starts
// it without a Windows process.
bool StartProgram(std::wstring commandLine, bool hostProgram, const ProgramStartOptions& options,
                  CKernelHandle* process = nullptr);

}  // namespace engine
