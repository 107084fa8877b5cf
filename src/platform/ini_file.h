// INI file read and written one key at a time. Names of sections and keys are matched without
// regard to case; a missing file or key reads as the default. A write changes the one value (or
// adds its key, or its section and key) and leaves every other byte of the file as it was:
// other sections and keys, comments, blank lines, their order, the line endings and the encoding.
// The system's private-profile functions drop blank lines when they write, so the file is edited
// here; it is read as the system's reader reads it, so that what a write reports is what the
// game finds.
#pragma once
#include <string>

namespace platform {

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}
  const std::string& FileName() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Creates the file when it does not exist. The file then holds either its old bytes or the new
  // ones, never a mix: the new text goes to a file beside it that replaces it in one step.
  // "Unable to write to %s" with the file's path when the write fails or the file cannot be
  // edited in its own encoding; the file is then as it was.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

 private:
  std::string path_;
};

}  // namespace platform
