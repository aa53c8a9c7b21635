// The POSIX handle kinds UniqueAny owns: file descriptors, directory streams and iconv's
// converters.
#pragma once

#include <dirent.h>
#include <iconv.h>
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
// iconv_open() answers (iconv_t)-1.
inline iconv_t NoConverter() noexcept {
  return reinterpret_cast<iconv_t>(-1);
}
using Converter = Traits<iconv_t, NoConverter, &::iconv_close>;

}  // namespace handle_traits

using UniqueFd = UniqueAny<handle_traits::Descriptor>;
using UniqueDir = UniqueAny<handle_traits::DirectoryStream>;
using UniqueIconv = UniqueAny<handle_traits::Converter>;

}  // namespace vemo
