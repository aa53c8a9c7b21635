#include "platform/runtime_error.h"

#include <new>

namespace vemo {

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

}  // namespace vemo
