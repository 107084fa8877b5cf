#include <windows.h>

#include "ui/application.h"
#include "updater/update_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  auto& app = ui::Application::Instance();
  app.SetTitle("Program Updater");
  app.CreateForm<updater::TForm1>();
  app.Run();
  return 0;
}
