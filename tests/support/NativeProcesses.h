// The machine's own (native) processes as the tests see them under Wine,
// through the system's process files on drive Z:.
#pragma once

#include <string>
#include <vector>

namespace test {

// Whether the process runs (an ended one not yet reaped counts as ended).
bool NativeProcessRuns(unsigned long pid);
// The process and all its descendants that run now.
std::vector<unsigned long> NativeProcessTree(unsigned long root);
// The TCP ports (IPv4 and IPv6) on which any of the processes listens.
std::vector<unsigned> ListeningTcpPortsOf(const std::vector<unsigned long>& pids);
// The process id a file holds as text, or 0.
unsigned long ProcessIdInFile(const std::wstring& path);

}  // namespace test
