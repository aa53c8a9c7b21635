// UAC file virtualization as Windows applies it to this user's programs started normally.
#pragma once

#include <optional>
#include <string>

#include "platform/virtualization.h"

namespace vemo {

class Win32Virtualization : public Virtualization {
 public:
  // Asked once: the folders and the token do not change while the program runs.
  VirtualizationFacts Facts() override;
  // GetFullPathNameW, then GetLongPathNameW on the longest part of it that exists.
  std::wstring FullLongPath(const std::wstring& path) override;

 protected:
  // Whether the token of a normal start of this user allows virtualization: this process's
  // own token, or its linked (filtered) token when it runs elevated. False where Windows
  // cannot say: Windows XP has no such token classes, and Wine does not implement them.
  virtual bool TokenAllowsVirtualization();

 private:
  std::optional<VirtualizationFacts> facts_;
};

}  // namespace vemo
