// Waiting in tests on the main thread's event loop for a condition, never for a fixed time.
#pragma once

#include <chrono>
#include <functional>

namespace EventLoop {

// Runs the event loop until the condition holds; false only when it still does not after the limit,
// which is generous because a loaded machine may be slow: it ends a hung test, it measures nothing.
bool waitUntil(const std::function<bool()> &condition,
               std::chrono::milliseconds limit = std::chrono::minutes(2));
// Runs the event loop for a while, for checks that something does not happen meanwhile.
void runFor(std::chrono::milliseconds duration);

} // namespace EventLoop
