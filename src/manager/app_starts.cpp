// The main window's starts: the tools in the game folder, the companion programs from the folders
// the installer recorded, and the web pages.
#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "manager/web_addresses.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "ui/application.h"
#include "ui/glyphs.h"

namespace manager {

void ShowCompanionMissing() {
  auto text = Slots().AppForm1->Lang.Pick("This program is not installed on your PC.",
                                          "Ten program nie jest zainstalowany na twoim PC.");
  if (text) ui::Application::Instance().MessageBox(*text, "", MB_ICONINFORMATION | MB_OK);
}

void TAppForm1::SetUpStarts() {
  auto bind = [this](auto& source, void (TAppForm1::*click)(ui::Object*)) {
    source.OnClick = [this, click](ui::Object* s) { (this->*click)(s); };
  };
  bind(SpeedButton2, &TAppForm1::SpeedButton2Click);
  bind(SpeedButton3, &TAppForm1::SpeedButton3Click);
  bind(SpeedButton4, &TAppForm1::SpeedButton4Click);
  bind(SpeedButton5, &TAppForm1::SpeedButton5Click);
  bind(SpeedButton6, &TAppForm1::SpeedButton6Click);
  bind(SpeedButton7, &TAppForm1::SpeedButton7Click);
  bind(SpeedButton8, &TAppForm1::SpeedButton8Click);
  bind(SpeedButton9, &TAppForm1::SpeedButton9Click);
  bind(SpeedButton10, &TAppForm1::SpeedButton10Click);
  bind(SpeedButton11, &TAppForm1::SpeedButton11Click);
  bind(SpeedButton12, &TAppForm1::SpeedButton12Click);
  bind(SpeedButton13, &TAppForm1::SpeedButton13Click);
  bind(SpeedButton14, &TAppForm1::SpeedButton14Click);
  bind(THEncyclopaedia1, &TAppForm1::THEncyclopaedia1Click);
  bind(Parley1, &TAppForm1::Parley1Click);
  bind(THENCUpdater1, &TAppForm1::THENCUpdater1Click);
  bind(Kelvora1, &TAppForm1::Kelvora1Click);
  bind(MasterServer1, &TAppForm1::MasterServer1Click);
  bind(ModdingArchive1, &TAppForm1::ModdingArchive1Click);
  bind(Ravelin1, &TAppForm1::Ravelin1Click);
  bind(Sentavo1, &TAppForm1::Sentavo1Click);
  bind(YourIP1, &TAppForm1::YourIP1Click);

  namespace glyphs = ui::glyphs;
  const std::pair<ui::MenuItem&, ui::Picture> pictures[] = {
      {Folders1, glyphs::Inset(glyphs::Folder(), 0, 2, 0, 2)},
      {TreeViewOnOff1, glyphs::Tree()},
      {ViewStyle1, glyphs::ViewStyles()},
      {THEncyclopaedia1, glyphs::Book()},
      {Parley1, glyphs::SpeechBubble()},
      {THENCUpdater1, glyphs::Download()},
      {Kelvora1, glyphs::Globe()},
      {MasterServer1, glyphs::Servers()},
      {ModdingArchive1, glyphs::Archive()},
      {Ravelin1, glyphs::Lifebuoy()},
      {Sentavo1, glyphs::Pennant()},
      {YourIP1, glyphs::Monitor()},
  };
  for (const auto& [item, picture] : pictures) item.SetPicture(picture);
}

void TAppForm1::StartGameTool(std::string_view path) {
  std::string folder = GameFolder();
  if (folder.empty()) {
    GameMissingPrompt();
    return;
  }
  platform::ShellOpen(Handle(), "open", folder + std::string(path), "", "", SW_SHOW);
}

void TAppForm1::SpeedButton2Click(ui::Object*) { StartGameTool("\\ModLauncher.exe"); }
void TAppForm1::SpeedButton3Click(ui::Object*) { StartGameTool("\\th_editor.exe"); }
void TAppForm1::SpeedButton4Click(ui::Object*) { StartGameTool("\\GM_Editor.exe"); }
void TAppForm1::SpeedButton5Click(ui::Object*) { StartGameTool("\\gm_view.exe"); }
void TAppForm1::SpeedButton6Click(ui::Object*) { StartGameTool("\\grndsec.exe"); }
void TAppForm1::SpeedButton7Click(ui::Object*) { StartGameTool("\\ZirEvid.exe"); }
void TAppForm1::SpeedButton8Click(ui::Object*) { StartGameTool("\\THP_Validator.exe"); }
void TAppForm1::SpeedButton9Click(ui::Object*) { StartGameTool("\\Pelcor.exe"); }
void TAppForm1::SpeedButton10Click(ui::Object*) { StartGameTool("\\Morvik.exe"); }
void TAppForm1::SpeedButton11Click(ui::Object*) { StartGameTool("\\TarnDedicated.exe"); }
void TAppForm1::SpeedButton12Click(ui::Object*) {
  StartGameTool("\\Utils\\TitleCreator\\Zadidud.exe");
}
void TAppForm1::SpeedButton13Click(ui::Object*) {
  StartGameTool("\\Utils\\PMSC\\Pellam_ModSetupCompiler.exe");
}
// The game's own uninstaller, not the suite's.
void TAppForm1::SpeedButton14Click(ui::Object*) { StartGameTool("\\Uninstall.exe"); }

void TAppForm1::StartCompanion(const shared::Product& product, std::string_view file) {
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
  platform::ShellOpen(Handle(), "open", folder + "\\" + std::string(file), "", "", SW_SHOW);
}

void TAppForm1::THEncyclopaedia1Click(ui::Object*) {
  StartCompanion(shared::kEncyclopaedia, shared::kEncyclopaediaExe);
}
void TAppForm1::Parley1Click(ui::Object*) { StartCompanion(shared::kManager, shared::kParleyExe); }
void TAppForm1::THENCUpdater1Click(ui::Object*) {
  StartCompanion(shared::kEncyclopaedia, shared::kUpdaterExe);
}

void TAppForm1::OpenWebPage(const char* address) {
  platform::ShellOpen(Handle(), "open", address, "", "", SW_SHOWNORMAL);
}

void TAppForm1::Kelvora1Click(ui::Object*) { OpenWebPage(kWebAddresses.community); }
void TAppForm1::MasterServer1Click(ui::Object*) { OpenWebPage(kWebAddresses.masterServer); }
void TAppForm1::ModdingArchive1Click(ui::Object*) { OpenWebPage(kWebAddresses.moddingArchive); }
void TAppForm1::Ravelin1Click(ui::Object*) { OpenWebPage(kWebAddresses.support); }
void TAppForm1::Sentavo1Click(ui::Object*) { OpenWebPage(kWebAddresses.official); }
void TAppForm1::YourIP1Click(ui::Object*) { OpenWebPage(kWebAddresses.yourIp); }

}  // namespace manager
