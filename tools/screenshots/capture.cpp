#include "capture.h"

#include <shellapi.h>

#include <fstream>

#include "platform/files.h"
#include "platform/text.h"
#include "ui/application.h"

namespace screenshots {

int QuietDialogs::Box(const ui::BoxRequest& request) {
  unsigned buttons = request.flags & MB_TYPEMASK;
  return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
}

namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) {
    ui::Application::Instance().ProcessMessages();
    Sleep(25);
  }
}

}  // namespace

void Photograph(ui::Form& form, const std::string& folder, const std::string& name) {
  form.Show();
  form.BringToFront();
  Settle();
  RECT r;
  GetWindowRect(form.Handle(), &r);
  std::string picture = folder + name + ".png";
  DeleteFileW(platform::Widen(picture).c_str());
  {
    std::ofstream rect(platform::Widen(folder + name + ".tmp").c_str());
    rect << r.left << ' ' << r.top << ' ' << (r.right - r.left) << ' ' << (r.bottom - r.top) << '\n';
  }
  MoveFileW(platform::Widen(folder + name + ".tmp").c_str(), platform::Widen(folder + name + ".rect").c_str());
  for (int i = 0; i < 600 && !platform::FileExists(picture); ++i) {
    ui::Application::Instance().ProcessMessages();
    Sleep(50);
  }
}

std::string OutputFolder() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string folder = argc > 1 ? platform::Narrow(argv[1]) : platform::ExeFolder();
  LocalFree(argv);
  return platform::WithTrailingBackslash(folder);
}

}  // namespace screenshots
