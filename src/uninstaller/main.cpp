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
  uninstaller::CreateUninstallerWindow(TH_UNINSTALL_DATA);
  ui::Application::Instance().Run();
  return 0;
}
