// The installer's three pages and its new-folder window, in English and in Polish.
#include <objbase.h>

#include "capture.h"
#include "installer/installer.h"
#include "ui/application.h"

int wmain() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  screenshots::QuietDialogs quiet;
  std::string out = screenshots::OutputFolder();
  for (const std::string language : {"en", "pl"}) {
    ui::Application::Instance().Reset();
    installer::TForm1& wizard = *installer::CreateInstallerWindows();
    wizard.Show();
    if (language == "pl") wizard.Polski1Click(&wizard.Polski1);
    screenshots::Photograph(wizard, out, "installer-1-products-" + language);
    wizard.NextButton.Click();
    wizard.AcceptCheckBox.Click();
    screenshots::Photograph(wizard, out, "installer-2-licence-" + language);
    wizard.NextButton.Click();
    screenshots::Photograph(wizard, out, "installer-3-folder-" + language);
    wizard.NewFolderButton.Click();
    screenshots::Photograph(*wizard.FindForm2, out, "installer-new-folder-" + language);
  }
  return 0;
}
