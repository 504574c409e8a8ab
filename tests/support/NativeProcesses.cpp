#include "tests/support/NativeProcesses.h"

#include <windows.h>

#include <set>
#include <sstream>

namespace test {
namespace {

std::string ReadProcFile(const std::wstring& path) {
  // The system's process files report no size; read to the end.
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    text.append(buffer, got);
  ::CloseHandle(file);
  return text;
}

std::vector<std::wstring> Entries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const HANDLE listing = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return names;
  do {
    if (entry.cFileName[0] != L'.') names.push_back(entry.cFileName);
  } while (::FindNextFileW(listing, &entry));
  ::FindClose(listing);
  return names;
}

// The parent's id from "<pid> (<name>) <state> <ppid> ...".
unsigned long ParentOf(unsigned long pid) {
  const std::string stat = ReadProcFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat");
  const size_t name = stat.rfind(") ");
  if (name == std::string::npos) return 0;
  std::istringstream rest(stat.substr(name + 2));
  std::string state;
  unsigned long parent = 0;
  rest >> state >> parent;
  return parent;
}

}  // namespace

bool NativeProcessRuns(unsigned long pid) {
  const std::string stat = ReadProcFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat");
  const size_t name = stat.rfind(") ");
  if (name == std::string::npos || name + 2 >= stat.size()) return false;
  return stat[name + 2] != 'Z' && stat[name + 2] != 'X';
}

std::vector<unsigned long> NativeProcessTree(unsigned long root) {
  std::vector<unsigned long> tree;
  if (root == 0 || !NativeProcessRuns(root)) return tree;
  std::vector<std::pair<unsigned long, unsigned long>> all;  // pid, parent
  for (const std::wstring& name : Entries(L"Z:\\proc")) {
    const unsigned long pid = std::wcstoul(name.c_str(), nullptr, 10);
    if (pid != 0) all.emplace_back(pid, ParentOf(pid));
  }
  tree.push_back(root);
  for (size_t i = 0; i < tree.size(); ++i) {
    for (const auto& process : all) {
      if (process.second == tree[i]) tree.push_back(process.first);
    }
  }
  return tree;
}

std::vector<unsigned> ListeningTcpPortsOf(const std::vector<unsigned long>& pids) {
  // The inodes of the sockets the processes hold, from each descriptor's
  // information file.
  std::set<std::string> inodes;
  for (const unsigned long pid : pids) {
    const std::wstring folder = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\fdinfo";
    for (const std::wstring& fd : Entries(folder)) {
      const std::string info = ReadProcFile(folder + L"\\" + fd);
      const size_t at = info.find("ino:");
      if (at == std::string::npos) continue;
      std::istringstream value(info.substr(at + 4));
      std::string inode;
      value >> inode;
      inodes.insert(inode);
    }
  }
  std::vector<unsigned> ports;
  for (const wchar_t* table : {L"Z:\\proc\\net\\tcp", L"Z:\\proc\\net\\tcp6"}) {
    std::istringstream lines(ReadProcFile(table));
    std::string line;
    std::getline(lines, line);  // the heading
    while (std::getline(lines, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
      fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >>
          timeout >> inode;
      if (state != "0A" || inodes.count(inode) == 0) continue;  // 0A: listening
      const size_t colon = local.rfind(':');
      if (colon == std::string::npos) continue;
      ports.push_back(static_cast<unsigned>(std::stoul(local.substr(colon + 1), nullptr, 16)));
    }
  }
  return ports;
}

unsigned long ProcessIdInFile(const std::wstring& path) {
  return std::strtoul(ReadProcFile(path).c_str(), nullptr, 10);
}

}  // namespace test
