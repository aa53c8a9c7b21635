#include "platform/atomic_replace.h"

#include "platform/runtime_error.h"

namespace vemo {
namespace {

// Names tried before the temporary file counts as impossible to create.
constexpr int kAttempts = 100;

void CreateUnderAFreeName(TemporaryFile& temporary) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (temporary.CreateExclusively(attempt)) return;
  }
  throw RuntimeError(err::kFileAlreadyExists);
}

// The pieces, flushed, and the size they add up to read back: a disk that fills up and says
// so late must not let a short file take the target's place.
void WriteWhole(TemporaryFile& temporary, std::span<const std::string_view> pieces) {
  std::uint64_t total = 0;
  for (std::string_view piece : pieces) {
    temporary.Write(piece);
    total += piece.size();
  }
  if (temporary.FlushedSize() != total) throw RuntimeError(err::kDiskFull);
}

}  // namespace

bool AtomicCreate(TemporaryFile& temporary, std::string_view bytes) {
  temporary.RemoveLeftovers();
  if (temporary.TargetExists()) return false;
  CreateUnderAFreeName(temporary);
  WriteWhole(temporary, std::span<const std::string_view>(&bytes, 1));
  return temporary.NameWithoutReplacing();
}

void AtomicReplace(TemporaryFile& temporary, std::span<const std::string_view> pieces) {
  temporary.RemoveLeftovers();
  CreateUnderAFreeName(temporary);
  WriteWhole(temporary, pieces);
  temporary.RenameOntoTarget();
}

}  // namespace vemo
