// The manager's windows and menus in English and in Polish.
#include <objbase.h>

#include "capture.h"
#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "manager/game_form.h"
#include "manager/ip_form.h"
#include "manager/lang_form.h"
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
  for (const char* file : {"Tarn.exe", "GM_Editor.exe", "ModLauncher.exe", "th_editor.exe", "Uninstall.exe"})
    CloseHandle(CreateFileA((game + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  HANDLE ini = CreateFileA((game + "\\tarn.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const char settings[] = "[Main]\r\nLanguage=POL\r\n";
  DWORD written;
  WriteFile(ini, settings, sizeof settings - 1, &written, nullptr);
  CloseHandle(ini);
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Korvel\\Tarnholm", "PATH", REG_SZ, game.c_str(),
                  static_cast<DWORD>(game.size() + 1));
  manager::StartProgram();
  manager::TAppForm1& main = *manager::Slots().AppForm1;
  for (const char* language : {"en", "pl"}) {
    bool polish = std::string(language) == "pl";
    if (polish) main.Polski1Click(&main);
    else main.English1Click(&main);
    std::string suffix = std::string("-") + language;
    screenshots::Photograph(main, out, "manager-main" + suffix);
    screenshots::PhotographMenu(main, 0, out, "manager-menu-file" + suffix);
    screenshots::PhotographMenu(main, 1, out, "manager-menu-tools" + suffix);
    screenshots::PhotographMenu(main, 5, out, "manager-menu-links" + suffix);
    main.SpeedButton1.Click();
    manager::TGameForm2& start = *manager::Slots().GameForm2;
    screenshots::Photograph(start, out, "manager-game-start" + suffix);

    start.SpeedButton7.Click();
    manager::TIPForm3& join = *manager::Slots().IPForm3;
    join.IPEdit1.SetText("192.168.0.10");
    screenshots::Photograph(join, out, "manager-join" + suffix);
    join.Close();
    start.SpeedButton9.Click();
    manager::TResForm4& resolution = *manager::Slots().ResForm4;
    resolution.WidthEdit1.SetText("1024");
    resolution.HeightEdit2.SetText("768");
    screenshots::Photograph(resolution, out, "manager-resolution" + suffix);
    resolution.Close();
    start.Close();

    main.GameLanguage1.Click();
    manager::TLangForm6& gameLanguage = *manager::Slots().LangForm6;
    gameLanguage.CheckListBox1.SetItemIndex(6);
    screenshots::Photograph(gameLanguage, out, "manager-game-language" + suffix);
    gameLanguage.Close();
  }
  DeleteFileA(manager::SettingsFile().c_str());
  return 0;
}
