#include "src/CefCommandLineImpl.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>

namespace engine {
namespace {

// The name a switch is stored under: no leading dashes, lower case.
std::wstring SwitchKey(const std::wstring& name) {
  size_t start = 0;
  while (start < name.size() && start < 2 && name[start] == L'-') ++start;
  std::wstring key = name.substr(start);
  std::transform(key.begin(), key.end(), key.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return key;
}

// Quotes an element the way the platform's argument splitter reads it back.
std::wstring QuoteIfNeeded(const std::wstring& element) {
  if (!element.empty() && element.find_first_of(L" \t\"") == std::wstring::npos) return element;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : element) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"')
      quoted.append(backslashes * 2 + 1, L'\\');
    else
      quoted.append(backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

}  // namespace

CefRefPtr<CefCommandLine> CefCommandLineImpl::Copy() {
  CefRefPtr<CefCommandLineImpl> copy = new CefCommandLineImpl();
  copy->m_switches = m_switches;
  copy->m_arguments = m_arguments;
  copy->m_program = m_program;
  return copy.get();
}

void CefCommandLineImpl::Reset() {
  m_switches.clear();
  m_arguments.clear();
  m_program.clear();
}

void CefCommandLineImpl::InitFromString(const CefString& command_line) {
  Reset();
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(command_line.c_str(), &count);
  if (argv == nullptr) return;
  for (int i = 0; i < count; ++i) {
    const std::wstring element = argv[i];
    if (i == 0) {
      m_program = element;
    } else if (element.size() > 2 && element.compare(0, 2, L"--") == 0) {
      const size_t equals = element.find(L'=');
      if (equals == std::wstring::npos) {
        AppendSwitch(element);
      } else {
        AppendSwitchWithValue(element.substr(0, equals), element.substr(equals + 1));
      }
    } else {
      m_arguments.push_back(element);
    }
  }
  ::LocalFree(argv);
}

CefString CefCommandLineImpl::GetCommandLineString() {
  std::wstring text = QuoteIfNeeded(m_program);
  for (const std::wstring& element : Elements()) text += L" " + QuoteIfNeeded(element);
  return text;
}

bool CefCommandLineImpl::HasSwitch(const CefString& name) {
  const std::wstring key = SwitchKey(name.ToWString());
  return std::any_of(m_switches.begin(), m_switches.end(),
                     [&](const auto& entry) { return entry.first == key; });
}

CefString CefCommandLineImpl::GetSwitchValue(const CefString& name) {
  const std::wstring key = SwitchKey(name.ToWString());
  for (const auto& entry : m_switches) {
    if (entry.first == key) return entry.second;
  }
  return CefString();
}

void CefCommandLineImpl::GetSwitches(SwitchMap& switches) {
  switches.clear();
  for (const auto& entry : m_switches) switches[entry.first] = entry.second;
}

void CefCommandLineImpl::AppendSwitch(const CefString& name) { AppendSwitchWithValue(name, L""); }

void CefCommandLineImpl::AppendSwitchWithValue(const CefString& name, const CefString& value) {
  const std::wstring key = SwitchKey(name.ToWString());
  if (key.empty()) return;
  for (auto& entry : m_switches) {
    if (entry.first == key) {
      entry.second = value.ToWString();
      return;
    }
  }
  m_switches.emplace_back(key, value.ToWString());
}

void CefCommandLineImpl::GetArguments(ArgumentList& arguments) {
  arguments.assign(m_arguments.begin(), m_arguments.end());
}

void CefCommandLineImpl::AppendArgument(const CefString& argument) {
  m_arguments.push_back(argument.ToWString());
}

std::vector<std::wstring> CefCommandLineImpl::Elements() const {
  std::vector<std::wstring> elements;
  for (const auto& entry : m_switches) {
    elements.push_back(entry.second.empty() ? L"--" + entry.first
                                            : L"--" + entry.first + L"=" + entry.second);
  }
  elements.insert(elements.end(), m_arguments.begin(), m_arguments.end());
  return elements;
}

}  // namespace engine

CefRefPtr<CefCommandLine> CefCommandLine::CreateCommandLine() {
  return new engine::CefCommandLineImpl();
}
