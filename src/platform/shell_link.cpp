#include "platform/shell_link.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/error.h"
#include "platform/text.h"

namespace platform {
namespace {

std::string ClassIdText(REFCLSID id) {
  wchar_t text[40] = L"";
  StringFromGUID2(id, text, 40);
  return Narrow(text);
}

template <class T>
void Query(IUnknown* object, REFIID iid, T*& out) {
  if (FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&out)))) {
    out = nullptr;
    throw Error("Interface not supported");
  }
}

}  // namespace

ShellLink::ShellLink() {
  IUnknown* object = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, reinterpret_cast<void**>(&object));
  if (FAILED(hr))
    throw Error(FormatText("%s, ClassID: %s",
                           {SystemErrorText(static_cast<unsigned long>(hr)), ClassIdText(CLSID_ShellLink)}));
  try {
    Query(object, IID_IShellLinkW, link_);
    Query(object, IID_IPersistFile, file_);
  } catch (...) {
    if (link_) link_->Release();
    object->Release();
    throw;
  }
  object->Release();
}

ShellLink::~ShellLink() {
  file_->Release();
  link_->Release();
}

void ShellLink::SetPath(const std::string& target) { link_->SetPath(Widen(target).c_str()); }

void ShellLink::SetWorkingDirectory(const std::string& folder) {
  link_->SetWorkingDirectory(Widen(folder).c_str());
}

void ShellLink::Save(const std::string& linkFile) { file_->Save(Widen(linkFile).c_str(), FALSE); }

}  // namespace platform
