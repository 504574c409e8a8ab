// Waiting in a test thread that owns windows: the wait keeps dispatching
// the thread's messages, so windows of the thread stay responsive and
// posted notifications arrive while the test waits for them.
#pragma once

#include <windows.h>

#include <functional>

namespace test {

// Pumps the calling thread's messages until the condition holds or the
// time is up; returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 15000);

}  // namespace test
