// A process's command line: the program, switches ("--name" or
// "--name=value") and plain arguments.  Switch names are compared without
// their leading dashes and without regard to letter case, so
// AppendSwitch("--disable-extensions") and AppendSwitch("disable-extensions")
// name the same switch.
#pragma once

#include <map>
#include <vector>

#include "include/cef_base.h"

class CefCommandLine : public virtual CefBase {
 public:
  typedef std::vector<CefString> ArgumentList;
  typedef std::map<CefString, CefString> SwitchMap;

  // A new, empty, writable command line.
  static CefRefPtr<CefCommandLine> CreateCommandLine();

  virtual bool IsValid() = 0;
  virtual bool IsReadOnly() = 0;
  virtual CefRefPtr<CefCommandLine> Copy() = 0;
  // Parses a Windows command line (the program first, quoting rules of the
  // platform's argument splitter).
  virtual void InitFromString(const CefString& command_line) = 0;
  virtual void Reset() = 0;

  // The whole command line as one string, quoted where an element needs it.
  virtual CefString GetCommandLineString() = 0;
  virtual CefString GetProgram() = 0;
  virtual void SetProgram(const CefString& program) = 0;

  virtual bool HasSwitches() = 0;
  virtual bool HasSwitch(const CefString& name) = 0;
  virtual CefString GetSwitchValue(const CefString& name) = 0;
  virtual void GetSwitches(SwitchMap& switches) = 0;
  virtual void AppendSwitch(const CefString& name) = 0;
  virtual void AppendSwitchWithValue(const CefString& name, const CefString& value) = 0;

  virtual bool HasArguments() = 0;
  virtual void GetArguments(ArgumentList& arguments) = 0;
  virtual void AppendArgument(const CefString& argument) = 0;
};
