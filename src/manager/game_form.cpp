#include "manager/game_form.h"

#include "manager/app_form.h"
#include "manager/game_command.h"
#include "manager/ip_form.h"
#include "manager/res_form.h"
#include "manager/dialog_slots.h"
#include "platform/shell.h"
#include "ui/glyphs.h"

namespace manager {

TGameForm2::TGameForm2() : DialogForm("GameForm2", 406, 422) {
  SetCaption("Start Tarnholm Game");
  Image2.SetBounds(0, 0, 406, 55);
  Image2.SetPicture(ui::glyphs::Banner("Tarnholm"));
  struct Row {
    ui::Panel& panel;
    ui::SpeedButton& button;
    const char* caption;
    void (TGameForm2::*click)(ui::Object*);
  };
  const Row rows[] = {
      {BtnPanel1, SpeedButton1, "Default", &TGameForm2::SpeedButton1Click},
      {BtnPanel2, SpeedButton2, "Direct X Log", &TGameForm2::SpeedButton2Click},
      {BtnPanel3, SpeedButton3, "Skips the Logo Videos", &TGameForm2::SpeedButton3Click},
      {BtnPanel4, SpeedButton4, "Load Into a Window", &TGameForm2::SpeedButton4Click},
      {BtnPanel5, SpeedButton5, "Devmode", &TGameForm2::SpeedButton5Click},
      {BtnPanel6, SpeedButton6, "Multiplayer Host Menu", &TGameForm2::SpeedButton6Click},
      {BtnPanel7, SpeedButton7, "Connect to IP", &TGameForm2::SpeedButton7Click},
      {BtnPanel8, SpeedButton8, "Animate Credit Water", &TGameForm2::SpeedButton8Click},
      {BtnPanel9, SpeedButton9, "Custom Resolution", &TGameForm2::SpeedButton9Click},
      {BtnPanel10, SpeedButton10, "No Listing", &TGameForm2::SpeedButton10Click},
  };
  int top = 80;
  for (const Row& row : rows) {
    row.panel.SetBounds(88, top, 226, 26);
    row.panel.SetBevels(ui::Bevel::None, &row.panel == &BtnPanel1 ? ui::Bevel::Raised : ui::Bevel::Lowered);
    row.button.SetBounds(1, 1, 224, 24);
    row.button.SetFlat(true);
    row.button.SetCursor(ui::Cursor::Hand);
    row.button.SetCaption(row.caption);
    row.button.OnClick = [this, click = row.click](ui::Object* s) { (this->*click)(s); };
    top += 32;
  }
  SpeedButton1.SetFontBold(true);
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
}

void TGameForm2::FormCreate(ui::Object*) {
  if (auto caption = Slots().AppForm1->Lang.Pick("Start Tarnholm Game", "Uruchom Grę Tarnholm"))
    SetCaption(*caption);
}

void TGameForm2::FormShow(ui::Object*) {
  const shared::LanguageItems& lang = Slots().AppForm1->Lang;
  if (lang.Active() == shared::Language::None) return;
  auto set = [&](ui::SpeedButton& button, std::string_view english, std::string_view polish) {
    button.SetCaption(*lang.Pick(english, polish));
  };
  set(SpeedButton1, "Default", "Domyślnie");
  set(SpeedButton3, "Skips the Logo Videos", "Pomiń Filmiki Przy Logowaniu");
  set(SpeedButton4, "Load Into a Window", "Włącz w Oknie");
  set(SpeedButton6, "Multiplayer Host Menu", "Menu Gry Wieloosobowej");
  set(SpeedButton7, "Connect to IP", "Połącz z IP");
  set(SpeedButton8, "Animate Credit Water", "Animowana Woda w Menu Autorów");
  set(SpeedButton9, "Custom Resolution", "Niestandardowa Rozdzielczość");
  set(SpeedButton10, "No Listing", "Bez Listingu");
}

void TGameForm2::StartWithSwitch(std::string_view tail) {
  std::string folder = GameFolder();
  if (folder.empty()) {
    ShowGameMissing();
    return;
  }
  StartGame(folder, tail);
}

void TGameForm2::SpeedButton1Click(ui::Object*) {
  std::string folder = GameFolder();
  if (folder.empty()) {
    ShowGameMissing();
    return;
  }
  platform::ShellOpen(Handle(), "open", folder + std::string(kGameExe), "", "", SW_SHOW);
}

void TGameForm2::SpeedButton2Click(ui::Object*) { StartWithSwitch(kLogTail); }
void TGameForm2::SpeedButton3Click(ui::Object*) { StartWithSwitch(kSkipTail); }
void TGameForm2::SpeedButton4Click(ui::Object*) { StartWithSwitch(kWindowTail); }
void TGameForm2::SpeedButton5Click(ui::Object*) { StartWithSwitch(kDevmodeTail); }
void TGameForm2::SpeedButton6Click(ui::Object*) { StartWithSwitch(kHostTail); }
void TGameForm2::SpeedButton7Click(ui::Object*) { OpenManagerDialog(Slots().IPForm3); }
void TGameForm2::SpeedButton8Click(ui::Object*) { StartWithSwitch(kAnimateCreditWaterTail); }
void TGameForm2::SpeedButton9Click(ui::Object*) { OpenManagerDialog(Slots().ResForm4); }
void TGameForm2::SpeedButton10Click(ui::Object*) { StartWithSwitch(kNoListingTail); }

}  // namespace manager
