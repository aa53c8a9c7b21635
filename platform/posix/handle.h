// The POSIX handle kinds UniqueAny owns: file descriptors and directory streams.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include "platform/unique_any.h"

namespace vemo {

namespace handle_traits {

// open() answers -1 on failure; 0 is a descriptor like any other.
inline int NoDescriptor() noexcept {
  return -1;
}

using Descriptor = Traits<int, NoDescriptor, &::close>;
// opendir() answers NULL.
using DirectoryStream = Traits<DIR*, Null<DIR*>, &::closedir>;

}  // namespace handle_traits

using UniqueFd = UniqueAny<handle_traits::Descriptor>;
using UniqueDir = UniqueAny<handle_traits::DirectoryStream>;

}  // namespace vemo
