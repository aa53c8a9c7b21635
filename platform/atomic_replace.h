// Making or replacing a whole file in one step, the same on every system: temporary files that
// killed runs left beside the target are removed, a temporary file is created beside it
// exclusively, written, flushed and its size read back, then given the target's name. At every
// instant the target is the old file (or absent) or the new one whole; on any failure it is as
// it was and this run's temporary file is gone. Each system supplies the steps' primitives as
// a TemporaryFile.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vemo {

// A temporary file beside its target, as one system makes, writes and names it. Destroying it
// removes the file unless it was given the target's name.
class TemporaryFile {
 public:
  virtual ~TemporaryFile() = default;

  // Removes the temporary files of the target that runs killed half-way left behind. Removing
  // one is a courtesy: one that cannot be removed harms nothing, and nothing is raised for it.
  virtual void RemoveLeftovers() = 0;
  // Whether anything has the target's name.
  virtual bool TargetExists() = 0;
  // Creates the file exclusively under the target's name and TemporaryNameSuffix for this
  // process and `attempt`: false, with nothing created, when that name is taken.
  virtual bool CreateExclusively(int attempt) = 0;
  virtual void Write(std::string_view bytes) = 0;
  // Flushes what was written to the disk and returns the file's size as the disk has it.
  virtual std::uint64_t FlushedSize() = 0;
  // Gives the file the target's name, in place of the file that had it.
  virtual void RenameOntoTarget() = 0;
  // Gives the file the target's name unless anything has it: false then, the target as it was.
  virtual bool NameWithoutReplacing() = 0;
};

// Makes the target with `bytes` unless anything has its name: false then, nothing written.
bool AtomicCreate(TemporaryFile& temporary, std::string_view bytes);

// Replaces the target with the pieces, one after the other.
void AtomicReplace(TemporaryFile& temporary, std::span<const std::string_view> pieces);

}  // namespace vemo
