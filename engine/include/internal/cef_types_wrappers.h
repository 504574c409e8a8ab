// C++ wrappers of the engine's C structures.  A wrapper starts zero-filled
// with its size set, frees the strings it holds when it goes, and copies
// them when it is copied, so that a copy never shares text with its source.
#pragma once

#include <string.h>

#include "include/internal/cef_string.h"
#include "include/internal/cef_types.h"

typedef cef_process_id_t CefProcessId;
typedef cef_thread_id_t CefThreadId;
typedef cef_value_type_t CefValueType;
typedef cef_color_t CefColor;

// The wrapper's behaviour comes from traits: init (called on the zero-filled
// structure), clear (frees what the structure holds) and set (copies every
// field, the strings deep when copy is true).
template <class traits>
class CefStructBase : public traits::struct_type {
 public:
  typedef typename traits::struct_type struct_type;

  CefStructBase() : struct_type(), attached_to_(nullptr) { Init(); }
  virtual ~CefStructBase() {
    // While attached, the contents still belong to the structure attached to.
    if (attached_to_ == nullptr) traits::clear(this);
  }

  CefStructBase(const CefStructBase& r) : struct_type(), attached_to_(nullptr) {
    Init();
    *this = r;
  }
  CefStructBase(const struct_type& r)  // NOLINT: implicit, as the engine's API has it
      : struct_type(), attached_to_(nullptr) {
    Init();
    *this = r;
  }

  // Shares the contents of source, which keeps owning them: this object
  // does not free them.
  void AttachTo(struct_type& source) {
    if (attached_to_ == nullptr) traits::clear(this);
    attached_to_ = &source;
    memcpy(static_cast<struct_type*>(this), &source, sizeof(struct_type));
  }

  // Moves the contents into target (whose own contents are freed first,
  // unless it is the structure this object is attached to); this object is
  // left empty and unattached.
  void DetachTo(struct_type& target) {
    if (attached_to_ != &target) traits::clear(&target);
    memcpy(&target, static_cast<struct_type*>(this), sizeof(struct_type));
    Init();
  }

  void Set(const struct_type& source, bool copy) { traits::set(&source, this, copy); }

  CefStructBase& operator=(const CefStructBase& s) {
    return operator=(static_cast<const struct_type&>(s));
  }
  CefStructBase& operator=(const struct_type& s) {
    Set(s, true);
    return *this;
  }

 protected:
  void Init() {
    memset(static_cast<struct_type*>(this), 0, sizeof(struct_type));
    attached_to_ = nullptr;
    traits::init(this);
  }
  struct_type* attached_to_;
};

// Copies a string field, deep or as a reference.
inline void CefStructCopyString(const cef_string_t& src, cef_string_t* target, bool copy) {
  cef_string_set(src.str, src.length, target, copy ? 1 : 0);
}

struct CefPointTraits {
  typedef cef_point_t struct_type;
  static inline void init(struct_type*) {}
  static inline void clear(struct_type*) {}
  static inline void set(const struct_type* src, struct_type* target, bool) { *target = *src; }
};

class CefPoint : public CefStructBase<CefPointTraits> {
 public:
  typedef CefStructBase<CefPointTraits> parent;
  CefPoint() : parent() {}
  CefPoint(const cef_point_t& r) : parent(r) {}  // NOLINT
  CefPoint(int x, int y) : parent() { Set(x, y); }
  bool IsEmpty() const { return x <= 0 && y <= 0; }
  void Set(int x_val, int y_val) { x = x_val, y = y_val; }
};

inline bool operator==(const CefPoint& a, const CefPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const CefPoint& a, const CefPoint& b) { return !(a == b); }

struct CefRectTraits {
  typedef cef_rect_t struct_type;
  static inline void init(struct_type*) {}
  static inline void clear(struct_type*) {}
  static inline void set(const struct_type* src, struct_type* target, bool) { *target = *src; }
};

class CefRect : public CefStructBase<CefRectTraits> {
 public:
  typedef CefStructBase<CefRectTraits> parent;
  CefRect() : parent() {}
  CefRect(const cef_rect_t& r) : parent(r) {}  // NOLINT
  CefRect(int x, int y, int width, int height) : parent() { Set(x, y, width, height); }
  bool IsEmpty() const { return width <= 0 || height <= 0; }
  void Set(int x_val, int y_val, int width_val, int height_val) {
    x = x_val, y = y_val, width = width_val, height = height_val;
  }
};

