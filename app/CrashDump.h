// Crash capture: a minidump of the whole process in "dump\" beside the
// executable, named after the local time of the crash, and no dialog.
#pragma once

#include <windows.h>
#include <dbghelp.h>

#include <string>

// The process's unhandled-exception filter.  Writes the dump and returns
// EXCEPTION_EXECUTE_HANDLER, so the system ends the process without its own
// error dialog and nothing restarts it.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exceptionPointers);

// Writes a minidump of the current process to path, replacing a file of that
// name.  Failures are not reported: they leave no dump, or a partial one.
void WriteDumpFile(EXCEPTION_POINTERS* exceptionPointers, const std::wstring& path);

// Keeps only the modules that the dumped memory refers to.
BOOL CALLBACK DumpCallback(PVOID parameter, const PMINIDUMP_CALLBACK_INPUT input,
                           PMINIDUMP_CALLBACK_OUTPUT output);
