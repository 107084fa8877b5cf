// The uninstaller's two pages in English and in Polish, and the encyclopaedia build's welcome.
#include "capture.h"
#include "ui/application.h"
#include "uninstaller/uninstall_form.h"

int wmain() {
  screenshots::QuietDialogs quiet;
  std::string out = screenshots::OutputFolder();
  auto& app = ui::Application::Instance();
  app.SetTitle("TH Encyclopaedia Deinstaller");
  for (const std::string language : {"en", "pl"}) {
    app.Reset();
    auto& wizard = *app.CreateForm<uninstaller::TForm1>(uninstaller::kManagerUninstall);
    wizard.Show();
    if (language == "pl") wizard.Polski1Click(&wizard.Polski1);
    screenshots::Photograph(wizard, out, "uninstaller-1-welcome-" + language);
    wizard.NextButton.Click();
    wizard.DirEdit.SetText("C:\\Games\\Tarnholm Manager\\");
    screenshots::Photograph(wizard, out, "uninstaller-2-removal-" + language);
  }
  app.Reset();
  screenshots::Photograph(*app.CreateForm<uninstaller::TForm1>(uninstaller::kEncyclopaediaUninstall), out,
                          "uninstaller-encyclopaedia-en");
  return 0;
}
