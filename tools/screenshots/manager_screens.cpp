// The manager's windows in English and in Polish.
#include <objbase.h>

#include "capture.h"
#include "manager/app_form.h"
#include "manager/author_form.h"
#include "manager/dialog_slots.h"
#include "manager/folder_form.h"
#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/lang_form.h"
#include "manager/path_form.h"
#include "manager/program_form.h"
#include "manager/res_form.h"
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
  // The game runs in Polish, so the game-language dialog shows a tick.
  HANDLE settings = CreateFileA((game + "\\tarn.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const char settingsText[] = "[Main]\r\nLanguage=POL\r\n";
  DWORD written = 0;
  WriteFile(settings, settingsText, sizeof settingsText - 1, &written, nullptr);
  CloseHandle(settings);
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Korvel\\Tarnholm", "PATH", REG_SZ, game.c_str(),
                  static_cast<DWORD>(game.size() + 1));
  manager::StartProgram();
  manager::TAppForm1& main = *manager::Slots().AppForm1;
  for (const char* language : {"en", "pl"}) {
    bool polish = std::string(language) == "pl";
    if (polish) main.Polski1Click(&main);
    else main.English1Click(&main);
    screenshots::Photograph(main, out, std::string("manager-main-") + language);
    screenshots::PhotographMenu(main, 0, out, std::string("manager-menu-file-") + language);
    screenshots::PhotographMenu(main, 1, out, std::string("manager-menu-tools-") + language);
    screenshots::PhotographMenu(main, 5, out, std::string("manager-menu-links-") + language);
    main.GameLanguage1.Click();
    manager::Slots().LangForm6->CheckListBox1.SetItemIndex(6);
    screenshots::Photograph(*manager::Slots().LangForm6, out, std::string("manager-game-language-") + language);
    manager::Slots().LangForm6->Close();

    main.SpeedButton1.Click();
    screenshots::Photograph(*manager::Slots().GameForm2, out, std::string("manager-game-start-") + language);
    manager::Slots().GameForm2->SpeedButton7.Click();
    manager::Slots().IPForm3->IPEdit1.SetText("192.168.0.10");
    screenshots::Photograph(*manager::Slots().IPForm3, out, std::string("manager-join-") + language);
    manager::Slots().IPForm3->Close();
    manager::Slots().GameForm2->SpeedButton9.Click();
    manager::Slots().ResForm4->WidthEdit1.SetText("1024");
    manager::Slots().ResForm4->HeightEdit2.SetText("768");
    screenshots::Photograph(*manager::Slots().ResForm4, out, std::string("manager-resolution-") + language);
    manager::Slots().ResForm4->Close();

    manager::Slots().GameForm2->Close();
    main.Author1.Click();
    screenshots::Photograph(*manager::Slots().AuthorForm7, out, std::string("manager-about-author-") + language);
    manager::Slots().AuthorForm7->Close();
    main.Program1.Click();
    screenshots::Photograph(*manager::Slots().AbProgramForm8, out, std::string("manager-about-program-") + language);
    manager::Slots().AbProgramForm8->Close();

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
