#include <gtest/gtest.h>

#include <thread>

#include "include/cef_v8.h"
#include "src/CefV8ContextImpl.h"

namespace {

using engine::CefV8ContextImpl;

CefRefPtr<CefV8ContextImpl> NewContext() {
  return new CefV8ContextImpl(nullptr, nullptr, CefV8Value::CreateObject(nullptr));
}

TEST(CefV8Context, EnteringNestsAndLeavingGoesInOrder) {
  EXPECT_EQ(CefV8Context::GetCurrentContext(), nullptr);
  EXPECT_FALSE(CefV8Context::InContext());

  CefRefPtr<CefV8ContextImpl> outer = NewContext();
  CefRefPtr<CefV8ContextImpl> inner = NewContext();
  ASSERT_TRUE(outer->Enter());
  ASSERT_TRUE(inner->Enter());
  EXPECT_TRUE(CefV8Context::GetCurrentContext()->IsSame(inner.get()));
  EXPECT_TRUE(CefV8Context::GetEnteredContext()->IsSame(inner.get()));

  EXPECT_FALSE(outer->Exit());  // not the innermost
  EXPECT_TRUE(inner->Exit());
  EXPECT_TRUE(CefV8Context::GetCurrentContext()->IsSame(outer.get()));
  EXPECT_TRUE(outer->Exit());
  EXPECT_FALSE(outer->Exit());
  EXPECT_FALSE(CefV8Context::InContext());

  // Entering holds the context; leaving lets it go.
  EXPECT_TRUE(outer->HasOneRef());
}

TEST(CefV8Context, AContextEnteredOnOneThreadIsNotCurrentOnAnother) {
  CefRefPtr<CefV8ContextImpl> mine = NewContext();
  CefRefPtr<CefV8ContextImpl> theirs = NewContext();
  ASSERT_TRUE(mine->Enter());

  bool sawNoneAtFirst = false;
  bool sawTheirs = false;
  bool sawNoneAfter = false;
  std::thread other([&] {
    sawNoneAtFirst = CefV8Context::GetCurrentContext() == nullptr;
    theirs->Enter();
    sawTheirs = CefV8Context::GetCurrentContext().get() == theirs.get();
    theirs->Exit();
    sawNoneAfter = !CefV8Context::InContext();
  });
  other.join();
  EXPECT_TRUE(sawNoneAtFirst);
  EXPECT_TRUE(sawTheirs);
  EXPECT_TRUE(sawNoneAfter);
  EXPECT_EQ(CefV8Context::GetCurrentContext().get(), mine.get());
  EXPECT_TRUE(mine->Exit());
}

TEST(CefV8Context, AThreadThatEndsInsideAContextGivesItBack) {
  CefRefPtr<CefV8ContextImpl> context = NewContext();
  std::thread other([&] { context->Enter(); });
  other.join();
  EXPECT_TRUE(context->HasOneRef());
}

TEST(CefV8Context, AReleasedContextCanBeLeftButNotEntered) {
  CefRefPtr<CefV8Value> global = CefV8Value::CreateObject(nullptr);
  CefRefPtr<CefV8ContextImpl> context = new CefV8ContextImpl(nullptr, nullptr, global);
  EXPECT_TRUE(context->IsValid());
  EXPECT_EQ(context->GetGlobal().get(), global.get());
  EXPECT_EQ(context->GetBrowser(), nullptr);
  EXPECT_EQ(context->GetFrame(), nullptr);

  ASSERT_TRUE(context->Enter());
  context->Invalidate();
  EXPECT_FALSE(context->IsValid());
  EXPECT_FALSE(context->Enter());
  EXPECT_TRUE(context->Exit());
  EXPECT_FALSE(CefV8Context::InContext());
}

}  // namespace
