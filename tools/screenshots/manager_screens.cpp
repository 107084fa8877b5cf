// The manager's windows in English and in Polish.
#include <objbase.h>

#include "capture.h"
#include "manager/app_form.h"
#include "manager/folder_form.h"
#include "manager/game_form.h"
#include "manager/path_form.h"
#include "manager/dialog_slots.h"
#include "platform/files.h"

int wmain() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  screenshots::QuietDialogs quiet;
  std::string out = screenshots::OutputFolder();
  // A game folder as the game's own installer leaves it, so that the manager shows one.
  const std::string game = "C:\\Tarnholm";
  CreateDirectoryA(game.c_str(), nullptr);
  for (const char* folder : {"Disk2", "Error_Logs", "Mods", "Textures", "UserProfiles", "Utils"})
    CreateDirectoryA((game + "\\" + folder).c_str(), nullptr);
  for (const char* file : {"Tarn.exe", "tarn.ini", "GM_Editor.exe", "ModLauncher.exe", "th_editor.exe", "Uninstall.exe"})
    CloseHandle(CreateFileA((game + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Korvel\\Tarnholm", "PATH", REG_SZ, game.c_str(),
                  static_cast<DWORD>(game.size() + 1));
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

    main.TreeViewOnOff1.Click();
    screenshots::Photograph(main, out, std::string("manager-browser-tree-") + language);
    main.TreeViewOnOff1.Click();
    main.NewFolder1.Click();
    manager::Slots().FolderForm5->FolderNameEdit.SetText("Maps");
    screenshots::Photograph(*manager::Slots().FolderForm5, out, std::string("manager-new-folder-") + language);
    manager::Slots().FolderForm5->Close();
    manager::OpenManagerDialog(manager::Slots().SciezkaForm9);
    screenshots::Photograph(*manager::Slots().SciezkaForm9, out, std::string("manager-game-folder-") + language);
    manager::Slots().SciezkaForm9->Close();
  }
  DeleteFileA(manager::SettingsFile().c_str());
  return 0;
}
