// One move-only owner for every kind of system handle (a Win32 HANDLE, a POSIX descriptor or
// directory stream): a traits struct names the value that means "nothing" and the function
// that lets the handle go.
#pragma once

#include <utility>

namespace vemo {

template <typename Traits>
class UniqueAny {
 public:
  using Type = typename Traits::Type;

  UniqueAny() noexcept = default;
  explicit UniqueAny(Type value) noexcept : value_(value) {}
  ~UniqueAny() { reset(); }

  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

  Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void reset(Type value = Traits::Invalid()) noexcept {
    Type old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // For functions that hand a new handle back through a pointer (RegOpenKeyExW and the like).
  Type* put() noexcept {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::Invalid();
};

namespace handle_traits {

// A handle kind whose "nothing" is `invalid` and which `close` lets go.
template <typename T, T (*invalid)() noexcept, auto close>
struct Traits {
  using Type = T;
  static Type Invalid() noexcept { return invalid(); }
  static void Close(Type h) noexcept { close(h); }
};

template <typename T>
T Null() noexcept {
  return nullptr;
}

}  // namespace handle_traits

}  // namespace vemo
