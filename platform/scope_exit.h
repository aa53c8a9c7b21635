// Runs an action when the scope ends, however it ends: one way out instead of one for the
// normal end and one for each failure.
#pragma once

#include <utility>

namespace vemo {

template <typename Action>
class ScopeExit {
 public:
  explicit ScopeExit(Action action) : action_(std::move(action)) {}
  ~ScopeExit() { action_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Action action_;
};

}  // namespace vemo
