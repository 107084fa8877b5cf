#include "platform/ini_file.h"

#include <windows.h>

#include <vector>

#include "platform/error.h"
#include "platform/text.h"

namespace platform {

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  std::wstring wsection = Widen(section), wkey = Widen(key), wdefault = Widen(defaultValue),
               wpath = Widen(path_);
  std::vector<wchar_t> buffer(2048);
  for (;;) {
    DWORD n = GetPrivateProfileStringW(wsection.c_str(), wkey.c_str(), wdefault.c_str(), buffer.data(),
                                       static_cast<DWORD>(buffer.size()), wpath.c_str());
    if (n + 1 < buffer.size()) return Narrow(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 4);
  }
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                  Widen(path_).c_str()))
    throw Error(FormatText("Unable to write to %s", {path_}));
}

}  // namespace platform
