#include "manager/lang_form.h"

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "platform/ini_file.h"
#include "ui/glyphs.h"

namespace manager {

std::string GameSettingsFile() { return GameFolder() + "\\tarn.ini"; }

TLangForm6::TLangForm6() : DialogForm("LangForm6", 409, 252) {
  SetCaption("Game Language");
  Image1.SetBounds(0, 0, 409, 55);
  Image1.SetAlign(ui::Align::Top);
  Image1.SetPicture(ui::glyphs::Banner("Tarnholm"));
  EnterButton1.SetBounds(328, 216, 31, 24);
  EnterButton1.SetFlat(true);
  EnterButton1.SetGlyph(ui::glyphs::Enter(), 20);
  EnterButton1.SetHint("Enter");
  EnterButton1.SetShowHint(true);
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
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
  LangLabel.SetCaption(platform::IniFile(GameSettingsFile()).ReadString("Main", "Language", ""));
}

}  // namespace manager
