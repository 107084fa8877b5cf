// The one error type of the suite's libraries: a message meant for the user. Whatever escapes an
// event handler is shown in the application's standard error box.
#pragma once
#include <stdexcept>
#include <string>

namespace platform {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The system's description of an error code, without the trailing line break.
std::string SystemErrorText(unsigned long code);

}  // namespace platform
