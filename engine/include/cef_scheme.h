// Custom address schemes.
#pragma once

#include "include/cef_base.h"

// Passed to CefApp::OnRegisterCustomSchemes.
class CefSchemeRegistrar : public virtual CefBase {
 public:
  virtual bool AddCustomScheme(const CefString& scheme_name, bool is_standard, bool is_local,
                               bool is_display_isolated) = 0;
};
