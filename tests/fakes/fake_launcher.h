// Records the programs asked to start; only the ones it knows start, any other fails as a
// program that is not there.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/launcher.h"
#include "platform/runtime_error.h"

namespace vemo::testing {

struct StartRequest {
  std::wstring application;
  std::wstring commandLine;
  bool operator==(const StartRequest&) const = default;
};

class FakeLauncher : public Launcher {
 public:
  void Start(const std::wstring& application, const std::wstring& commandLine) override {
    requests.push_back({application, commandLine});
    if (programs.count(application) == 0) throw RuntimeError(err::kFileNotFound);
    started.push_back({application, commandLine});
  }

  std::set<std::wstring> programs;     // the program files that exist
  std::vector<StartRequest> requests;  // every start asked for
  std::vector<StartRequest> started;   // the ones that started
};

}  // namespace vemo::testing