inline bool operator==(const CefRect& a, const CefRect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
inline bool operator!=(const CefRect& a, const CefRect& b) { return !(a == b); }

struct CefSizeTraits {
  typedef cef_size_t struct_type;
  static inline void init(struct_type*) {}
  static inline void clear(struct_type*) {}
  static inline void set(const struct_type* src, struct_type* target, bool) { *target = *src; }
};

class CefSize : public CefStructBase<CefSizeTraits> {
 public:
  typedef CefStructBase<CefSizeTraits> parent;
  CefSize() : parent() {}
  CefSize(const cef_size_t& r) : parent(r) {}  // NOLINT
  CefSize(int width, int height) : parent() { Set(width, height); }
  bool IsEmpty() const { return width <= 0 || height <= 0; }
  void Set(int width_val, int height_val) { width = width_val, height = height_val; }
};

inline bool operator==(const CefSize& a, const CefSize& b) {
  return a.width == b.width && a.height == b.height;
}
inline bool operator!=(const CefSize& a, const CefSize& b) { return !(a == b); }

struct CefTimeTraits {
  typedef cef_time_t struct_type;
  static inline void init(struct_type*) {}
  static inline void clear(struct_type*) {}
  static inline void set(const struct_type* src, struct_type* target, bool) { *target = *src; }
};

// A UTC time.  The conversions leave the time unchanged when they fail.
class CefTime : public CefStructBase<CefTimeTraits> {
 public:
  typedef CefStructBase<CefTimeTraits> parent;
  CefTime() : parent() {}
  CefTime(const cef_time_t& r) : parent(r) {}  // NOLINT
  explicit CefTime(time_t r) : parent() { SetTimeT(r); }
  explicit CefTime(double r) : parent() { SetDoubleT(r); }

  bool SetTimeT(time_t r) { return cef_time_from_timet(r, this) != 0; }
  time_t GetTimeT() const {
    time_t time = 0;
    cef_time_to_timet(this, &time);
    return time;
  }
  // Seconds since 1970-01-01 00:00 UTC, with a fraction.
  bool SetDoubleT(double r) { return cef_time_from_doublet(r, this) != 0; }
  double GetDoubleT() const {
    double time = 0;
    cef_time_to_doublet(this, &time);
    return time;
  }
  void Now() { cef_time_now(this); }
  // This time minus other, in milliseconds.
  long long Delta(const CefTime& other) const {
    long long delta = 0;
    cef_time_delta(&other, this, &delta);
    return delta;
  }
};

struct CefSettingsTraits {
  typedef cef_settings_t struct_type;

  static inline void init(struct_type* s) { s->size = sizeof(struct_type); }

  static inline void clear(struct_type* s) {
    cef_string_clear(&s->browser_subprocess_path);
    cef_string_clear(&s->cache_path);
    cef_string_clear(&s->user_data_path);
    cef_string_clear(&s->user_agent);
    cef_string_clear(&s->product_version);
    cef_string_clear(&s->locale);
    cef_string_clear(&s->log_file);
    cef_string_clear(&s->javascript_flags);
    cef_string_clear(&s->resources_dir_path);
    cef_string_clear(&s->locales_dir_path);
    cef_string_clear(&s->accept_language_list);
  }

  static inline void set(const struct_type* src, struct_type* target, bool copy) {
    if (src == target) return;
    target->single_process = src->single_process;
    target->no_sandbox = src->no_sandbox;
    CefStructCopyString(src->browser_subprocess_path, &target->browser_subprocess_path, copy);
    target->multi_threaded_message_loop = src->multi_threaded_message_loop;
    target->windowless_rendering_enabled = src->windowless_rendering_enabled;
    target->command_line_args_disabled = src->command_line_args_disabled;
    CefStructCopyString(src->cache_path, &target->cache_path, copy);
    CefStructCopyString(src->user_data_path, &target->user_data_path, copy);
    target->persist_session_cookies = src->persist_session_cookies;
    CefStructCopyString(src->user_agent, &target->user_agent, copy);
    CefStructCopyString(src->product_version, &target->product_version, copy);
    CefStructCopyString(src->locale, &target->locale, copy);
    CefStructCopyString(src->log_file, &target->log_file, copy);
    target->log_severity = src->log_severity;
    CefStructCopyString(src->javascript_flags, &target->javascript_flags, copy);
    CefStructCopyString(src->resources_dir_path, &target->resources_dir_path, copy);
    CefStructCopyString(src->locales_dir_path, &target->locales_dir_path, copy);
    target->pack_loading_disabled = src->pack_loading_disabled;
    target->remote_debugging_port = src->remote_debugging_port;
    target->uncaught_exception_stack_size = src->uncaught_exception_stack_size;
    target->context_safety_implementation = src->context_safety_implementation;
    target->ignore_certificate_errors = src->ignore_certificate_errors;
    target->background_color = src->background_color;
    CefStructCopyString(src->accept_language_list, &target->accept_language_list, copy);
  }
};

typedef CefStructBase<CefSettingsTraits> CefSettings;

struct CefBrowserSettingsTraits {
  typedef cef_browser_settings_t struct_type;

  static inline void init(struct_type* s) { s->size = sizeof(struct_type); }

  static inline void clear(struct_type* s) {
    cef_string_clear(&s->standard_font_family);
    cef_string_clear(&s->fixed_font_family);
    cef_string_clear(&s->serif_font_family);
    cef_string_clear(&s->sans_serif_font_family);
    cef_string_clear(&s->cursive_font_family);
    cef_string_clear(&s->fantasy_font_family);
    cef_string_clear(&s->default_encoding);
    cef_string_clear(&s->accept_language_list);
  }

  static inline void set(const struct_type* src, struct_type* target, bool copy) {
    if (src == target) return;
    target->windowless_frame_rate = src->windowless_frame_rate;

    CefStructCopyString(src->standard_font_family, &target->standard_font_family, copy);
    CefStructCopyString(src->fixed_font_family, &target->fixed_font_family, copy);
    CefStructCopyString(src->serif_font_family, &target->serif_font_family, copy);
    CefStructCopyString(src->sans_serif_font_family, &target->sans_serif_font_family, copy);
    CefStructCopyString(src->cursive_font_family, &target->cursive_font_family, copy);
    CefStructCopyString(src->fantasy_font_family, &target->fantasy_font_family, copy);
    target->default_font_size = src->default_font_size;
    target->default_fixed_font_size = src->default_fixed_font_size;
    target->minimum_font_size = src->minimum_font_size;
    target->minimum_logical_font_size = src->minimum_logical_font_size;
    CefStructCopyString(src->default_encoding, &target->default_encoding, copy);

    target->remote_fonts = src->remote_fonts;
    target->javascript = src->javascript;
    target->javascript_open_windows = src->javascript_open_windows;
    target->javascript_close_windows = src->javascript_close_windows;
    target->javascript_access_clipboard = src->javascript_access_clipboard;
    target->javascript_dom_paste = src->javascript_dom_paste;
    target->caret_browsing = src->caret_browsing;
    target->java = src->java;
    target->plugins = src->plugins;
    target->universal_access_from_file_urls = src->universal_access_from_file_urls;
    target->file_access_from_file_urls = src->file_access_from_file_urls;
    target->web_security = src->web_security;
    target->image_loading = src->image_loading;
    target->image_shrink_standalone_to_fit = src->image_shrink_standalone_to_fit;
    target->text_area_resize = src->text_area_resize;
    target->tab_to_links = src->tab_to_links;
    target->local_storage = src->local_storage;
    target->databases = src->databases;
    target->application_cache = src->application_cache;
    target->webgl = src->webgl;

    target->background_color = src->background_color;
    CefStructCopyString(src->accept_language_list, &target->accept_language_list, copy);
  }
};

typedef CefStructBase<CefBrowserSettingsTraits> CefBrowserSettings;

struct CefPopupFeaturesTraits {
  typedef cef_popup_features_t struct_type;

  static inline void init(struct_type* s) {
    s->menuBarVisible = true;
    s->statusBarVisible = true;
    s->toolBarVisible = true;
    s->locationBarVisible = true;
    s->scrollbarsVisible = true;
    s->resizable = true;
  }
  static inline void clear(struct_type*) {}
  static inline void set(const struct_type* src, struct_type* target, bool) { *target = *src; }
};

typedef CefStructBase<CefPopupFeaturesTraits> CefPopupFeatures;

struct CefKeyEventTraits {
  typedef cef_key_event_t struct_type;
  static inline void init(struct_type*) {}
  static inline void clear(struct_type*) {}
  static inline void set(const struct_type* src, struct_type* target, bool) { *target = *src; }
};

typedef CefStructBase<CefKeyEventTraits> CefKeyEvent;

struct CefMouseEventTraits {
  typedef cef_mouse_event_t struct_type;
  static inline void init(struct_type*) {}
  static inline void clear(struct_type*) {}
  static inline void set(const struct_type* src, struct_type* target, bool) { *target = *src; }
};

typedef CefStructBase<CefMouseEventTraits> CefMouseEvent;
