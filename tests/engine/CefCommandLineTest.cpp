#include "include/cef_command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CefCommandLine, SwitchesAreNamedWithOrWithoutTheirDashes) {
  CefRefPtr<CefCommandLine> line = CefCommandLine::CreateCommandLine();
  line->SetProgram(L"C:\\Program Files\\Talmic\\Talmic.exe");
  line->AppendSwitch("--disable-web-security");
  line->AppendSwitchWithValue("ppapi-flash-version", "18.0.0.209");
  line->AppendSwitchWithValue("ppapi-flash-path", "pepflashplayer.dll");
  line->AppendSwitch("Disable-Extensions");
  line->AppendArgument(L"about:blank");

  EXPECT_TRUE(line->HasSwitch("disable-web-security"));
  EXPECT_TRUE(line->HasSwitch("--DISABLE-EXTENSIONS"));
  EXPECT_FALSE(line->HasSwitch("disable-gpu"));
  EXPECT_EQ(line->GetSwitchValue("--ppapi-flash-version").ToString(), "18.0.0.209");
  EXPECT_EQ(line->GetSwitchValue("disable-web-security").ToString(), "");
  EXPECT_EQ(line->GetCommandLineString().ToString(),
            "\"C:\\Program Files\\Talmic\\Talmic.exe\" --disable-web-security "
            "--ppapi-flash-version=18.0.0.209 --ppapi-flash-path=pepflashplayer.dll "
            "--disable-extensions about:blank");
}

TEST(CefCommandLine, ARepeatedSwitchKeepsItsPlaceAndTakesTheNewValue) {
  CefRefPtr<CefCommandLine> line = CefCommandLine::CreateCommandLine();
  line->AppendSwitchWithValue("lang", "en");
  line->AppendSwitch("mute");
  line->AppendSwitchWithValue("--lang", "zh-CN");
  CefCommandLine::SwitchMap switches;
  line->GetSwitches(switches);
  EXPECT_EQ(switches.size(), 2u);
  EXPECT_EQ(line->GetCommandLineString().ToString(), "\"\" --lang=zh-CN --mute");
}

TEST(CefCommandLine, ParsesAndQuotesAsThePlatformSplitsArguments) {
  struct Case {
    std::wstring text;
    std::wstring program;
    std::vector<std::wstring> arguments;
    std::wstring switchName;
    std::wstring switchValue;
  };
  const Case cases[] = {
      {L"prog.exe --type=renderer page", L"prog.exe", {L"page"}, L"type", L"renderer"},
      {L"\"C:\\a b\\p.exe\" \"two words\" --user-data-dir=\"C:\\x y\\\"",
       L"C:\\a b\\p.exe",
       {L"two words"},
       L"user-data-dir",
       L"C:\\x y\""},
      {L"p.exe say\\\"hi\\\"", L"p.exe", {L"say\"hi\""}, L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CefString(c.text).ToString());
    CefRefPtr<CefCommandLine> line = CefCommandLine::CreateCommandLine();
    line->InitFromString(c.text);
    EXPECT_EQ(line->GetProgram().ToWString(), c.program);
    CefCommandLine::ArgumentList arguments;
    line->GetArguments(arguments);
    ASSERT_EQ(arguments.size(), c.arguments.size());
    for (size_t i = 0; i < arguments.size(); ++i)
      EXPECT_EQ(arguments[i].ToWString(), c.arguments[i]);
    if (!c.switchName.empty()) {
      EXPECT_EQ(line->GetSwitchValue(c.switchName).ToWString(), c.switchValue);
    }

    // What GetCommandLineString writes, the splitter reads back the same.
    CefRefPtr<CefCommandLine> again = CefCommandLine::CreateCommandLine();
    again->InitFromString(line->GetCommandLineString());
    EXPECT_EQ(again->GetCommandLineString().ToWString(), line->GetCommandLineString().ToWString());
    EXPECT_EQ(again->GetProgram().ToWString(), c.program);
  }
}

TEST(CefCommandLine, CopyIsIndependent) {
  CefRefPtr<CefCommandLine> line = CefCommandLine::CreateCommandLine();
  line->AppendSwitch("a");
  CefRefPtr<CefCommandLine> copy = line->Copy();
  copy->AppendSwitch("b");
  EXPECT_FALSE(line->HasSwitch("b"));
  EXPECT_TRUE(copy->HasSwitch("a"));
  line->Reset();
  EXPECT_FALSE(line->HasSwitches());
  EXPECT_TRUE(copy->HasSwitches());
}

}  // namespace
