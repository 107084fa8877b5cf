// The program's own raw-data (RCDATA) resources, read in place from the loaded module.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace platform {

// A read-only view of one RCDATA resource. The bytes belong to the loaded module, so nothing is
// copied and nothing needs releasing.
class ResourceStream {
 public:
  // Looked up by type and name alone; "Resource %s not found" when the module has no such resource.
  explicit ResourceStream(const std::string& name, HMODULE module = nullptr);

  const void* Data() const { return data_; }
  std::size_t Size() const { return size_; }

  // Writes the bytes straight from the module's memory to the file, all or nothing: to a new
  // file beside it, which then takes its place (platform/whole_file). "Cannot create file
  // "<full path>". <system reason>" when the file cannot be made or replaced, "Stream write
  // error" when not all bytes could be stored (a full disk); the file is then as it was.
  void SaveToFile(const std::string& path) const;

 private:
  const void* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace platform
