#include "platform/resources.h"

#include "platform/error.h"
#include "platform/file_stream.h"
#include "platform/text.h"

namespace platform {

ResourceStream::ResourceStream(const std::string& name, HMODULE module) {
  std::wstring wname = Widen(name);
  HRSRC info = FindResourceW(module, wname.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  if (!loaded) throw Error(FormatText("Resource %s not found", {name}));
  data_ = LockResource(loaded);
  size_ = SizeofResource(module, info);
}

void ResourceStream::SaveToFile(const std::string& path) const {
  FileStream file(path);
  file.WriteBuffer(data_, size_);
}

}  // namespace platform
