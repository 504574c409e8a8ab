// Delegates and event sources: equality, order, the veto, and removal
// while the list is being called.

#include "gtest/gtest.h"
#include "toolkit/core/Delegate.h"

namespace {

using SkinUI::CEventSource;
using SkinUI::MakeDelegate;

struct Listener {
  std::vector<int>* order;
  int id;
  bool answer = true;
  CEventSource* removeFrom = nullptr;
  bool Call(void* param) {
    order->push_back(id);
    EXPECT_EQ(param, order);
    if (removeFrom != nullptr) *removeFrom -= MakeDelegate(this, &Listener::Call);
    return answer;
  }
  bool Other(void*) { return true; }
};

int g_staticCalls = 0;
bool StaticCall(void*) {
  ++g_staticCalls;
  return true;
}

TEST(EventSource, CallsInOrderUntilOneSaysNo) {
  std::vector<int> order;
  Listener a{&order, 1};
  Listener b{&order, 2};
  Listener c{&order, 3};
  CEventSource source;
  EXPECT_FALSE(static_cast<bool>(source));
  EXPECT_TRUE(source(&order));  // an empty source accepts
  source += MakeDelegate(&a, &Listener::Call);
  source += MakeDelegate(&b, &Listener::Call);
  source += MakeDelegate(&c, &Listener::Call);
  source += MakeDelegate(&b, &Listener::Call);  // equal: not added again
  EXPECT_TRUE(static_cast<bool>(source));
  EXPECT_TRUE(source(&order));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  order.clear();
  b.answer = false;
  EXPECT_FALSE(source(&order));
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  // The same object with another function is another delegate.
  source -= MakeDelegate(&b, &Listener::Other);
  order.clear();
  source(&order);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  source -= MakeDelegate(&b, &Listener::Call);
  order.clear();
  EXPECT_TRUE(source(&order));
  EXPECT_EQ(order, (std::vector<int>{1, 3}));
}

TEST(EventSource, PlainFunctionsAreWrapped) {
  CEventSource source;
  g_staticCalls = 0;
  source += StaticCall;
  source += StaticCall;
  source(nullptr);
  EXPECT_EQ(g_staticCalls, 1);
  source -= StaticCall;
  EXPECT_FALSE(static_cast<bool>(source));
}

TEST(EventSource, ADelegateMayRemoveItselfWhileCalled) {
  std::vector<int> order;
  CEventSource source;
  Listener a{&order, 1};
  Listener b{&order, 2};
  Listener c{&order, 3};
  b.removeFrom = &source;
  source += MakeDelegate(&a, &Listener::Call);
  source += MakeDelegate(&b, &Listener::Call);
  source += MakeDelegate(&c, &Listener::Call);
  source(&order);
  // The one after it is still called, and the removed one is gone.
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  order.clear();
  source(&order);
  EXPECT_EQ(order, (std::vector<int>{1, 3}));
}

}  // namespace
