// Records every start through the shell or a command line while it is installed, and starts
// nothing: no browser opens, no program runs.
#pragma once
#include <string>
#include <vector>

#include "platform/shell.h"

namespace testing_support {

class RecordedStarts : public platform::Starter {
 public:
  RecordedStarts() { previous_ = platform::SetStarter(this); }
  ~RecordedStarts() override { platform::SetStarter(previous_); }

  std::vector<platform::ShellOpenRequest> opened;
  std::vector<std::string> commandLines;
  std::vector<int> shows;  // of the command lines

  intptr_t ShellOpen(const platform::ShellOpenRequest& request) override {
    opened.push_back(request);
    return 33;
  }
  unsigned RunCommandLine(const std::string& commandLine, int show) override {
    commandLines.push_back(commandLine);
    shows.push_back(show);
    return 33;
  }

 private:
  platform::Starter* previous_;
};

}  // namespace testing_support
