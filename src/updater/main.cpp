#include <windows.h>

#include "ui/application.h"
#include "updater/http_get.h"
#include "updater/update_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  updater::CreateUpdaterWindow();
  auto& app = ui::Application::Instance();
  app.Run();
  // The window goes with its components, which abort their transfers. A worker that is not
  // waiting on its server ends at once; one that is holds every byte it received in its file, so
  // the program need not wait for a server that trickles or stays silent.
  app.Reset();
  updater::FinishTransfers(2000);
  ExitProcess(0);
}
