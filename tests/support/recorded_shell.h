// Takes the shell's place while installed: records what the program asks it to open and opens
// nothing, so that no browser or program starts.
#pragma once
#include <vector>

#include "platform/shell.h"

namespace testing_support {

class RecordedShell {
 public:
  RecordedShell() {
    previous_ = platform::SetShellHandler([this](const platform::ShellRequest& request) {
      requests.push_back(request);
      return intptr_t{33};
    });
  }
  ~RecordedShell() { platform::SetShellHandler(std::move(previous_)); }
  RecordedShell(const RecordedShell&) = delete;

  std::vector<platform::ShellRequest> requests;

 private:
  platform::ShellHandler previous_;
};

}  // namespace testing_support
