// INI file read and written one key at a time through the private-profile functions, which keep
// every other line of the file and create it on the first write.
#pragma once
#include <string>

namespace platform {

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}
  const std::string& FileName() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // "Unable to write to %s" with the file's path when the write fails.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

 private:
  std::string path_;
};

}  // namespace platform
