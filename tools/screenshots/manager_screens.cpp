// The manager's windows in English and in Polish.
#include <objbase.h>

#include "capture.h"
#include "manager/app_form.h"
#include "manager/game_form.h"
#include "manager/windows.h"
#include "platform/files.h"

int wmain() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  screenshots::QuietDialogs quiet;
  std::string out = screenshots::OutputFolder();
  manager::StartProgram();
  manager::TAppForm1& main = *manager::Slots().AppForm1;
  for (const char* language : {"en", "pl"}) {
    bool polish = std::string(language) == "pl";
    if (polish) main.Polski1Click(&main);
    else main.English1Click(&main);
    screenshots::Photograph(main, out, std::string("manager-main-") + language);
    main.SpeedButton1.Click();
    screenshots::Photograph(*manager::Slots().GameForm2, out, std::string("manager-game-start-") + language);
    manager::Slots().GameForm2->Close();
  }
  DeleteFileA(manager::SettingsFile().c_str());
  return 0;
}
