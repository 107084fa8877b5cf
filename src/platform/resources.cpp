#include "platform/resources.h"

#include "platform/error.h"
#include "platform/full_path.h"
#include "platform/text.h"
#include "platform/whole_file.h"

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
  DWORD error = 0;
  std::wstring target = FinalPath(Widen(path), error);
  WriteFailure failure;
  // Not flushed: a carried program is tens of megabytes, and a copy of the system's own does not
  // flush either. A failed or cut write still leaves the old file whole.
  if (!target.empty() &&
      WriteWholeFile(target, std::string_view(static_cast<const char*>(data_), size_), failure, false))
    return;
  if (failure.step == WriteFailure::Write) throw Error("Stream write error");
  throw Error(FormatText("Cannot create file \"%s\". %s",
                         {FullPath(path), SystemErrorText(target.empty() ? error : failure.error)}));
}

}  // namespace platform
