#include <gtest/gtest.h>

#include "include/cef_base.h"

namespace {

TEST(CefString, ConvertsBetweenUtf8AndUtf16) {
  struct Case {
    const char* name;
    std::string utf8;
    std::wstring wide;
  };
  const Case cases[] = {
      {"empty", "", L""},
      {"ASCII", "Talmic", L"Talmic"},
      {"Chinese", "\xE7\xA1\xAE\xE5\xAE\x9A", L"\x786E\x5B9A"},
      {"outside the basic plane", "a\xF0\x9F\x98\x80", L"a\xD83D\xDE00"},
      {"embedded zero", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CefString(c.utf8).ToWString(), c.wide);
    EXPECT_EQ(CefString(c.wide).ToString(), c.utf8);
  }
}

TEST(CefString, MalformedUtf8BecomesReplacementCharacters) {
  const std::wstring converted = CefString(std::string("a\xC3")).ToWString();
  ASSERT_FALSE(converted.empty());
  EXPECT_EQ(converted[0], L'a');
  EXPECT_EQ(converted.back(), L'\xFFFD');
  EXPECT_EQ(CefString(static_cast<const char*>(nullptr)).ToWString(), L"");
}

// Counts how many objects are alive, to see when the last reference goes.
class Counted : public CefBase {
 public:
  explicit Counted(int& alive) : m_alive(alive) { ++m_alive; }
  ~Counted() override { --m_alive; }

 private:
  int& m_alive;
  IMPLEMENT_REFCOUNTING(Counted);
};

TEST(CefRefPtr, DeletesTheObjectWithItsLastReference) {
  int alive = 0;
  {
    CefRefPtr<Counted> first = new Counted(alive);
    EXPECT_TRUE(first->HasOneRef());
    CefRefPtr<Counted> second = first;
    EXPECT_FALSE(first->HasOneRef());
    second = second;  // self-assignment keeps the object
    EXPECT_EQ(alive, 1);
    CefRefPtr<Counted> moved = std::move(second);
    EXPECT_EQ(second.get(), nullptr);
    first = nullptr;
    EXPECT_EQ(alive, 1);
    EXPECT_TRUE(moved->HasOneRef());
    moved = new Counted(alive);  // the old object goes, the new one stays
    EXPECT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0);
}

TEST(CefRefPtr, ReleaseSaysWhenTheObjectIsGone) {
  int alive = 0;
  Counted* object = new Counted(alive);
  object->AddRef();
  object->AddRef();
  EXPECT_FALSE(object->Release());
  EXPECT_TRUE(object->Release());
  EXPECT_EQ(alive, 0);
}

}  // namespace
