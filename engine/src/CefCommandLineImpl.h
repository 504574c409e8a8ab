// The engine's command line object.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "include/cef_command_line.h"

namespace engine {

class CefCommandLineImpl : public CefCommandLine {
 public:
  CefCommandLineImpl() = default;

  bool IsValid() override { return true; }
  bool IsReadOnly() override { return false; }
  CefRefPtr<CefCommandLine> Copy() override;
  void InitFromString(const CefString& command_line) override;
  void Reset() override;

  CefString GetCommandLineString() override;
  CefString GetProgram() override { return m_program; }
  void SetProgram(const CefString& program) override { m_program = program.ToWString(); }

  bool HasSwitches() override { return !m_switches.empty(); }
  bool HasSwitch(const CefString& name) override;
  CefString GetSwitchValue(const CefString& name) override;
  void GetSwitches(SwitchMap& switches) override;
  void AppendSwitch(const CefString& name) override;
  void AppendSwitchWithValue(const CefString& name, const CefString& value) override;

  bool HasArguments() override { return !m_arguments.empty(); }
  void GetArguments(ArgumentList& arguments) override;
  void AppendArgument(const CefString& argument) override;

  // The switches and arguments in the order they were given, each as the
  // text it takes on a command line ("--name", "--name=value", argument).
  std::vector<std::wstring> Elements() const;

 private:
  // Switches keep their order of appearance; a repeated name replaces the
  // earlier value in place.
  std::vector<std::pair<std::wstring, std::wstring>> m_switches;
  std::vector<std::wstring> m_arguments;
  std::wstring m_program;

  IMPLEMENT_REFCOUNTING(CefCommandLineImpl);
};

}  // namespace engine
