#include "platform/file_stream.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/full_path.h"
#include "platform/text.h"

namespace platform {

FileStream::FileStream(const std::string& path) {
  handle_ = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    throw Error(FormatText("Cannot create file \"%s\". %s", {FullPath(path), SystemErrorText(code)}));
  }
}

FileStream::~FileStream() { CloseHandle(handle_); }

void FileStream::WriteBuffer(const void* data, std::size_t size) {
  // One call for anything a resource can hold; larger buffers go in pieces the call can count.
  const auto* bytes = static_cast<const char*>(data);
  do {
    DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 0x40000000));
    DWORD written = 0;
    if (!WriteFile(handle_, bytes, piece, &written, nullptr) || written != piece)
      throw Error("Stream write error");
    bytes += piece;
    size -= piece;
  } while (size > 0);
}

}  // namespace platform
