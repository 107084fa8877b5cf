// A file opened for writing as the class library's file stream opens it on creation.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace platform {

class FileStream {
 public:
  // Creates the file, or empties it when it exists: opened for reading and writing, shared with
  // nobody while open, normal attributes. "Cannot create file "<full path>". <system reason>"
  // when that fails.
  explicit FileStream(const std::string& path);
  ~FileStream();
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  // Stores every byte or raises "Stream write error" (a full disk).
  void WriteBuffer(const void* data, std::size_t size);

 private:
  HANDLE handle_;
};

}  // namespace platform
