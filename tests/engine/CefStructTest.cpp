#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "include/internal/cef_types_wrappers.h"
#include "include/internal/cef_win.h"

namespace {

int g_freed = 0;

void CountingDtor(wchar_t* str) {
  ++g_freed;
  delete[] str;
}

// Puts text into a field the way the engine's C side would: owned, with a
// dtor that counts its release.
void SetCounted(cef_string_t* field, const std::wstring& text) {
  cef_string_clear(field);
  field->str = new wchar_t[text.size() + 1];
  std::memcpy(field->str, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  field->length = text.size();
  field->dtor = &CountingDtor;
}

std::wstring Text(const cef_string_t& str) { return std::wstring(str.str, str.length); }

typedef cef_string_t cef_settings_t::*SettingsText;
const SettingsText kSettingsTexts[] = {
    &cef_settings_t::browser_subprocess_path,
    &cef_settings_t::cache_path,
    &cef_settings_t::user_data_path,
    &cef_settings_t::user_agent,
    &cef_settings_t::product_version,
    &cef_settings_t::locale,
    &cef_settings_t::log_file,
    &cef_settings_t::javascript_flags,
    &cef_settings_t::resources_dir_path,
    &cef_settings_t::locales_dir_path,
    &cef_settings_t::accept_language_list,
};

typedef int cef_settings_t::*SettingsNumber;
const SettingsNumber kSettingsNumbers[] = {
    &cef_settings_t::single_process,
    &cef_settings_t::no_sandbox,
    &cef_settings_t::multi_threaded_message_loop,
    &cef_settings_t::windowless_rendering_enabled,
    &cef_settings_t::command_line_args_disabled,
    &cef_settings_t::persist_session_cookies,
    &cef_settings_t::pack_loading_disabled,
    &cef_settings_t::remote_debugging_port,
    &cef_settings_t::uncaught_exception_stack_size,
    &cef_settings_t::context_safety_implementation,
    &cef_settings_t::ignore_certificate_errors,
};

class CefStructs : public ::testing::Test {
 protected:
  void SetUp() override { g_freed = 0; }
};

TEST_F(CefStructs, SettingsStartEmptyWithTheirSize) {
  CefSettings settings;
  EXPECT_EQ(settings.size, sizeof(cef_settings_t));
  for (SettingsText text : kSettingsTexts) {
    EXPECT_EQ((settings.*text).length, 0u);
    EXPECT_EQ((settings.*text).str, nullptr);
  }
  for (SettingsNumber number : kSettingsNumbers) EXPECT_EQ(settings.*number, 0);
  EXPECT_EQ(settings.log_severity, LOGSEVERITY_DEFAULT);
  EXPECT_EQ(settings.background_color, 0u);
}

TEST_F(CefStructs, SettingsCopyEveryFieldAndFreeEachTextOnce) {
  const size_t textCount = sizeof(kSettingsTexts) / sizeof(kSettingsTexts[0]);
  {
    CefSettings original;
    for (size_t i = 0; i < textCount; ++i)
      SetCounted(&(original.*kSettingsTexts[i]), L"text " + std::to_wstring(i));
    int value = 1;
    for (SettingsNumber number : kSettingsNumbers) original.*number = value++;
    original.log_severity = LOGSEVERITY_WARNING;
    original.background_color = 0xFF102030;
    {
      CefSettings copy(original);
      CefSettings assigned;
      CefString(&assigned.cache_path) = "replaced by the assignment";
      assigned = original;
      for (const CefSettings* target : {&copy, &assigned}) {
        for (size_t i = 0; i < textCount; ++i) {
          SCOPED_TRACE(i);
          const cef_string_t& field = target->*kSettingsTexts[i];
          EXPECT_EQ(Text(field), L"text " + std::to_wstring(i));
          EXPECT_NE(field.str, (original.*kSettingsTexts[i]).str);
        }
        value = 1;
        for (SettingsNumber number : kSettingsNumbers) EXPECT_EQ(target->*number, value++);
        EXPECT_EQ(target->log_severity, LOGSEVERITY_WARNING);
        EXPECT_EQ(target->background_color, 0xFF102030u);
        EXPECT_EQ(target->size, sizeof(cef_settings_t));
      }
    }
    // The copies freed their own texts, not the original's.
    EXPECT_EQ(g_freed, 0);
    for (size_t i = 0; i < textCount; ++i)
      EXPECT_EQ(Text(original.*kSettingsTexts[i]), L"text " + std::to_wstring(i));
  }
  EXPECT_EQ(g_freed, static_cast<int>(textCount));
}

TEST_F(CefStructs, BrowserSettingsCopyTheirTextsAndStates) {
  typedef cef_string_t cef_browser_settings_t::*TextField;
  const TextField texts[] = {
      &cef_browser_settings_t::standard_font_family,
      &cef_browser_settings_t::fixed_font_family,
      &cef_browser_settings_t::serif_font_family,
      &cef_browser_settings_t::sans_serif_font_family,
      &cef_browser_settings_t::cursive_font_family,
      &cef_browser_settings_t::fantasy_font_family,
      &cef_browser_settings_t::default_encoding,
      &cef_browser_settings_t::accept_language_list,
  };
  typedef cef_state_t cef_browser_settings_t::*StateField;
  const StateField states[] = {
      &cef_browser_settings_t::remote_fonts,
      &cef_browser_settings_t::javascript,
      &cef_browser_settings_t::javascript_open_windows,
      &cef_browser_settings_t::javascript_close_windows,
      &cef_browser_settings_t::javascript_access_clipboard,
      &cef_browser_settings_t::javascript_dom_paste,
      &cef_browser_settings_t::caret_browsing,
      &cef_browser_settings_t::java,
      &cef_browser_settings_t::plugins,
      &cef_browser_settings_t::universal_access_from_file_urls,
      &cef_browser_settings_t::file_access_from_file_urls,
      &cef_browser_settings_t::web_security,
      &cef_browser_settings_t::image_loading,
      &cef_browser_settings_t::image_shrink_standalone_to_fit,
      &cef_browser_settings_t::text_area_resize,
      &cef_browser_settings_t::tab_to_links,
      &cef_browser_settings_t::local_storage,
      &cef_browser_settings_t::databases,
      &cef_browser_settings_t::application_cache,
      &cef_browser_settings_t::webgl,
  };
  {
    CefBrowserSettings original;
    EXPECT_EQ(original.size, sizeof(cef_browser_settings_t));
    for (StateField state : states) EXPECT_EQ(original.*state, STATE_DEFAULT);
    for (size_t i = 0; i < sizeof(texts) / sizeof(texts[0]); ++i)
      SetCounted(&(original.*texts[i]), L"font " + std::to_wstring(i));
    for (size_t i = 0; i < sizeof(states) / sizeof(states[0]); ++i)
      original.*states[i] = i % 2 == 0 ? STATE_ENABLED : STATE_DISABLED;
    original.default_font_size = 16;
    original.minimum_logical_font_size = 6;
    original.windowless_frame_rate = 30;

    const CefBrowserSettings copy(original);
    for (size_t i = 0; i < sizeof(texts) / sizeof(texts[0]); ++i) {
      EXPECT_EQ(Text(copy.*texts[i]), L"font " + std::to_wstring(i));
      EXPECT_NE((copy.*texts[i]).str, (original.*texts[i]).str);
    }
    for (size_t i = 0; i < sizeof(states) / sizeof(states[0]); ++i)
      EXPECT_EQ(copy.*states[i], i % 2 == 0 ? STATE_ENABLED : STATE_DISABLED);
    EXPECT_EQ(copy.default_font_size, 16);
    EXPECT_EQ(copy.minimum_logical_font_size, 6);
    EXPECT_EQ(copy.windowless_frame_rate, 30);
  }
  EXPECT_EQ(g_freed, 8);
}

TEST_F(CefStructs, WindowInfoTakesTheEngineStyles) {
  const HWND parent = reinterpret_cast<HWND>(0x1234);
  CefWindowInfo child;
  child.SetAsChild(parent, RECT{10, 20, 110, 70});
  EXPECT_EQ(child.style, static_cast<DWORD>(WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                            WS_TABSTOP | WS_VISIBLE));
  EXPECT_EQ(child.parent_window, parent);
  EXPECT_EQ(child.x, 10);
  EXPECT_EQ(child.y, 20);
  EXPECT_EQ(child.width, 100);
  EXPECT_EQ(child.height, 50);
  EXPECT_EQ(child.windowless_rendering_enabled, 0);

  CefWindowInfo popup;
  popup.SetAsPopup(parent, "弹出");
  EXPECT_EQ(popup.style, static_cast<DWORD>(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN |
                                            WS_CLIPSIBLINGS | WS_VISIBLE));
  EXPECT_EQ(popup.x, CW_USEDEFAULT);
  EXPECT_EQ(popup.height, CW_USEDEFAULT);
  EXPECT_EQ(Text(popup.window_name), L"\x5F39\x51FA");
  const CefWindowInfo copy(popup);
  EXPECT_NE(copy.window_name.str, popup.window_name.str);
  EXPECT_EQ(Text(copy.window_name), L"\x5F39\x51FA");

  CefWindowInfo windowless;
  windowless.SetAsWindowless(parent, true);
  EXPECT_EQ(windowless.windowless_rendering_enabled, 1);
  EXPECT_EQ(windowless.transparent_painting_enabled, 1);
  EXPECT_EQ(windowless.style, 0u);

  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  EXPECT_EQ(CefMainArgs(instance).instance, instance);
  EXPECT_EQ(CefMainArgs().instance, nullptr);
}

TEST_F(CefStructs, AStructureAttachedToAnotherLeavesItsTextsThere) {
  cef_settings_t raw = {};
  raw.size = sizeof(raw);
  SetCounted(&raw.locale, L"zh-CN");
  {
    CefSettings view;
    view.AttachTo(raw);
    EXPECT_EQ(Text(view.locale), L"zh-CN");
  }
  EXPECT_EQ(g_freed, 0);
  {
    CefSettings moved;
    CefString(&moved.locale) = "en-US";
    moved.DetachTo(raw);  // raw's own text goes, the new one moves in
    EXPECT_EQ(g_freed, 1);
    EXPECT_EQ(moved.locale.length, 0u);
  }
  EXPECT_EQ(Text(raw.locale), L"en-US");
  cef_string_clear(&raw.locale);
}

TEST(CefTime, ConvertsAsUtcAndRefusesWhatTheCalendarCannotHold) {
  CefTime time;
  time.year = 2015;
  time.month = 6;
  time.day_of_month = 1;
  time.hour = 12;
  time.minute = 34;
  time.second = 56;
  time.millisecond = 789;
  EXPECT_DOUBLE_EQ(time.GetDoubleT(), 1433162096.789);
  EXPECT_EQ(time.GetTimeT(), static_cast<time_t>(1433162096));

  CefTime back(1433162096.789);
  EXPECT_EQ(back.year, 2015);
  EXPECT_EQ(back.month, 6);
  EXPECT_EQ(back.day_of_month, 1);
  EXPECT_EQ(back.day_of_week, 1);  // a Monday
  EXPECT_EQ(back.hour, 12);
  EXPECT_EQ(back.millisecond, 789);

  CefTime later(1433162096.789 + 1.5);
  EXPECT_EQ(later.Delta(back), 1500);

  CefTime unchanged = back;
  EXPECT_FALSE(unchanged.SetDoubleT(-2.0e10));  // before 1601
  EXPECT_FALSE(unchanged.SetDoubleT(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(unchanged.year, 2015);
  cef_time_t tooEarly = {};
  tooEarly.year = 1600;
  tooEarly.month = 1;
  tooEarly.day_of_month = 1;
  double seconds = 7;
  EXPECT_EQ(cef_time_to_doublet(&tooEarly, &seconds), 0);
  EXPECT_EQ(seconds, 7);
}

}  // namespace
