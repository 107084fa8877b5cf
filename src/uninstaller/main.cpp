#include <windows.h>

#include "ui/application.h"
#include "uninstaller/uninstall_form.h"

// The build decides which product this uninstaller removes.
#if defined(TH_UNINSTALL_MANAGER)
#define TH_UNINSTALL_DATA uninstaller::kManagerUninstall
#elif defined(TH_UNINSTALL_ENCYCLOPAEDIA)
#define TH_UNINSTALL_DATA uninstaller::kEncyclopaediaUninstall
#else
#error "Define TH_UNINSTALL_MANAGER or TH_UNINSTALL_ENCYCLOPAEDIA"
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  auto& app = ui::Application::Instance();
  app.SetTitle("TH Encyclopaedia Deinstaller");
  app.CreateForm<uninstaller::TForm1>(TH_UNINSTALL_DATA);
  app.Run();
  return 0;
}
