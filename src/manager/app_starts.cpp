// The main window's starts: the tools in the game folder, the companion programs from the folders
// the installer recorded, and the web pages.
#include <string_view>

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "manager/web_addresses.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "shared/products.h"
#include "ui/application.h"
#include "ui/glyphs.h"

namespace manager {

void SetUpStarts(TAppForm1& form) {
  auto bind = [&form](auto& source, void (TAppForm1::*click)(ui::Object*)) {
    source.OnClick = [&form, click](ui::Object* s) { (form.*click)(s); };
  };
  bind(form.SpeedButton2, &TAppForm1::SpeedButton2Click);
  bind(form.SpeedButton3, &TAppForm1::SpeedButton3Click);
  bind(form.SpeedButton4, &TAppForm1::SpeedButton4Click);
  bind(form.SpeedButton5, &TAppForm1::SpeedButton5Click);
  bind(form.SpeedButton6, &TAppForm1::SpeedButton6Click);
  bind(form.SpeedButton7, &TAppForm1::SpeedButton7Click);
  bind(form.SpeedButton8, &TAppForm1::SpeedButton8Click);
  bind(form.SpeedButton9, &TAppForm1::SpeedButton9Click);
  bind(form.SpeedButton10, &TAppForm1::SpeedButton10Click);
  bind(form.SpeedButton11, &TAppForm1::SpeedButton11Click);
  bind(form.SpeedButton12, &TAppForm1::SpeedButton12Click);
  bind(form.SpeedButton13, &TAppForm1::SpeedButton13Click);
  bind(form.SpeedButton14, &TAppForm1::SpeedButton14Click);
  bind(form.THEncyclopaedia1, &TAppForm1::THEncyclopaedia1Click);
  bind(form.Parley1, &TAppForm1::Parley1Click);
  bind(form.THENCUpdater1, &TAppForm1::THENCUpdater1Click);
  bind(form.Kelvora1, &TAppForm1::Kelvora1Click);
  bind(form.MasterServer1, &TAppForm1::MasterServer1Click);
  bind(form.ModdingArchive1, &TAppForm1::ModdingArchive1Click);
  bind(form.Ravelin1, &TAppForm1::Ravelin1Click);
  bind(form.Sentavo1, &TAppForm1::Sentavo1Click);
  bind(form.YourIP1, &TAppForm1::YourIP1Click);

  namespace glyphs = ui::glyphs;
  const ui::Picture folder = glyphs::Inset(glyphs::Folder(), 0, 2, 0, 2);
  const std::pair<ui::MenuItem&, ui::Picture> pictures[] = {
      {form.NewFolder1, glyphs::Badge(folder, glyphs::Plus())},
      {form.Folders1, folder},
      {form.GameFolder1, glyphs::Badge(folder, glyphs::Emblem())},
      {form.MissionsDisk21, glyphs::Badge(folder, glyphs::Disc())},
      {form.UserProfiles1, glyphs::Badge(folder, glyphs::Person())},
      {form.Mods1, glyphs::Badge(folder, glyphs::Blocks())},
      {form.extures1, glyphs::Badge(folder, glyphs::Checks())},
      {form.ErrorLog1, glyphs::Badge(folder, glyphs::Warning())},
      {form.TreeViewOnOff1, glyphs::Tree()},
      {form.ViewStyle1, glyphs::ViewStyles()},
      {form.THEncyclopaedia1, glyphs::Book()},
      {form.Parley1, glyphs::SpeechBubble()},
      {form.THENCUpdater1, glyphs::Download()},
      {form.Kelvora1, glyphs::Globe()},
      {form.MasterServer1, glyphs::Servers()},
      {form.ModdingArchive1, glyphs::Archive()},
      {form.Ravelin1, glyphs::Lifebuoy()},
      {form.Sentavo1, glyphs::Pennant()},
      {form.YourIP1, glyphs::Monitor()},
      {form.GameLanguage1, glyphs::Badge(glyphs::Page(), glyphs::Globe())},
      {form.Author1, glyphs::Person()},
      {form.Program1, glyphs::Information()},
  };
  for (const auto& [item, picture] : pictures) item.SetPicture(picture);
  form.Lang.ShowFlags();
}

namespace {

// The information box saying that a companion program is not installed, in the active language.
void ShowCompanionMissing() {
  auto text = Slots().AppForm1->Lang.Pick("This program is not installed on your PC.",
                                          "Ten program nie jest zainstalowany na twoim PC.");
  if (text) ui::Application::Instance().ShowMessageBox(*text, "", MB_ICONINFORMATION | MB_OK);
}

void StartGameTool(HWND owner, std::string_view path) {
  std::string folder = GameFolder();
  if (folder.empty()) {
    GameMissingPrompt();
    return;
  }
  platform::ShellOpen(owner, "open", folder + std::string(path), "", "", SW_SHOW);
}

void StartCompanion(HWND owner, const shared::Product& product, std::string_view file) {
  std::string folder;
  {
    // Read only: a standard user may read the machine's keys, not open them for writing.
    platform::Registry registry(HKEY_LOCAL_MACHINE, KEY_READ);
    registry.OpenKey(product.KeyPath(), false);
    folder = registry.ReadString("PATH");
  }
  if (folder.empty()) {
    ShowCompanionMissing();
    return;
  }
  // The recorded folder ends in a backslash: the doubled one before the name does no harm.
  platform::ShellOpen(owner, "open", folder + "\\" + std::string(file), "", "", SW_SHOW);
}

void OpenWebPage(HWND owner, const char* address) {
  platform::ShellOpen(owner, "open", address, "", "", SW_SHOWNORMAL);
}

}  // namespace

void TAppForm1::SpeedButton2Click(ui::Object*) { StartGameTool(Handle(), "\\ModLauncher.exe"); }
void TAppForm1::SpeedButton3Click(ui::Object*) { StartGameTool(Handle(), "\\th_editor.exe"); }
void TAppForm1::SpeedButton4Click(ui::Object*) { StartGameTool(Handle(), "\\GM_Editor.exe"); }
void TAppForm1::SpeedButton5Click(ui::Object*) { StartGameTool(Handle(), "\\gm_view.exe"); }
void TAppForm1::SpeedButton6Click(ui::Object*) { StartGameTool(Handle(), "\\grndsec.exe"); }
void TAppForm1::SpeedButton7Click(ui::Object*) { StartGameTool(Handle(), "\\ZirEvid.exe"); }
void TAppForm1::SpeedButton8Click(ui::Object*) { StartGameTool(Handle(), "\\THP_Validator.exe"); }
void TAppForm1::SpeedButton9Click(ui::Object*) { StartGameTool(Handle(), "\\Pelcor.exe"); }
void TAppForm1::SpeedButton10Click(ui::Object*) { StartGameTool(Handle(), "\\Morvik.exe"); }
void TAppForm1::SpeedButton11Click(ui::Object*) { StartGameTool(Handle(), "\\TarnDedicated.exe"); }
void TAppForm1::SpeedButton12Click(ui::Object*) {
  StartGameTool(Handle(), "\\Utils\\TitleCreator\\Zadidud.exe");
}
void TAppForm1::SpeedButton13Click(ui::Object*) {
  StartGameTool(Handle(), "\\Utils\\PMSC\\Pellam_ModSetupCompiler.exe");
}
// The game's own uninstaller, not the suite's.
void TAppForm1::SpeedButton14Click(ui::Object*) { StartGameTool(Handle(), "\\Uninstall.exe"); }

void TAppForm1::THEncyclopaedia1Click(ui::Object*) {
  StartCompanion(Handle(), shared::kEncyclopaedia, shared::kEncyclopaediaExe);
}
void TAppForm1::Parley1Click(ui::Object*) { StartCompanion(Handle(), shared::kManager, shared::kParleyExe); }
void TAppForm1::THENCUpdater1Click(ui::Object*) {
  StartCompanion(Handle(), shared::kEncyclopaedia, shared::kUpdaterExe);
}

void TAppForm1::Kelvora1Click(ui::Object*) { OpenWebPage(Handle(), kWebAddresses.community); }
void TAppForm1::MasterServer1Click(ui::Object*) { OpenWebPage(Handle(), kWebAddresses.masterServer); }
void TAppForm1::ModdingArchive1Click(ui::Object*) { OpenWebPage(Handle(), kWebAddresses.moddingArchive); }
void TAppForm1::Ravelin1Click(ui::Object*) { OpenWebPage(Handle(), kWebAddresses.support); }
void TAppForm1::Sentavo1Click(ui::Object*) { OpenWebPage(Handle(), kWebAddresses.official); }
void TAppForm1::YourIP1Click(ui::Object*) { OpenWebPage(Handle(), kWebAddresses.yourIp); }

}  // namespace manager
