// COM for the calling thread, single-threaded apartment, for as long as the object lives:
// the shell may use COM when it opens a folder.
#pragma once

#include <objbase.h>

namespace vemo {

class ComApartment {
 public:
  ComApartment() noexcept
      : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

}  // namespace vemo
