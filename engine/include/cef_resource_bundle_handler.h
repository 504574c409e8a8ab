// Supplies the engine's localised strings and built-in resources in place of
// its resource packs.
#pragma once

#include "include/cef_base.h"

class CefResourceBundleHandler : public virtual CefBase {
 public:
  // True with string set to replace the engine's text for message_id.
  virtual bool GetLocalizedString(int message_id, CefString& string) = 0;
  // True with data (which must stay valid) and data_size set.
  virtual bool GetDataResource(int resource_id, void*& data, size_t& data_size) = 0;
};
