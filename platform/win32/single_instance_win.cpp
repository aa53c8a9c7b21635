#include "platform/single_instance.h"

#include <windows.h>

#include "platform/system_error.h"
#include "platform/win32/handle.h"

namespace vemo {

namespace {

// Session namespace: another user's session may run its own copy.
constexpr wchar_t kMutexName[] = L"Local\\vemotool-single-instance-7c1e4b52-93d0-4f6a-a8e5";

}  // namespace

struct SingleInstance::Impl {
  UniqueKernelHandle mutex;
  bool another = false;
};

SingleInstance::SingleInstance() : impl_(std::make_unique<Impl>()) {
  // A new mutex leaves the last error as it was: clear it so that only "exists" shows.
  ::SetLastError(ERROR_SUCCESS);
  impl_->mutex.reset(::CreateMutexW(nullptr, FALSE, kMutexName));
  const DWORD error = ::GetLastError();
  if (!impl_->mutex) {
    // The object exists but was made with rights we lack: it is still another instance's.
    if (error == ERROR_ACCESS_DENIED) {
      impl_->another = true;
      return;
    }
    RaiseSystemError(error);
  }
  impl_->another = error == ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::AnotherInstanceRunning() const {
  return impl_->another;
}

}  // namespace vemo
