#include "capture.h"

#include <shellapi.h>

#include <fstream>
#include <thread>

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

// Leaves the place of the screen to photograph and waits until the picture is there.
void PhotographRect(const RECT& r, const std::string& folder, const std::string& name, bool pump) {
  std::string picture = folder + name + ".png";
  DeleteFileW(platform::Widen(picture).c_str());
  {
    std::ofstream rect(platform::Widen(folder + name + ".tmp").c_str());
    rect << r.left << ' ' << r.top << ' ' << (r.right - r.left) << ' ' << (r.bottom - r.top) << '\n';
  }
  MoveFileW(platform::Widen(folder + name + ".tmp").c_str(), platform::Widen(folder + name + ".rect").c_str());
  for (int i = 0; i < 600 && !platform::FileExists(picture); ++i) {
    if (pump) ui::Application::Instance().ProcessMessages();
    Sleep(50);
  }
}

}  // namespace

void Photograph(ui::Form& form, const std::string& folder, const std::string& name) {
  form.Show();
  form.BringToFront();
  Settle();
  RECT r;
  GetWindowRect(form.Handle(), &r);
  PhotographRect(r, folder, name, true);
}

void PhotographMenu(ui::Form& form, int entry, const std::string& folder, const std::string& name) {
  form.Show();
  form.BringToFront();
  Settle();
  HMENU bar = GetMenu(form.Handle());
  RECT item;
  GetMenuItemRect(form.Handle(), bar, static_cast<UINT>(entry), &item);
  // The menu runs its own loop on this thread until it closes: another thread photographs it.
  std::thread photographer([&] {
    HWND popup = nullptr;
    for (int i = 0; i < 400 && !popup; ++i) {
      popup = FindWindowW(L"#32768", nullptr);
      if (!popup || !IsWindowVisible(popup)) {
        popup = nullptr;
        Sleep(25);
      }
    }
    Sleep(500);  // painted
    RECT window, menu{};
    GetWindowRect(form.Handle(), &window);
    if (popup) GetWindowRect(popup, &menu);
    RECT both;
    UnionRect(&both, &window, &menu);
    PhotographRect(both, folder, name, false);
    EndMenu();
  });
  TrackPopupMenuEx(GetSubMenu(bar, entry), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, item.left,
                   item.bottom, form.Handle(), nullptr);
  photographer.join();
}

std::string OutputFolder() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string folder = argc > 1 ? platform::Narrow(argv[1]) : platform::ExeFolder();
  LocalFree(argv);
  return platform::WithTrailingBackslash(folder);
}

}  // namespace screenshots
