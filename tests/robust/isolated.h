#pragma once

#include <functional>

// Runs `body` in a child process of its own, with fresh process-wide state
// (the one sound cache, SDL), and fails the calling test when the child fails
// a check, crashes, or is still running after `seconds`.
void runIsolated(const std::function<void()>& body, unsigned seconds = 30);
