// One pass over the entries that a search pattern ("C:\Games\*.*") names, in the order the
// system reports them, "." and ".." included; the search closes itself.
#pragma once
#include <windows.h>

#include <string>

namespace platform {

class DirectorySearch {
 public:
  explicit DirectorySearch(const std::string& pattern);
  ~DirectorySearch();
  DirectorySearch(const DirectorySearch&) = delete;
  DirectorySearch& operator=(const DirectorySearch&) = delete;

  // False once the search has run out (or found nothing, or the folder does not exist).
  bool Found() const { return found_; }
  std::string Name() const;
  bool IsDotEntry() const;
  bool IsFolder() const { return data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY; }
  void Next();

 private:
  WIN32_FIND_DATAW data_{};
  HANDLE handle_;
  bool found_;
};

}  // namespace platform
