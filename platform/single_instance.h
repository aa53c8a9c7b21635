// Recognises another running instance of the program.
#pragma once

#include <memory>

namespace vemo {

// Held for the program's life: while one exists, a second one in the same session
// reports that another instance is running.
class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool AnotherInstanceRunning() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vemo
