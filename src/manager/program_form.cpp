#include "manager/program_form.h"

#include "manager/about_look.h"
#include "manager/app_form.h"
#include "manager/dialog_slots.h"

namespace manager {

TAbProgramForm8::TAbProgramForm8() : DialogForm("AbProgramForm8", 223, 230) {
  SetCaption("Program");
  Label1.SetFont(AboutTitleFont(13));
  GroupBox1.SetBounds(8, 30, 209, 195);
  Label2.SetFont(AboutCaptionFont(true));
  Label4.SetFont(AboutCaptionFont(true));
  Label7.SetFontBold(true);
  Label9.SetFontBold(true);
  Label15.SetFont(AboutCaptionFont(false));
  Label16.SetFont(AboutCaptionFont(true));
  OnCreate = [this](ui::Object* s) { FormCreate(s); };
  OnShow = [this](ui::Object* s) { FormShow(s); };
}

void TAbProgramForm8::FormCreate(ui::Object*) {
  const shared::LanguageItems& lang = Slots().AppForm1->Lang;
  if (lang.Active() == shared::Language::None) return;
  bool english = lang.Active() == shared::Language::English;
  const shared::Texts text(lang.Active());
  GroupBox1.SetCaption(text("About Program:", "O Programie:"));
  Label2.SetCaption(text("Version:", "Wersja:"));
  Label4.SetCaption("Build:");
  Label11.SetLeft(english ? 55 : 57);
  Label11.SetCaption(text("License:", "Licencja:"));
  Label13.SetLeft(english ? 21 : 13);
  Label13.SetCaption(text("Free to use and to pass on.", "Wolno używać i przekazywać."));
  Label15.SetCaption(text("For comments:", "Komentarze:"));
  Label16.SetLeft(english ? 97 : 89);
  Label16.SetCaption(kTeamAddress);
}

void TAbProgramForm8::FormShow(ui::Object*) {
  if (Slots().AppForm1->Lang.Active() != shared::Language::None) SetCaption("Program");
}

}  // namespace manager
