#include <windows.h>

#include "shared/wizard_form.h"
#include "ui/application.h"

class TForm1 : public shared::WizardForm {
 public:
  TForm1() : WizardForm("Form1") { SetCaption("Deinstaller"); }
};

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  auto& app = ui::Application::Instance();
  app.SetTitle("TH Encyclopaedia Deinstaller");
  app.CreateForm<TForm1>();
  app.Run();
  return 0;
}
