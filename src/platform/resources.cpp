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

namespace {

// Whether the file may be written over, as creating it anew would: not while a program runs from
// it or holds it. Windows lets a replace rename a running program aside, where it would stay.
bool MayOverwrite(const std::wstring& path, DWORD& error) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    CloseHandle(f);
    return true;
  }
  error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

void ResourceStream::SaveToFile(const std::string& path) const {
  DWORD error = 0;
  std::wstring target = FinalPath(Widen(path), error);
  if (!target.empty() && !MayOverwrite(target, error)) target.clear();
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
