// Rewrites a response body as it arrives.
#pragma once

#include "include/cef_base.h"
#include "include/internal/cef_types.h"

// Called on the browser process's IO thread.
class CefResponseFilter : public virtual CefBase {
 public:
  typedef cef_response_filter_status_t FilterStatus;

  // False when the filter cannot work; the body then passes unchanged.
  virtual bool InitFilter() = 0;
  // Reads from data_in (null at the end of the body) and writes to data_out,
  // reporting how much of each it used.
  virtual FilterStatus Filter(void* data_in, size_t data_in_size, size_t& data_in_read,
                              void* data_out, size_t data_out_size, size_t& data_out_written) = 0;
};
