// Puts the benchmark's input files in place, outside any timing.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vemo::bench {

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace vemo::bench
