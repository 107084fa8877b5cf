#include "platform/directory_search.h"

#include "platform/text.h"

namespace platform {

DirectorySearch::DirectorySearch(const std::string& pattern)
    : handle_(FindFirstFileW(Widen(pattern).c_str(), &data_)),
      found_(handle_ != INVALID_HANDLE_VALUE) {}

DirectorySearch::~DirectorySearch() {
  if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
}

std::string DirectorySearch::Name() const { return Narrow(data_.cFileName); }

bool DirectorySearch::IsDotEntry() const {
  return wcscmp(data_.cFileName, L".") == 0 || wcscmp(data_.cFileName, L"..") == 0;
}

void DirectorySearch::Next() {
  if (found_) found_ = FindNextFileW(handle_, &data_);
}

}  // namespace platform
