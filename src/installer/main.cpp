#include <windows.h>
#include <objbase.h>

#include "installer/installer.h"
#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The desktop shortcuts use the shell link object on this thread.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  installer::CreateInstallerWindows();
  ui::Application::Instance().Run();
  CoUninitialize();
  return 0;
}
