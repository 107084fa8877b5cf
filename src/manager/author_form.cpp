#include "manager/author_form.h"

#include <string_view>

#include "manager/about_look.h"
#include "manager/app_form.h"
#include "manager/dialog_slots.h"
#include "manager/web_addresses.h"
#include "platform/shell.h"
#include "ui/glyphs.h"

namespace manager {

TAuthorForm7::TAuthorForm7() : DialogForm("AuthorForm7", 279, 188) {
  SetCaption("Author");
  Image1.SetBounds(8, 44, 79, 106);
  Image1.SetPicture(ui::glyphs::Logo());
  Label12.SetFont(AboutTitleFont(15));
  GroupBox1.SetBounds(93, 28, 180, 158);
  for (ui::Label* caption : {&Label1, &Label2, &Label3, &Label4, &Label6})
    caption->SetFont(AboutCaptionFont(true));
  // The address without its scheme, as people write it.
  std::string_view address = kWebAddresses.community;
  if (address.starts_with("http://")) address.remove_prefix(7);
  Label11.SetCaption("- " + std::string(address));
  Label11.SetCursor(ui::Cursor::Hand);
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
  Label11.OnClick = [this](ui::Object* s) { Label11Click(s); };
  Label11.OnMouseMove = [this](ui::Object* s) { Label11MouseMove(s); };
  Label11.OnMouseLeave = [this](ui::Object* s) { Label11MouseLeave(s); };
}

void TAuthorForm7::FormCreate(ui::Object*) {
  const shared::LanguageItems& lang = Slots().AppForm1->Lang;
  if (lang.Active() == shared::Language::None) return;
  bool english = lang.Active() == shared::Language::English;
  const shared::Texts text(lang.Active());
  GroupBox1.SetCaption(text("About Author:", "O Autorze:"));
  Label1.SetCaption(text("Name:", "Imię i nazwisko:"));
  Label2.SetCaption(text("Nick:", "Pseudonim:"));
  Label3.SetCaption(text("Birth:", "Rok urodzenia:"));
  Label4.SetCaption("E-mail:");
  Label6.SetCaption(text("Home site:", "Strona domowa:"));
  Label7.SetLeft(english ? 50 : 107);
  Label8.SetLeft(english ? 44 : 82);
  Label9.SetLeft(english ? 46 : 101);
  Label9.SetCaption("2026");
  Label10.SetCaption(kTeamAddress);
}

void TAuthorForm7::FormShow(ui::Object*) {
  if (auto caption = Slots().AppForm1->Lang.Pick("Author", "Autor")) SetCaption(*caption);
}

void TAuthorForm7::Label11Click(ui::Object*) {
  platform::ShellOpen(Handle(), "open", kWebAddresses.community, "", "", SW_SHOWNORMAL);
}

void TAuthorForm7::Label11MouseMove(ui::Object*) { Label11.SetFontColor(ui::kRed); }

void TAuthorForm7::Label11MouseLeave(ui::Object*) { Label11.SetFontColor(ui::kWhite); }

}  // namespace manager
