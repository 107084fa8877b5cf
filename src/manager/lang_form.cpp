#include "manager/lang_form.h"

#include <iterator>

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "platform/ini_file.h"
#include "ui/glyphs.h"

namespace manager {

std::string GameSettingsFile() { return GameFolder() + "\\tarn.ini"; }

TLangForm6::TLangForm6() : DialogForm("LangForm6", 409, 252) {
  SetCaption("Game Language");
  Image1.Dock(ui::Align::Top, 55);
  Image1.SetPicture(ui::glyphs::Banner("Tarnholm"));
  CheckListBox1.SetBounds(48, 96, 313, 113);
  // The row texts are the languages' own names and stay as they are in both languages.
  CheckListBox1.SetItems({"English", "Czech (Česky)", "German (Deutsch)", "French (Français)",
                          "Spanish (Espanol)", "Italian (Italiano)", "Polish (Polski)", "Russian",
                          "Japanease"});
  CheckListBox1.SetFont(ui::Font{});  // black MS Sans Serif, with the Central European letters
  CheckListBox1.SetItemHeight(13);
  SetUpDialogButton(EnterButton1, 328, 216, ui::glyphs::Enter(), "Enter");
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  CheckListBox1.OnClickCheck = [this](ui::Object* s) { CheckListBox1ClickCheck(s); };
  EnterButton1.OnClick = [this](ui::Object* s) { EnterButton1Click(s); };
}

void TLangForm6::FormCreate(ui::Object*) {
  if (auto caption = Slots().AppForm1->Lang.Pick("Game Language", "Język Gry")) SetCaption(*caption);
}

void TLangForm6::FormShow(ui::Object*) {
  const shared::LanguageItems& lang = Slots().AppForm1->Lang;
  if (auto hint = lang.Pick("Enter", "Wprowadź")) EnterButton1.SetHint(*hint);
  if (auto label = lang.Pick("Choose game language:", "Wybierz język gry:")) Label1.SetCaption(*label);
  if (GameFolder().empty()) {
    ShowGameMissing();
    return;
  }
  std::string code = platform::IniFile(GameSettingsFile()).ReadString("Main", "Language", "");
  LangLabel.SetCaption(code);
  // The file's row is checked; a row the user ticked meanwhile stays ticked.
  for (int row = 0; row < static_cast<int>(std::size(kGameLanguageCodes)); ++row) {
    if (code == kGameLanguageCodes[row]) {
      CheckListBox1.SetChecked(row, true);
      break;
    }
  }
}

void TLangForm6::CheckListBox1ClickCheck(ui::Object*) {
  int chosen = CheckListBox1.ItemIndex();
  if (chosen < 0) return;
  for (int row = 0; row < CheckListBox1.Count(); ++row)
    if (row != chosen) CheckListBox1.SetChecked(row, false);
}

void TLangForm6::EnterButton1Click(ui::Object*) {
  if (GameFolder().empty()) {
    ShowGameMissing();
    return;
  }
  platform::IniFile ini(GameSettingsFile());
  for (int row = 0; row < CheckListBox1.Count(); ++row) {
    if (CheckListBox1.Checked(row)) {
      ini.WriteString("Main", "Language", kGameLanguageCodes[row]);
      break;
    }
  }
  LangLabel.SetCaption(ini.ReadString("Main", "Language", ""));
}

}  // namespace manager
