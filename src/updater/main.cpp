#include <windows.h>

#include "ui/application.h"
#include "updater/http_get.h"
#include "updater/update_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  updater::CreateUpdaterWindow();
  auto& app = ui::Application::Instance();
  app.Run();
  // The window goes with its components, which abort their transfers; the workers still write
  // what they read into the files before the program ends.
  app.Reset();
  updater::FinishTransfers();
  return 0;
}
