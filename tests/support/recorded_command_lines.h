// Takes the place of the process start while installed: records each command line the program
// would start, and starts nothing.
#pragma once
#include <string>
#include <vector>

#include "platform/shell.h"

namespace testing_support {

class RecordedCommandLines {
 public:
  RecordedCommandLines() {
    previous_ = platform::SetCommandLineHandler([this](const std::string& line, int show) {
      lines.push_back(line);
      shows.push_back(show);
      return 33u;
    });
  }
  ~RecordedCommandLines() { platform::SetCommandLineHandler(std::move(previous_)); }
  RecordedCommandLines(const RecordedCommandLines&) = delete;

  std::vector<std::string> lines;
  std::vector<int> shows;

 private:
  platform::CommandLineHandler previous_;
};

}  // namespace testing_support
