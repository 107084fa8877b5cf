#include "manager/res_form.h"

#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "manager/game_command.h"
#include "manager/ip_form.h"
#include "ui/glyphs.h"

namespace manager {

TResForm4::TResForm4() : DialogForm("ResForm4", 349, 67) {
  SetCaption("Resolution");
  Label1.SetFontBold(true);
  Label2.SetFontBold(true);
  SetUpDialogEdit(WidthEdit1, 16, 129);
  SetUpDialogEdit(HeightEdit2, 168, 129);
  SetUpDialogButton(EnterButton1, 304, 30, ui::glyphs::Enter(), "Enter");
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  WidthEdit1.OnKeyPress = [this](ui::Object* s, wchar_t& key) { WidthEdit1KeyPress(s, key); };
  HeightEdit2.OnKeyPress = [this](ui::Object* s, wchar_t& key) { HeightEdit2KeyPress(s, key); };
  EnterButton1.OnClick = [this](ui::Object* s) { EnterButton1Click(s); };
}

void TResForm4::FormCreate(ui::Object*) {
  if (auto caption = Slots().AppForm1->Lang.Pick("Resolution", "Rozdzielczość")) SetCaption(*caption);
}

void TResForm4::FormShow(ui::Object*) {
  const shared::LanguageItems& lang = Slots().AppForm1->Lang;
  if (auto label = lang.Pick("Width:", "Szerokość:")) Label1.SetCaption(*label);
  if (auto label = lang.Pick("Height:", "Wysokość:")) Label2.SetCaption(*label);
  if (auto hint = lang.Pick("Enter", "Wprowadź")) EnterButton1.SetHint(*hint);
}

void TResForm4::WidthEdit1KeyPress(ui::Object*, wchar_t& Key) { AcceptDigits(Key); }

void TResForm4::HeightEdit2KeyPress(ui::Object*, wchar_t& Key) { AcceptDigits(Key); }

void TResForm4::EnterButton1Click(ui::Object*) {
  std::string folder = GameFolder();
  if (folder.empty()) {
    ShowGameMissing();
    return;
  }
  if (WidthEdit1.Text().empty() || HeightEdit2.Text().empty()) return;
  StartGame(folder, kCustomResTail, WidthEdit1.Text() + " " + HeightEdit2.Text());
}

}  // namespace manager
