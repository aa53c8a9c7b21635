#include "platform/runtime_error.h"

#include <new>

namespace vemo {

const std::wstring& RuntimeError::File() const noexcept {
  static const std::wstring none;
  return file_ ? *file_ : none;
}

void RuntimeError::NameFile(const std::wstring& file) {
  if (!file_ && !file.empty()) file_ = std::make_shared<const std::wstring>(file);
}

std::int32_t CaughtErrorNumber() {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return error.Number();
  } catch (const std::bad_alloc&) {
    return err::kOutOfMemory;
  } catch (...) {
    return err::kInternalError;
  }
}

std::wstring CaughtErrorFile() {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return error.File();
  } catch (...) {
    return L"";
  }
}

}  // namespace vemo
