#include <objbase.h>
#include <windows.h>

#include "manager/dialog_slots.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the shell's views and verbs use COM
  manager::StartProgram();
  ui::Application::Instance().Run();
  CoUninitialize();
  return 0;
}
